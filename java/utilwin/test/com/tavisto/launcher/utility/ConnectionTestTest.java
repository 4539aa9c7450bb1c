package com.tavisto.launcher.utility;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertTrue;

import com.sun.net.httpserver.HttpServer;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.net.InetAddress;
import java.net.InetSocketAddress;
import java.net.ServerSocket;
import java.net.Socket;
import java.net.URI;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import java.util.regex.Matcher;
import java.util.regex.Pattern;
import javax.script.ScriptException;
import org.junit.After;
import org.junit.Before;
import org.junit.Test;

/** Every server is on 127.0.0.1, started and stopped here. */
public class ConnectionTestTest {
    /** Accepts connections and answers each with a fixed reply (null: stays silent), then closes it. */
    static final class Loopback implements Runnable {
        final ServerSocket server;
        final String reply;
        final List<String> requests = Collections.synchronizedList(new ArrayList<String>());

        Loopback(String reply) throws IOException {
            this.server = new ServerSocket(0, 5, InetAddress.getByName("127.0.0.1"));
            this.reply = reply;
            new Thread(this, "loopback " + reply).start();
        }

        @Override
        public void run() {
            while (!server.isClosed()) {
                try (Socket s = server.accept()) {
                    s.setSoTimeout(3000);
                    requests.add(reply != null && reply.isEmpty() ? "" : head(s.getInputStream()));
                    if (reply != null) {
                        s.getOutputStream().write(reply.getBytes(StandardCharsets.US_ASCII));
                    }
                    while (reply == null && s.getInputStream().read() >= 0) {
                        continue;
                    }
                } catch (IOException e) {
                    // Closed by the test, or the client went away.
                }
            }
        }

        private static String head(InputStream in) throws IOException {
            StringBuilder b = new StringBuilder();
            while (b.length() < 1000 && !b.toString().endsWith("\r\n\r\n")) {
                int c = in.read();
                if (c < 0) {
                    break;
                }
                b.append((char) c);
            }
            return b.toString();
        }

        int port() {
            return server.getLocalPort();
        }
    }

    private Loopback listener;
    private Loopback proxy200;
    private Loopback proxy407;
    private Loopback silent;
    private int closedPort;
    private HttpServer pacServer;

    @Before
    public void startServers() throws IOException {
        listener = new Loopback("");
        proxy200 = new Loopback("HTTP/1.1 200 Connection established\r\n\r\n");
        proxy407 = new Loopback("HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic\r\n\r\n");
        silent = new Loopback(null);
        try (ServerSocket s = new ServerSocket(0, 1, InetAddress.getByName("127.0.0.1"))) {
            closedPort = s.getLocalPort();
        }
        pacServer = HttpServer.create(new InetSocketAddress("127.0.0.1", 0), 5);
        pacServer.createContext("/proxy.pac", exchange -> {
            byte[] body = ("function FindProxyForURL(url, host) { return \"PROXY 127.0.0.1:" + proxy200.port()
                    + "; DIRECT\"; }").getBytes(StandardCharsets.UTF_8);
            exchange.sendResponseHeaders(200, body.length);
            try (OutputStream out = exchange.getResponseBody()) {
                out.write(body);
            }
        });
        pacServer.start();
    }

    @After
    public void stopServers() throws IOException {
        for (Loopback l : new Loopback[] {listener, proxy200, proxy407, silent}) {
            l.server.close();
        }
        pacServer.stop(0);
    }

    /** Evaluates scripts of the form "... return \"answer\"; ..." and refuses anything else. */
    static final ProxyScript.Engine FAKE_ENGINE = (script, url, host) -> {
        Matcher m = Pattern.compile("return \"([^\"]*)\"").matcher(script);
        if (!m.find()) {
            throw new ScriptException("missing return");
        }
        return m.group(1);
    };

    private static Settings settings(int selection, String proxy, int port) {
        Settings s = new Settings();
        s.proxySelection = selection;
        s.sameServerForAll = true;
        s.httpAddress = proxy;
        s.httpPort = port;
        s.scriptLocation = proxy;
        return s;
    }

    private String pac(String path) {
        return "http://127.0.0.1:" + pacServer.getAddress().getPort() + path;
    }

    @Test
    public void eachWayOfConnectingIsToldInPlainWords() {
        String proxy = "the proxy server 127\\.0\\.0\\.1:";
        String refused = " refused the connection: nothing listens on that port, or a firewall turns it away.";
        Object[][] rows = {
            {settings(3, "", 0), "http://127.0.0.1:" + listener.port() + "/", FAKE_ENGINE, true,
                "Connected to 127.0.0.1 directly in \\d+ ms\\."},
            {settings(3, "", 0), "https://127.0.0.1:" + listener.port() + "/", FAKE_ENGINE, false,
                "Reached 127.0.0.1 directly, but the secure connection could not be set up: .+\\."},
            {settings(3, "", 0), "http://127.0.0.1:" + closedPort, FAKE_ENGINE, false,
                "127\\.0\\.0\\.1:" + closedPort + refused},
            {settings(1, "127.0.0.1", proxy200.port()), "http://target.test:8080/", null, true,
                "Connected to target.test through " + proxy + proxy200.port() + " in \\d+ ms\\."},
            {settings(1, "127.0.0.1", proxy407.port()), "https://target.test/", null, false,
                "T" + proxy.substring(1) + proxy407.port() + " refused the connection to target.test:443 with HTTP status 407:"
                + " the proxy asks for a password\\."},
            {settings(1, "127.0.0.1", closedPort), "https://target.test/", null, false,
                "T" + proxy.substring(1) + closedPort + refused},
            {settings(1, "127.0.0.1", 0), "https://target.test/", null, false,
                "No valid port is set for the proxy server 127\\.0\\.0\\.1\\."},
            {settings(1, "127.0.0.1", silent.port()), "http://target.test/", null, false,
                "No answer from " + proxy + silent.port() + " within 1 second\\."},
            {settings(0, "127.0.0.1", proxy200.port()), "http://target.test/", FAKE_ENGINE, false,
                Pattern.quote(ConnectionTest.BROWSER_UNTESTABLE)},
            {settings(2, pac("/proxy.pac"), 0), "http://target.test/", FAKE_ENGINE, true,
                Pattern.quote("The script at " + pac("/proxy.pac") + " chose \"PROXY 127.0.0.1:" + proxy200.port()
                + "; DIRECT\". Connected to target.test through the proxy server 127.0.0.1:" + proxy200.port() + " in ")
                + "\\d+ ms\\."},
            {settings(2, pac("/proxy.pac"), 0), "http://target.test/", null, false,
                Pattern.quote("The automatic configuration script was fetched from " + pac("/proxy.pac")
                + ", but this Java has no script engine, so the window cannot test a script on this Java.")},
            {settings(2, pac("/none.pac"), 0), "http://target.test/", FAKE_ENGINE, false,
                Pattern.quote("The automatic configuration script could not be fetched from " + pac("/none.pac")
                + ": the server answered with HTTP status 404.")},
            {settings(2, pac("/proxy.pac"), 0), "http://target.test/", (ProxyScript.Engine) (s, u, h) -> {
                throw new ScriptException("syntax error"); }, false,
                Pattern.quote("The automatic configuration script from " + pac("/proxy.pac")
                + " did not parse or run: syntax error.")},
            {settings(2, "", 0), "http://target.test/", FAKE_ENGINE, false,
                "No script location is set for the automatic proxy configuration script\\."},
            {settings(3, "", 0), "ftp://target.test/", FAKE_ENGINE, false,
                "Enter an address that starts with https:// or http://, for example https://updates.tavisto.com/"},
        };
        for (Object[] row : rows) {
            ConnectionTest.Result r = new ConnectionTest((Settings) row[0], (ProxyScript.Engine) row[2], 1000)
                    .run((String) row[1]);
            assertTrue(row[1] + " gave: " + r.message, r.message.matches((String) row[4]));
            assertEquals(r.message, row[3], r.connected);
        }
        assertEquals("a tunnel request and nothing else reaches the proxy",
                "CONNECT target.test:8080 HTTP/1.1\r\nHost: target.test:8080\r\n\r\n", proxy200.requests.get(0));
    }

    @Test
    public void aCancelledTestEndsAtOnce() throws Exception {
        ConnectionTest test = new ConnectionTest(settings(1, "127.0.0.1", silent.port()), null, 10000);
        ConnectionTest.Result[] result = new ConnectionTest.Result[1];
        Thread t = new Thread(() -> result[0] = test.run("http://target.test/"));
        t.start();
        Thread.sleep(200);
        test.cancel();
        t.join(2000);
        assertEquals(ConnectionTest.CANCELLED, result[0].message);
    }

    @Test
    public void manualSettingsChooseTheServerOrBypassIt() throws Exception {
        Settings s = settings(1, "web.proxy", 8080);
        s.sameServerForAll = false;
        s.secureAddress = "secure.proxy";
        s.securePort = 8443;
        s.bypassList = "*.intranet.test; 10.";
        s.overrideHosts = "ignored.test";
        Object[][] rows = {
            {"https://updates.tavisto.com/", "through the proxy server secure.proxy:8443"},
            {"http://updates.tavisto.com/", "through the proxy server web.proxy:8080"},
            {"https://a.intranet.test/", "a.intranet.test bypasses the proxy server. directly"},
            {"https://10.1.2.3/", "10.1.2.3 bypasses the proxy server. directly"},
            {"https://ignored.test/", "ignored.test bypasses the proxy server. directly"},
            {"https://intranet/", "through the proxy server secure.proxy:8443"},
        };
        for (Object[] row : rows) {
            ProxyRoute r = ProxyRoute.manual(s, new URI((String) row[0]));
            assertEquals((String) row[0], row[1], r.note + r.how());
        }
        s.bypassLocal = true;
        s.secureAddress = "";
        s.socksAddress = "socks.proxy";
        s.socksPort = 1080;
        assertEquals("intranet bypasses the proxy server. directly",
                describe(ProxyRoute.manual(s, new URI("https://intranet/"))));
        assertEquals("through the SOCKS proxy server socks.proxy:1080",
                describe(ProxyRoute.manual(s, new URI("https://updates.tavisto.com/"))));
    }

    private static String describe(ProxyRoute r) {
        return r.note + r.how();
    }

    @Test
    public void scriptAnswersNameTheirFirstEntry() {
        String[][] rows = {
            {"DIRECT", "directly"}, {" PROXY p.test:3128; DIRECT", "through the proxy server p.test:3128"},
            {"proxy p.test", "through the proxy server p.test:80"},
            {"SOCKS5 s.test", "through the SOCKS proxy server s.test:1080"},
            {"PROXY [::1]:8080", "through the proxy server ::1:8080"}, {"PROXY", null}, {"", null},
            {"DIRECT x", null}, {"HTTPS p.test:443", null},
        };
        for (String[] row : rows) {
            ProxyRoute r = ProxyRoute.fromScript(row[0]);
            assertEquals(row[0], row[1], r == null ? null : r.how());
        }
    }
}
