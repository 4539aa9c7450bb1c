package com.tavisto.launcher.utility;

import static org.junit.Assert.assertArrayEquals;
import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertTrue;
import static org.junit.Assert.fail;

import java.io.File;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import org.junit.Rule;
import org.junit.Test;
import org.junit.rules.TemporaryFolder;

public class SettingsFileTest {
    @Rule
    public TemporaryFolder temp = new TemporaryFolder();

    @Test
    public void writeCreatesTheMissingFoldersAndWritesTheBytesAsGiven() throws IOException {
        File path = new File(temp.getRoot(), "Tavisto/Tavisto Convoca Launcher/ConvocaLauncher.properties");
        new SettingsFile(path).write("a=\u00e9\r\n");
        assertArrayEquals(new byte[] {'a', '=', (byte) 0xe9, '\r', '\n'}, Files.readAllBytes(path.toPath()));
        assertEquals(1, path.getParentFile().list().length);
    }

    @Test
    public void writeReplacesTheFileAndLeavesNoTemporaryFile() throws IOException {
        File path = temp.newFile("ConvocaLauncher.properties");
        Files.write(path.toPath(), "old contents that are longer\r\n".getBytes(StandardCharsets.ISO_8859_1));
        new SettingsFile(path).write("new\r\n");
        assertEquals("new\r\n", new String(Files.readAllBytes(path.toPath()), StandardCharsets.ISO_8859_1));
        assertArrayEquals(new String[] {"ConvocaLauncher.properties"}, temp.getRoot().list());
    }

    @Test
    public void aFailedReplaceLeavesTheOldFileAndNoTemporaryFile() throws IOException {
        File folder = temp.newFolder("settings");
        File blocked = new File(folder, "ConvocaLauncher.properties");
        assertTrue(blocked.mkdir());
        File inside = new File(blocked, "keep");
        Files.write(inside.toPath(), "x".getBytes(StandardCharsets.ISO_8859_1));
        try {
            new SettingsFile(blocked, 2).write("new\r\n");
            fail("replacing a folder that holds a file succeeded");
        } catch (IOException expected) {
            // the reason is reported by the caller
        }
        assertTrue(inside.isFile());
        assertArrayEquals(new String[] {"ConvocaLauncher.properties"}, folder.list());
    }

    @Test
    public void readGivesTheTextUpToTheFirstZeroByte() throws IOException {
        File path = temp.newFile("a.properties");
        Files.write(path.toPath(), new byte[] {'a', '=', (byte) 0xe9, 0, 'b', '=', '1'});
        assertEquals("a=\u00e9", new SettingsFile(path).read());
    }

    @Test
    public void readOfAMissingFileIsEmpty() throws IOException {
        assertEquals("", new SettingsFile(new File(temp.getRoot(), "none/x.properties")).read());
    }

    @Test(expected = IOException.class)
    public void readOfAFolderFails() throws IOException {
        new SettingsFile(temp.newFolder("x.properties"), 2).read();
    }
}
