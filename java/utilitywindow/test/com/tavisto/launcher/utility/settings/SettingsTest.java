package com.tavisto.launcher.utility.settings;

import static org.junit.Assert.*;

import java.io.*;
import java.util.*;
import java.util.function.*;
import com.tavisto.launcher.utility.Fixtures;
import org.junit.*;
import org.junit.rules.TemporaryFolder;

/** The window shows and keeps what the launcher reads: the shared rows hold its reader to the launcher's. */
public class SettingsTest {
    @Rule
    public TemporaryFolder temp = new TemporaryFolder();

    private File user() {
        return new File(temp.getRoot(), "ConvocaLauncher.properties");
    }

    private static String read(SettingsText t, String[] row) {
        return row[2].equals("value") ? t.getValue(row[1]) : row[2].equals("string") ? t.getString(row[1], row[3])
                : row[2].equals("int") ? "" + t.getInt(row[1], Integer.parseInt(row[3]))
                : "" + t.getBool(row[1], Boolean.parseBoolean(row[3]));
    }

    /** Once saved with the console mode edited, a row's key reads the same, or the save is refused and writes nothing. */
    @Test
    public void readsAndKeepsEverySharedRowAsTheLauncherReadsIt() throws IOException {
        SettingsStore store = new SettingsStore(new SettingsFile(user()), new SettingsFile(temp.newFile("admin")));
        Settings console = new Settings();
        console.consoleSelection = Settings.CONSOLE_HIDE;
        List<String> refused = new ArrayList<String>();
        for (String[] row : Fixtures.settingsRows()) {
            String where = Arrays.toString(row);
            Fixtures.write(user(), row[0]);
            assertEquals(where, row[4], read(new SettingsText(new SettingsFile(user()).read()), row));
            if (store.save(console) != null) {
                refused.add(row[0]);
            } else {
                String expected = row[1].equals(Keys.javaConsoleSelection) ? "1" : row[4];
                assertEquals(where, expected, read(new SettingsText(new SettingsFile(user()).read()), row));
                assertCleanLines(Fixtures.text(user()));
            }
        }
        assertEquals(Arrays.asList("overrideAppcastURL=https://a/?proxySelection=2\nproxySelection=1"), refused);
        Settings t = Fixtures.settings("javaConsoleSelection=3\nproxySelection=-1\n");
        assertEquals("selections out of range show the defaults", "2 0", t.consoleSelection + " " + t.proxySelection);
    }

    /** Every "key=" in text starts a line, and every line ends in CR LF. */
    private static void assertCleanLines(String text) {
        for (String key : Keys.ALL) {
            for (int at = text.indexOf(key + "="); at >= 0; at = text.indexOf(key + "=", at + 1)) {
                assertTrue(key + " inside a line of:\n" + text, at == 0 || text.charAt(at - 1) == '\n');
            }
        }
        assertFalse("a lone line end in " + text, text.replace("\r\n", "").matches("(?s).*[\r\n].*"));
    }

    @Test
    public void perUserSavesKeepOtherLinesAndReadBackAsSaved() throws IOException {
        Fixtures.write(user(), "# my notes\n# proxySelection: 0 browser\r\r\nx httpProxyPort=1 proxySelection=0\r"
                + "colour=blue \t\n#doNotRunUpdater=true\n\u00e9t\u00e9=1\nhttpProxyPort=2\n; was socksProxyPort=3");
        assertNull(new SettingsStore(new SettingsFile(user()), null).save(Fixtures.manualProxy()));
        String written = Fixtures.text(user());
        Settings t = Fixtures.settings(written), expected = Fixtures.manualProxy();
        assertEquals(expected.consoleValues() + "" + expected.proxyValues(), t.consoleValues() + "" + t.proxyValues());
        assertTrue(written, written.startsWith("# my notes\r\n# proxySelection: 0 browser\r\n\r\nhttpProxyPort=8080\r\n"
                + "proxySelection=1\r\ncolour=blue \t\r\ndoNotRunUpdater=true\r\n\u00e9t\u00e9=1\r\nsocksProxyPort=1080\r\n"));
    }

    private static Settings with(Consumer<Settings> change) {
        Settings s = Fixtures.manualProxy();
        change.accept(s);
        return s;
    }

    @Test
    public void aSaveReplacesTheWholeFileOrSaysWhyAndWritesNothing() throws IOException {
        String before = "proxySelection=0\n";
        String key = "The bypass list cannot be saved, because it contains \"%s=\", which the launcher would read as one"
                + " of its settings.";
        String control = "The HTTP proxy address cannot be saved, because it contains a line break or another control"
                + " character.";
        Object[][] rows = {
            {before, with(s -> s.bypassList = "a;proxySelection=1"), String.format(key, Keys.proxySelection)},
            {before, with(s -> s.httpAddress = "a\r\nb"), control},
            {before, with(s -> s.scriptLocation = "\u20ac"), "The script location cannot be saved, because it contains"
                + " characters outside the Western European (ISO 8859-1) set."},
            {before, with(s -> s.socksPort = -1), "The Socks port must be a number from 0 to 65535."},
            {before, with(s -> s.httpAddress = " host"), "The settings could not be saved, because the"
                + " launcher would not read them back as they were entered."},
            {"overrideAppcastURL=https://a/?proxySelection=2\n", with(s -> { }), "The settings could not be saved,"
                + " because the value of overrideAppcastURL in " + user() + " contains \"proxySelection=\", which the"
                + " launcher reads as a setting of its own. Correct the file by hand, then try again."},
        };
        for (Object[] row : rows) {
            Fixtures.write(user(), (String) row[0]);
            assertEquals(row[2], new SettingsStore(new SettingsFile(user()), null).save((Settings) row[1]));
            assertEquals(row[0], Fixtures.text(user()));
        }
        Fixtures.write(user(), before);
        assertNull(new SettingsStore(new SettingsFile(user()), null).save(with(s -> s.bypassList = "proxySelection 1;"
                + " a=b; #c; \\d; caf\u00e9\u00ff")));
        File folder = temp.newFolder("folder.properties");
        String problem = new SettingsStore(new SettingsFile(folder, 1), null).save(Fixtures.manualProxy());
        assertTrue(problem, problem.startsWith("The settings could not be saved, because " + folder + " could not be read: "));
        File user = new File(temp.newFile("not-a-folder"), "ConvocaLauncher.properties");
        problem = new SettingsStore(new SettingsFile(user, 1), null).save(Fixtures.manualProxy());
        assertTrue(problem, problem.startsWith("The settings could not be saved to " + user + ": "));
        assertTrue(folder.isDirectory() && !user.exists());
        File path = new File(temp.getRoot(), "Tavisto/Tavisto Convoca Launcher/ConvocaLauncher.properties");
        new SettingsFile(path).write("old contents that are longer\r\n");
        new SettingsFile(path).write("a=\u00e9\r\n");
        assertEquals("a=\u00e9\r\n", Fixtures.text(path));
        assertArrayEquals(new String[] {path.getName()}, path.getParentFile().list());
        assertEquals("", new SettingsFile(new File(temp.getRoot(), "none/x.properties")).read());
        File blocked = new File(temp.newFolder("settings"), "ConvocaLauncher.properties");
        File inside = Fixtures.write(new File(blocked, "keep"), "x");
        assertThrows(IOException.class, () -> new SettingsFile(blocked, 2).write("new\r\n"));
        assertTrue(inside.isFile());
        assertArrayEquals(new String[] {blocked.getName()}, blocked.getParentFile().list());
    }
}
