package com.tavisto.launcher.utility.net;

import com.tavisto.launcher.utility.settings.Settings;
import java.net.Proxy;
import java.net.URI;
import java.util.Locale;
import java.util.regex.Matcher;
import java.util.regex.Pattern;

/** The way to an address: directly, or through an HTTP or a SOCKS proxy server. */
final class ProxyRoute {
    static final ProxyRoute DIRECT = new ProxyRoute(Proxy.Type.DIRECT, "", 0, "");
    private static final Pattern SCRIPT_ENTRY =
            Pattern.compile("(?i)\\s*(DIRECT|PROXY|HTTP|SOCKS[45]?)(?:\\s+([^\\s:;]+|\\[[^\\]]*\\])(?::(\\d{1,5}))?)?\\s*");

    final Proxy.Type type;
    final String host;
    final int port;
    /** Said before the result, for example which entry a script chose; empty or ending in a space. */
    final String note;

    private ProxyRoute(Proxy.Type type, String host, int port, String note) {
        this.type = type;
        this.host = host;
        this.port = port;
        this.note = note;
    }

    ProxyRoute chosenBy(String why) {
        return new ProxyRoute(type, host, port, why + note);
    }

    /** The proxy server, as the results name it. */
    String name() {
        return (type == Proxy.Type.SOCKS ? "the SOCKS proxy server " : "the proxy server ") + host + ":" + port;
    }

    /** "directly" or "through" the proxy server. */
    String how() {
        return type == Proxy.Type.DIRECT ? "directly" : "through " + name();
    }

    /**
     * The route that the manual settings give for target: none for an address
     * in the bypass or override lists, or a local one when those bypass the
     * proxy; otherwise the secure (or, for http, the HTTP) server, the HTTP
     * server when one serves all protocols, then the SOCKS server.
     */
    static ProxyRoute manual(Settings s, URI target) throws ConnectionTest.Stop {
        String host = ConnectionTest.host(target);
        if (bypassed(host, s.bypassList + ";" + s.overrideHosts, s.bypassLocal)) {
            return DIRECT.chosenBy(host + " bypasses the proxy server. ");
        }
        boolean secure = target.getScheme().equalsIgnoreCase("https");
        String address = s.sameServerForAll || !secure ? s.httpAddress : s.secureAddress;
        int port = s.sameServerForAll || !secure ? s.httpPort : s.securePort;
        Proxy.Type type = Proxy.Type.HTTP;
        if (address.isEmpty() && !s.socksAddress.isEmpty()) {
            address = s.socksAddress;
            port = s.socksPort;
            type = Proxy.Type.SOCKS;
        }
        if (address.isEmpty()) {
            return DIRECT.chosenBy("No proxy server is set for " + (secure ? "secure" : "HTTP") + " addresses. ");
        }
        if (port <= 0 || port > Settings.MAX_PORT) {
            throw new ConnectionTest.Stop("No valid port is set for the proxy server " + address + ".");
        }
        return new ProxyRoute(type, address, port, "");
    }

    /** list: entries separated by semicolons or commas; "*" matches any text, others match the start. */
    static boolean bypassed(String host, String list, boolean local) {
        String h = host.toLowerCase(Locale.ROOT);
        if (local && (h.indexOf('.') < 0 && h.indexOf(':') < 0 || h.equals("localhost") || h.startsWith("127."))) {
            return true;
        }
        for (String entry : list.split("[;,]")) {
            String e = entry.trim().toLowerCase(Locale.ROOT);
            if (e.isEmpty()) {
                continue;
            }
            boolean matches = e.contains("*")
                    ? h.matches(("\\Q" + e + "\\E").replace("*", "\\E.*\\Q"))
                    : h.startsWith(e);
            if (matches) {
                return true;
            }
        }
        return false;
    }

    /** The first entry of a script's answer, such as "PROXY host:8080; DIRECT"; null when it names none. */
    static ProxyRoute fromScript(String answer) {
        String first = answer.split(";")[0];
        Matcher m = SCRIPT_ENTRY.matcher(first);
        if (!m.matches()) {
            return null;
        }
        String kind = m.group(1).toUpperCase(Locale.ROOT);
        if (kind.equals("DIRECT")) {
            return m.group(2) == null ? DIRECT : null;
        }
        if (m.group(2) == null) {
            return null;
        }
        String host = m.group(2).replaceAll("^\\[|\\]$", "");
        boolean socks = kind.startsWith("SOCKS");
        int port = m.group(3) != null ? Integer.parseInt(m.group(3)) : socks ? 1080 : 80;
        return new ProxyRoute(socks ? Proxy.Type.SOCKS : Proxy.Type.HTTP, host, port, "");
    }
}
