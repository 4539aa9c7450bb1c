package com.tavisto.launcher.utility.ui;

import com.tavisto.launcher.utility.settings.Settings;
import com.tavisto.launcher.utility.settings.SettingsText;
import java.awt.GridBagLayout;
import java.awt.event.ItemEvent;
import java.awt.event.ItemListener;
import javax.swing.AbstractButton;
import javax.swing.BorderFactory;
import javax.swing.ButtonGroup;
import javax.swing.JCheckBox;
import javax.swing.JComponent;
import javax.swing.JLabel;
import javax.swing.JPanel;
import javax.swing.JRadioButton;
import javax.swing.JSeparator;
import javax.swing.JTextField;
import javax.swing.UIManager;

/**
 * The proxy settings. A field is enabled only while the launcher uses it: the
 * servers, lists and local-address bypass with "Use proxy server", the secure
 * and FTP servers only when each protocol has its own, and the script location
 * with the automatic configuration script. Read-only when the administrator
 * manages these settings.
 */
final class NetworkPanel extends JPanel {
    private static final long serialVersionUID = 1L;
    static final String ADMIN_NOTICE = "Your administrator manages the network settings."
            + " They are shown here, but cannot be changed.";

    final JLabel adminNotice = new JLabel("<html><div style=\"width:330px\">" + ADMIN_NOTICE + "</div></html>",
            UIManager.getIcon("OptionPane.informationIcon"), JLabel.LEADING);
    final JRadioButton browser = new JRadioButton("Use browser settings");
    final JRadioButton manual = new JRadioButton("Use proxy server");
    final JRadioButton script = new JRadioButton("Use automatic proxy configuration script");
    final JRadioButton direct = new JRadioButton("Direct connection");
    final JCheckBox sameServer = new JCheckBox("Use the same proxy server for all protocols");
    final JTextField httpAddress = new JTextField(24);
    final JTextField secureAddress = new JTextField(24);
    final JTextField ftpAddress = new JTextField(24);
    final JTextField socksAddress = new JTextField(24);
    final PortField httpPort = new PortField();
    final PortField securePort = new PortField();
    final PortField ftpPort = new PortField();
    final PortField socksPort = new PortField();
    final JTextField bypassList = new JTextField(24);
    final JCheckBox bypassLocal = new JCheckBox("Bypass proxy server for local addresses");
    final JTextField overrideHosts = new JTextField(24);
    final JTextField scriptLocation = new JTextField(24);
    final ConnectionTestPanel connectionTest = new ConnectionTestPanel(new ConnectionTestPanel.Current() {
        @Override
        public Settings settings() {
            Settings s = new Settings();
            collect(s);
            return s;
        }
    });

    private final boolean readOnly;
    private final JLabel[] httpLabels = labels("HTTP:", httpAddress);
    private final JLabel[] secureLabels = labels("Secure:", secureAddress);
    private final JLabel[] ftpLabels = labels("FTP:", ftpAddress);
    private final JLabel[] socksLabels = labels("Socks:", socksAddress);
    private final JLabel bypassListLabel =
            label("Do not use the proxy server for addresses beginning with:", bypassList);
    private final JLabel bypassListHint = new JLabel("Use semicolons (;) to separate entries.");
    private final JLabel overrideHostsLabel = label("Override hosts:", overrideHosts);
    private final JLabel scriptLocationLabel = label("Script location:", scriptLocation);

    NetworkPanel(boolean readOnly) {
        super(new GridBagLayout());
        this.readOnly = readOnly;
        setBorder(BorderFactory.createEmptyBorder(8, 8, 8, 8));
        ButtonGroup group = new ButtonGroup();
        for (JRadioButton b : new JRadioButton[] {browser, manual, script, direct}) {
            group.add(b);
        }
        lay();
        adminNotice.setVisible(readOnly);
        ItemListener follow = new ItemListener() {
            @Override
            public void itemStateChanged(ItemEvent e) {
                updateEnabled();
            }
        };
        for (AbstractButton b : new AbstractButton[] {
                browser, manual, script, direct, sameServer}) {
            b.addItemListener(follow);
        }
        for (JTextField f : textFields()) {
            f.setEditable(!readOnly);
        }
        browser.setSelected(true);
        updateEnabled();
    }

    private void lay() {
        int y = 0;
        add(adminNotice, Cells.wide(0, y++, 5, 0));
        add(browser, Cells.at(0, y++, 5, 0));
        add(manual, Cells.at(0, y++, 5, 0));
        add(sameServer, Cells.at(1, y++, 4, Cells.INDENT));
        y = protocolRow(y, httpLabels, httpAddress, httpPort);
        y = protocolRow(y, secureLabels, secureAddress, securePort);
        y = protocolRow(y, ftpLabels, ftpAddress, ftpPort);
        y = protocolRow(y, socksLabels, socksAddress, socksPort);
        add(bypassListLabel, Cells.at(1, y++, 4, Cells.INDENT));
        add(bypassList, Cells.wide(1, y++, 4, Cells.INDENT));
        add(bypassListHint, Cells.at(1, y++, 4, Cells.INDENT));
        add(bypassLocal, Cells.at(1, y++, 4, Cells.INDENT));
        add(overrideHostsLabel, Cells.at(1, y, 1, Cells.INDENT));
        add(overrideHosts, Cells.wide(2, y++, 3, 0));
        add(script, Cells.at(0, y++, 5, 0));
        add(scriptLocationLabel, Cells.at(1, y, 1, Cells.INDENT));
        add(scriptLocation, Cells.wide(2, y++, 3, 0));
        add(direct, Cells.at(0, y++, 5, 0));
        add(new JSeparator(), Cells.wide(0, y++, 5, 0));
        add(connectionTest, Cells.wide(0, y++, 5, 0));
        add(new JLabel(), Cells.filler(y));
    }

    private int protocolRow(int y, JLabel[] labels, JTextField address, PortField port) {
        add(labels[0], Cells.at(1, y, 1, Cells.INDENT));
        add(address, Cells.wide(2, y, 1, 0));
        labels[1].setLabelFor(port);
        add(labels[1], Cells.at(3, y, 1, 0));
        add(port, Cells.at(4, y, 1, 0));
        return y + 1;
    }

    private static JLabel[] labels(String protocol, JTextField address) {
        return new JLabel[] {label(protocol, address), new JLabel("Port:")};
    }

    private static JLabel label(String text, JTextField field) {
        JLabel label = new JLabel(text);
        label.setLabelFor(field);
        return label;
    }

    JTextField[] textFields() {
        return new JTextField[] {httpAddress, secureAddress, ftpAddress, socksAddress, httpPort,
            securePort, ftpPort, socksPort, bypassList, overrideHosts, scriptLocation};
    }

    void updateEnabled() {
        boolean servers = manual.isSelected();
        boolean perProtocol = servers && !sameServer.isSelected();
        enable(servers, httpLabels, httpAddress, httpPort);
        enable(perProtocol, secureLabels, secureAddress, securePort);
        enable(perProtocol, ftpLabels, ftpAddress, ftpPort);
        enable(servers, socksLabels, socksAddress, socksPort);
        for (JComponent c : new JComponent[] {
                bypassListLabel, bypassList, bypassListHint, overrideHostsLabel, overrideHosts}) {
            c.setEnabled(servers);
        }
        sameServer.setEnabled(servers && !readOnly);
        bypassLocal.setEnabled(servers && !readOnly);
        scriptLocationLabel.setEnabled(script.isSelected());
        scriptLocation.setEnabled(script.isSelected());
        for (JRadioButton b : new JRadioButton[] {browser, manual, script, direct}) {
            b.setEnabled(!readOnly);
        }
    }

    private static void enable(boolean on, JLabel[] labels, JTextField address, PortField port) {
        labels[0].setEnabled(on);
        labels[1].setEnabled(on);
        address.setEnabled(on);
        port.setEnabled(on);
    }

    void show(Settings s) {
        JRadioButton[] bySelection = {browser, manual, script, direct};
        bySelection[s.proxySelection].setSelected(true);
        sameServer.setSelected(s.sameServerForAll);
        httpAddress.setText(s.httpAddress);
        httpPort.setPort(s.httpPort);
        secureAddress.setText(s.secureAddress);
        securePort.setPort(s.securePort);
        ftpAddress.setText(s.ftpAddress);
        ftpPort.setPort(s.ftpPort);
        socksAddress.setText(s.socksAddress);
        socksPort.setPort(s.socksPort);
        bypassList.setText(s.bypassList);
        bypassLocal.setSelected(s.bypassLocal);
        overrideHosts.setText(s.overrideHosts);
        scriptLocation.setText(s.scriptLocation);
        updateEnabled();
    }

    /** Copies the fields into s; text loses its outer spaces, as the launcher drops them. */
    void collect(Settings s) {
        s.proxySelection = manual.isSelected() ? Settings.PROXY_MANUAL
                : script.isSelected() ? Settings.PROXY_SCRIPT
                : direct.isSelected() ? Settings.PROXY_DIRECT : Settings.PROXY_BROWSER;
        s.sameServerForAll = sameServer.isSelected();
        s.httpAddress = text(httpAddress);
        s.httpPort = httpPort.port();
        s.secureAddress = text(secureAddress);
        s.securePort = securePort.port();
        s.ftpAddress = text(ftpAddress);
        s.ftpPort = ftpPort.port();
        s.socksAddress = text(socksAddress);
        s.socksPort = socksPort.port();
        s.bypassList = text(bypassList);
        s.bypassLocal = bypassLocal.isSelected();
        s.overrideHosts = text(overrideHosts);
        s.scriptLocation = text(scriptLocation);
    }

    private static String text(JTextField field) {
        return SettingsText.trimSpaces(field.getText());
    }

    /** The first port field whose number is out of range, or null. */
    PortField firstBadPort() {
        for (PortField port : new PortField[] {httpPort, securePort, ftpPort, socksPort}) {
            if (!port.inRange()) {
                return port;
            }
        }
        return null;
    }

    /** The name of the protocol whose port field is port. */
    String protocolOf(PortField port) {
        return port == httpPort ? "HTTP" : port == securePort ? "Secure" : port == ftpPort ? "FTP" : "Socks";
    }
}
