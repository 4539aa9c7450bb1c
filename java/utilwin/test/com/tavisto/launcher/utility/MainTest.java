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

    /** One javac run builds every class of the jar, so Main's class file tells the version of all. */
    @Test
    public void theJarStartsMainOnTheBundledRuntime() throws IOException {
        int release = Integer.parseInt(System.getProperty("utilwin.release", "7"));
        try (JarFile jar = new JarFile(Fixtures.jar())) {
            assertEquals(Main.class.getName(), jar.getManifest().getMainAttributes().getValue("Main-Class"));
            DataInputStream in = new DataInputStream(jar.getInputStream(jar.getEntry(Main.class.getName()
                    .replace('.', '/') + ".class")));
            assertEquals(0xCAFEBABE, in.readInt());
            in.readUnsignedShort();
            assertEquals(44 + release, in.readUnsignedShort());
        }
    }

    @Test
    public void theAdministratorsFileAndTheLaunchersVersionAreReadBesideTheJar() {
        assertEquals(Fixtures.jar().getAbsoluteFile().getParentFile(), Main.ownFolder());
        assertEquals("ConvocaLauncherAdmin.properties", Main.ADMIN_FILE);
        assertEquals("1.5.0.0", SupportBundle.launcherVersion());
    }
}
