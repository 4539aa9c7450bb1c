package com.tavisto.launcher.utility;

import static org.junit.Assert.fail;

import java.awt.Frame;
import java.awt.GraphicsEnvironment;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.Callable;
import java.util.concurrent.atomic.AtomicReference;
import javax.swing.SwingUtilities;

/** Helpers of the tests that open real windows. */
final class DisplayTests {
    private DisplayTests() {
    }

    static void requireDisplay() {
        if (GraphicsEnvironment.isHeadless()) {
            fail("these tests open windows and need a display: run them through scripts/test.sh (Xvfb)");
        }
    }

    static <T> T onEdt(final Callable<T> task) throws Exception {
        final AtomicReference<T> result = new AtomicReference<T>();
        final AtomicReference<Exception> failure = new AtomicReference<Exception>();
        SwingUtilities.invokeAndWait(() -> {
            try {
                result.set(task.call());
            } catch (Exception e) {
                failure.set(e);
            }
        });
        if (failure.get() != null) {
            throw failure.get();
        }
        return result.get();
    }

    static void onEdt(final Runnable task) throws Exception {
        SwingUtilities.invokeAndWait(task);
    }

    /** Waits up to 10 s for condition, checked on the event thread. */
    static boolean eventually(Callable<Boolean> condition) throws Exception {
        for (int i = 0; i < 500; i++) {
            if (onEdt(condition)) {
                return true;
            }
            Thread.sleep(20);
        }
        return false;
    }

    static void disposeAll() throws Exception {
        onEdt(() -> {
            for (Frame f : Frame.getFrames()) {
                f.dispose();
            }
        });
    }

    /** Records exit statuses instead of ending the test run. */
    static final class RecordingExit implements Exit {
        private final List<Integer> statuses = new ArrayList<Integer>();

        @Override
        public synchronized void exit(int status) {
            statuses.add(status);
        }

        synchronized List<Integer> statuses() {
            return new ArrayList<Integer>(statuses);
        }
    }
}
