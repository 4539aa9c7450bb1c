package com.tavisto.launcher.utility;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertNull;
import static org.junit.Assert.assertTrue;

import org.junit.Test;

public class CommandLineTest {
    private static CommandLine parse(String... args) {
        return CommandLine.parse(args);
    }

    @Test
    public void acceptsTheLaunchersCommandLines() {
        CommandLine c = parse("-settings", "C:\\Users\\a b\\ConvocaLauncher.properties", "-cache", "C:\\cache",
                "-version", "1.5.0.0");
        assertNull(c.problem);
        assertEquals("C:\\Users\\a b\\ConvocaLauncher.properties", c.settingsPath);
        assertEquals("C:\\cache", c.cachePath);
        assertEquals("1.5.0.0", c.version);
        assertFalse(c.admin);
        c = parse("-settings", "s", "-cache", "c", "-version", "", "-admin");
        assertNull(c.problem);
        assertTrue(c.admin);
        assertEquals("", c.version);
        assertNull(parse("-admin", "-version", "1", "-cache", "c", "-settings", "s").problem);
    }

    @Test
    public void refusesBadCommandLinesWithTheReason() {
        assertEquals("-settings is missing", parse().problem);
        assertEquals("-cache is missing", parse("-settings", "s", "-version", "1").problem);
        assertEquals("-version is missing", parse("-settings", "s", "-cache", "c").problem);
        assertEquals("-version needs a value", parse("-settings", "s", "-cache", "c", "-version").problem);
        assertEquals("-settings needs a file", parse("-settings", "", "-cache", "c", "-version", "1").problem);
        assertEquals("-cache needs a folder", parse("-settings", "s", "-cache", "", "-version", "1").problem);
        assertEquals("unknown argument \"-verbose\"",
                parse("-settings", "s", "-verbose", "-cache", "c", "-version", "1").problem);
        assertEquals("unknown argument \"extra\"",
                parse("-settings", "s", "-cache", "c", "-version", "1", "extra").problem);
        assertEquals("-settings is given twice",
                parse("-settings", "s", "-settings", "t", "-cache", "c", "-version", "1").problem);
        assertEquals("-admin is given twice",
                parse("-settings", "s", "-cache", "c", "-version", "1", "-admin", "-admin").problem);
    }
}
