package com.tavisto.launcher.utility;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;

import java.io.File;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.concurrent.TimeUnit;
import org.junit.After;
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

    @After
    public void tearDown() {
        for (Process p : started) {
            p.destroyForcibly();
        }
    }

    private Process start(String... args) throws IOException {
        Fixtures.requireDisplay();
        stdout = temp.newFile();
        stderr = temp.newFile();
        List<String> command = new ArrayList<String>(Arrays.asList(new File(System.getProperty("java.home"),
                "bin/java").getPath(), "-classpath", Fixtures.jar().getPath(), Main.class.getName()));
        command.addAll(Arrays.asList(args));
        Process p = new ProcessBuilder(command).redirectOutput(stdout).redirectError(stderr).start();
        started.add(p);
        return p;
    }

    private Process startWindow() throws IOException {
        return start("-settings", new File(temp.getRoot(), "ConvocaLauncher.properties").getPath(),
                "-cache", temp.newFolder().getPath(), "-version", "1.5.0.0");
    }

    @Test
    public void shutdownWithEitherLineEndEndsTheProcessWithZero() throws Exception {
        for (String line : new String[] {"hello\r\nshutdown\r\n", "shutdown\n"}) {
            Process p = startWindow();
            p.getOutputStream().write(line.getBytes(StandardCharsets.ISO_8859_1));
            p.getOutputStream().flush();
            assertTrue("the window did not close", p.waitFor(60, TimeUnit.SECONDS));
            assertEquals(Fixtures.text(stderr), 0, p.exitValue());
            assertEquals("", Fixtures.text(stdout));
        }
    }

    @Test
    public void theEndOfInputLeavesTheWindowOpen() throws Exception {
        Process p = startWindow();
        p.getOutputStream().close();
        assertFalse("the window closed when the launcher went away", p.waitFor(4, TimeUnit.SECONDS));
    }

    @Test
    public void aBadCommandLineGivesTheUsageAndStatusTwo() throws Exception {
        Process p = start("-settings", "x.properties", "-version", "1");
        assertTrue(p.waitFor(60, TimeUnit.SECONDS));
        assertEquals(2, p.exitValue());
        assertEquals("utilwin: -cache is missing" + System.lineSeparator() + CommandLine.USAGE
                + System.lineSeparator(), Fixtures.text(stderr));
        assertEquals("", Fixtures.text(stdout));
    }
}
