package com.tavisto.launcher.utility.ui;

import com.tavisto.launcher.utility.support.CacheCleaner;
import com.tavisto.launcher.utility.support.FolderSize;
import java.awt.GridBagLayout;
import java.awt.event.ActionEvent;
import java.awt.event.ActionListener;
import java.io.File;
import java.util.concurrent.ExecutionException;
import javax.swing.BorderFactory;
import javax.swing.JButton;
import javax.swing.JLabel;
import javax.swing.JPanel;
import javax.swing.JTextField;
import javax.swing.SwingWorker;

/** The launcher's cache folder and the button that empties it. */
final class CachePanel extends JPanel {
    private static final long serialVersionUID = 1L;
    static final String TITLE = "Clear Cache";

    final JButton clear = new JButton("Clear Cache");
    final JLabel status = new JLabel(" ");
    private final File folder;
    private final CacheCleaner cleaner;
    private final Dialogs dialogs;

    CachePanel(File folder, CacheCleaner cleaner, Dialogs dialogs) {
        super(new GridBagLayout());
        this.folder = folder;
        this.cleaner = cleaner;
        this.dialogs = dialogs;
        setBorder(BorderFactory.createEmptyBorder(8, 8, 8, 8));
        JTextField path = new JTextField(folder.getPath(), 30);
        path.setEditable(false);
        JLabel pathLabel = new JLabel("Folder:");
        pathLabel.setLabelFor(path);
        int y = 0;
        add(new JLabel("<html><div style=\"width:330px\">The launcher keeps the files that sessions download in its cache,"
                + " so that they start faster the next time. Clearing the cache frees the disk"
                + " space; the files are downloaded again when a session needs them.</div></html>"),
                Cells.wide(0, y++, 2, 0));
        add(pathLabel, Cells.at(0, y, 1, 0));
        add(path, Cells.wide(1, y++, 1, 0));
        add(clear, Cells.at(0, y++, 2, 0));
        add(status, Cells.wide(0, y++, 2, 0));
        add(new JLabel(), Cells.filler(y));
        clear.addActionListener(new ActionListener() {
            @Override
            public void actionPerformed(ActionEvent e) {
                clearCache();
            }
        });
    }

    void clearCache() {
        String refusal = CacheCleaner.refusal(folder);
        if (refusal != null) {
            dialogs.error(TITLE, "The cache folder " + folder + " cannot be cleared, because " + refusal + ".");
            return;
        }
        if (!dialogs.confirm(TITLE, "Delete all files in the cache folder?\n" + folder)) {
            return;
        }
        clear.setEnabled(false);
        status.setText("Clearing the cache...");
        new SwingWorker<CacheCleaner.Result, Void>() {
            @Override
            protected CacheCleaner.Result doInBackground() {
                return cleaner.empty(folder);
            }

            @Override
            protected void done() {
                clear.setEnabled(true);
                String report;
                try {
                    report = report(get());
                } catch (InterruptedException | ExecutionException e) {
                    report = "The cache could not be cleared: " + e.getMessage();
                }
                status.setText(report);
                dialogs.inform(TITLE, report);
            }
        }.execute();
    }

    static String report(CacheCleaner.Result r) {
        if (r.files == 0 && r.failures == 0) {
            return "The cache was already empty.";
        }
        String freed = "Freed " + FolderSize.inUnits(r.bytes) + " in " + r.files + (r.files == 1 ? " file." : " files.");
        if (r.failures == 0) {
            return freed;
        }
        return freed + " " + r.failures + (r.failures == 1 ? " item" : " items")
                + " could not be deleted, most likely because a session is using "
                + (r.failures == 1 ? "it" : "them") + ".";
    }
}
