package com.tavisto.launcher.utility;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertNotNull;
import static org.junit.Assert.assertTrue;

import java.io.DataInputStream;
import java.io.File;
import java.io.IOException;
import java.util.Enumeration;
import java.util.jar.JarEntry;
import java.util.jar.JarFile;
import org.junit.Test;

/** The packaged utilwin.jar, as the launcher runs it. */
public class MainTest {
    static File jar() {
        String path = System.getProperty("utilwin.jar");
        assertNotNull("run with -Dutilwin.jar=<the built utilwin.jar>", path);
        return new File(path);
    }

    @Test
    public void theJarStartsTheLaunchersMainClass() throws IOException {
        try (JarFile jar = new JarFile(jar())) {
            assertEquals("com.tavisto.launcher.utility.Main",
                    jar.getManifest().getMainAttributes().getValue("Main-Class"));
            assertNotNull(jar.getEntry("com/tavisto/launcher/utility/Main.class"));
        }
    }

    @Test
    public void everyClassRunsOnTheBundledRuntime() throws IOException {
        int release = Integer.parseInt(System.getProperty("utilwin.release", "7"));
        int classes = 0;
        try (JarFile jar = new JarFile(jar())) {
            for (Enumeration<JarEntry> e = jar.entries(); e.hasMoreElements();) {
                JarEntry entry = e.nextElement();
                if (!entry.getName().endsWith(".class")) {
                    continue;
                }
                try (DataInputStream in = new DataInputStream(jar.getInputStream(entry))) {
                    assertEquals(0xCAFEBABE, in.readInt());
                    in.readUnsignedShort();
                    assertEquals(entry.getName(), 44 + release, in.readUnsignedShort());
                }
                classes++;
            }
        }
        assertTrue(classes > 10);
    }

    @Test
    public void theAdministratorsFileIsLookedForBesideTheJar() {
        assertEquals(jar().getAbsoluteFile().getParentFile(), Main.ownFolder());
        assertEquals("ConvocaLauncherAdmin.properties", Main.ADMIN_FILE);
    }

    @Test
    public void theDiagnosticsReadTheVersionOfTheLauncherBesideTheJar() {
        assertEquals("1.5.0.0", SupportBundle.launcherVersion());
    }
}
