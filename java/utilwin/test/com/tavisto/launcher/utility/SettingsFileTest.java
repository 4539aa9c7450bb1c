package com.tavisto.launcher.utility;

import static org.junit.Assert.assertArrayEquals;
import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertThrows;
import static org.junit.Assert.assertTrue;

import java.io.File;
import java.io.IOException;
import org.junit.Rule;
import org.junit.Test;
import org.junit.rules.TemporaryFolder;

public class SettingsFileTest {
    @Rule
    public TemporaryFolder temp = new TemporaryFolder();

    @Test
    public void writeCreatesTheFoldersAndReplacesTheFileWithTheBytesGiven() throws IOException {
        File path = new File(temp.getRoot(), "Tavisto/Tavisto Convoca Launcher/ConvocaLauncher.properties");
        new SettingsFile(path).write("old contents that are longer\r\n");
        new SettingsFile(path).write("a=\u00e9\r\n");
        assertEquals("a=\u00e9\r\n", Fixtures.text(path));
        assertArrayEquals(new String[] {path.getName()}, path.getParentFile().list());
        assertEquals("", new SettingsFile(new File(temp.getRoot(), "none/x.properties")).read());
    }

    @Test
    public void failuresLeaveTheOldFileAndNoTemporaryFile() throws IOException {
        File folder = temp.newFolder("settings");
        File blocked = new File(folder, "ConvocaLauncher.properties");
        File inside = Fixtures.write(new File(blocked, "keep"), "x");
        assertThrows(IOException.class, () -> new SettingsFile(blocked, 2).write("new\r\n"));
        assertThrows(IOException.class, () -> new SettingsFile(blocked, 2).read());
        assertTrue(inside.isFile());
        assertArrayEquals(new String[] {blocked.getName()}, folder.list());
    }
}
