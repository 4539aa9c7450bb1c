package com.tavisto.launcher.utility.settings;

import java.util.LinkedHashMap;
import java.util.Map;

/** The values the window edits: the Java console mode and the proxy settings. */
public final class Settings {
    public static final int CONSOLE_SHOW = 0;
    public static final int CONSOLE_HIDE = 1;
    public static final int CONSOLE_DO_NOT_START = 2;

    public static final int PROXY_BROWSER = 0;
    public static final int PROXY_MANUAL = 1;
    public static final int PROXY_SCRIPT = 2;
    public static final int PROXY_DIRECT = 3;

    public static final int MAX_PORT = 65535;

    public int consoleSelection = CONSOLE_DO_NOT_START;
    public int proxySelection = PROXY_BROWSER;
    public boolean sameServerForAll;
    public String httpAddress = "";
    public int httpPort;
    public String secureAddress = "";
    public int securePort;
    public String ftpAddress = "";
    public int ftpPort;
    public String socksAddress = "";
    public int socksPort;
    public String bypassList = "";
    public boolean bypassLocal;
    public String overrideHosts = "";
    public String scriptLocation = "";

    /**
     * What the launcher would use: the console mode from the user's file, the
     * proxy settings from the administrator's file (the same file in a
     * per-user installation). Selections outside their range take the default.
     */
    public static Settings read(SettingsText user, SettingsText admin) {
        Settings s = new Settings();
        s.consoleSelection = inRange(user.getInt(Keys.javaConsoleSelection, CONSOLE_DO_NOT_START),
                CONSOLE_SHOW, CONSOLE_DO_NOT_START, CONSOLE_DO_NOT_START);
        s.proxySelection = inRange(admin.getInt(Keys.proxySelection, PROXY_BROWSER),
                PROXY_BROWSER, PROXY_DIRECT, PROXY_BROWSER);
        s.sameServerForAll = admin.getBool(Keys.useSameProxyServerForAllProctocols, false);
        s.httpAddress = admin.getString(Keys.httpProxyAddress, "");
        s.httpPort = admin.getInt(Keys.httpProxyPort, 0);
        s.secureAddress = admin.getString(Keys.secureProxyAddress, "");
        s.securePort = admin.getInt(Keys.secureProxyPort, 0);
        s.ftpAddress = admin.getString(Keys.ftpProxyAddress, "");
        s.ftpPort = admin.getInt(Keys.ftpProxyPort, 0);
        s.socksAddress = admin.getString(Keys.socksProxyAddress, "");
        s.socksPort = admin.getInt(Keys.socksProxyPort, 0);
        s.bypassList = admin.getString(Keys.doNotUseProxyServerAddressList, "");
        s.bypassLocal = admin.getBool(Keys.bypassProxyServerForLocalAddresses, false);
        s.overrideHosts = admin.getString(Keys.proxyOverrideHostsList, "");
        s.scriptLocation = admin.getString(Keys.automaticProxyConfigScriptLocation, "");
        return s;
    }

    private static int inRange(int value, int low, int high, int fallback) {
        return value < low || value > high ? fallback : value;
    }

    Map<String, String> consoleValues() {
        Map<String, String> v = new LinkedHashMap<String, String>();
        v.put(Keys.javaConsoleSelection, Integer.toString(consoleSelection));
        return v;
    }

    /** Numbers are written in plain decimal: the launcher reads "010" as octal. */
    public Map<String, String> proxyValues() {
        Map<String, String> v = new LinkedHashMap<String, String>();
        v.put(Keys.proxySelection, Integer.toString(proxySelection));
        v.put(Keys.bypassProxyServerForLocalAddresses, Boolean.toString(bypassLocal));
        v.put(Keys.automaticProxyConfigScriptLocation, scriptLocation);
        v.put(Keys.httpProxyAddress, httpAddress);
        v.put(Keys.secureProxyAddress, secureAddress);
        v.put(Keys.ftpProxyAddress, ftpAddress);
        v.put(Keys.socksProxyAddress, socksAddress);
        v.put(Keys.httpProxyPort, Integer.toString(httpPort));
        v.put(Keys.secureProxyPort, Integer.toString(securePort));
        v.put(Keys.ftpProxyPort, Integer.toString(ftpPort));
        v.put(Keys.socksProxyPort, Integer.toString(socksPort));
        v.put(Keys.useSameProxyServerForAllProctocols, Boolean.toString(sameServerForAll));
        v.put(Keys.doNotUseProxyServerAddressList, bypassList);
        v.put(Keys.proxyOverrideHostsList, overrideHosts);
        return v;
    }

    /** The first reason why the proxy settings cannot be saved, or null. */
    String proxyProblem() {
        String[] protocols = {"HTTP", "Secure", "FTP", "Socks"};
        int[] ports = {httpPort, securePort, ftpPort, socksPort};
        for (int i = 0; i < ports.length; i++) {
            if (ports[i] < 0 || ports[i] > MAX_PORT) {
                return portMessage(protocols[i]);
            }
        }
        String[][] texts = {
            {"HTTP proxy address", httpAddress}, {"Secure proxy address", secureAddress},
            {"FTP proxy address", ftpAddress}, {"Socks proxy address", socksAddress},
            {"bypass list", bypassList}, {"override hosts list", overrideHosts},
            {"script location", scriptLocation}};
        for (String[] text : texts) {
            String reason = SettingsRewriter.refusal(text[1]);
            if (reason != null) {
                return "The " + text[0] + " cannot be saved, because " + reason + ".";
            }
        }
        return null;
    }

    public static String portMessage(String protocol) {
        return "The " + protocol + " port must be a number from 0 to " + MAX_PORT + ".";
    }
}
