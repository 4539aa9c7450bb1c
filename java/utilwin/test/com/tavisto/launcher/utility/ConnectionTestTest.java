package com.tavisto.launcher.utility;

import static org.junit.Assert.*;

import com.sun.net.httpserver.HttpServer;
import java.io.*;
import java.net.*;
import java.nio.charset.StandardCharsets;
import java.util.*;
import java.util.concurrent.*;
import javax.net.ssl.SSLSocketFactory;
import javax.script.ScriptException;
import org.junit.*;

/** Every server is on 127.0.0.1, started and stopped here. */
public class ConnectionTestTest {
    private final List<ServerSocket> servers = new ArrayList<ServerSocket>();
    private final List<String> requests = new CopyOnWriteArrayList<String>();
    /** Takes connections into its backlog and never answers. */
    private ServerSocket silent;
    private int proxy200, proxy407, closedPort;
    private HttpServer pacServer;

    private ServerSocket loopback() throws IOException {
        servers.add(new ServerSocket(0, 5, InetAddress.getByName("127.0.0.1")));
        return servers.get(servers.size() - 1);
    }

    /** An HTTP proxy that records each request head and answers it with reply. */
    private int proxy(String reply) throws IOException {
        ServerSocket server = loopback();
        new Thread(() -> {
            while (!server.isClosed()) {
                try (Socket s = server.accept()) {
                    s.setSoTimeout(3000);
                    BufferedReader in = new BufferedReader(new InputStreamReader(s.getInputStream(), "ISO-8859-1"));
                    StringBuilder head = new StringBuilder();
                    for (String line; (line = in.readLine()) != null && !line.isEmpty();) {
                        head.append(line).append("\r\n");
                    }
                    requests.add(head + "\r\n");
                    s.getOutputStream().write(reply.getBytes(StandardCharsets.US_ASCII));
                } catch (IOException e) {
                    // Closed by the test, or the client went away.
                }
            }
        }).start();
        return server.getLocalPort();
    }

    @Before
    public void startServers() throws IOException {
        SSLSocketFactory.getDefault(); // loading TLS can take longer than a whole test's limit
        silent = loopback();
        closedPort = loopback().getLocalPort();
        servers.get(1).close();
        proxy200 = proxy("HTTP/1.1 200 Connection established\r\n\r\n");
        proxy407 = proxy("HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: Basic\r\n\r\n");
        pacServer = HttpServer.create(new InetSocketAddress("127.0.0.1", 0), 5);
        pacServer.createContext("/proxy.pac", exchange -> {
            byte[] body = ("function FindProxyForURL(url, host) { return \"PROXY 127.0.0.1:" + proxy200
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
        for (ServerSocket s : servers) {
            s.close();
        }
        pacServer.stop(0);
    }

    /** Evaluates scripts of the form "... return \"answer\"; ...". */
    static final ProxyScript.Engine FAKE_ENGINE = (script, url, host) -> script.replaceAll("(?s).*return \"([^\"]*)\".*", "$1");

    private static Settings settings(String text) {
        SettingsText t = new SettingsText(text);
        return Settings.read(t, t);
    }

    private static Settings settings(int selection, String proxy, int port) {
        return settings("proxySelection=" + selection + "\nuseSameProxyServerForAllProctocols=true\nhttpProxyAddress="
                + proxy + "\nhttpProxyPort=" + port + "\nautomaticProxyConfigScriptLocation=" + proxy);
    }

    @Test
    public void eachWayOfConnectingIsToldInPlainWords() {
        String server = "http://127.0.0.1:" + pacServer.getAddress().getPort();
        String pac = server + "/proxy.pac";
        ProxyScript.Engine broken = (s, u, h) -> { throw new ScriptException("syntax error"); };
        String proxy = "the proxy server 127.0.0.1:";
        String refused = " refused the connection: nothing listens on that port, or a firewall turns it away.";
        String script = "The automatic configuration script ";
        int quiet = silent.getLocalPort();
        Object[][] rows = {
            {settings(3, "", 0), "http://127.0.0.1:" + quiet + "/", null, "Connected to 127.0.0.1 directly in N ms."},
            {settings(3, "", 0), "https://127.0.0.1:" + quiet + "/", null,
                "Reached 127.0.0.1 directly, but the secure connection could not be set up: no answer within 1 second."},
            {settings(3, "", 0), "http://127.0.0.1:" + closedPort, null, "127.0.0.1:" + closedPort + refused},
            {settings(1, "127.0.0.1", proxy200), "http://target.test:8080/", null,
                "Connected to target.test through " + proxy + proxy200 + " in N ms."},
            {settings(1, "127.0.0.1", proxy407), "https://target.test/", null, "T" + proxy.substring(1) + proxy407
                + " refused the connection to target.test:443 with HTTP status 407: the proxy asks for a password."},
            {settings(1, "127.0.0.1", closedPort), "https://t.test/", null, "T" + proxy.substring(1) + closedPort + refused},
            {settings(1, "127.0.0.1", 0), "https://t.test/", null, "No valid port is set for the proxy server 127.0.0.1."},
            {settings(1, "127.0.0.1", quiet), "http://t.test/", null, "No answer from " + proxy + quiet + " within 1 second."},
            {settings(0, "127.0.0.1", 1), "http://t.test/", FAKE_ENGINE, ConnectionTest.BROWSER_UNTESTABLE},
            {settings(2, pac, 0), "http://t.test/", FAKE_ENGINE, "The script at " + pac + " chose \"PROXY 127.0.0.1:"
                + proxy200 + "; DIRECT\". Connected to t.test through " + proxy + proxy200 + " in N ms."},
            {settings(2, pac, 0), "http://t.test/", null, script + "was fetched from " + pac + ", but this Java has no"
                + " script engine, so the window cannot test a script on this Java."},
            {settings(2, server + "/none.pac", 0), "http://t.test/", FAKE_ENGINE, script + "could not be fetched from "
                + server + "/none.pac" + ": the server answered with HTTP status 404."},
            {settings(2, pac, 0), "http://t.test/", broken, script + "from " + pac + " did not parse or run: syntax error."},
            {settings(2, "", 0), "http://t.test/", FAKE_ENGINE, "No script location is set for the automatic proxy"
                + " configuration script."},
            {settings(3, "", 0), "ftp://t.test/", null, "Enter an address that starts with https:// or http://, for"
                + " example https://updates.tavisto.com/"},
        };
        for (Object[] row : rows) {
            ConnectionTest.Result r = new ConnectionTest((Settings) row[0], (ProxyScript.Engine) row[2], 1000)
                    .run((String) row[1]);
            assertEquals((String) row[1], row[3], r.message.replaceAll("\\d+ ms\\.$", "N ms."));
            assertEquals(r.message, ((String) row[3]).contains("Connected"), r.connected);
        }
        assertEquals("a tunnel request and nothing else reaches the proxy",
                "CONNECT target.test:8080 HTTP/1.1\r\nHost: target.test:8080\r\n\r\n", requests.get(0));
    }

    @Test
    public void aCancelledTestEndsAtOnceAndThePanelTestsTheShownSettings() throws Exception {
        ConnectionTest test = new ConnectionTest(settings(1, "127.0.0.1", silent.getLocalPort()), null, 10000);
        CompletableFuture<ConnectionTest.Result> result = CompletableFuture.supplyAsync(() -> test.run("http://a.test/"));
        Thread.sleep(200);
        test.cancel();
        assertEquals(ConnectionTest.CANCELLED, result.get(2, TimeUnit.SECONDS).message);
        NetworkPanel p = new NetworkPanel(false);
        ConnectionTestPanel t = p.connectionTest;
        assertEquals("https://updates.tavisto.com/", t.target.getText());
        Fixtures.onEdt(() -> {
            p.manual.setSelected(true);
            p.httpAddress.setText("127.0.0.1");
            p.httpPort.setPort(silent.getLocalPort());
            t.target.setText(" http://target.test/ ");
            t.test.doClick();
            assertEquals("Testing the connection to http://target.test/...", t.result.getText());
            assertFalse(t.test.isEnabled());
            t.cancel.doClick();
            assertEquals(ConnectionTest.CANCELLED, t.result.getText());
            p.direct.setSelected(true);
            t.target.setText("http://127.0.0.1:" + silent.getLocalPort() + "/");
            t.test.doClick();
        });
        assertTrue(Fixtures.eventually(() -> !t.isRunning() && t.test.isEnabled() && !t.cancel.isEnabled()
                && t.result.getText().matches("Connected to 127\\.0\\.0\\.1 directly in \\d+ ms\\.")));
    }

    /** Manual settings with separate servers for secure and HTTP addresses, a SOCKS server, bypass lists. */
    private static Settings manual(boolean bypassLocal, String secureServer) {
        return settings("proxySelection=1\nhttpProxyAddress=web.proxy\nhttpProxyPort=8080\nsecureProxyAddress=" + secureServer
                + "\nsecureProxyPort=8443\nsocksProxyAddress=socks.proxy\nsocksProxyPort=1080\nproxyOverrideHostsList=ignored.test"
                + "\ndoNotUseProxyServerAddressList=*.intranet.test; 10.\nbypassProxyServerForLocalAddresses=" + bypassLocal);
    }

    @Test
    public void routesNameTheServerChosenOrTheBypass() throws Exception {
        Settings s = manual(false, "secure.proxy");
        Object[][] rows = {
            {s, "https://updates.tavisto.com/", "through the proxy server secure.proxy:8443"},
            {s, "http://updates.tavisto.com/", "through the proxy server web.proxy:8080"},
            {s, "https://a.intranet.test/", "a.intranet.test bypasses the proxy server. directly"},
            {s, "https://10.1.2.3/", "10.1.2.3 bypasses the proxy server. directly"},
            {s, "https://ignored.test/", "ignored.test bypasses the proxy server. directly"},
            {s, "https://intranet/", "through the proxy server secure.proxy:8443"},
            {manual(true, ""), "https://intranet/", "intranet bypasses the proxy server. directly"},
            {manual(true, ""), "https://updates.tavisto.com/", "through the SOCKS proxy server socks.proxy:1080"},
        };
        for (Object[] row : rows) {
            ProxyRoute r = ProxyRoute.manual((Settings) row[0], new URI((String) row[1]));
            assertEquals((String) row[1], row[2], r.note + r.how());
        }
        String[][] scripts = {
            {"DIRECT", "directly"}, {"proxy p.test", "through the proxy server p.test:80"},
            {"SOCKS5 s.test", "through the SOCKS proxy server s.test:1080"}, {"PROXY", null}, {"", null},
            {"PROXY [::1]:8080", "through the proxy server ::1:8080"}, {"DIRECT x", null}, {"HTTPS p.test:443", null},
        };
        for (String[] row : scripts) {
            ProxyRoute r = ProxyRoute.fromScript(row[0]);
            assertEquals(row[0], row[1], r == null ? null : r.how());
        }
    }
}
