package com.tavisto.launcher.utility.ui;

import com.tavisto.launcher.utility.settings.SettingsStore;
import com.tavisto.launcher.utility.support.DiagnosticsBundle;
import java.awt.Component;
import java.awt.GridBagLayout;
import java.awt.event.ActionEvent;
import java.awt.event.ActionListener;
import java.io.File;
import java.io.IOException;
import java.text.SimpleDateFormat;
import java.util.Date;
import java.util.Locale;
import java.util.concurrent.ExecutionException;
import javax.swing.BorderFactory;
import javax.swing.JButton;
import javax.swing.JFileChooser;
import javax.swing.JLabel;
import javax.swing.JPanel;
import javax.swing.SwingWorker;
import javax.swing.filechooser.FileNameExtensionFilter;

/**
 * "Save diagnostics...": writes a diagnostics bundle where the user chooses.
 * An existing file is replaced only when the user agrees; otherwise the
 * choice is offered again, as Windows programs do.
 */
final class SupportPanel extends JPanel {
    private static final long serialVersionUID = 1L;
    static final String TITLE = "Save Diagnostics";

    /** Asks where the zip goes; null when the user cancels. */
    interface Chooser {
        File choose(Component parent, File proposed);
    }

    static final Chooser FILE_DIALOG = new Chooser() {
        @Override
        public File choose(Component parent, File proposed) {
            JFileChooser chooser = new JFileChooser(proposed.getParentFile());
            chooser.setDialogTitle(TITLE);
            chooser.setFileFilter(new FileNameExtensionFilter("Zip files", "zip"));
            chooser.setSelectedFile(proposed);
            if (chooser.showSaveDialog(parent) != JFileChooser.APPROVE_OPTION) {
                return null;
            }
            File chosen = chooser.getSelectedFile();
            return chosen.getName().toLowerCase(Locale.ROOT).endsWith(".zip") ? chosen
                    : new File(chosen.getPath() + ".zip");
        }
    };

    final JButton save = new JButton("Save diagnostics\u2026");
    final JLabel status = new JLabel(" ");
    Chooser chooser = FILE_DIALOG;
    private final DiagnosticsBundle bundle;
    private final Dialogs dialogs;

    SupportPanel(DiagnosticsBundle bundle, Dialogs dialogs) {
        super(new GridBagLayout());
        this.bundle = bundle;
        this.dialogs = dialogs;
        setBorder(BorderFactory.createEmptyBorder(8, 8, 8, 8));
        int y = 0;
        add(new JLabel("<html><div style=\"width:330px\">When a session does not start, support staff can"
                + " find out why from a diagnostics file. It holds the launcher's logs, its settings files,"
                + " the Java runtime's deployment files and a summary of this computer's set-up. User names"
                + " and passwords in proxy addresses are masked. Nothing is sent: you choose where the file"
                + " goes and whom you give it to.</div></html>"), Cells.wide(0, y++, 1, 0));
        add(save, Cells.at(0, y++, 1, 0));
        add(status, Cells.wide(0, y++, 1, 0));
        add(new JLabel(), Cells.filler(y));
        save.addActionListener(new ActionListener() {
            @Override
            public void actionPerformed(ActionEvent e) {
                saveDiagnostics();
            }
        });
    }

    /** The desktop when there is one, otherwise the home folder. */
    static File defaultFolder() {
        File home = new File(System.getProperty("user.home"));
        File desktop = new File(home, "Desktop");
        return desktop.isDirectory() ? desktop : home;
    }

    void saveDiagnostics() {
        String name = "ConvocaLauncher-diagnostics-" + new SimpleDateFormat("yyyyMMdd-HHmmss", Locale.US)
                .format(new Date()) + ".zip";
        File proposed = new File(defaultFolder(), name);
        File chosen;
        boolean replace;
        do {
            chosen = chooser.choose(this, proposed);
            if (chosen == null) {
                return;
            }
            replace = chosen.isFile();
            proposed = chosen;
        } while (replace && !dialogs.confirm(TITLE, chosen.getName() + " already exists.\nDo you want to replace it?"));
        final File zip = chosen;
        final boolean replaceZip = replace;
        save.setEnabled(false);
        status.setText("Saving the diagnostics...");
        new SwingWorker<Void, Void>() {
            @Override
            protected Void doInBackground() throws IOException {
                bundle.write(zip, replaceZip);
                return null;
            }

            @Override
            protected void done() {
                save.setEnabled(true);
                try {
                    get();
                    status.setText("Saved to " + zip.getPath());
                    dialogs.inform(TITLE, "The diagnostics were saved to\n" + zip.getPath());
                } catch (InterruptedException | ExecutionException e) {
                    Throwable cause = e.getCause() != null ? e.getCause() : e;
                    String reason = cause instanceof IOException ? SettingsStore.describe((IOException) cause)
                            : cause.toString();
                    status.setText("The diagnostics could not be saved.");
                    dialogs.error(TITLE, "The diagnostics could not be saved to " + zip.getPath() + ": " + reason + ".");
                }
            }
        }.execute();
    }
}
