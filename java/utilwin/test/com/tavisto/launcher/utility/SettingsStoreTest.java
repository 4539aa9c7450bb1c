package com.tavisto.launcher.utility;

import static org.junit.Assert.assertArrayEquals;
import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertNull;
import static org.junit.Assert.assertTrue;

import java.io.File;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.util.Random;
import org.junit.Rule;
import org.junit.Test;
import org.junit.rules.TemporaryFolder;

public class SettingsStoreTest {
    @Rule
    public TemporaryFolder temp = new TemporaryFolder();

    private File file(String name, String text) throws IOException {
        File f = new File(temp.getRoot(), name);
        Files.write(f.toPath(), text.getBytes(StandardCharsets.ISO_8859_1));
        return f;
    }

    private static byte[] bytes(File f) throws IOException {
        return Files.readAllBytes(f.toPath());
    }

    private static String text(File f) throws IOException {
        return new String(bytes(f), StandardCharsets.ISO_8859_1);
    }

    static Settings manualProxy() {
        Settings s = new Settings();
        s.consoleSelection = Settings.CONSOLE_SHOW;
        s.proxySelection = Settings.PROXY_MANUAL;
        s.sameServerForAll = true;
        s.httpAddress = "proxy.example.com";
        s.httpPort = 8080;
        s.secureAddress = "secure.example.com";
        s.securePort = 8443;
        s.ftpAddress = "ftp.example.com";
        s.ftpPort = 21;
        s.socksAddress = "socks.example.com";
        s.socksPort = 1080;
        s.bypassList = "*.example.com;10.*";
        s.bypassLocal = true;
        s.overrideHosts = "intranet;wiki";
        s.scriptLocation = "http://wpad/proxy.pac";
        return s;
    }

    /** What the launcher reads from bytes equals what was saved. */
    static void assertLauncherReads(Settings expected, byte[] file, boolean proxies) {
        LauncherRules l = new LauncherRules(file);
        assertEquals(expected.consoleSelection, l.getInt(Keys.javaConsoleSelection, 2));
        if (!proxies) {
            return;
        }
        assertEquals(expected.proxySelection, l.getInt(Keys.proxySelection, 0));
        assertEquals(expected.sameServerForAll, l.getBool(Keys.useSameProxyServerForAllProctocols, !expected.sameServerForAll));
        assertEquals(expected.httpAddress, l.getString(Keys.httpProxyAddress, ""));
        assertEquals(expected.httpPort, l.getInt(Keys.httpProxyPort, -1));
        assertEquals(expected.secureAddress, l.getString(Keys.secureProxyAddress, ""));
        assertEquals(expected.securePort, l.getInt(Keys.secureProxyPort, -1));
        assertEquals(expected.ftpAddress, l.getString(Keys.ftpProxyAddress, ""));
        assertEquals(expected.ftpPort, l.getInt(Keys.ftpProxyPort, -1));
        assertEquals(expected.socksAddress, l.getString(Keys.socksProxyAddress, ""));
        assertEquals(expected.socksPort, l.getInt(Keys.socksProxyPort, -1));
        assertEquals(expected.bypassList, l.getString(Keys.doNotUseProxyServerAddressList, ""));
        assertEquals(expected.bypassLocal, l.getBool(Keys.bypassProxyServerForLocalAddresses, !expected.bypassLocal));
        assertEquals(expected.overrideHosts, l.getString(Keys.proxyOverrideHostsList, ""));
        assertEquals(expected.scriptLocation, l.getString(Keys.automaticProxyConfigScriptLocation, ""));
    }

    @Test
    public void perUserSaveWritesEverySettingSoThatTheLauncherReadsItBack() throws IOException {
        File user = file("ConvocaLauncher.properties",
                "# my notes\nproxySelection=0\ndoNotRunUpdater=true\n#httpProxyPort=1\n[x]\n");
        Settings s = manualProxy();
        assertNull(new SettingsStore(new SettingsFile(user), null).save(s));
        assertLauncherReads(s, bytes(user), true);
        String written = text(user);
        assertTrue(written, written.startsWith("# my notes\r\nproxySelection=1\r\ndoNotRunUpdater=true\r\n"
                + "httpProxyPort=8080\r\n[x]\r\n"));
        assertTrue(new LauncherRules(bytes(user)).getBool(Keys.doNotRunUpdater, false));
        SettingsRewriterTest.assertKeysOnlyAtLineStarts(written);
    }

    @Test
    public void savedSettingsReadBackAsTheyWereSaved() throws IOException {
        File user = new File(temp.getRoot(), "ConvocaLauncher.properties");
        SettingsStore store = new SettingsStore(new SettingsFile(user), null);
        Settings saved = manualProxy();
        assertNull(store.save(saved));
        SettingsText t = new SettingsText(new SettingsFile(user).read());
        Settings read = Settings.read(t, t);
        assertEquals(saved.proxyValues(), read.proxyValues());
        assertEquals(saved.consoleValues(), read.consoleValues());
    }

    @Test
    public void randomValuesRoundTripThroughTheLaunchersReader() throws IOException {
        Random random = new Random(8);
        String alphabet = "ab.-:/;*=#!\\ \u00e9%";
        File user = file("ConvocaLauncher.properties", "keep=me\r\n");
        SettingsStore store = new SettingsStore(new SettingsFile(user), null);
        for (int round = 0; round < 200; round++) {
            Settings s = new Settings();
            s.consoleSelection = random.nextInt(3);
            s.proxySelection = random.nextInt(4);
            s.sameServerForAll = random.nextBoolean();
            s.bypassLocal = random.nextBoolean();
            s.httpPort = random.nextInt(65536);
            s.securePort = random.nextInt(2) * 65535;
            s.ftpPort = random.nextInt(10);
            s.socksPort = random.nextInt(65536);
            s.httpAddress = randomText(random, alphabet);
            s.secureAddress = randomText(random, alphabet);
            s.ftpAddress = randomText(random, alphabet);
            s.socksAddress = randomText(random, alphabet);
            s.bypassList = randomText(random, alphabet) + Keys.proxySelection;
            s.overrideHosts = randomText(random, alphabet);
            s.scriptLocation = randomText(random, alphabet);
            assertNull(store.save(s));
            assertLauncherReads(s, bytes(user), true);
            assertTrue(text(user).startsWith("keep=me\r\n"));
        }
    }

    private static String randomText(Random random, String alphabet) {
        StringBuilder b = new StringBuilder();
        for (int i = random.nextInt(12); i > 0; i--) {
            b.append(alphabet.charAt(random.nextInt(alphabet.length())));
        }
        return SettingsText.trimSpaces(b.toString());
    }

    @Test
    public void adminModeWritesOnlyTheConsoleModeAndNeverTheAdministratorsFile() throws IOException {
        File admin = file("ConvocaLauncherAdmin.properties", "proxySelection=2\nautomaticProxyConfigScriptLocation=x\n");
        byte[] adminBefore = bytes(admin);
        long adminTime = admin.lastModified();
        File user = new File(temp.getRoot(), "roaming/ConvocaLauncherUser.properties");
        Settings s = manualProxy();
        assertNull(new SettingsStore(new SettingsFile(user), new SettingsFile(admin)).save(s));
        assertEquals("javaConsoleSelection=0\r\n", text(user));
        assertArrayEquals(adminBefore, bytes(admin));
        assertEquals(adminTime, admin.lastModified());
        assertArrayEquals(new String[] {"ConvocaLauncherAdmin.properties", "roaming"},
                sorted(temp.getRoot().list()));
    }

    @Test
    public void adminModeKeepsWhateverElseTheUsersFileHolds() throws IOException {
        File admin = file("ConvocaLauncherAdmin.properties", "proxySelection=1\n");
        File user = file("ConvocaLauncherUser.properties", "httpProxyAddress=mine\n#javaConsoleSelection=0\nnote\n");
        Settings s = new Settings();
        s.consoleSelection = Settings.CONSOLE_HIDE;
        assertNull(new SettingsStore(new SettingsFile(user), new SettingsFile(admin)).save(s));
        assertEquals("httpProxyAddress=mine\r\njavaConsoleSelection=1\r\nnote\r\n", text(user));
    }

    @Test
    public void aValueHoldingAKeyAssignmentIsRefusedAndNothingIsWritten() throws IOException {
        File user = file("ConvocaLauncher.properties", "proxySelection=0\n");
        byte[] before = bytes(user);
        Settings s = manualProxy();
        s.bypassList = "a;proxySelection=1";
        assertEquals("The bypass list cannot be saved, because it contains \"proxySelection=\","
                + " which the launcher would read as one of its settings.",
                new SettingsStore(new SettingsFile(user), null).save(s));
        assertArrayEquals(before, bytes(user));
    }

    @Test
    public void anOutOfRangePortIsRefusedAndNothingIsWritten() throws IOException {
        File user = file("ConvocaLauncher.properties", "proxySelection=0\n");
        byte[] before = bytes(user);
        SettingsStore store = new SettingsStore(new SettingsFile(user), null);
        Settings s = manualProxy();
        s.securePort = 65536;
        assertEquals("The Secure port must be a number from 0 to 65535.", store.save(s));
        s.securePort = 443;
        s.socksPort = -1;
        assertEquals("The Socks port must be a number from 0 to 65535.", store.save(s));
        assertArrayEquals(before, bytes(user));
    }

    @Test
    public void aKeptValueHoldingAKeyAssignmentBlocksTheSave() throws IOException {
        File user = file("ConvocaLauncher.properties", "overrideAppcastURL=https://a/?proxySelection=2\n");
        byte[] before = bytes(user);
        String problem = new SettingsStore(new SettingsFile(user), null).save(manualProxy());
        assertEquals("The settings could not be saved, because the value of overrideAppcastURL in " + user
                + " contains \"proxySelection=\", which the launcher reads as a setting of its own."
                + " Correct the file by hand, then try again.", problem);
        assertArrayEquals(before, bytes(user));
    }

    @Test
    public void anUnreadableFileIsNotOverwritten() throws IOException {
        File user = temp.newFolder("ConvocaLauncher.properties");
        String problem = new SettingsStore(new SettingsFile(user, 1), null).save(manualProxy());
        assertTrue(problem, problem.startsWith("The settings could not be saved, because " + user + " could not be read: "));
        assertTrue(user.isDirectory());
    }

    @Test
    public void aFailedWriteIsReported() throws IOException {
        File blocker = temp.newFile("not-a-folder");
        File user = new File(blocker, "ConvocaLauncher.properties");
        String problem = new SettingsStore(new SettingsFile(user, 1), null).save(manualProxy());
        assertTrue(problem, problem.startsWith("The settings could not be saved to " + user + ": "));
        assertFalse(user.exists());
    }

    @Test
    public void readShowsDefaultsForSelectionsOutOfRange() {
        SettingsText t = new SettingsText("javaConsoleSelection=3\nproxySelection=-1\n");
        Settings s = Settings.read(t, t);
        assertEquals(Settings.CONSOLE_DO_NOT_START, s.consoleSelection);
        assertEquals(Settings.PROXY_BROWSER, s.proxySelection);
    }

    private static String[] sorted(String[] names) {
        java.util.Arrays.sort(names);
        return names;
    }
}
