package com.tavisto.launcher.utility.ui;

import com.tavisto.launcher.utility.settings.SettingsFile;
import java.io.BufferedReader;
import java.io.IOException;
import java.io.InputStream;
import java.io.InputStreamReader;
import java.io.OutputStream;

/**
 * The line protocol with the launcher. The window writes "update" to ask for
 * an update check; the launcher writes "shutdown" to close the window after
 * it has been updated. Other lines are ignored. The end of the input only
 * means that the launcher has gone: the window stays open so that no edit
 * is lost.
 */
final class CommandChannel implements UpdateRequests {
    static final String UPDATE = "update";
    static final String SHUTDOWN = "shutdown";

    /** Called on the reading thread. */
    interface Listener {
        void shutdownRequested();
    }

    private final InputStream in;
    private final OutputStream out;

    CommandChannel(InputStream in, OutputStream out) {
        this.in = in;
        this.out = out;
    }

    /** The launcher's pipe may be gone; the window goes on without it. */
    @Override
    public synchronized void requestUpdate() {
        try {
            out.write((UPDATE + "\n").getBytes(SettingsFile.ENCODING));
            out.flush();
        } catch (IOException e) {
            System.err.println("utilwin: cannot ask the launcher for an update check: " + e.getMessage());
        }
    }

    /** Starts reading commands on a daemon thread, which is returned. */
    Thread listen(final Listener listener) {
        Thread reader = new Thread(new Runnable() {
            @Override
            public void run() {
                read(listener);
            }
        }, "launcher commands");
        reader.setDaemon(true);
        reader.start();
        return reader;
    }

    /** Reads until "shutdown" or the end of the input; CR LF, LF and CR all end a line. */
    void read(Listener listener) {
        BufferedReader lines = new BufferedReader(new InputStreamReader(in, SettingsFile.ENCODING));
        try {
            for (String line = lines.readLine(); line != null; line = lines.readLine()) {
                if (line.equals(SHUTDOWN)) {
                    listener.shutdownRequested();
                    return;
                }
            }
        } catch (IOException e) {
            System.err.println("utilwin: reading the launcher's commands failed: " + e.getMessage());
        }
    }
}
