package com.tavisto.launcher.utility;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;

import java.io.ByteArrayInputStream;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.nio.charset.StandardCharsets;
import java.util.concurrent.atomic.AtomicInteger;
import org.junit.Test;

public class CommandChannelTest {
    private static int shutdownsRead(String input) {
        final AtomicInteger shutdowns = new AtomicInteger();
        new CommandChannel(new ByteArrayInputStream(input.getBytes(StandardCharsets.ISO_8859_1)),
                new ByteArrayOutputStream()).read(new CommandChannel.Listener() {
                    @Override
                    public void shutdownRequested() {
                        shutdowns.incrementAndGet();
                    }
                });
        return shutdowns.get();
    }

    @Test
    public void shutdownIsRecognisedWithAnyLineEnd() {
        assertEquals(1, shutdownsRead("shutdown\r\n"));
        assertEquals(1, shutdownsRead("shutdown\n"));
        assertEquals(1, shutdownsRead("shutdown"));
        assertEquals(1, shutdownsRead("\r\nhello\r\n\r\nshutdown\r\nshutdown\r\n"));
    }

    @Test
    public void otherLinesAndTheEndOfInputAreIgnored() {
        assertEquals(0, shutdownsRead(""));
        assertEquals(0, shutdownsRead("Shutdown\r\nshutdown \r\n shutdown\nshutdown now\nupdate\n"));
    }

    @Test
    public void aBrokenInputEndsTheReadingQuietly() {
        InputStream broken = new InputStream() {
            @Override
            public int read() throws IOException {
                throw new IOException("pipe broken");
            }
        };
        final AtomicInteger shutdowns = new AtomicInteger();
        new CommandChannel(broken, new ByteArrayOutputStream()).read(new CommandChannel.Listener() {
            @Override
            public void shutdownRequested() {
                shutdowns.incrementAndGet();
            }
        });
        assertEquals(0, shutdowns.get());
    }

    @Test
    public void anUpdateRequestWritesOneUpdateLine() {
        ByteArrayOutputStream out = new ByteArrayOutputStream();
        CommandChannel channel = new CommandChannel(new ByteArrayInputStream(new byte[0]), out);
        channel.requestUpdate();
        assertEquals("update\n", new String(out.toByteArray(), StandardCharsets.ISO_8859_1));
        channel.requestUpdate();
        assertEquals("update\nupdate\n", new String(out.toByteArray(), StandardCharsets.ISO_8859_1));
    }

    @Test
    public void anUpdateRequestSurvivesALauncherThatHasGone() {
        final boolean[] flushed = {false};
        OutputStream gone = new OutputStream() {
            @Override
            public void write(int b) throws IOException {
                throw new IOException("pipe closed");
            }

            @Override
            public void flush() {
                flushed[0] = true;
            }
        };
        new CommandChannel(new ByteArrayInputStream(new byte[0]), gone).requestUpdate();
        assertFalse(flushed[0]);
    }

    @Test
    public void listeningRunsOnADaemonThreadThatEndsWithTheInput() throws InterruptedException {
        Thread reader = new CommandChannel(new ByteArrayInputStream(new byte[0]), new ByteArrayOutputStream())
                .listen(new CommandChannel.Listener() {
                    @Override
                    public void shutdownRequested() {
                    }
                });
        reader.join(5000);
        assertFalse(reader.isAlive());
        assertEquals(true, reader.isDaemon());
    }
}
