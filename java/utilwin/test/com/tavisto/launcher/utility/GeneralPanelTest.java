package com.tavisto.launcher.utility;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;

import java.io.ByteArrayInputStream;
import java.io.ByteArrayOutputStream;
import java.nio.charset.StandardCharsets;
import javax.swing.JRadioButton;
import org.junit.Test;

public class GeneralPanelTest {
    @Test
    public void checkForUpdatesPrintsUpdate() {
        ByteArrayOutputStream out = new ByteArrayOutputStream();
        CommandChannel channel = new CommandChannel(new ByteArrayInputStream(new byte[0]), out);
        GeneralPanel p = new GeneralPanel("1.5.0.0", "C:\\s.properties", channel);
        p.checkForUpdates.doClick();
        assertEquals("update\n", new String(out.toByteArray(), StandardCharsets.ISO_8859_1));
    }

    @Test
    public void showsTheVersionAndTheConsoleMode() {
        GeneralPanel p = new GeneralPanel("1.5.0.0", "C:\\s.properties", null);
        assertEquals("Version 1.5.0.0", p.versionLabel.getText());
        assertEquals("Version unknown", new GeneralPanel("", "s", null).versionLabel.getText());
        assertTrue("the launcher's default", p.noConsole.isSelected());
        for (int mode = 0; mode < 3; mode++) {
            Settings s = new Settings();
            s.consoleSelection = mode;
            p.show(s);
            Settings collected = new Settings();
            collected.consoleSelection = -1;
            p.collect(collected);
            assertEquals(mode, collected.consoleSelection);
        }
        p.setEditable(false);
        for (JRadioButton b : p.consoleButtons()) {
            assertFalse(b.isEnabled());
        }
    }
}
