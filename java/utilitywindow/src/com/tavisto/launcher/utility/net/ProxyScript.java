package com.tavisto.launcher.utility.net;

import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.net.HttpURLConnection;
import java.net.InetSocketAddress;
import java.net.Proxy;
import java.net.Socket;
import java.net.SocketTimeoutException;
import java.net.URL;
import java.nio.charset.StandardCharsets;
import javax.net.ssl.SSLParameters;
import javax.net.ssl.SSLSocket;
import javax.net.ssl.SSLSocketFactory;
import javax.script.Invocable;
import javax.script.ScriptEngine;
import javax.script.ScriptEngineManager;

/**
 * An automatic proxy configuration script (PAC): fetched directly, evaluated
 * by a script engine. A script is downloaded code: the window evaluates it
 * only in a {@link ConfinedScript}.
 */
public final class ProxyScript {
    static final int MAX_BYTES = 1024 * 1024;
    private static final int MAX_HEAD = 8192;
    private static final int MAX_REDIRECTS = 5;

    /** Evaluates a script's FindProxyForURL. */
    public interface Engine {
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
    public static Engine javaScript() {
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
     * The script at location, fetched without a proxy within deadline. An
     * http or https script is fetched over a socket that the deadline closes
     * at its limit, and each read waits at most the time then left, so no
     * answer, however slow, outlasts the limit. Redirects to http or https
     * addresses are followed. Any other location (a file) is read as Java
     * reads it.
     */
    static String fetch(String location, Deadline deadline) throws IOException, ConnectionTest.Stop {
        URL url = new URL(location);
        ByteArrayOutputStream body = new ByteArrayOutputStream();
        for (int redirects = 0; isHttp(url); redirects++) {
            Socket socket = new Socket(Proxy.NO_PROXY);
            deadline.watch(socket);
            String moved;
            try {
                moved = get(url, socket, deadline, body);
            } catch (SocketTimeoutException e) {
                throw new ConnectionTest.Stop(deadline.tookLonger());
            } finally {
                deadline.release(socket);
                socket.close();
            }
            if (moved == null) {
                return new String(body.toByteArray(), StandardCharsets.UTF_8);
            }
            URL next = new URL(url, moved);
            if (!isHttp(next) || redirects == MAX_REDIRECTS) {
                throw new IOException("the server sent it on to " + moved + ", which is not followed");
            }
            url = next;
        }
        try (InputStream in = url.openConnection(Proxy.NO_PROXY).getInputStream()) {
            byte[] buffer = new byte[8192];
            for (int n; (n = in.read(buffer)) >= 0; deadline.remaining()) {
                keep(body, buffer, n);
            }
            return new String(body.toByteArray(), StandardCharsets.UTF_8);
        }
    }

    private static boolean isHttp(URL url) {
        return url.getProtocol().equalsIgnoreCase("http") || url.getProtocol().equalsIgnoreCase("https");
    }

    /** Fetches url over socket into body; returns where the script has moved instead, if it has. */
    private static String get(URL url, Socket socket, Deadline deadline, ByteArrayOutputStream body)
            throws IOException, ConnectionTest.Stop {
        int port = url.getPort() > 0 ? url.getPort() : url.getDefaultPort();
        socket.connect(new InetSocketAddress(url.getHost(), port), deadline.remaining());
        Socket stream = socket;
        if (url.getProtocol().equalsIgnoreCase("https")) {
            SSLSocket tls = (SSLSocket) ((SSLSocketFactory) SSLSocketFactory.getDefault())
                    .createSocket(socket, url.getHost(), port, true);
            SSLParameters parameters = tls.getSSLParameters();
            parameters.setEndpointIdentificationAlgorithm("HTTPS");
            tls.setSSLParameters(parameters);
            tls.setSoTimeout(deadline.remaining());
            tls.startHandshake();
            stream = tls;
        }
        String file = url.getFile().isEmpty() ? "/" : url.getFile();
        String host = url.getPort() > 0 ? url.getHost() + ":" + port : url.getHost();
        stream.getOutputStream().write(("GET " + file + " HTTP/1.0\r\nHost: " + host
                + "\r\nConnection: close\r\n\r\n").getBytes(StandardCharsets.ISO_8859_1));
        stream.getOutputStream().flush();
        InputStream in = stream.getInputStream();
        byte[] buffer = new byte[8192];
        StringBuilder head = new StringBuilder();
        while (head.length() < 4 || !head.substring(head.length() - 4).equals("\r\n\r\n")) {
            if (head.length() >= MAX_HEAD || read(stream, in, buffer, 1, deadline) < 0) {
                throw new IOException("the server did not answer as a web server does");
            }
            head.append((char) (buffer[0] & 0xff));
        }
        String[] lines = head.toString().split("\r\n");
        if (!lines[0].matches("HTTP/\\d\\.\\d \\d{3}( .*)?")) {
            throw new IOException("the server did not answer as a web server does");
        }
        int status = Integer.parseInt(lines[0].substring(9, 12));
        String moved = header(lines, "Location");
        if (status / 100 == 3 && moved != null) {
            return moved;
        }
        if (status != HttpURLConnection.HTTP_OK) {
            throw new IOException("the server answered with HTTP status " + status);
        }
        String length = header(lines, "Content-Length");
        long left = length != null && length.matches("\\d{1,18}") ? Long.parseLong(length) : Long.MAX_VALUE;
        for (int n; left > 0 && (n = read(stream, in, buffer, (int) Math.min(buffer.length, left), deadline)) >= 0;) {
            keep(body, buffer, n);
            left -= n;
        }
        return null;
    }

    /** One read from socket's stream in, which waits at most the time left. */
    private static int read(Socket socket, InputStream in, byte[] buffer, int length, Deadline deadline)
            throws IOException, ConnectionTest.Stop {
        socket.setSoTimeout(deadline.remaining());
        return in.read(buffer, 0, length);
    }

    private static void keep(ByteArrayOutputStream body, byte[] buffer, int n) throws IOException {
        body.write(buffer, 0, n);
        if (body.size() > MAX_BYTES) {
            throw new IOException("it is larger than " + MAX_BYTES / 1024 + " KB");
        }
    }

    /** The value of the header name in an answer's head lines, or null. */
    private static String header(String[] lines, String name) {
        for (int i = 1; i < lines.length; i++) {
            int colon = lines[i].indexOf(':');
            if (colon > 0 && lines[i].substring(0, colon).trim().equalsIgnoreCase(name)) {
                return lines[i].substring(colon + 1).trim();
            }
        }
        return null;
    }
}
