package com.tavisto.launcher.utility;

import static org.junit.Assert.*;

import java.io.*;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.util.*;
import java.util.concurrent.atomic.AtomicInteger;
import javax.swing.*;
import org.junit.*;
import org.junit.rules.TemporaryFolder;

/** The window's parts, built and driven without a window: they run headless. */
public class PanelsTest {
    @Rule
    public TemporaryFolder temp = new TemporaryFolder();
    private static final Locale LOCALE = Locale.getDefault();

    @BeforeClass
    public static void englishNumbers() {
        Locale.setDefault(Locale.US);
    }

    @AfterClass
    public static void restoreLocale() {
        Locale.setDefault(LOCALE);
    }

    private static String enabledFields(NetworkPanel p) {
        String[] names = {"sameServer", "http", "secure", "ftp", "socks", "bypassList", "bypassLocal", "overrideHosts",
            "script"};
        JComponent[][] groups = {{p.sameServer}, {p.httpAddress, p.httpPort}, {p.secureAddress, p.securePort},
            {p.ftpAddress, p.ftpPort}, {p.socksAddress, p.socksPort}, {p.bypassList}, {p.bypassLocal}, {p.overrideHosts},
            {p.scriptLocation}};
        StringBuilder b = new StringBuilder();
        for (int i = 0; i < groups.length; i++) {
            for (JComponent c : groups[i]) {
                assertEquals(names[i] + " is enabled in part only", groups[i][0].isEnabled(), c.isEnabled());
            }
            b.append(groups[i][0].isEnabled() ? " " + names[i] : "");
        }
        return b.toString().trim();
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
        assertEquals("Version 1.5.0.0", g.versionLabel.getText());
        assertEquals("Version unknown", new GeneralPanel("", "s", null).versionLabel.getText());
        assertTrue("the launcher's default", g.noConsole.isSelected());
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
        f.setText("010");
        assertEquals(10, f.port());
        f.setText("");
        assertEquals(0, f.port());
        f.setPort(99999);
        assertEquals("a port read from a file is shown even out of range", "99999", f.getText());
        assertFalse(f.inRange());
        f.setPort(0);
        assertEquals("", f.getText());
        NetworkPanel p = new NetworkPanel(false);
        p.ftpPort.setText("65535");
        p.socksPort.setPort(65536);
        assertEquals("Socks", p.protocolOf(p.firstBadPort()));
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
        for (String expected : new String[] {"3000 bytes, 2 files, 0 failures", "0 bytes, 0 files, 0 failures"}) {
            CacheCleaner.Result r = new CacheCleaner().empty(cache);
            assertEquals(expected, r.bytes + " bytes, " + r.files + " files, " + r.failures + " failures");
            assertArrayEquals(new String[0], cache.list());
        }
        assertTrue(precious.isFile());
        assertEquals("it is the root of a drive", CacheCleaner.refusal(File.listRoots()[0]));
        assertEquals("it is not a folder", CacheCleaner.refusal(precious));
        assertNull(CacheCleaner.refusal(new File(temp.getRoot(), "not yet there")));
        String busy = " could not be deleted, most likely because a session is using ";
        Object[][] rows = {{1, 1L, 0, "Freed 1 byte in 1 file."}, {3, 1024L, 0, "Freed 1.0 KB in 3 files."},
            {45, 12_900_000L, 1, "Freed 12.3 MB in 45 files. 1 item" + busy + "it."}, {0, 1023L, 0,
            "The cache was already empty."}, {2, 2L << 30, 3, "Freed 2.0 GB in 2 files. 3 items" + busy + "them."}};
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

    private static int shutdownsRead(InputStream input) throws InterruptedException {
        AtomicInteger shutdowns = new AtomicInteger();
        Thread reader = new CommandChannel(input, new ByteArrayOutputStream()).listen(shutdowns::incrementAndGet);
        reader.join(5000);
        assertFalse("the reader ends with the input", reader.isAlive());
        assertTrue(reader.isDaemon());
        return shutdowns.get();
    }

    @Test
    public void theLaunchersCommandsAreShutdownLinesOnlyAndAClosedPipeIsNoFault() throws InterruptedException {
        Object[][] rows = {{"shutdown\r\n", 1}, {"shutdown\n", 1}, {"shutdown", 1}, {"", 0},
            {"\r\nhello\r\n\r\nshutdown\r\nshutdown\r\n", 1}, {"Shutdown\r\nshutdown \r\n shutdown\nshutdown now\nupdate\n", 0}};
        for (Object[] row : rows) {
            byte[] bytes = ((String) row[0]).getBytes(StandardCharsets.ISO_8859_1);
            assertEquals((String) row[0], row[1], shutdownsRead(new ByteArrayInputStream(bytes)));
        }
        assertEquals(0, shutdownsRead(new InputStream() {
            @Override
            public int read() throws IOException {
                throw new IOException("pipe broken");
            }
        }));
        new CommandChannel(new ByteArrayInputStream(new byte[0]), new OutputStream() {
            @Override
            public void write(int b) throws IOException {
                throw new IOException("pipe closed");
            }
        }).requestUpdate();
    }
}
