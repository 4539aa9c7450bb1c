package com.tavisto.launcher.utility;

import static org.junit.Assert.assertArrayEquals;
import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertNull;
import static org.junit.Assert.assertTrue;

import java.io.File;
import java.io.IOException;
import java.util.Random;
import java.util.function.Consumer;
import java.util.stream.Stream;
import org.junit.Rule;
import org.junit.Test;
import org.junit.rules.TemporaryFolder;

/** What the window saves, read back with the reader that the shared rows hold to the launcher's. */
public class SettingsStoreTest {
    @Rule
    public TemporaryFolder temp = new TemporaryFolder();

    private static void assertReadsBack(Settings expected, File file, boolean proxies) throws IOException {
        SettingsText t = new SettingsText(Fixtures.text(file));
        Settings read = Settings.read(t, t);
        assertEquals(expected.consoleValues(), read.consoleValues());
        if (proxies) {
            assertEquals(expected.proxyValues(), read.proxyValues());
        }
    }

    @Test
    public void perUserSaveKeepsOtherLinesAndReadsBackAsSaved() throws IOException {
        File user = Fixtures.write(new File(temp.getRoot(), "ConvocaLauncher.properties"),
                "# my notes\nproxySelection=0\ndoNotRunUpdater=true\n#httpProxyPort=1\n[x]\n");
        Settings s = Fixtures.manualProxy();
        assertNull(new SettingsStore(new SettingsFile(user), null).save(s));
        assertReadsBack(s, user, true);
        String written = Fixtures.text(user);
        assertTrue(written, written.startsWith("# my notes\r\nproxySelection=1\r\ndoNotRunUpdater=true\r\n"
                + "httpProxyPort=8080\r\n[x]\r\n"));
        SettingsRewriterTest.assertCleanLines(written);
    }

    @Test
    public void randomValuesReadBackAsSaved() throws IOException {
        Random random = new Random(8);
        String alphabet = "ab.-:/;*=#!\\ \u00e9%";
        File user = Fixtures.write(new File(temp.getRoot(), "ConvocaLauncher.properties"), "keep=me\r\n");
        SettingsStore store = new SettingsStore(new SettingsFile(user), null);
        for (int round = 0; round < 200; round++) {
            Settings s = new Settings();
            s.consoleSelection = random.nextInt(3);
            s.proxySelection = random.nextInt(4);
            s.sameServerForAll = random.nextBoolean();
            s.bypassLocal = random.nextBoolean();
            s.httpPort = random.nextInt(65536);
            s.securePort = random.nextInt(2) * 65535;
            s.socksPort = random.nextInt(10);
            String[] texts = new String[7];
            for (int i = 0; i < texts.length; i++) {
                StringBuilder b = new StringBuilder();
                for (int n = random.nextInt(12); n > 0; n--) {
                    b.append(alphabet.charAt(random.nextInt(alphabet.length())));
                }
                texts[i] = SettingsText.trimSpaces(b.toString());
            }
            s.httpAddress = texts[0];
            s.secureAddress = texts[1];
            s.ftpAddress = texts[2];
            s.socksAddress = texts[3];
            s.bypassList = texts[4] + Keys.proxySelection;
            s.overrideHosts = texts[5];
            s.scriptLocation = texts[6];
            assertNull(store.save(s));
            assertReadsBack(s, user, true);
            assertTrue(Fixtures.text(user).startsWith("keep=me\r\n"));
        }
    }

    @Test
    public void adminModeWritesTheConsoleModeOnlyAndNeverTheAdministratorsFile() throws IOException {
        File admin = Fixtures.write(new File(temp.getRoot(), "ConvocaLauncherAdmin.properties"), "proxySelection=2\n");
        long adminTime = admin.lastModified();
        File user = new File(temp.getRoot(), "roaming/ConvocaLauncherUser.properties");
        SettingsStore store = new SettingsStore(new SettingsFile(user), new SettingsFile(admin));
        assertNull(store.save(Fixtures.manualProxy()));
        assertEquals("javaConsoleSelection=0\r\n", Fixtures.text(user));
        Fixtures.write(user, "httpProxyAddress=mine\n#javaConsoleSelection=0\nnote\n");
        Settings hide = new Settings();
        hide.consoleSelection = Settings.CONSOLE_HIDE;
        assertNull(store.save(hide));
        assertEquals("httpProxyAddress=mine\r\njavaConsoleSelection=1\r\nnote\r\n", Fixtures.text(user));
        assertEquals("proxySelection=2\n", Fixtures.text(admin));
        assertEquals(adminTime, admin.lastModified());
        assertArrayEquals(new String[] {admin.getName(), "roaming"}, Stream.of(temp.getRoot().list()).sorted().toArray());
    }

    private static Settings with(Consumer<Settings> change) {
        Settings s = Fixtures.manualProxy();
        change.accept(s);
        return s;
    }

    @Test
    public void refusedSavesSayWhyAndWriteNothing() throws IOException {
        File user = new File(temp.getRoot(), "ConvocaLauncher.properties");
        String before = "proxySelection=0\n";
        String appcast = "overrideAppcastURL=https://a/?proxySelection=2\n";
        Object[][] rows = {
            {before, with(s -> s.bypassList = "a;proxySelection=1"), "The bypass list cannot be saved,"
                + " because it contains \"proxySelection=\", which the launcher would read as one of its settings."},
            {before, with(s -> s.securePort = 65536), "The Secure port must be a number from 0 to 65535."},
            {before, with(s -> s.socksPort = -1), "The Socks port must be a number from 0 to 65535."},
            {before, with(s -> s.httpAddress = " host"), "The settings could not be saved, because the"
                + " launcher would not read them back as they were entered."},
            {appcast, with(s -> { }), "The settings could not be saved, because the value of"
                + " overrideAppcastURL in " + user + " contains \"proxySelection=\", which the launcher reads as a"
                + " setting of its own. Correct the file by hand, then try again."},
        };
        for (Object[] row : rows) {
            Fixtures.write(user, (String) row[0]);
            assertEquals(row[2], new SettingsStore(new SettingsFile(user), null).save((Settings) row[1]));
            assertEquals(row[0], Fixtures.text(user));
        }
    }

    @Test
    public void unreadableOrUnwritableFilesAreReportedAndLeftAsTheyWere() throws IOException {
        File folder = temp.newFolder("ConvocaLauncher.properties");
        String problem = new SettingsStore(new SettingsFile(folder, 1), null).save(Fixtures.manualProxy());
        assertTrue(problem, problem.startsWith("The settings could not be saved, because " + folder + " could not be read: "));
        File user = new File(temp.newFile("not-a-folder"), "ConvocaLauncher.properties");
        problem = new SettingsStore(new SettingsFile(user, 1), null).save(Fixtures.manualProxy());
        assertTrue(problem, problem.startsWith("The settings could not be saved to " + user + ": "));
        assertTrue(folder.isDirectory() && !user.exists());
    }
}
