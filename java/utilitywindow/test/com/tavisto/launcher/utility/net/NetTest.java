package com.tavisto.launcher.utility.net;

import static org.junit.Assert.*;

import com.tavisto.launcher.utility.*;
import com.tavisto.launcher.utility.settings.Settings;
import java.io.*;
import java.net.*;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.util.concurrent.*;
import javax.script.ScriptException;
import org.junit.*;
import org.junit.rules.TemporaryFolder;

/** The connection test: each way of connecting, proxy scripts run confined, cancelling, and routes. */
public class NetTest {
    @Rule
    public TemporaryFolder temp = new TemporaryFolder();
    @Rule
    public Servers servers = new Servers();

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
        int quiet = servers.silent.getLocalPort();
        String moved = "http://127.0.0.1:" + servers.proxy("HTTP/1.1 302 Found\r\nLocation: " + servers.pac + "\r\n\r\n") + "/moved.pac";
        Object[][] rows = {
            {settings(3, "", 0), "https://127.0.0.1:" + quiet + "/", null,
                "Reached 127.0.0.1 directly, but the secure connection could not be set up: no answer within 1 second."},
            {settings(3, "", 0), "http://127.0.0.1:" + servers.closedPort, null, "127.0.0.1:" + servers.closedPort + refused},
            {settings(1, "127.0.0.1", servers.proxy200), "http://target.test:8080/", null,
                "Connected to target.test through " + proxy + servers.proxy200 + " in N ms."},
            {settings(1, "127.0.0.1", servers.proxy407), "https://target.test/", null, "T" + proxy.substring(1) + servers.proxy407
                + " refused the connection to target.test:443 with HTTP status 407: the proxy asks for a password."},
            {settings(1, "127.0.0.1", servers.closedPort), "https://t.test/", null, "T" + proxy.substring(1) + servers.closedPort + refused},
            {settings(1, "127.0.0.1", 0), "https://t.test/", null, "No valid port is set for the proxy server 127.0.0.1."},
            {settings(1, "127.0.0.1", quiet), "http://t.test/", null, "No answer from " + proxy + quiet + " within 1 second."},
            {settings(0, "127.0.0.1", 1), "http://t.test/", FAKE_ENGINE, ConnectionTest.BROWSER_UNTESTABLE},
            {settings(2, moved, 0), "http://t.test/", FAKE_ENGINE, "The script at " + moved + " chose \"PROXY 127.0.0.1:"
                + servers.proxy200 + "; DIRECT\". Connected to t.test through " + proxy + servers.proxy200 + " in N ms."},
            {settings(2, servers.pac, 0), "http://t.test/", null, script + "was fetched from " + servers.pac + ", but this Java has no"
                + " script engine, so the window cannot test a script on this Java."},
            {settings(2, servers.noPac, 0), "http://t.test/", FAKE_ENGINE, script + "could not be fetched from " + servers.noPac
                + ": the server answered with HTTP status 404."},
            {settings(2, servers.pac, 0), "http://t.test/", broken, script + "from " + servers.pac + " did not parse or run: syntax error."},
            {settings(2, "", 0), "http://t.test/", FAKE_ENGINE, "No script location is set for the automatic proxy"
                + " configuration script."},
            {settings(3, "", 0), "ftp://t.test/", null, "Enter an address that starts with https:// or http://, for"
                + " example https://updates.tavisto.com/"},
            {settings(2, "http://127.0.0.1:" + servers.trickling + "/", 0), "http://t.test/", FAKE_ENGINE, "The test took longer"
                + " than 1 second."},
            {settings(1, "127.0.0.1", servers.trickling), "https://t.test/", null, "No answer from " + proxy + servers.trickling
                + " within 1 second."},
        };
        for (Object[] row : rows) {
            long started = System.nanoTime();
            ConnectionTest.Result r = new ConnectionTest((Settings) row[0], (ProxyScript.Engine) row[2], 1000)
                    .run((String) row[1]);
            long ms = (System.nanoTime() - started) / 1000000;
            assertTrue(row[1] + " ended after " + ms + " ms, not within the limit", ms < 1000 + Deadline.GRACE_MS + 500);
            assertEquals((String) row[1], row[3], r.message.replaceAll("\\d+ ms\\.$", "N ms."));
        }
        assertEquals("a tunnel request and nothing else reaches the proxy",
                "CONNECT target.test:8080 HTTP/1.1\r\nHost: target.test:8080\r\n\r\n", servers.requests.get(0));
    }

    /** Runs in the confined child: does what its script says, and answers with what that gave. */
    public static final class Intruder implements ProxyScript.Engine {
        @Override
        public String findProxyForUrl(String script, String url, String host, Deadline deadline) throws Exception {
            String[] words = script.split(" ", 2);
            if (words[0].equals("read")) {
                return "PROXY " + new String(Files.readAllBytes(new File(words[1]).toPath()), "UTF-8");
            } else if (words[0].equals("resolve")) {
                return "PROXY " + InetAddress.getByName("localhost").getHostAddress() + ":" + words[1];
            } else if (words[0].equals("start")) {
                new ProcessBuilder("/bin/sh", "-c", "echo started >" + words[1]).start().waitFor();
            } else if (words[0].equals("connect")) {
                new Socket("127.0.0.1", Integer.parseInt(words[1])).close();
            } else {
                Thread.sleep(60000);
            }
            return "DIRECT";
        }
    }

    @Test
    public void aScriptRunsConfinedWhatItMayNotDoIsStoppedWithNoEffectAndACancelEndsItWithinASecond() throws Exception {
        File secret = Fixtures.write(temp.newFile("secret.txt"), "s3cret");
        File started = new File(temp.getRoot(), "started");
        String stopped = " was stopped: it tried to ";
        String[][] rows = {{"read " + secret, "read the file " + secret},
            {"start " + started, "start the program /bin/sh"},
            {"connect " + servers.proxy200, "open a network connection to 127.0.0.1:" + servers.proxy200}};
        ConfinedScript confined = new ConfinedScript(Intruder.class.getName());
        for (String[] row : rows) {
            String location = servers.pac(row[0]);
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
        assertEquals("only the script fetches reached a server", rows.length, servers.requests.size());
        String location = servers.pac("resolve " + servers.proxy200);
        assertEquals("name look-ups are allowed", "The script at " + location + " chose \"PROXY 127.0.0.1:" + servers.proxy200
                + "\". Connected to t.test through the proxy server 127.0.0.1:" + servers.proxy200 + " in N ms.",
                new ConnectionTest(settings(2, location, 0), confined, ConnectionTest.LIMIT_MS).run("http://t.test/")
                        .message.replaceAll("\\d+ ms\\.$", "N ms."));
        Object[][] cancelled = {{settings(2, "http://127.0.0.1:" + servers.trickling + "/", 0), FAKE_ENGINE},
            {settings(2, servers.pac("wait"), 0), confined}};
        for (Object[] row : cancelled) {
            ConnectionTest test = new ConnectionTest((Settings) row[0], (ProxyScript.Engine) row[1], 10000);
            CompletableFuture<ConnectionTest.Result> result = CompletableFuture.supplyAsync(() -> test.run("http://a.test/"));
            Thread.sleep(1000);
            test.cancel();
            assertEquals(ConnectionTest.CANCELLED, result.get(1, TimeUnit.SECONDS).message);
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
                "https://updates.tavisto.com/", "through the SOCKS proxy server socks.proxy:1080"},
            {null, "DIRECT", "directly"}, {null, "proxy p.test", "through the proxy server p.test:80"},
            {null, "SOCKS5 s.test", "through the SOCKS proxy server s.test:1080"}, {null, "PROXY", null},
            {null, "DIRECT x", null}, {null, "PROXY [::1]:8080", "through the proxy server ::1:8080"},
            {null, "HTTPS p.test:443", null}};
        for (Object[] row : rows) {
            ProxyRoute r = row[0] == null ? ProxyRoute.fromScript((String) row[1])
                    : ProxyRoute.manual((Settings) row[0], new URI((String) row[1]));
            assertEquals((String) row[1], row[2], r == null ? null : r.note + r.how());
        }
    }
}
