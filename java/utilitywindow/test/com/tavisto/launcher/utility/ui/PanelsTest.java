package com.tavisto.launcher.utility.ui;

import static org.junit.Assert.*;

import com.tavisto.launcher.utility.*;
import com.tavisto.launcher.utility.net.ConnectionTest;
import com.tavisto.launcher.utility.settings.Settings;
import com.tavisto.launcher.utility.support.*;
import java.io.*;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.util.*;
import java.util.concurrent.*;
import java.util.concurrent.atomic.AtomicInteger;
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
    @Rule
    public Servers servers = new Servers();

    @Test
    public void aTestCancelledInThePanelEndsThereAndHoldsUpNothingElseAndTheDiagnosticsAreSavedWhereTheUserChose() throws Exception {
        NetworkPanel p = new NetworkPanel(false);
        ConnectionTestPanel t = p.connectionTest;
        Fixtures.onEdt(() -> {
            t.target.setText(" http://target.test/ ");
            t.test.doClick();
            assertEquals("Testing the connection to http://target.test/...", t.result.getText());
            assertFalse(t.test.isEnabled());
            t.cancel.doClick();
            assertEquals(ConnectionTest.CANCELLED, t.result.getText());
            p.direct.setSelected(true);
            t.target.setText("http://127.0.0.1:" + servers.silent.getLocalPort() + "/");
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
        p.scriptLocation.setText(servers.pac);
        for (int i = 0; i < 10; i++) {
            Fixtures.onEdt(() -> t.test.doClick());
            assertTrue(entered.tryAcquire(5, TimeUnit.SECONDS));
            Fixtures.onEdt(() -> t.cancel.doClick());
        }
        // The diagnostics are saved beside ten stuck connection tests: neither waits for the other.
        List<String> shown = new Vector<String>();
        DiagnosticsBundle bundle = new DiagnosticsBundle("1.5.0.0", new File(temp.getRoot(), "C.properties"), null,
                temp.newFolder("cache"), JarTest.REG);
        SupportPanel panel = new SupportPanel(bundle, Fixtures.dialogs(Dialogs.class, shown, true));
        List<File> proposed = new ArrayList<File>();
        File[] choices = {new File(temp.getRoot(), "no/d.zip"), Fixtures.write(new File(temp.getRoot(), "d.zip"), "old")};
        String replace = "confirm: Save Diagnostics: d.zip already exists.\nDo you want to replace it?";
        List<String> refused = new Vector<String>();
        SupportPanel keeping = new SupportPanel(bundle, Fixtures.dialogs(Dialogs.class, refused, false));
        keeping.chooser = (parent, file) -> proposed.add(file) && proposed.size() == 1 ? choices[1] : null;
        Fixtures.onEdt(() -> keeping.save.doClick());
        assertEquals("a refusal offers the choice again", Arrays.asList(replace), refused);
        assertEquals(choices[1], proposed.get(1));
        assertEquals("old", Fixtures.text(choices[1]));
        proposed.clear();
        for (File choice : choices) {
            panel.chooser = (parent, file) -> proposed.add(file) ? choice : null;
            Fixtures.onEdt(() -> panel.save.doClick());
            Fixtures.eventually(() -> shown.size() >= 2 * proposed.size() - 1);
        }
        assertEquals(Arrays.asList("error: Save Diagnostics: The diagnostics could not be saved to " + choices[0]
                + ": the folder " + choices[0].getParent() + " does not exist.", replace,
                "inform: Save Diagnostics: The diagnostics were saved to\n" + choices[1]), shown);
        assertEquals("Saved to " + choices[1], panel.status.getText());
        assertTrue(Fixtures.unzip(choices[1]).containsKey("summary.txt"));
        assertTrue(proposed.toString(), proposed.get(0).getName().matches("ConvocaLauncher-diagnostics-\\d{8}-\\d{6}\\.zip"));
        stuck.countDown();
    }

    @Test
    public void enabledFieldsFollowTheSelection() {
        NetworkPanel p = new NetworkPanel(false);
        Object[][] groups = {{"sameServer", p.sameServer}, {"http", p.httpAddress, p.httpPort}, {"secure",
            p.secureAddress, p.securePort}, {"ftp", p.ftpAddress, p.ftpPort}, {"socks", p.socksAddress, p.socksPort},
            {"bypassList", p.bypassList}, {"bypassLocal", p.bypassLocal}, {"overrideHosts", p.overrideHosts},
            {"script", p.scriptLocation}};
        String manual = "sameServer http secure ftp socks bypassList bypassLocal overrideHosts";
        Object[][] rows = {{p.browser, false, ""}, {p.manual, false, manual}, {p.script, true, "script"},
            {p.manual, true, "sameServer http socks bypassList bypassLocal overrideHosts"}, {p.direct, true, ""},
            {p.manual, false, manual}};
        for (Object[] row : rows) {
            ((JRadioButton) row[0]).setSelected(true);
            p.sameServer.setSelected((Boolean) row[1]);
            StringBuilder enabled = new StringBuilder();
            for (Object[] g : groups) {
                assertEquals(g[0] + " is enabled in part only", 1,
                        Arrays.stream(g, 1, g.length).map(c -> ((JComponent) c).isEnabled()).distinct().count());
                enabled.append(((JComponent) g[1]).isEnabled() ? " " + g[0] : "");
            }
            assertEquals(row[2], enabled.toString().trim());
        }
    }

    @Test
    public void showThenCollectGivesTheSameSettingsWithoutOuterSpacesAndPortsTakeDigitsOnly() {
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
        PortField f = p.httpPort;
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
            new CachePanel(cache, new CacheCleaner(), Fixtures.dialogs(Dialogs.class, shown, answer)).clearCache();
            Fixtures.eventually(() -> shown.size() > 1 || !answer);
            assertEquals(answer ? Arrays.asList(confirm, "inform: Clear Cache: Freed 10 bytes in 1 file.")
                    : Arrays.asList(confirm), shown);
            assertEquals(answer ? 0 : 1, cache.list().length);
        }
        List<String> shown = new Vector<String>();
        new CachePanel(new File("cache"), new CacheCleaner(), Fixtures.dialogs(Dialogs.class, shown, true)).clearCache();
        assertEquals(Arrays.asList("error: Clear Cache: The cache folder cache cannot be cleared, because it is"
                + " not a full path."), shown);
    }

    @Test
    public void theLaunchersCommandLineAndCommandsAreReadStrictlyAndAClosedPipeIsNoFault() throws InterruptedException {
        Object[][] rows = {{"shutdown\n", 1}, {"shutdown", 1}, {"", 0}, {"\r\nhello\r\n\r\nshutdown\r\nshutdown\r\n", 1},
            {"Shutdown\r\nshutdown \r\n shutdown\nshutdown now\nupdate\n", 0}};
        for (Object[] row : rows) {
            AtomicInteger shutdowns = new AtomicInteger();
            new CommandChannel(new ByteArrayInputStream(((String) row[0]).getBytes(StandardCharsets.ISO_8859_1)),
                    new ByteArrayOutputStream()).listen(shutdowns::incrementAndGet).join(5000);
            assertEquals((String) row[0], row[1], shutdowns.get());
        }
        new CommandChannel(new ByteArrayInputStream(new byte[0]), new PipedOutputStream()).requestUpdate();
        String[][] commandLines = {
            {"-admin", "-version", "1", "-cache", "C:\\cache", "-settings", "C:\\a b\\C.properties",
                "=C:\\a b\\C.properties|C:\\cache|1|true"},
            {"-settings", "s", "-cache", "c", "-version", "", "=s|c||false"},
            {"-settings", "s", "-cache", "c", "-version", "-version needs a value"},
            {"-settings", "", "-cache", "c", "-version", "1", "-settings needs a file"},
            {"-settings", "s", "-verbose", "-cache", "c", "-version", "1", "unknown argument \"-verbose\""},
            {"-settings", "s", "-cache", "c", "-version", "1", "-admin", "-admin", "-admin is given twice"},
        };
        for (String[] row : commandLines) {
            CommandLine c = CommandLine.parse(Arrays.copyOf(row, row.length - 1));
            String parsed = c.problem != null ? c.problem
                    : "=" + c.settingsPath + "|" + c.cachePath + "|" + c.version + "|" + c.admin;
            assertEquals(Arrays.toString(row), row[row.length - 1], parsed);
        }
    }

}
