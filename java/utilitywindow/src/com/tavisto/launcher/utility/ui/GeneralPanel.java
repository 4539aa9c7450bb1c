package com.tavisto.launcher.utility.ui;

import com.tavisto.launcher.utility.settings.Names;
import com.tavisto.launcher.utility.settings.Settings;
import java.awt.Font;
import java.awt.GridBagLayout;
import java.awt.event.ActionEvent;
import java.awt.event.ActionListener;
import javax.swing.BorderFactory;
import javax.swing.ButtonGroup;
import javax.swing.JButton;
import javax.swing.JLabel;
import javax.swing.JPanel;
import javax.swing.JRadioButton;
import javax.swing.JSeparator;
import javax.swing.JTextField;

/** The launcher's version, the update check and the Java console mode. */
final class GeneralPanel extends JPanel {
    private static final long serialVersionUID = 1L;

    final JLabel versionLabel;
    final JButton checkForUpdates = new JButton("Check for Updates");
    final JRadioButton showConsole = new JRadioButton("Show console");
    final JRadioButton hideConsole = new JRadioButton("Hide console");
    final JRadioButton noConsole = new JRadioButton("Do not start console");
    final JTextField settingsPath;

    GeneralPanel(String version, String settingsFile, final UpdateRequests updates) {
        super(new GridBagLayout());
        setBorder(BorderFactory.createEmptyBorder(8, 8, 8, 8));
        versionLabel = new JLabel("Version " + (version.isEmpty() ? "unknown" : version));
        settingsPath = new JTextField(settingsFile, 30);
        settingsPath.setEditable(false);
        ButtonGroup group = new ButtonGroup();
        for (JRadioButton b : consoleButtons()) {
            group.add(b);
        }
        noConsole.setSelected(true);
        checkForUpdates.addActionListener(new ActionListener() {
            @Override
            public void actionPerformed(ActionEvent e) {
                updates.requestUpdate();
            }
        });
        lay();
    }

    private void lay() {
        JLabel product = new JLabel(Names.PRODUCT);
        product.setFont(product.getFont().deriveFont(Font.BOLD, product.getFont().getSize2D() + 2f));
        int y = 0;
        add(product, Cells.at(0, y++, 2, 0));
        add(versionLabel, Cells.at(0, y++, 2, 0));
        add(new JLabel("Find out whether a newer version of the launcher is available."),
                Cells.at(0, y++, 2, 0));
        add(checkForUpdates, Cells.at(0, y++, 2, 0));
        add(new JSeparator(), Cells.wide(0, y++, 2, 0));
        add(new JLabel("Java console"), Cells.at(0, y++, 2, 0));
        for (JRadioButton b : consoleButtons()) {
            add(b, Cells.at(0, y++, 2, Cells.INDENT));
        }
        add(new JSeparator(), Cells.wide(0, y++, 2, 0));
        JLabel fileLabel = new JLabel("Settings file:");
        fileLabel.setLabelFor(settingsPath);
        add(fileLabel, Cells.at(0, y, 1, 0));
        add(settingsPath, Cells.wide(1, y++, 1, 0));
        add(new JLabel(), Cells.filler(y));
    }

    /** In the order of their values: show, hide, do not start. */
    JRadioButton[] consoleButtons() {
        return new JRadioButton[] {showConsole, hideConsole, noConsole};
    }

    void show(Settings s) {
        consoleButtons()[s.consoleSelection].setSelected(true);
    }

    void collect(Settings s) {
        JRadioButton[] buttons = consoleButtons();
        for (int i = 0; i < buttons.length; i++) {
            if (buttons[i].isSelected()) {
                s.consoleSelection = i;
            }
        }
    }

    void setEditable(boolean editable) {
        for (JRadioButton b : consoleButtons()) {
            b.setEnabled(editable);
        }
    }
}
