package com.tavisto.launcher.utility;

import static org.junit.Assert.*;

import java.io.*;
import java.lang.reflect.Proxy;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.util.*;
import java.util.concurrent.*;
import java.util.regex.*;
import java.util.stream.*;
import java.util.zip.*;
import com.tavisto.launcher.utility.settings.*;
import javax.swing.SwingUtilities;

/** Helpers of the utility window tests. Files are written and read as ISO 8859-1, as the window reads them. */
public final class Fixtures {
    public static File write(File f, String text) throws IOException {
        f.getAbsoluteFile().getParentFile().mkdirs();
        return Files.write(f.toPath(), text.getBytes(StandardCharsets.ISO_8859_1)).toFile();
    }

    public static String text(File f) throws IOException {
        return new String(Files.readAllBytes(f.toPath()), StandardCharsets.ISO_8859_1);
    }

    /** The packaged utilwin.jar, with ConvocaLauncher.exe beside it. */
    public static File jar() {
        assertNotNull("run with -Dutilitywindow.jar=<the built utilwin.jar>", System.getProperty("utilitywindow.jar"));
        return new File(System.getProperty("utilitywindow.jar"));
    }

    /** settings-rows.txt, which the launcher's tests read too: the file, key, kind, default and value read. */
    public static List<String[]> settingsRows() throws IOException {
        String path = System.getProperty("settings.rows");
        assertNotNull("run with -Dsettings.rows=<tests/deployment/settings-rows.txt>", path);
        Pattern escape = Pattern.compile("\\\\(x..|.)");
        return Stream.of(text(new File(path)).split("\n")).filter(line -> line.contains("|"))
                .map(line -> Stream.of(line.split("\\|", -1)).map(c -> escape.matcher(SettingsText.trimSpaces(c))
                        .replaceAll(m -> Matcher.quoteReplacement(unescape(m.group(1))))).toArray(String[]::new))
                .collect(Collectors.toList());
    }

    private static String unescape(String e) {
        int at = "nrt0".indexOf(e);
        return e.length() > 1 ? "" + (char) Integer.parseInt(e.substring(1), 16)
                : at >= 0 ? "\n\r\t\0".substring(at, at + 1) : e;
    }

    public static Settings settings(String text) {
        SettingsText t = new SettingsText(text);
        return Settings.read(t, t);
    }

    public static Settings manualProxy() {
        return settings("javaConsoleSelection=0\nproxySelection=1\nhttpProxyPort=8080\n"
                + "useSameProxyServerForAllProctocols=true\nhttpProxyAddress=proxy.example.com\nsecureProxyPort=8443\n"
                + "secureProxyAddress=secure.example.com\nftpProxyAddress=ftp.example.com\nftpProxyPort=21\n"
                + "socksProxyAddress=socks.example.com\nsocksProxyPort=1080\ndoNotUseProxyServerAddressList=*.example.com;10.*"
                + "\nbypassProxyServerForLocalAddresses=true\nproxyOverrideHostsList=intranet;wiki\n"
                + "automaticProxyConfigScriptLocation=http://wpad/proxy.pac\n");
    }

    public static Map<String, String> unzip(File zip) throws IOException {
        Map<String, String> entries = new LinkedHashMap<String, String>();
        try (ZipInputStream in = new ZipInputStream(new FileInputStream(zip))) {
            for (ZipEntry e; (e = in.getNextEntry()) != null;) {
                entries.put(e.getName(), new String(in.readAllBytes(), StandardCharsets.UTF_8));
            }
        }
        return entries;
    }

    /** Boxes (of type, the window's Dialogs) that are recorded in shown as "kind: title: message"; confirmations get answer. */
    public static <T> T dialogs(Class<T> type, List<String> shown, boolean answer) {
        return type.cast(Proxy.newProxyInstance(type.getClassLoader(), new Class<?>[] {type},
                (proxy, method, args) -> {
                    shown.add(method.getName() + ": " + args[0] + ": " + args[1]);
                    return method.getName().equals("confirm") ? answer : null;
                }));
    }

    public static <T> T onEdt(Callable<T> task) throws Exception {
        FutureTask<T> result = new FutureTask<T>(task);
        SwingUtilities.invokeAndWait(result);
        return result.get();
    }

    public static void onEdt(Runnable task) throws Exception {
        SwingUtilities.invokeAndWait(task);
    }

    /** Waits up to 10 s for condition, checked on the event thread. */
    public static boolean eventually(Callable<Boolean> condition) throws Exception {
        for (int i = 0; i < 500 && !onEdt(condition); i++) {
            Thread.sleep(20);
        }
        return onEdt(condition);
    }
}
