package com.tavisto.launcher.utility;

import static org.junit.Assert.*;

import java.io.*;
import java.net.*;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.util.*;
import java.util.concurrent.*;
import java.util.concurrent.atomic.AtomicInteger;
import javax.net.ssl.SSLSocketFactory;
import javax.script.ScriptException;
import javax.swing.*;
import org.junit.*;
import org.junit.rules.TemporaryFolder;

/** The window's parts, built and driven without a window: they run headless. Every server is on 127.0.0.1. */
public class PanelsTest {
    static {
        Locale.setDefault(Locale.US);
    }

    @Rule
    public TemporaryFolder temp = new TemporaryFolder();

    private static String enabledFields(NetworkPanel p) {
        String[] names = {"sameServer", "http", "secure", "ftp", "socks", "bypassList", "bypassLocal", "overrideHosts",
            "script"};
        JComponent[][] groups = {{p.sameServer}, {p.httpAddress, p.httpPort}, {p.secureAddress, p.securePort},
            {p.ftpAddress, p.ftpPort}, {p.socksAddress, p.socksPort}, {p.bypassList}, {p.bypassLocal}, {p.overrideHosts},
            {p.scriptLocation}};
        StringBuilder b = new StringBuilder();
        for (int i = 0; i < groups.length; i++) {
            assertEquals(names[i] + " is enabled in part only", 1,
                    Arrays.stream(groups[i]).map(JComponent::isEnabled).distinct().count());
            b.append(groups[i][0].isEnabled() ? " " + names[i] : "");
        }
        return b.toString().trim();
    }

    private final List<ServerSocket> servers = new ArrayList<ServerSocket>();
    private final List<String> requests = new CopyOnWriteArrayList<String>();
    /** Takes connections into its backlog and never answers. */
    private ServerSocket silent;
    private int proxy200, proxy407, closedPort, trickling;
    private String pac, noPac;

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

    /** The address of a script that a server hands out. */
    private String pac(String script) throws IOException {
        return "http://127.0.0.1:" + proxy("HTTP/1.1 200 OK\r\n\r\n" + script) + "/proxy.pac";
    }

    /** A server that answers every request with a head that never ends, a byte at a time. */
    private int trickler() throws IOException {
        ServerSocket server = loopback();
        new Thread(() -> {
            while (!server.isClosed()) {
                try (Socket s = server.accept()) {
                    s.getOutputStream().write("HTTP/1.1 200 OK\r\nX: ".getBytes(StandardCharsets.US_ASCII));
                    while (true) {
                        Thread.sleep(200);
                        s.getOutputStream().write('x');
                    }
                } catch (IOException | InterruptedException e) {
                    // Closed by the client or the test.
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
        pac = pac("function FindProxyForURL(url, host) { return \"PROXY 127.0.0.1:" + proxy200 + "; DIRECT\"; }");
        noPac = "http://127.0.0.1:" + proxy("HTTP/1.1 404 Not Found\r\n\r\n") + "/none.pac";
        trickling = trickler();
    }

    @After
    public void stopServers() throws IOException {
        for (ServerSocket s : servers) {
            s.close();
        }
    }

    /** Evaluates scripts of the form "... return \"answer\"; ...". */
    static final ProxyScript.Engine FAKE_ENGINE = (script, url, host, deadline) -> script.replaceAll("(?s).*return \"([^\"]*)\".*", "$1");

    private static Settings settings(int selection, String proxy, int port) {
        return Fixtures.settings("proxySelection=" + selection + "\nuseSameProxyServerForAllProctocols=true\nhttpProxyAddress="
                + proxy + "\nhttpProxyPort=" + port + "\nautomaticProxyConfigScriptLocation=" + proxy);
    }

    @Test
    public void eachWayOfConnectingIsToldInPlainWords() throws IOException {
        ProxyScript.Engine broken = (s, u, h, d) -> { throw new ScriptException("syntax error"); };
        String proxy = "the proxy server 127.0.0.1:";
        String refused = " refused the connection: nothing listens on that port, or a firewall turns it away.";
        String script = "The automatic configuration script ";
        int quiet = silent.getLocalPort();
        String moved = "http://127.0.0.1:" + proxy("HTTP/1.1 302 Found\r\nLocation: " + pac + "\r\n\r\n") + "/moved.pac";
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
            {settings(2, moved, 0), "http://t.test/", FAKE_ENGINE, "The script at " + moved + " chose \"PROXY 127.0.0.1:"
                + proxy200 + "; DIRECT\". Connected to t.test through " + proxy + proxy200 + " in N ms."},
            {settings(2, pac, 0), "http://t.test/", null, script + "was fetched from " + pac + ", but this Java has no"
                + " script engine, so the window cannot test a script on this Java."},
            {settings(2, noPac, 0), "http://t.test/", FAKE_ENGINE, script + "could not be fetched from " + noPac
                + ": the server answered with HTTP status 404."},
            {settings(2, pac, 0), "http://t.test/", broken, script + "from " + pac + " did not parse or run: syntax error."},
            {settings(2, "", 0), "http://t.test/", FAKE_ENGINE, "No script location is set for the automatic proxy"
                + " configuration script."},
            {settings(3, "", 0), "ftp://t.test/", null, "Enter an address that starts with https:// or http://, for"
                + " example https://updates.tavisto.com/"},
            {settings(2, "http://127.0.0.1:" + trickling + "/", 0), "http://t.test/", FAKE_ENGINE, "The test took longer"
                + " than 1 second."},
            {settings(1, "127.0.0.1", trickling), "https://t.test/", null, "No answer from " + proxy + trickling
                + " within 1 second."},
        };
        for (Object[] row : rows) {
            long started = System.nanoTime();
            ConnectionTest.Result r = new ConnectionTest((Settings) row[0], (ProxyScript.Engine) row[2], 1000)
                    .run((String) row[1]);
            long ms = (System.nanoTime() - started) / 1000000;
            assertTrue(row[1] + " ended after " + ms + " ms, not within the limit", ms < 1000 + Deadline.GRACE_MS + 500);
            assertEquals((String) row[1], row[3], r.message.replaceAll("\\d+ ms\\.$", "N ms."));
            assertEquals(r.message, ((String) row[3]).contains("Connected"), r.connected);
        }
        assertEquals("a tunnel request and nothing else reaches the proxy",
                "CONNECT target.test:8080 HTTP/1.1\r\nHost: target.test:8080\r\n\r\n", requests.get(0));
    }

    /** Runs in the confined child: does what its script says, and answers with what that gave. */
    public static final class Intruder implements ProxyScript.Engine {
        @Override
        public String findProxyForUrl(String script, String url, String host, Deadline deadline) throws Exception {
            String[] words = script.split(" ", 2);
            switch (words[0]) {
                case "read":
                    return "PROXY " + new String(Files.readAllBytes(new File(words[1]).toPath()), "UTF-8");
                case "start":
                    new ProcessBuilder("/bin/sh", "-c", "echo started >" + words[1]).start().waitFor();
                    return "DIRECT";
                case "connect":
                    new Socket("127.0.0.1", Integer.parseInt(words[1])).close();
                    return "DIRECT";
                case "resolve":
                    return "PROXY " + InetAddress.getByName("localhost").getHostAddress() + ":" + words[1];
                default:
                    Thread.sleep(60000);
                    return "DIRECT";
            }
        }
    }

    @Test
    public void aScriptRunsConfinedAndWhatItMayNotDoIsStoppedAndToldWithNoEffect() throws Exception {
        File secret = Fixtures.write(temp.newFile("secret.txt"), "s3cret");
        File started = new File(temp.getRoot(), "started");
        String stopped = " was stopped: it tried to ";
        String[][] rows = {{"read " + secret, "read the file " + secret},
            {"start " + started, "start the program /bin/sh"},
            {"connect " + proxy200, "open a network connection to 127.0.0.1:" + proxy200}};
        ConfinedScript confined = new ConfinedScript(Intruder.class.getName());
        for (String[] row : rows) {
            String location = pac(row[0]);
            String message = new ConnectionTest(settings(2, location, 0), confined, ConnectionTest.LIMIT_MS)
                    .run("http://t.test/").message;
            assertEquals("The automatic configuration script from " + location + stopped + row[1] + ", which a proxy"
                    + " script may not do. Nothing was done.", message);
        }
        assertFalse("the program did not run", started.exists());
        Process child = new ProcessBuilder(confined.command(300)).start();
        try (OutputStream in = child.getOutputStream()) {
            in.write("http://t.test/\nt.test\nwait".getBytes(StandardCharsets.UTF_8));
        }
        assertTrue("a child left on its own ends itself at its limit", child.waitFor(5, TimeUnit.SECONDS)
                && child.exitValue() == ConfinedScript.HALTED);
        assertEquals("only the script fetches reached a server", rows.length, requests.size());
        String location = pac("resolve " + proxy200);
        assertEquals("name look-ups are allowed", "The script at " + location + " chose \"PROXY 127.0.0.1:" + proxy200
                + "\". Connected to t.test through the proxy server 127.0.0.1:" + proxy200 + " in N ms.",
                new ConnectionTest(settings(2, location, 0), confined, ConnectionTest.LIMIT_MS).run("http://t.test/")
                        .message.replaceAll("\\d+ ms\\.$", "N ms."));
    }

    @Test
    public void aCancelledTestEndsWithinASecondInEachStepAndHoldsUpNothingElse() throws Exception {
        Object[][] rows = {{settings(2, "http://127.0.0.1:" + trickling + "/", 0), FAKE_ENGINE},
            {settings(2, pac("wait"), 0), new ConfinedScript(Intruder.class.getName())},
            {settings(1, "127.0.0.1", silent.getLocalPort()), null}};
        for (Object[] row : rows) {
            ConnectionTest test = new ConnectionTest((Settings) row[0], (ProxyScript.Engine) row[1], 10000);
            CompletableFuture<ConnectionTest.Result> result = CompletableFuture.supplyAsync(() -> test.run("http://a.test/"));
            Thread.sleep(1000);
            test.cancel();
            assertEquals(ConnectionTest.CANCELLED, result.get(1, TimeUnit.SECONDS).message);
        }
        NetworkPanel p = new NetworkPanel(false);
        ConnectionTestPanel t = p.connectionTest;
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

        Semaphore entered = new Semaphore(0);
        CountDownLatch stuck = new CountDownLatch(1);
        t.engine = (script, url, host, deadline) -> {
            entered.release();
            stuck.await(); // as a name look-up does, whatever cancels it
            return "DIRECT";
        };
        p.script.setSelected(true);
        p.scriptLocation.setText(pac);
        try {
            for (int i = 0; i < 10; i++) {
                Fixtures.onEdt(() -> t.test.doClick());
                assertTrue(entered.tryAcquire(5, TimeUnit.SECONDS));
                Fixtures.onEdt(() -> t.cancel.doClick());
            }
            List<String> shown = new Vector<String>();
            File zip = new File(temp.getRoot(), "d.zip");
            SupportPanel support = new SupportPanel(new SupportBundle("1.5.0.0", new File(temp.getRoot(), "C.properties"),
                    null, temp.newFolder("cache"), JarTest.REG), Fixtures.dialogs(shown, true));
            support.chooser = (parent, proposed) -> zip;
            Fixtures.onEdt(() -> support.save.doClick());
            assertEquals("Save diagnostics runs beside ten stuck tests", Arrays.asList("inform: Save Diagnostics: The"
                    + " diagnostics were saved to\n" + zip), Fixtures.await(shown, 1));
        } finally {
            stuck.countDown();
        }
    }

    @Test
    public void routesNameTheServerChosenOrTheBypass() throws Exception {
        Settings s = Fixtures.settings("proxySelection=1\nhttpProxyAddress=web.proxy\nhttpProxyPort=8080\nsecureProxyAddress="
                + "secure.proxy\nsecureProxyPort=8443\nproxyOverrideHostsList=ignored.test\ndoNotUseProxyServerAddressList="
                + "*.intranet.test; 10.\nbypassProxyServerForLocalAddresses=true");
        String bypass = " bypasses the proxy server. directly";
        Object[][] rows = {{s, "https://updates.tavisto.com/", "through the proxy server secure.proxy:8443"},
            {s, "http://updates.tavisto.com/", "through the proxy server web.proxy:8080"},
            {s, "https://a.intranet.test/", "a.intranet.test" + bypass}, {s, "https://10.1.2.3/", "10.1.2.3" + bypass},
            {s, "https://ignored.test/", "ignored.test" + bypass}, {s, "https://intranet/", "intranet" + bypass},
            {Fixtures.settings("proxySelection=1\nsocksProxyAddress=socks.proxy\nsocksProxyPort=1080"),
                "https://updates.tavisto.com/", "through the SOCKS proxy server socks.proxy:1080"}};
        for (Object[] row : rows) {
            ProxyRoute r = ProxyRoute.manual((Settings) row[0], new URI((String) row[1]));
            assertEquals((String) row[1], row[2], r.note + r.how());
        }
        String[][] scripts = {{"DIRECT", "directly"}, {"proxy p.test", "through the proxy server p.test:80"},
            {"SOCKS5 s.test", "through the SOCKS proxy server s.test:1080"}, {"PROXY", null}, {"DIRECT x", null},
            {"PROXY [::1]:8080", "through the proxy server ::1:8080"}, {"HTTPS p.test:443", null}};
        for (String[] row : scripts) {
            ProxyRoute r = ProxyRoute.fromScript(row[0]);
            assertEquals(row[0], row[1], r == null ? null : r.how());
        }
    }

    @Test
    public void enabledFieldsFollowTheSelection() {
        NetworkPanel p = new NetworkPanel(false);
        String manual = "sameServer http secure ftp socks bypassList bypassLocal overrideHosts";
        Object[][] rows = {{p.browser, false, ""}, {p.manual, false, manual}, {p.script, true, "script"},
            {p.manual, true, "sameServer http socks bypassList bypassLocal overrideHosts"}, {p.direct, true, ""},
            {p.manual, false, manual}};
        for (Object[] row : rows) {
            ((JRadioButton) row[0]).setSelected(true);
            p.sameServer.setSelected((Boolean) row[1]);
            assertEquals(row[2], enabledFields(p));
        }
    }

    @Test
    public void showThenCollectGivesTheSameSettingsWithoutOuterSpaces() {
        NetworkPanel p = new NetworkPanel(false);
        Settings shown = Fixtures.manualProxy();
        p.show(shown);
        p.overrideHosts.setText("  a;b  ");
        Settings collected = new Settings();
        p.collect(collected);
        shown.overrideHosts = "a;b";
        assertEquals(shown.proxyValues(), collected.proxyValues());
        GeneralPanel g = new GeneralPanel("1.5.0.0", "C:\\s.properties", null);
        g.show(shown);
        g.collect(collected);
        assertEquals(Settings.CONSOLE_SHOW, collected.consoleSelection);
    }

    @Test
    public void portsTakeDigitsOnlyAndOutOfRangePortsAreFound() {
        PortField f = new PortField();
        f.setText("80");
        f.replaceSelection("x");
        f.setText(f.getText() + "-1");
        f.setText("655350");
        assertEquals("80", f.getText());
        f.setPort(99999);
        assertEquals("a port read from a file is shown even out of range", "99999", f.getText());
    }

    @Test
    public void theCacheIsEmptiedAfterAConfirmationButKeptAndWhatLinksPointToIsLeft() throws Exception {
        File cache = temp.newFolder("cache");
        File precious = Fixtures.write(new File(temp.newFolder("outside"), "precious.txt"), "0123456789");
        Files.write(Fixtures.write(new File(cache, "a.jar"), "").toPath(), new byte[1000]);
        Files.write(Fixtures.write(new File(cache, "6.0/12/deep.idx"), "").toPath(), new byte[2000]);
        new File(cache, "empty/inner").mkdirs();
        Files.createSymbolicLink(new File(cache, "link").toPath(), precious.getParentFile().toPath());
        Files.createSymbolicLink(new File(cache, "filelink").toPath(), precious.toPath());
        CacheCleaner.Result emptied = new CacheCleaner().empty(cache);
        assertEquals("3000 2 0", emptied.bytes + " " + emptied.files + " " + emptied.failures);
        assertTrue(cache.list().length == 0 && precious.isFile());
        assertEquals("it is the root of a drive", CacheCleaner.refusal(File.listRoots()[0]));
        assertEquals("it is not a folder", CacheCleaner.refusal(precious));
        assertNull(CacheCleaner.refusal(new File(temp.getRoot(), "not yet there")));
        String busy = " could not be deleted, most likely because a session is using ";
        Object[][] rows = {{1, 1L, 0, "Freed 1 byte in 1 file."}, {3, 1024L, 0, "Freed 1.0 KB in 3 files."}, {0, 1023L,
            0, "The cache was already empty."}, {45, 12_900_000L, 1, "Freed 12.3 MB in 45 files. 1 item" + busy + "it."},
            {2, 2L << 30, 3, "Freed 2.0 GB in 2 files. 3 items" + busy + "them."}};
        for (Object[] row : rows) {
            CacheCleaner.Result r = new CacheCleaner.Result();
            r.files = (Integer) row[0];
            r.bytes = (Long) row[1];
            r.failures = (Integer) row[2];
            assertEquals(row[3], CachePanel.report(r));
        }
        Fixtures.write(new File(cache, "a.jar"), "0123456789");
        String confirm = "confirm: Clear Cache: Delete all files in the cache folder?\n" + cache;
        for (boolean answer : new boolean[] {false, true}) {
            List<String> shown = new Vector<String>();
            new CachePanel(cache, new CacheCleaner(), Fixtures.dialogs(shown, answer)).clearCache();
            assertEquals(answer ? Arrays.asList(confirm, "inform: Clear Cache: Freed 10 bytes in 1 file.")
                    : Arrays.asList(confirm), Fixtures.await(shown, answer ? 2 : 1));
            assertEquals(answer ? 0 : 1, cache.list().length);
        }
        List<String> shown = new Vector<String>();
        new CachePanel(new File("cache"), new CacheCleaner(), Fixtures.dialogs(shown, true)).clearCache();
        assertEquals(Arrays.asList("error: Clear Cache: The cache folder cache cannot be cleared, because it is"
                + " not a full path."), shown);
    }

    @Test
    public void theLaunchersCommandsAreShutdownLinesOnlyAndAClosedPipeIsNoFault() throws InterruptedException {
        Object[][] rows = {{"shutdown\n", 1}, {"shutdown", 1}, {"", 0}, {"\r\nhello\r\n\r\nshutdown\r\nshutdown\r\n", 1},
            {"Shutdown\r\nshutdown \r\n shutdown\nshutdown now\nupdate\n", 0}};
        for (Object[] row : rows) {
            AtomicInteger shutdowns = new AtomicInteger();
            new CommandChannel(new ByteArrayInputStream(((String) row[0]).getBytes(StandardCharsets.ISO_8859_1)),
                    new ByteArrayOutputStream()).listen(shutdowns::incrementAndGet).join(5000);
            assertEquals((String) row[0], row[1], shutdowns.get());
        }
        new CommandChannel(new ByteArrayInputStream(new byte[0]), new PipedOutputStream()).requestUpdate();
    }
}
