package com.tavisto.launcher.utility.support;

import com.tavisto.launcher.utility.settings.Names;
import com.tavisto.launcher.utility.settings.SettingsFile;
import com.tavisto.launcher.utility.settings.SettingsStore;
import java.io.File;
import java.io.FileOutputStream;
import java.io.IOException;
import java.io.OutputStream;
import java.io.PrintStream;
import java.nio.charset.Charset;
import java.nio.charset.StandardCharsets;
import java.nio.file.FileAlreadyExistsException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.zip.ZipEntry;
import java.util.zip.ZipOutputStream;

/**
 * A diagnostics bundle for support staff: one zip file with the launcher's
 * logs, both settings files, the working copy's deployment files and a
 * summary, with user information in proxy addresses masked. Nothing else goes
 * in. A part that cannot be found is listed as missing in the summary.
 * The window's Support tab and the command line of
 * {@link com.tavisto.launcher.utility.SupportBundle} both write it.
 */
public final class DiagnosticsBundle {
    static final String USAGE = "Usage: java -cp " + Names.UTILITY_WINDOW_JAR
            + " com.tavisto.launcher.utility.SupportBundle"
            + " -settings <file> -cache <folder> [-admin] [-overwrite] -out <zip>";
    static final int WRITTEN = 0;
    static final int NOT_WRITTEN = 1;
    static final int BAD_COMMAND_LINE = 2;
    static final String SUMMARY = "summary.txt";
    /** The working copy's runtime below the support folder. */
    static final String RUNTIME = "embedded/Java/jre1.7.0_40";
    /** Files are copied byte for byte, except for the masks. */
    private static final Charset BYTES = StandardCharsets.ISO_8859_1;

    /** Empty when the caller does not know it: it is then read from the launcher beside this jar. */
    final String version;
    final File userFile;
    /** null in a per-user installation, where the user's file holds every setting. */
    final File adminFile;
    final File cacheFolder;
    final Commands commands;

    public DiagnosticsBundle(String version, File userFile, File adminFile, File cacheFolder, Commands commands) {
        this.version = version;
        this.userFile = userFile.getAbsoluteFile();
        this.adminFile = adminFile != null ? adminFile.getAbsoluteFile() : null;
        this.cacheFolder = cacheFolder.getAbsoluteFile();
        this.commands = commands;
    }

    File supportFolder() {
        File parent = cacheFolder.getParentFile();
        return parent != null ? parent : cacheFolder;
    }

    /** The launcher's log collector and its rolled-over log, below the support folder and in the zip alike. */
    static final String LOG = "logs/" + Names.LOG_BASE_NAME + ".log", OLD_LOG = "logs/" + Names.LOG_BASE_NAME + ".old.log";

    /** Each part of the bundle but the summary: its name in the zip and its file. */
    Map<String, File> parts() {
        File support = supportFolder();
        File lib = new File(new File(support, RUNTIME), "lib");
        Map<String, File> parts = new LinkedHashMap<String, File>();
        for (String log : new String[] {LOG, OLD_LOG}) {
            parts.put(log, new File(support, log));
        }
        parts.put("settings/" + userFile.getName(), userFile);
        if (adminFile != null) {
            parts.put("settings/" + adminFile.getName(), adminFile);
        }
        parts.put("deployment/deployment.config", new File(lib, "deployment.config"));
        parts.put("deployment/deployment.properties", new File(lib, "deployment.properties"));
        return parts;
    }

    /**
     * Writes the bundle to zip; an existing file only when replace is set.
     * Goes through a temporary file beside it, so that a failure leaves no
     * partial zip and an older file unchanged.
     */
    public void write(File zip, boolean replace) throws IOException {
        File target = zip.getAbsoluteFile();
        File folder = target.getParentFile();
        if (folder == null || !folder.isDirectory()) {
            throw new IOException("the folder " + folder + " does not exist");
        }
        if (target.isDirectory()) {
            throw new IOException("it is a folder");
        }
        if (!replace && target.exists()) {
            throw new FileAlreadyExistsException(target.getPath(), null, "it already exists");
        }
        Map<String, String> texts = new LinkedHashMap<String, String>();
        Map<String, String> states = new LinkedHashMap<String, String>();
        for (Map.Entry<String, File> part : parts().entrySet()) {
            File file = part.getValue();
            try {
                texts.put(part.getKey(), new String(Files.readAllBytes(file.toPath()), BYTES));
                states.put(part.getKey(), "included (" + file.getPath() + ")");
            } catch (IOException e) {
                states.put(part.getKey(), (file.exists() ? "could not be read: " + SettingsStore.describe(e)
                        : "missing") + " (" + file.getPath() + ")");
            }
        }
        String summary = new BundleSummary(this).text(states, texts);
        Path temp = Files.createTempFile(folder.toPath(), target.getName() + ".", ".part");
        try {
            try (OutputStream out = new FileOutputStream(temp.toFile());
                    ZipOutputStream zipOut = new ZipOutputStream(out)) {
                for (Map.Entry<String, String> text : texts.entrySet()) {
                    add(zipOut, text.getKey(), Masking.mask(text.getValue()).getBytes(BYTES));
                }
                add(zipOut, SUMMARY, Masking.mask(summary).getBytes(StandardCharsets.UTF_8));
            }
            if (replace) {
                Files.move(temp, target.toPath(), StandardCopyOption.REPLACE_EXISTING);
            } else {
                Files.move(temp, target.toPath());
            }
            temp = null;
        } finally {
            if (temp != null) {
                Files.deleteIfExists(temp);
            }
        }
    }

    private static void add(ZipOutputStream zip, String name, byte[] bytes) throws IOException {
        zip.putNextEntry(new ZipEntry(name));
        zip.write(bytes);
        zip.closeEntry();
    }

    /** The launcher's version beside this jar, or "unknown". */
    static String launcherVersion() {
        String v = ExeVersion.of(new File(SettingsFile.jarFolder(), Names.LAUNCHER_EXE));
        return v != null ? v : "unknown";
    }

    /** Runs the command line of {@link com.tavisto.launcher.utility.SupportBundle}; returns its exit status. */
    public static int run(String[] args, PrintStream out, PrintStream err) {
        Map<String, String> values = new LinkedHashMap<String, String>();
        String problem = parse(args, values);
        if (problem != null) {
            err.println("SupportBundle: " + problem);
            err.println(USAGE);
            return BAD_COMMAND_LINE;
        }
        File adminFile = values.containsKey("-admin") ? new File(SettingsFile.jarFolder(), Names.ADMIN_PROPERTIES) : null;
        DiagnosticsBundle bundle = new DiagnosticsBundle("", new File(values.get("-settings")), adminFile,
                new File(values.get("-cache")), Commands.SYSTEM);
        File zip = new File(values.get("-out"));
        try {
            bundle.write(zip, values.containsKey("-overwrite"));
        } catch (FileAlreadyExistsException e) {
            err.println("SupportBundle: " + zip.getAbsolutePath() + " already exists; give -overwrite to replace it");
            return NOT_WRITTEN;
        } catch (IOException e) {
            err.println("SupportBundle: the diagnostics could not be written to " + zip.getAbsolutePath() + ": "
                    + SettingsStore.describe(e));
            return NOT_WRITTEN;
        }
        out.println("Diagnostics written to " + zip.getAbsolutePath());
        return WRITTEN;
    }

    /** Fills values from args; returns why they were refused, or null. */
    static String parse(String[] args, Map<String, String> values) {
        List<String> withValue = new ArrayList<String>();
        for (String option : new String[] {"-settings", "-cache", "-out"}) {
            withValue.add(option);
        }
        for (int i = 0; i < args.length; i++) {
            String option = args[i];
            if (values.containsKey(option)) {
                return option + " is given twice";
            }
            if (option.equals("-admin") || option.equals("-overwrite")) {
                values.put(option, "");
            } else if (!withValue.contains(option)) {
                return "unknown argument \"" + option + "\"";
            } else if (i + 1 >= args.length || args[i + 1].isEmpty()) {
                return option + " needs a value";
            } else {
                values.put(option, args[++i]);
            }
        }
        for (String option : withValue) {
            if (!values.containsKey(option)) {
                return option + " is missing";
            }
        }
        return null;
    }
}
