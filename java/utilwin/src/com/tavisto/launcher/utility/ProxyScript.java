package com.tavisto.launcher.utility;

import java.io.ByteArrayOutputStream;
import java.io.Closeable;
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

/**
 * An automatic proxy configuration script (PAC): fetched directly, evaluated
 * by a script engine. A script is downloaded code: the window evaluates it
 * only in a {@link ConfinedScript}.
 */
final class ProxyScript {
    static final int MAX_BYTES = 1024 * 1024;

    /** Evaluates a script's FindProxyForURL. */
    interface Engine {
        /**
         * The script's answer for url and host, within deadline; throws when
         * the script does not parse, fails, is refused something (Refused) or
         * is stopped.
         */
        String findProxyForUrl(String script, String url, String host, Deadline deadline) throws Exception;
    }

    /** A script tried something that a proxy script may not do; the message says what, in plain words. */
    static final class Refused extends Exception {
        private static final long serialVersionUID = 1L;

        Refused(String attempt) {
            super(attempt);
        }
    }

    /**
     * The helper functions that scripts expect from a browser. Time-based
     * ones (weekdayRange, dateRange, timeRange) are not offered.
     */
    static final String HELPERS = ""
            + "var dnsResolve, myIpAddress;\n"
            + "(function (names) {\n"
            + "dnsResolve = function (h) { try { return String(names.getByName(h).getHostAddress()); }"
            + " catch (e) { return null; } };\n"
            + "myIpAddress = function () { try { return String(names.getLocalHost().getHostAddress()); }"
            + " catch (e) { return '127.0.0.1'; } };\n"
            + "})(java.net.InetAddress);\n"
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

    /**
     * Takes from a script the engines' names for Java, once the helpers hold
     * what they need. A determined script may still find Java through the
     * engine's prototypes; the security manager of the confined process, not
     * this, is what keeps it from doing anything there.
     */
    static final String HIDE_JAVA = "(function (global) {"
            + " var names = ['java', 'javax', 'Packages', 'com', 'org', 'net', 'edu', 'Java', 'JavaImporter', 'JavaAdapter', 'importPackage', 'importClass', 'getClass'];"
            + " for (var i = 0; i < names.length; i++) { try { delete global[names[i]]; } catch (e) {}"
            + " try { global[names[i]] = undefined; } catch (e) {} } })(this);\n";

    private ProxyScript() {
    }

    /** A confined JavaScript engine, or null when this Java has no JavaScript engine. */
    static Engine javaScript() {
        return JavaScript.newEngine() == null ? null : new ConfinedScript(JavaScript.class.getName());
    }

    /**
     * The platform's JavaScript engine in this process, with the helpers set
     * up when it is made. Only for the process of a {@link ConfinedScript}.
     */
    static final class JavaScript implements Engine {
        private final ScriptEngine engine;

        JavaScript() throws Exception {
            engine = newEngine();
            if (engine == null) {
                throw new IOException("this Java has no JavaScript engine");
            }
            engine.eval(HELPERS);
            engine.eval(HIDE_JAVA);
        }

        static ScriptEngine newEngine() {
            return new ScriptEngineManager().getEngineByName("JavaScript");
        }

        @Override
        public String findProxyForUrl(String script, String url, String host, Deadline deadline) throws Exception {
            engine.eval(script);
            return String.valueOf(((Invocable) engine).invokeFunction("FindProxyForURL", url, host));
        }
    }

    /**
     * The script at location, fetched without a proxy within deadline, which
     * closes the connection at its limit however slowly the server answers.
     */
    static String fetch(String location, Deadline deadline) throws IOException, ConnectionTest.Stop {
        final URLConnection connection = new URL(location).openConnection(Proxy.NO_PROXY);
        connection.setConnectTimeout(deadline.remaining());
        connection.setReadTimeout(deadline.remaining());
        connection.setUseCaches(false);
        Closeable disconnect = new Closeable() {
            @Override
            public void close() {
                if (connection instanceof HttpURLConnection) {
                    ((HttpURLConnection) connection).disconnect();
                }
            }
        };
        deadline.watch(disconnect);
        try {
            if (connection instanceof HttpURLConnection) {
                int status = ((HttpURLConnection) connection).getResponseCode();
                if (status != HttpURLConnection.HTTP_OK) {
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
                    deadline.remaining();
                }
                return new String(bytes.toByteArray(), StandardCharsets.UTF_8);
            }
        } finally {
            deadline.release(disconnect);
            disconnect.close();
        }
    }
}
