package com.tavisto.launcher.utility;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;

import java.io.ByteArrayInputStream;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import java.util.concurrent.atomic.AtomicInteger;
import org.junit.Test;

public class CommandChannelTest {
    private static int shutdownsRead(InputStream input) throws InterruptedException {
        AtomicInteger shutdowns = new AtomicInteger();
        Thread reader = new CommandChannel(input, new ByteArrayOutputStream()).listen(shutdowns::incrementAndGet);
        reader.join(5000);
        assertFalse("the reader ends with the input", reader.isAlive());
        assertTrue(reader.isDaemon());
        return shutdowns.get();
    }

    @Test
    public void onlyAShutdownLineIsACommandAndTheInputsEndIsNone() throws InterruptedException {
        Object[][] rows = {
            {"shutdown\r\n", 1}, {"shutdown\n", 1}, {"shutdown", 1}, {"\r\nhello\r\n\r\nshutdown\r\nshutdown\r\n", 1},
            {"", 0}, {"Shutdown\r\nshutdown \r\n shutdown\nshutdown now\nupdate\n", 0},
        };
        for (Object[] row : rows) {
            byte[] bytes = ((String) row[0]).getBytes(StandardCharsets.ISO_8859_1);
            assertEquals(row[0], row[1], shutdownsRead(new ByteArrayInputStream(bytes)));
        }
        assertEquals(0, shutdownsRead(new InputStream() {
            @Override
            public int read() throws IOException {
                throw new IOException("pipe broken");
            }
        }));
    }

    @Test
    public void anUpdateRequestWritesOneLineAndSurvivesALauncherThatHasGone() {
        ByteArrayOutputStream out = new ByteArrayOutputStream();
        GeneralPanel panel = new GeneralPanel("1.5.0.0", "C:\\s.properties",
                new CommandChannel(new ByteArrayInputStream(new byte[0]), out));
        panel.checkForUpdates.doClick();
        panel.checkForUpdates.doClick();
        assertEquals("update\nupdate\n", new String(out.toByteArray(), StandardCharsets.ISO_8859_1));
        boolean[] flushed = {false};
        new CommandChannel(new ByteArrayInputStream(new byte[0]), new OutputStream() {
            @Override
            public void write(int b) throws IOException {
                throw new IOException("pipe closed");
            }

            @Override
            public void flush() {
                flushed[0] = true;
            }
        }).requestUpdate();
        assertFalse(flushed[0]);
    }
}
