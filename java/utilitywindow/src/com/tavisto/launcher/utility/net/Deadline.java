package com.tavisto.launcher.utility.net;

import java.io.Closeable;
import java.io.IOException;
import java.util.ArrayList;
import java.util.List;

/**
 * One time limit for every step of a connection test, and the way to end the
 * test early. What a step registers with watch() (a socket, a connection, a
 * child process) is closed once the limit has passed or the test is
 * cancelled, so no read outlasts the limit however slowly its server answers.
 * The closing is done by a watcher thread of this deadline, never by the
 * thread that cancels.
 */
public final class Deadline {
    /** Time a step's own time-out has to report itself before its connection is closed under it. */
    static final int GRACE_MS = 500;
    /** How often what is still open is closed again once the test is over: a retried request opens anew. */
    private static final int RECLOSE_MS = 100;

    final int limitMs;
    private final long end;
    private final List<Closeable> open = new ArrayList<Closeable>();
    private boolean cancelled;
    private boolean closedAtLimit;
    private boolean finished;
    private Thread watcher;

    Deadline(int limitMs) {
        this.limitMs = limitMs;
        end = System.currentTimeMillis() + limitMs;
    }

    /** Milliseconds left; at least 1, since 0 means no limit to a socket. */
    int remaining() throws ConnectionTest.Stop {
        if (isCancelled()) {
            throw new ConnectionTest.Stop(ConnectionTest.CANCELLED);
        }
        long left = end - System.currentTimeMillis();
        if (left <= 0) {
            throw new ConnectionTest.Stop(tookLonger());
        }
        return (int) left;
    }

    String tookLonger() {
        return "The test took longer than " + ConnectionTest.seconds(limitMs) + ".";
    }

    /** Has what is open closed at the limit or on cancel, at once when that has come. */
    synchronized void watch(Closeable closeable) {
        open.add(closeable);
        if (watcher == null) {
            watcher = new Thread(new Runnable() {
                @Override
                public void run() {
                    watchOver();
                }
            }, "Connection test deadline");
            watcher.setDaemon(true);
            watcher.start();
        }
        notifyAll();
    }

    synchronized void release(Closeable closeable) {
        open.remove(closeable);
    }

    /** Ends the test: what it has open is closed at once. Returns without waiting for that. */
    synchronized void cancel() {
        cancelled = true;
        notifyAll();
    }

    synchronized boolean isCancelled() {
        return cancelled;
    }

    /** Whether the limit, not the step's own time-out, ended a step. */
    synchronized boolean closedAtLimit() {
        return closedAtLimit;
    }

    /** The test is over; the watcher ends. */
    synchronized void finish() {
        finished = true;
        open.clear();
        notifyAll();
    }

    private void watchOver() {
        while (true) {
            List<Closeable> toClose;
            synchronized (this) {
                long left = end + GRACE_MS - System.currentTimeMillis();
                while (!finished && (open.isEmpty() || !cancelled && left > 0)) {
                    try {
                        wait(open.isEmpty() ? 0 : left);
                    } catch (InterruptedException e) {
                        return;
                    }
                    left = end + GRACE_MS - System.currentTimeMillis();
                }
                if (finished) {
                    return;
                }
                closedAtLimit |= !cancelled;
                toClose = new ArrayList<Closeable>(open);
            }
            for (Closeable closeable : toClose) {
                try {
                    closeable.close();
                } catch (IOException e) {
                    // Closed already, or gone with its process: either way it is over.
                }
            }
            synchronized (this) {
                try {
                    wait(RECLOSE_MS);
                } catch (InterruptedException e) {
                    return;
                }
            }
        }
    }
}
