package com.tavisto.launcher.utility.net;

import com.tavisto.launcher.utility.settings.Settings;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.net.ConnectException;
import java.net.InetSocketAddress;
import java.net.NoRouteToHostException;
import java.net.Proxy;
import java.net.Socket;
import java.net.SocketTimeoutException;
import java.net.URI;
import java.net.URISyntaxException;
import java.net.UnknownHostException;
import java.nio.charset.StandardCharsets;
import java.util.Locale;
import javax.net.ssl.SSLParameters;
import javax.net.ssl.SSLSocket;
import javax.net.ssl.SSLSocketFactory;

/**
 * Tries to reach an address the way the network settings say, and tells in
 * plain words what happened. Sends nothing but what opening an HTTPS
 * connection needs: a CONNECT request to an HTTP proxy, and a TLS handshake
 * for an https address. The whole test, from fetching a proxy script to the
 * handshake, stays within one time limit. One test, one run.
 */
public final class ConnectionTest {
    public static final int LIMIT_MS = 10000;
    public static final String DEFAULT_TARGET = "https://updates.tavisto.com/";
    static final String BROWSER_UNTESTABLE = "\"Use browser settings\" cannot be tested from here: Java takes"
            + " the proxy from the browser when a session starts, and this window cannot see which proxy"
            + " the browser uses.";
    public static final String CANCELLED = "The test was cancelled.";
    private static final int MAX_RESPONSE_HEAD = 8192;

    /** How the test ended. */
    public static final class Result {
        public final boolean connected;
        public final String message;

        Result(boolean connected, String message) {
            this.connected = connected;
            this.message = message;
        }
    }

    /** Why the test stopped early; its message is the result. */
    static final class Stop extends Exception {
        private static final long serialVersionUID = 1L;

        Stop(String message) {
            super(message);
        }
    }

    private final Settings settings;
    private final ProxyScript.Engine engine;
    private final int limitMs;
    private final Deadline deadline;

    /** engine: null when this Java has no script engine. The time limit starts now. */
    public ConnectionTest(Settings settings, ProxyScript.Engine engine, int limitMs) {
        this.settings = settings;
        this.engine = engine;
        this.limitMs = limitMs;
        deadline = new Deadline(limitMs);
    }

    /**
     * Stops the test from any thread without waiting: what it has open is
     * closed, and its result says that it was cancelled. Only a name look-up
     * cannot be stopped; the test then ends when the look-up does.
     */
    public void cancel() {
        deadline.cancel();
    }

    public Result run(String address) {
        try {
            URI target = target(address);
            ProxyRoute route = route(target);
            return connect(target, route);
        } catch (Stop stop) {
            return new Result(false, deadline.isCancelled() ? CANCELLED : stop.getMessage());
        } catch (RuntimeException e) {
            // What the deadline closes under a step may fail in any way there.
            if (!deadline.isCancelled() && !deadline.closedAtLimit()) {
                throw e;
            }
            return new Result(false, deadline.isCancelled() ? CANCELLED : deadline.tookLonger());
        } finally {
            deadline.finish();
        }
    }

    static URI target(String address) throws Stop {
        String refusal = "Enter an address that starts with https:// or http://, for example " + DEFAULT_TARGET;
        try {
            URI uri = new URI(address.trim());
            String scheme = uri.getScheme() == null ? "" : uri.getScheme().toLowerCase(Locale.ROOT);
            if (!(scheme.equals("https") || scheme.equals("http")) || uri.getHost() == null) {
                throw new Stop(refusal);
            }
            return uri;
        } catch (URISyntaxException e) {
            throw new Stop(refusal);
        }
    }

    static int port(URI target) {
        return target.getPort() > 0 ? target.getPort() : target.getScheme().equalsIgnoreCase("https") ? 443 : 80;
    }

    private ProxyRoute route(URI target) throws Stop {
        switch (settings.proxySelection) {
            case Settings.PROXY_BROWSER:
                throw new Stop(BROWSER_UNTESTABLE);
            case Settings.PROXY_MANUAL:
                return ProxyRoute.manual(settings, target);
            case Settings.PROXY_SCRIPT:
                return scriptRoute(target);
            default:
                return ProxyRoute.DIRECT;
        }
    }

    private ProxyRoute scriptRoute(URI target) throws Stop {
        String location = settings.scriptLocation;
        if (location.isEmpty()) {
            throw new Stop("No script location is set for the automatic proxy configuration script.");
        }
        String script;
        try {
            script = ProxyScript.fetch(location, deadline);
        } catch (IOException | RuntimeException e) {
            throw new Stop(deadline.closedAtLimit() ? deadline.tookLonger() : "The automatic configuration script"
                    + " could not be fetched from " + location + ": " + describe(e) + ".");
        }
        if (engine == null) {
            throw new Stop("The automatic configuration script was fetched from " + location + ", but this Java"
                    + " has no script engine, so the window cannot test a script on this Java.");
        }
        String answer;
        try {
            answer = engine.findProxyForUrl(script, target.toString(), host(target), deadline);
        } catch (Stop e) {
            throw e;
        } catch (ProxyScript.Refused e) {
            throw new Stop("The automatic configuration script from " + location + " was stopped: it tried to "
                    + e.getMessage() + ", which a proxy script may not do. Nothing was done.");
        } catch (Exception e) {
            throw new Stop(deadline.closedAtLimit() ? deadline.tookLonger() : "The automatic configuration script"
                    + " from " + location + " did not parse or run: " + describe(e) + ".");
        }
        ProxyRoute route = ProxyRoute.fromScript(answer);
        if (route == null) {
            throw new Stop("The automatic configuration script from " + location + " answered \"" + answer
                    + "\", which names no proxy that can be tested.");
        }
        return route.chosenBy("The script at " + location + " chose \"" + answer.trim() + "\". ");
    }

    private Result connect(URI target, ProxyRoute route) throws Stop {
        String host = host(target);
        int port = port(target);
        String endpoint = (host.indexOf(':') >= 0 ? "[" + host + "]" : host) + ":" + port;
        long started = System.currentTimeMillis();
        Socket socket = null;
        try {
            if (route.type == Proxy.Type.SOCKS) {
                InetSocketAddress server = new InetSocketAddress(route.host, route.port);
                if (server.isUnresolved()) {
                    throw new Stop(unknownName(route.host));
                }
                socket = watched(new Socket(new Proxy(Proxy.Type.SOCKS, server)));
                open(socket, InetSocketAddress.createUnresolved(host, port), route.name());
            } else if (route.type == Proxy.Type.HTTP) {
                socket = watched(new Socket());
                open(socket, new InetSocketAddress(route.host, route.port), route.name());
                tunnel(socket, endpoint, route.name());
            } else {
                socket = watched(new Socket());
                open(socket, new InetSocketAddress(host, port), endpoint);
            }
            String reached = route.note + "Connected to " + host + " " + route.how() + " in ";
            if (target.getScheme().equalsIgnoreCase("https")) {
                handshake(socket, host, port, route.note + "Reached " + host + " " + route.how()
                        + ", but the secure connection could not be set up: ");
            }
            return new Result(true, reached + (System.currentTimeMillis() - started) + " ms.");
        } finally {
            if (socket != null) {
                deadline.release(socket);
                closeQuietly(socket);
            }
        }
    }

    private Socket watched(Socket socket) {
        deadline.watch(socket);
        return socket;
    }

    private void open(Socket socket, InetSocketAddress address, String name) throws Stop {
        try {
            socket.connect(address, deadline.remaining());
        } catch (UnknownHostException e) {
            throw new Stop(unknownName(address.getHostString()));
        } catch (SocketTimeoutException e) {
            throw noAnswer(name);
        } catch (NoRouteToHostException e) {
            throw new Stop("There is no route to " + name + ".");
        } catch (ConnectException e) {
            throw new Stop(capitalized(name) + " refused the connection: nothing listens on that port,"
                    + " or a firewall turns it away.");
        } catch (IOException | IllegalArgumentException e) {
            throw deadline.closedAtLimit() ? noAnswer(name) : new Stop("Could not connect to " + name + ": "
                    + describe(e) + ".");
        }
    }

    /** A step's own time-out, or the limit reached while the step waited: both are no (whole) answer in time. */
    private Stop noAnswer(String name) {
        return new Stop("No answer from " + name + " within " + seconds(limitMs) + ".");
    }

    private static String unknownName(String host) {
        return "The name " + host + " could not be found: no name server knows it, or this computer has no network.";
    }

    /** Asks the HTTP proxy for a tunnel to endpoint; returns when it answered 200. */
    private void tunnel(Socket socket, String endpoint, String proxy) throws Stop {
        String status;
        try {
            OutputStream out = socket.getOutputStream();
            out.write(("CONNECT " + endpoint + " HTTP/1.1\r\nHost: " + endpoint + "\r\n\r\n")
                    .getBytes(StandardCharsets.US_ASCII));
            out.flush();
            socket.setSoTimeout(deadline.remaining());
            status = statusLine(socket.getInputStream());
        } catch (SocketTimeoutException e) {
            throw noAnswer(proxy);
        } catch (IOException e) {
            throw deadline.closedAtLimit() ? noAnswer(proxy) : new Stop(capitalized(proxy)
                    + " closed the connection without an answer: " + describe(e) + ".");
        }
        String[] words = status.split(" ", 3);
        if (words.length < 2 || !words[0].startsWith("HTTP/") || !words[1].matches("\\d{3}")) {
            throw new Stop(capitalized(proxy) + " did not answer as an HTTP proxy does: \"" + status + "\".");
        }
        int code = Integer.parseInt(words[1]);
        if (code != 200) {
            throw new Stop(capitalized(proxy) + " refused the connection to " + endpoint + " with HTTP status "
                    + code + ": " + meaning(code, words.length > 2 ? words[2] : "") + ".");
        }
    }

    static String meaning(int code, String reason) {
        switch (code) {
            case 407:
                return "the proxy asks for a password";
            case 403:
                return "the proxy does not allow connections to this address";
            case 405:
            case 501:
                return "the proxy does not offer secure connections (CONNECT)";
            case 502:
            case 503:
            case 504:
                return "the proxy could not reach the address";
            default:
                return reason.isEmpty() ? "the proxy gave no reason" : "\"" + reason + "\"";
        }
    }

    /** The first line of an HTTP response; the rest of its head is read and dropped. */
    private static String statusLine(InputStream in) throws IOException {
        ByteArrayOutputStream head = new ByteArrayOutputStream();
        int matched = 0;
        while (matched < 4 && head.size() < MAX_RESPONSE_HEAD) {
            int b = in.read();
            if (b < 0) {
                break;
            }
            head.write(b);
            matched = b == "\r\n\r\n".charAt(matched) ? matched + 1 : b == '\r' ? 1 : 0;
        }
        if (head.size() == 0) {
            throw new IOException("the connection was closed");
        }
        String text = new String(head.toByteArray(), StandardCharsets.ISO_8859_1);
        int end = text.indexOf("\r\n");
        return end < 0 ? text.trim() : text.substring(0, end);
    }

    private void handshake(Socket socket, String host, int port, String failure) throws Stop {
        try {
            SSLSocket tls = (SSLSocket) ((SSLSocketFactory) SSLSocketFactory.getDefault())
                    .createSocket(socket, host, port, false);
            SSLParameters parameters = tls.getSSLParameters();
            parameters.setEndpointIdentificationAlgorithm("HTTPS");
            tls.setSSLParameters(parameters);
            tls.setSoTimeout(deadline.remaining());
            tls.startHandshake();
        } catch (IOException e) {
            boolean timedOut = e instanceof SocketTimeoutException || deadline.closedAtLimit();
            throw new Stop(failure + (timedOut ? "no answer within " + seconds(limitMs) : describe(e)) + ".");
        }
    }

    /** The host of target, without the brackets of an IPv6 address. */
    static String host(URI target) {
        String host = target.getHost();
        return host.startsWith("[") && host.endsWith("]") ? host.substring(1, host.length() - 1) : host;
    }

    static String seconds(int ms) {
        int s = Math.max(1, ms / 1000);
        return s + (s == 1 ? " second" : " seconds");
    }

    private static String capitalized(String s) {
        return s.isEmpty() ? s : Character.toUpperCase(s.charAt(0)) + s.substring(1);
    }

    static String describe(Exception e) {
        String message = e.getMessage();
        return message == null || message.isEmpty() ? e.getClass().getSimpleName() : message;
    }

    private static void closeQuietly(Socket socket) {
        if (socket != null) {
            try {
                socket.close();
            } catch (IOException e) {
                // Nothing to report: the test is over or cancelled.
            }
        }
    }
}
