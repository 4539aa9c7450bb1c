package com.tavisto.launcher.utility.support;

import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.nio.charset.Charset;
import java.util.List;

/** Runs a system command and collects what it prints. */
public interface Commands {
    /** What a command printed (standard output and error together) and its exit status. */
    final class Result {
        final int status;
        final String output;

        Result(int status, String output) {
            this.status = status;
            this.output = output;
        }
    }

    /** Throws IOException when the command cannot be started or has not ended within timeoutMs. */
    Result run(List<String> command, long timeoutMs) throws IOException;

    /** The operating system's commands, each stopped when it runs too long. */
    Commands SYSTEM = new Commands() {
        private static final long POLL_MS = 20;

        @Override
        public Result run(List<String> command, long timeoutMs) throws IOException {
            final Process process = new ProcessBuilder(command).redirectErrorStream(true).start();
            process.getOutputStream().close();
            final ByteArrayOutputStream output = new ByteArrayOutputStream();
            Thread reader = new Thread(new Runnable() {
                @Override
                public void run() {
                    copy(process.getInputStream(), output);
                }
            }, "command output");
            reader.setDaemon(true);
            reader.start();
            long deadline = System.currentTimeMillis() + timeoutMs;
            try {
                while (true) {
                    try {
                        int status = process.exitValue();
                        reader.join(Math.max(1, deadline - System.currentTimeMillis()));
                        synchronized (output) {
                            return new Result(status, new String(output.toByteArray(), Charset.defaultCharset()));
                        }
                    } catch (IllegalThreadStateException running) {
                        if (System.currentTimeMillis() >= deadline) {
                            throw new IOException("it did not end within " + timeoutMs + " ms");
                        }
                        Thread.sleep(POLL_MS);
                    }
                }
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
                throw new IOException("interrupted", e);
            } finally {
                process.destroy();
            }
        }

        private void copy(InputStream in, ByteArrayOutputStream out) {
            byte[] buffer = new byte[4096];
            try {
                for (int n; (n = in.read(buffer)) > 0;) {
                    synchronized (out) {
                        out.write(buffer, 0, n);
                    }
                }
            } catch (IOException e) {
                // What was read so far is kept; the exit status tells the outcome.
            }
        }
    };
}
