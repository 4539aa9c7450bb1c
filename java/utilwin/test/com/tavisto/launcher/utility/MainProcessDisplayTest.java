package com.tavisto.launcher.utility;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;

import java.io.File;
import java.io.IOException;
import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.concurrent.TimeUnit;
import org.junit.After;
import org.junit.Before;
import org.junit.Rule;
import org.junit.Test;
import org.junit.rules.TemporaryFolder;

/** utilwin.jar run as the launcher runs it: its own process, its standard streams as pipes. */
public class MainProcessDisplayTest {
    @Rule
    public TemporaryFolder temp = new TemporaryFolder();
    private final List<Process> started = new ArrayList<Process>();
    private File stdout;
    private File stderr;

    @Before
    public void setUp() throws IOException {
        DisplayTests.requireDisplay();
        stdout = new File(temp.getRoot(), "stdout");
        stderr = new File(temp.getRoot(), "stderr");
    }

    @After
    public void tearDown() {
        for (Process p : started) {
            p.destroyForcibly();
        }
    }

    private Process start(String... args) throws IOException {
        List<String> command = new ArrayList<String>(Arrays.asList(
                new File(System.getProperty("java.home"), "bin/java").getPath(),
                "-classpath", MainTest.jar().getPath(), "com.tavisto.launcher.utility.Main"));
        command.addAll(Arrays.asList(args));
        Process p = new ProcessBuilder(command).redirectOutput(stdout).redirectError(stderr).start();
        started.add(p);
        return p;
    }

    private Process startWindow() throws IOException {
        return start("-settings", new File(temp.getRoot(), "ConvocaLauncher.properties").getPath(),
                "-cache", temp.newFolder("cache").getPath(), "-version", "1.5.0.0");
    }

    private static String read(File f) throws IOException {
        return new String(Files.readAllBytes(f.toPath()), StandardCharsets.ISO_8859_1);
    }

    private void assertShutdownExitsWithZero(String line) throws Exception {
        Process p = startWindow();
        OutputStream in = p.getOutputStream();
        in.write(line.getBytes(StandardCharsets.ISO_8859_1));
        in.flush();
        assertTrue("the window did not close", p.waitFor(60, TimeUnit.SECONDS));
        assertEquals(read(stderr), 0, p.exitValue());
        assertEquals("", read(stdout));
    }

    @Test
    public void shutdownWithCrLfEndsTheProcessWithZero() throws Exception {
        assertShutdownExitsWithZero("hello\r\nshutdown\r\n");
    }

    @Test
    public void shutdownWithLineFeedEndsTheProcessWithZero() throws Exception {
        assertShutdownExitsWithZero("shutdown\n");
    }

    @Test
    public void theEndOfInputLeavesTheWindowOpen() throws Exception {
        Process p = startWindow();
        p.getOutputStream().close();
        assertFalse("the window closed when the launcher went away", p.waitFor(4, TimeUnit.SECONDS));
    }

    @Test
    public void aBadCommandLineGivesTheUsageAndANonZeroStatus() throws Exception {
        Process p = start("-settings", "x.properties", "-version", "1");
        assertTrue(p.waitFor(60, TimeUnit.SECONDS));
        assertEquals(2, p.exitValue());
        assertEquals("utilwin: -cache is missing" + System.lineSeparator() + CommandLine.USAGE
                + System.lineSeparator(), read(stderr));
        assertEquals("", read(stdout));
    }
}
