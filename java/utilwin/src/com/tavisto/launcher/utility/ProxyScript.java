package com.tavisto.launcher.utility;

import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.net.HttpURLConnection;
import java.net.Proxy;
import java.net.URL;
import java.net.URLConnection;
import java.nio.charset.StandardCharsets;
import javax.script.Invocable;
import javax.script.ScriptEngine;
import javax.script.ScriptEngineManager;

/** An automatic proxy configuration script (PAC): fetched directly, evaluated by a script engine. */
final class ProxyScript {
    static final int MAX_BYTES = 1024 * 1024;

    /** Evaluates a script's FindProxyForURL. */
    interface Engine {
        /** The script's answer for url and host; throws when the script does not parse or fails. */
        String findProxyForUrl(String script, String url, String host) throws Exception;
    }

    /**
     * The helper functions that scripts expect from a browser. Time-based
     * ones (weekdayRange, dateRange, timeRange) are not offered.
     */
    static final String HELPERS = ""
            + "function dnsResolve(h) { try { return String(java.net.InetAddress.getByName(h).getHostAddress()); }"
            + " catch (e) { return null; } }\n"
            + "function myIpAddress() { try { return String(java.net.InetAddress.getLocalHost().getHostAddress()); }"
            + " catch (e) { return '127.0.0.1'; } }\n"
            + "function isPlainHostName(h) { return h.indexOf('.') < 0; }\n"
            + "function dnsDomainIs(h, d) { return h.length >= d.length && h.substring(h.length - d.length) == d; }\n"
            + "function localHostOrDomainIs(h, d) { return h == d || (h.indexOf('.') < 0 && d.indexOf(h + '.') == 0); }\n"
            + "function isResolvable(h) { return dnsResolve(h) != null; }\n"
            + "function dnsDomainLevels(h) { return h.split('.').length - 1; }\n"
            + "function convert_addr(a) { var q = String(a).split('.');"
            + " return ((q[0] << 24) | (q[1] << 16) | (q[2] << 8) | (q[3] | 0)); }\n"
            + "function isInNet(h, p, m) { var a = /^\\d+\\.\\d+\\.\\d+\\.\\d+$/.test(h) ? h : dnsResolve(h);"
            + " if (a == null) return false;"
            + " return (convert_addr(a) & convert_addr(m)) == (convert_addr(p) & convert_addr(m)); }\n"
            + "function shExpMatch(s, p) { return new RegExp('^' + p.replace(/[.+^${}()|\\[\\]\\\\]/g, '\\\\$&')"
            + ".replace(/\\*/g, '.*').replace(/\\?/g, '.') + '$').test(s); }\n";

    private ProxyScript() {
    }

    /** The platform's JavaScript engine, or null when this Java has none. */
    static Engine javaScript() {
        if (newEngine() == null) {
            return null;
        }
        return new Engine() {
            @Override
            public String findProxyForUrl(String script, String url, String host) throws Exception {
                ScriptEngine engine = newEngine();
                engine.eval(HELPERS);
                engine.eval(script);
                return String.valueOf(((Invocable) engine).invokeFunction("FindProxyForURL", url, host));
            }
        };
    }

    private static ScriptEngine newEngine() {
        return new ScriptEngineManager().getEngineByName("JavaScript");
    }

    /** The script at location, fetched without a proxy within timeoutMs. */
    static String fetch(String location, int timeoutMs) throws IOException {
        URLConnection connection = new URL(location).openConnection(Proxy.NO_PROXY);
        connection.setConnectTimeout(timeoutMs);
        connection.setReadTimeout(timeoutMs);
        connection.setUseCaches(false);
        if (connection instanceof HttpURLConnection) {
            HttpURLConnection http = (HttpURLConnection) connection;
            int status = http.getResponseCode();
            if (status != HttpURLConnection.HTTP_OK) {
                http.disconnect();
                throw new IOException("the server answered with HTTP status " + status);
            }
        }
        try (InputStream in = connection.getInputStream()) {
            ByteArrayOutputStream bytes = new ByteArrayOutputStream();
            byte[] buffer = new byte[8192];
            for (int n; (n = in.read(buffer)) > 0;) {
                bytes.write(buffer, 0, n);
                if (bytes.size() > MAX_BYTES) {
                    throw new IOException("it is larger than " + MAX_BYTES / 1024 + " KB");
                }
            }
            return new String(bytes.toByteArray(), StandardCharsets.UTF_8);
        }
    }
}
