package com.tavisto.launcher.utility.ui;

import com.tavisto.launcher.utility.net.ConnectionTest;
import com.tavisto.launcher.utility.net.ProxyScript;
import com.tavisto.launcher.utility.settings.Settings;
import java.awt.GridBagLayout;
import java.awt.event.ActionEvent;
import java.awt.event.ActionListener;
import javax.swing.BorderFactory;
import javax.swing.JButton;
import javax.swing.JLabel;
import javax.swing.JPanel;
import javax.swing.JTextArea;
import javax.swing.JTextField;
import javax.swing.SwingUtilities;
import javax.swing.Timer;
import javax.swing.UIManager;

/**
 * "Test connection": tries the settings as they are shown, saved or not,
 * against an address the user may change. Each test runs on a thread of its
 * own, never on the pool that the window's other background work shares, so
 * a test that cannot be stopped at once (a name look-up) holds up nothing
 * else. Cancel and the time limit end a test at once for the user; a result
 * that comes later is dropped.
 */
final class ConnectionTestPanel extends JPanel {
    private static final long serialVersionUID = 1L;
    static final String TIMED_OUT = "No answer within " + ConnectionTest.LIMIT_MS / 1000 + " seconds.";
    /** Time the test itself has to report its own time-out before the panel gives up on it. */
    private static final int GRACE_MS = 1000;

    /** The settings to test: what the window shows now. */
    interface Current {
        Settings settings();
    }

    final JTextField target = new JTextField(ConnectionTest.DEFAULT_TARGET, 24);
    final JButton test = new JButton("Test connection");
    final JButton cancel = new JButton("Cancel");
    final JTextArea result = new JTextArea(3, 36);
    /** Evaluates proxy scripts in a confined process; null when this Java has no script engine. */
    ProxyScript.Engine engine = ProxyScript.javaScript();

    private final Current current;
    private final Timer guard;
    private ConnectionTest running;

    ConnectionTestPanel(Current current) {
        super(new GridBagLayout());
        this.current = current;
        setBorder(BorderFactory.createEmptyBorder(4, 0, 0, 0));
        target.putClientProperty(ChangeWatch.IGNORED, Boolean.TRUE);
        result.setEditable(false);
        result.setLineWrap(true);
        result.setWrapStyleWord(true);
        result.setOpaque(false);
        result.setFont(UIManager.getFont("Label.font"));
        result.setBorder(BorderFactory.createEmptyBorder());
        cancel.setEnabled(false);
        JLabel targetLabel = new JLabel("Test address:");
        targetLabel.setLabelFor(target);
        add(targetLabel, Cells.at(0, 0, 1, 0));
        add(target, Cells.wide(1, 0, 1, 0));
        add(test, Cells.at(2, 0, 1, 0));
        add(cancel, Cells.at(3, 0, 1, 0));
        add(result, Cells.wide(0, 1, 4, 0));
        guard = new Timer(ConnectionTest.LIMIT_MS + GRACE_MS, new ActionListener() {
            @Override
            public void actionPerformed(ActionEvent e) {
                stop(TIMED_OUT);
            }
        });
        guard.setRepeats(false);
        test.addActionListener(new ActionListener() {
            @Override
            public void actionPerformed(ActionEvent e) {
                start();
            }
        });
        cancel.addActionListener(new ActionListener() {
            @Override
            public void actionPerformed(ActionEvent e) {
                cancelRunning();
            }
        });
    }

    void start() {
        if (running != null) {
            return;
        }
        final ConnectionTest run = new ConnectionTest(current.settings(), engine, ConnectionTest.LIMIT_MS);
        final String address = target.getText();
        running = run;
        test.setEnabled(false);
        cancel.setEnabled(true);
        result.setText("Testing the connection to " + address.trim() + "...");
        guard.restart();
        Thread thread = new Thread(new Runnable() {
            @Override
            public void run() {
                String message;
                try {
                    message = run.run(address).message;
                } catch (RuntimeException e) {
                    message = "The test failed: " + e;
                }
                final String outcome = message;
                SwingUtilities.invokeLater(new Runnable() {
                    @Override
                    public void run() {
                        if (running == run) {
                            finish(outcome);
                        }
                    }
                });
            }
        }, "Connection test");
        thread.setDaemon(true);
        thread.start();
    }

    /** Cancels the running test, if any, as Cancel does. */
    void cancelRunning() {
        stop(ConnectionTest.CANCELLED);
    }

    /** Ends the running test with message; a result it brings later is dropped. */
    private void stop(String message) {
        if (running != null) {
            running.cancel();
            finish(message);
        }
    }

    private void finish(String message) {
        running = null;
        guard.stop();
        result.setText(message);
        result.setCaretPosition(0);
        test.setEnabled(true);
        cancel.setEnabled(false);
    }

    boolean isRunning() {
        return running != null;
    }
}
