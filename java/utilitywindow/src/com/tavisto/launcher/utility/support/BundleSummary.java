package com.tavisto.launcher.utility.support;

import com.tavisto.launcher.utility.settings.Keys;
import com.tavisto.launcher.utility.settings.Names;
import com.tavisto.launcher.utility.settings.Settings;
import com.tavisto.launcher.utility.settings.SettingsStore;
import com.tavisto.launcher.utility.settings.SettingsText;
import java.io.File;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.text.SimpleDateFormat;
import java.util.Arrays;
import java.util.Date;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.regex.Matcher;
import java.util.regex.Pattern;

/** The summary.txt of a diagnostics bundle. */
final class BundleSummary {
    static final long REG_TIMEOUT_MS = 5000;
    static final String[] PROXY_MODES = {
        "use browser settings", "use proxy server", "use automatic proxy configuration script",
        "direct connection"};
    private static final Pattern REG_VALUE =
            Pattern.compile("(?m)^\\s*" + Names.MARKER_VALUE + "\\s+(REG_\\w+)[ \\t]*(.*?)\\s*$");

    private final DiagnosticsBundle bundle;
    private final StringBuilder text = new StringBuilder();

    BundleSummary(DiagnosticsBundle bundle) {
        this.bundle = bundle;
    }

    /** states: each part's state by its name in the zip; texts: the parts that were read. */
    String text(Map<String, String> states, Map<String, String> texts) {
        line("Tavisto Convoca Launcher diagnostics, written "
                + new SimpleDateFormat("yyyy-MM-dd HH:mm:ss Z", Locale.US).format(new Date()));
        line("Launcher version: " + (bundle.version.isEmpty() ? DiagnosticsBundle.launcherVersion() : bundle.version));
        line("Java: " + System.getProperty("java.version") + " by " + System.getProperty("java.vendor"));
        line("Operating system: " + System.getProperty("os.name") + " " + System.getProperty("os.version") + " ("
                + System.getProperty("os.arch") + ")");
        line("Support folder: " + bundle.supportFolder().getPath());
        line("Cache folder: " + bundle.cacheFolder.getPath());
        line("Installation: " + (bundle.adminFile != null ? "per machine, network settings and switches from "
                + bundle.adminFile.getPath() : "per user, every setting from " + bundle.userFile.getPath()));
        line("");
        settings(texts);
        line("");
        line("Sizes:");
        line("  cache: " + size(bundle.cacheFolder));
        line("  working copy: " + size(new File(bundle.supportFolder(), "embedded")));
        line("");
        line(Names.MARKER_VALUE + " markers (" + Names.REGISTRY_KEY + "):");
        line("  HKEY_CURRENT_USER: " + marker("HKCU"));
        line("  HKEY_LOCAL_MACHINE: " + marker("HKLM"));
        line("");
        line("Files:");
        for (Map.Entry<String, String> state : states.entrySet()) {
            line("  " + state.getKey() + ": " + state.getValue());
        }
        line("");
        troubleLines(texts);
        return text.toString();
    }

    private void line(String s) {
        text.append(s).append("\r\n");
    }

    private void settings(Map<String, String> texts) {
        File settingsFile = bundle.adminFile != null ? bundle.adminFile : bundle.userFile;
        String contents = texts.get("settings/" + settingsFile.getName());
        if (contents == null) {
            line("Switches and proxy mode: defaults, " + settingsFile.getName() + " is missing");
            contents = "";
        }
        int zero = contents.indexOf('\0');
        SettingsText settings = new SettingsText(zero < 0 ? contents : contents.substring(0, zero));
        line("Switches:");
        for (String key : Arrays.asList(Keys.doNotRunUpdater, Keys.doNotValidateVcaFile, Keys.doNotLaunchVcaSession)) {
            line("  " + key + ": " + (settings.getBool(key, false) ? "set" : "not set"));
        }
        String appcast = settings.getString(Keys.overrideAppcastURL, "");
        line("  " + Keys.overrideAppcastURL + ": " + (appcast.isEmpty() ? "not set" : appcast));
        int mode = Settings.read(settings, settings).proxySelection;
        line("Proxy mode: " + PROXY_MODES[mode]);
    }

    private static String size(File folder) {
        FolderSize size = FolderSize.of(folder);
        return size == null ? "missing (" + folder.getPath() + ")" : size.toString();
    }

    /** The marker under root ("HKCU" or "HKLM") as reg query shows it, or why it is unavailable. */
    String marker(String root) {
        Commands.Result result;
        try {
            result = bundle.commands.run(Arrays.asList("reg", "query", root + "\\" + Names.REGISTRY_KEY, "/v", Names.MARKER_VALUE),
                    REG_TIMEOUT_MS);
        } catch (IOException e) {
            return "unavailable (reg query could not run: " + SettingsStore.describe(e) + ")";
        }
        if (result.status != 0) {
            return "unavailable (reg query ended with status " + result.status + ": "
                    + result.output.trim().replaceAll("\\s+", " ") + ")";
        }
        Matcher m = REG_VALUE.matcher(result.output);
        if (!m.find()) {
            return "unavailable (reg query showed no value)";
        }
        return m.group(1).equals("REG_SZ") ? "\"" + m.group(2) + "\"" : "unavailable (a value of type " + m.group(1) + ")";
    }

    private void troubleLines(Map<String, String> texts) {
        StringBuilder log = new StringBuilder();
        for (String name : new String[] {DiagnosticsBundle.OLD_LOG, DiagnosticsBundle.LOG}) {
            String part = texts.get(name);
            if (part != null) {
                log.append(new String(part.getBytes(StandardCharsets.ISO_8859_1), StandardCharsets.UTF_8)).append('\n');
            }
        }
        List<String> lines = LogExcerpt.troubleLines(log.toString());
        line("The last " + LogExcerpt.LINES + " log lines that start with \"Error\" or that told of an error box"
                + (lines.isEmpty() ? ": none" : ":"));
        for (String l : lines) {
            line("  " + l);
        }
    }
}
