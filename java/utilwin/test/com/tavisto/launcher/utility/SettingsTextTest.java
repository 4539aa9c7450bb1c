package com.tavisto.launcher.utility;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertNull;

import java.io.File;
import java.io.IOException;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import org.junit.Rule;
import org.junit.Test;
import org.junit.rules.TemporaryFolder;

/** The window shows and keeps what the launcher reads, so both read the shared rows alike. */
public class SettingsTextTest {
    @Rule
    public TemporaryFolder temp = new TemporaryFolder();

    private static String read(SettingsText t, String[] row) {
        switch (row[2]) {
            case "value":
                return t.getValue(row[1]);
            case "string":
                return t.getString(row[1], row[3]);
            case "int":
                return Integer.toString(t.getInt(row[1], Integer.parseInt(row[3])));
            default:
                return Boolean.toString(t.getBool(row[1], Boolean.parseBoolean(row[3])));
        }
    }

    /**
     * Each row is read from its file, then the file is saved with only the
     * console mode edited: the row's key must still read the same, or the
     * save must be refused and leave the file as it was.
     */
    @Test
    public void readsAndKeepsEverySharedRowAsTheLauncherReadsIt() throws IOException {
        File user = new File(temp.getRoot(), "ConvocaLauncherUser.properties");
        SettingsStore store = new SettingsStore(new SettingsFile(user), new SettingsFile(temp.newFile("admin")));
        Settings console = new Settings();
        console.consoleSelection = Settings.CONSOLE_HIDE;
        List<String> refused = new ArrayList<String>();
        List<String[]> rows = Fixtures.settingsRows();
        for (String[] row : rows) {
            String where = Arrays.toString(row);
            Fixtures.write(user, row[0]);
            assertEquals(where, row[4], read(new SettingsText(new SettingsFile(user).read()), row));
            if (store.save(console) != null) {
                refused.add(row[0]);
                assertEquals(where, row[0], Fixtures.text(user));
                continue;
            }
            boolean edited = row[1].equals(Keys.javaConsoleSelection);
            assertEquals(where, edited ? "1" : row[4], read(new SettingsText(new SettingsFile(user).read()), row));
        }
        assertEquals(Arrays.asList("overrideAppcastURL=https://a/?proxySelection=2\nproxySelection=1"), refused);
        assertFalse(rows.size() < 50);
    }

    @Test
    public void keysAreFoundOnlyAsThemselves() {
        for (String a : Keys.ALL) {
            for (String b : Keys.ALL) {
                assertFalse(a + " ends " + b, !a.equals(b) && b.endsWith(a));
            }
        }
        assertEquals(Keys.proxySelection, Keys.firstAssignmentIn("a;proxySelection=1;httpProxyPort=2"));
        assertEquals(Keys.httpProxyPort, Keys.firstAssignmentIn("httpProxyPort=2 proxySelection=1"));
        assertNull(Keys.firstAssignmentIn("proxySelection is 1; httpProxyPort =2"));
    }

    @Test
    public void selectionsOutOfRangeShowTheDefaults() {
        SettingsText t = new SettingsText("javaConsoleSelection=3\nproxySelection=-1\n");
        Settings s = Settings.read(t, t);
        assertEquals(Settings.CONSOLE_DO_NOT_START, s.consoleSelection);
        assertEquals(Settings.PROXY_BROWSER, s.proxySelection);
    }
}
