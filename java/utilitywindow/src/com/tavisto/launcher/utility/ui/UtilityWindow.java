package com.tavisto.launcher.utility.ui;

import com.tavisto.launcher.utility.settings.Settings;
import com.tavisto.launcher.utility.settings.SettingsStore;
import com.tavisto.launcher.utility.settings.SettingsText;
import com.tavisto.launcher.utility.support.CacheCleaner;
import com.tavisto.launcher.utility.support.Commands;
import com.tavisto.launcher.utility.support.DiagnosticsBundle;
import java.awt.BorderLayout;
import java.awt.FlowLayout;
import java.awt.event.ActionEvent;
import java.awt.event.ActionListener;
import java.awt.event.KeyEvent;
import java.awt.event.WindowAdapter;
import java.awt.event.WindowEvent;
import java.io.File;
import java.io.IOException;
import javax.swing.BorderFactory;
import javax.swing.JButton;
import javax.swing.JComponent;
import javax.swing.JFrame;
import javax.swing.JPanel;
import javax.swing.JTabbedPane;
import javax.swing.KeyStroke;
import javax.swing.SwingUtilities;
import javax.swing.WindowConstants;

/**
 * The utility window. OK saves and closes, Apply saves, Cancel, Escape and
 * the window's close button close without saving. Closing always ends the
 * program with status 0.
 */
final class UtilityWindow {
    static final String TITLE = "Convoca Launcher Settings";
    /** Closes the window like Cancel. */
    static final KeyStroke ESCAPE = KeyStroke.getKeyStroke(KeyEvent.VK_ESCAPE, 0);

    final JFrame frame = new JFrame(TITLE);
    final JTabbedPane tabs = new JTabbedPane();
    final GeneralPanel general;
    final NetworkPanel network;
    final CachePanel cache;
    final SupportPanel support;
    final JButton ok = new JButton("OK");
    final JButton cancel = new JButton("Cancel");
    final JButton apply = new JButton("Apply");

    private final SettingsStore store;
    private final Dialogs dialogs;
    private final Exit exit;
    private final String loadProblem;
    private final String adminProblem;
    private boolean closed;

    UtilityWindow(String version, File cacheFolder, SettingsStore store, UpdateRequests updates,
            Dialogs dialogs, Exit exit) {
        this.store = store;
        this.dialogs = dialogs;
        this.exit = exit;
        SettingsText user = new SettingsText("");
        SettingsText admin = null;
        String userProblem = null;
        String proxyProblem = null;
        try {
            user = new SettingsText(store.userFile().read());
        } catch (IOException e) {
            userProblem = "The settings could not be read from " + store.userFile().path() + ": "
                    + SettingsStore.describe(e) + ".\nClose the window and open it again to change them.";
        }
        if (store.adminManaged()) {
            try {
                admin = new SettingsText(store.proxyFile().read());
            } catch (IOException e) {
                proxyProblem = "The administrator's network settings could not be read from "
                        + store.proxyFile().path() + ": " + SettingsStore.describe(e)
                        + ".\nThe launcher uses its default network settings while it cannot read them.";
                admin = new SettingsText("");
            }
        }
        loadProblem = userProblem;
        adminProblem = proxyProblem;
        general = new GeneralPanel(version, store.userFile().path().getPath(), updates);
        network = new NetworkPanel(store.adminManaged() || loadProblem != null);
        cache = new CachePanel(cacheFolder, new CacheCleaner(), dialogs);
        File adminFile = store.adminManaged() ? store.proxyFile().path() : null;
        support = new SupportPanel(new DiagnosticsBundle(version, store.userFile().path(), adminFile, cacheFolder,
                Commands.SYSTEM), dialogs);
        Settings shown = Settings.read(user, admin != null ? admin : user);
        general.show(shown);
        network.show(shown);
        general.setEditable(loadProblem == null);
        network.adminNotice.setVisible(store.adminManaged());
        lay();
        ChangeWatch.watch(frame.getContentPane(), new Runnable() {
            @Override
            public void run() {
                apply.setEnabled(loadProblem == null);
            }
        });
        apply.setEnabled(false);
    }

    private void lay() {
        tabs.addTab("General", general);
        tabs.addTab("Network", network);
        tabs.addTab("Cache", cache);
        tabs.addTab("Support", support);
        JPanel buttons = new JPanel(new FlowLayout(FlowLayout.TRAILING));
        buttons.add(ok);
        buttons.add(cancel);
        buttons.add(apply);
        JPanel content = new JPanel(new BorderLayout());
        content.setBorder(BorderFactory.createEmptyBorder(8, 8, 0, 8));
        content.add(tabs, BorderLayout.CENTER);
        content.add(buttons, BorderLayout.SOUTH);
        frame.setContentPane(content);
        frame.getRootPane().setDefaultButton(ok);
        frame.getRootPane().registerKeyboardAction(new ActionListener() {
            @Override
            public void actionPerformed(ActionEvent e) {
                close();
            }
        }, ESCAPE, JComponent.WHEN_IN_FOCUSED_WINDOW);
        frame.setDefaultCloseOperation(WindowConstants.DO_NOTHING_ON_CLOSE);
        frame.addWindowListener(new WindowAdapter() {
            @Override
            public void windowClosing(WindowEvent e) {
                close();
            }
        });
        ok.addActionListener(new ActionListener() {
            @Override
            public void actionPerformed(ActionEvent e) {
                if (!apply.isEnabled() || apply()) {
                    close();
                }
            }
        });
        cancel.addActionListener(new ActionListener() {
            @Override
            public void actionPerformed(ActionEvent e) {
                close();
            }
        });
        apply.addActionListener(new ActionListener() {
            @Override
            public void actionPerformed(ActionEvent e) {
                apply();
            }
        });
        frame.pack();
        frame.setResizable(false);
    }

    /** Shows the window, then any problem met while reading the settings. */
    void show() {
        frame.setLocationRelativeTo(null);
        frame.setVisible(true);
        SwingUtilities.invokeLater(new Runnable() {
            @Override
            public void run() {
                if (loadProblem != null) {
                    dialogs.error(TITLE, loadProblem);
                }
                if (adminProblem != null) {
                    dialogs.error(TITLE, adminProblem);
                }
            }
        });
    }

    /** Saves the settings; false, after telling the user why, when they were not saved. */
    boolean apply() {
        PortField badPort = store.adminManaged() ? null : network.firstBadPort();
        if (badPort != null) {
            dialogs.error(TITLE, Settings.portMessage(network.protocolOf(badPort)));
            tabs.setSelectedComponent(network);
            badPort.requestFocusInWindow();
            return false;
        }
        Settings settings = new Settings();
        general.collect(settings);
        network.collect(settings);
        String problem = store.save(settings);
        if (problem != null) {
            dialogs.error(TITLE, problem);
            return false;
        }
        apply.setEnabled(false);
        return true;
    }

    /** Closes the window without saving, cancels a running test and ends the program with status 0. */
    void close() {
        if (closed) {
            return;
        }
        closed = true;
        network.connectionTest.cancelRunning();
        frame.dispose();
        exit.exit(0);
    }

    boolean isClosed() {
        return closed;
    }
}
