package com.tavisto.launcher.utility;

import static org.junit.Assert.*;

import java.io.*;
import java.util.*;
import java.util.jar.*;
import org.junit.Test;

/** The command line, and the packaged utilwin.jar as the launcher runs it. */
public class MainTest {
    @Test
    public void theLaunchersCommandLinesAreAcceptedAndOthersRefusedWithTheReason() {
        String[][] rows = {
            {"-settings", "C:\\Users\\a b\\C.properties", "-cache", "C:\\cache", "-version", "1.5.0.0",
                "=C:\\Users\\a b\\C.properties|C:\\cache|1.5.0.0|false"},
            {"-settings", "s", "-cache", "c", "-version", "", "-admin", "=s|c||true"},
            {"-admin", "-version", "1", "-cache", "c", "-settings", "s", "=s|c|1|true"},
            {"-settings is missing"},
            {"-settings", "s", "-version", "1", "-cache is missing"},
            {"-settings", "s", "-cache", "c", "-version is missing"},
            {"-settings", "s", "-cache", "c", "-version", "-version needs a value"},
            {"-settings", "", "-cache", "c", "-version", "1", "-settings needs a file"},
            {"-settings", "s", "-cache", "", "-version", "1", "-cache needs a folder"},
            {"-settings", "s", "-verbose", "-cache", "c", "-version", "1", "unknown argument \"-verbose\""},
            {"-settings", "s", "-cache", "c", "-version", "1", "extra", "unknown argument \"extra\""},
            {"-settings", "s", "-settings", "t", "-cache", "c", "-version", "1", "-settings is given twice"},
            {"-settings", "s", "-cache", "c", "-version", "1", "-admin", "-admin", "-admin is given twice"},
        };
        for (String[] row : rows) {
            CommandLine c = CommandLine.parse(Arrays.copyOf(row, row.length - 1));
            String parsed = c.problem != null ? c.problem
                    : "=" + c.settingsPath + "|" + c.cachePath + "|" + c.version + "|" + c.admin;
            assertEquals(Arrays.toString(row), row[row.length - 1], parsed);
        }
    }

    @Test
    public void theJarStartsMainAndEveryClassRunsOnTheBundledRuntime() throws IOException {
        int release = Integer.parseInt(System.getProperty("utilwin.release", "7"));
        int classes = 0;
        try (JarFile jar = new JarFile(Fixtures.jar())) {
            assertEquals(Main.class.getName(), jar.getManifest().getMainAttributes().getValue("Main-Class"));
            assertNotNull(jar.getEntry("com/tavisto/launcher/utility/Main.class"));
            for (Enumeration<JarEntry> e = jar.entries(); e.hasMoreElements();) {
                JarEntry entry = e.nextElement();
                if (entry.getName().endsWith(".class")) {
                    try (DataInputStream in = new DataInputStream(jar.getInputStream(entry))) {
                        assertEquals(0xCAFEBABE, in.readInt());
                        in.readUnsignedShort();
                        assertEquals(entry.getName(), 44 + release, in.readUnsignedShort());
                    }
                    classes++;
                }
            }
        }
        assertTrue(classes > 10);
    }

    @Test
    public void theAdministratorsFileAndTheLaunchersVersionAreReadBesideTheJar() {
        assertEquals(Fixtures.jar().getAbsoluteFile().getParentFile(), Main.ownFolder());
        assertEquals("ConvocaLauncherAdmin.properties", Main.ADMIN_FILE);
        assertEquals("1.5.0.0", SupportBundle.launcherVersion());
    }
}
