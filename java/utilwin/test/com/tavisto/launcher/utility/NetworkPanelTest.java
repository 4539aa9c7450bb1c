package com.tavisto.launcher.utility;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertNull;
import static org.junit.Assert.assertSame;
import static org.junit.Assert.assertTrue;

import java.net.InetAddress;
import java.net.ServerSocket;
import javax.swing.JComponent;
import javax.swing.JRadioButton;
import javax.swing.JTextField;
import org.junit.Test;

/** Runs headless: the panels are built and driven without a window. */
public class NetworkPanelTest {
    private static String enabledFields(NetworkPanel p) {
        StringBuilder b = new StringBuilder();
        String[] names = {"sameServer", "http", "secure", "ftp", "socks", "bypassList", "bypassLocal",
            "overrideHosts", "script"};
        JComponent[][] groups = {
            {p.sameServer}, {p.httpAddress, p.httpPort}, {p.secureAddress, p.securePort},
            {p.ftpAddress, p.ftpPort}, {p.socksAddress, p.socksPort}, {p.bypassList}, {p.bypassLocal},
            {p.overrideHosts}, {p.scriptLocation}};
        for (int i = 0; i < groups.length; i++) {
            for (JComponent c : groups[i]) {
                assertEquals(names[i] + " is enabled in part only", groups[i][0].isEnabled(), c.isEnabled());
            }
            b.append(groups[i][0].isEnabled() ? " " + names[i] : "");
        }
        return b.toString().trim();
    }

    @Test
    public void enabledFieldsFollowTheSelection() {
        NetworkPanel p = new NetworkPanel(false);
        String manual = "sameServer http secure ftp socks bypassList bypassLocal overrideHosts";
        Object[][] rows = {
            {p.browser, false, ""}, {p.manual, false, manual}, {p.manual, true, "sameServer http socks bypassList"
                + " bypassLocal overrideHosts"}, {p.script, true, "script"}, {p.direct, true, ""}, {p.manual, false, manual},
        };
        for (Object[] row : rows) {
            ((JRadioButton) row[0]).setSelected(true);
            p.sameServer.setSelected((Boolean) row[1]);
            assertEquals(row[2], enabledFields(p));
        }
        Settings s = new Settings();
        s.proxySelection = Settings.PROXY_SCRIPT;
        p.show(s);
        assertTrue(p.script.isSelected());
        assertEquals("script", enabledFields(p));
        assertFalse(p.adminNotice.isVisible());
    }

    @Test
    public void adminManagedFieldsAreReadOnlyButReadable() {
        NetworkPanel p = new NetworkPanel(true);
        Settings s = Fixtures.manualProxy();
        s.sameServerForAll = false;
        p.show(s);
        assertTrue(p.adminNotice.isVisible());
        assertTrue(p.adminNotice.getText().contains(NetworkPanel.ADMIN_NOTICE));
        for (JComponent c : new JComponent[] {p.browser, p.manual, p.script, p.direct, p.sameServer, p.bypassLocal}) {
            assertFalse(c.isEnabled());
        }
        for (JTextField f : p.textFields()) {
            assertFalse(f.isEditable());
        }
        assertEquals("proxy.example.com", p.httpAddress.getText());
        assertTrue("shown values stay readable", p.httpAddress.isEnabled());
    }

    @Test
    public void showThenCollectGivesTheSameSettingsWithoutOuterSpaces() {
        NetworkPanel p = new NetworkPanel(false);
        Settings shown = Fixtures.manualProxy();
        p.show(shown);
        p.overrideHosts.setText("  a;b  ");
        Settings collected = new Settings();
        p.collect(collected);
        shown.overrideHosts = "a;b";
        assertEquals(shown.proxyValues(), collected.proxyValues());
        GeneralPanel g = new GeneralPanel("1.5.0.0", "C:\\s.properties", null);
        assertEquals("Version 1.5.0.0", g.versionLabel.getText());
        assertEquals("Version unknown", new GeneralPanel("", "s", null).versionLabel.getText());
        assertTrue("the launcher's default", g.noConsole.isSelected());
        for (int mode = 0; mode < 3; mode++) {
            shown.consoleSelection = mode;
            g.show(shown);
            collected.consoleSelection = -1;
            g.collect(collected);
            assertEquals(mode, collected.consoleSelection);
        }
        g.setEditable(false);
        for (JRadioButton b : g.consoleButtons()) {
            assertFalse(b.isEnabled());
        }
    }

    @Test
    public void portsTakeDigitsOnlyAndOutOfRangePortsAreFound() {
        PortField f = new PortField();
        f.setText("80");
        f.replaceSelection("x");
        f.setText(f.getText() + "-1");
        f.setText("655350");
        assertEquals("80", f.getText());
        f.setText("010");
        assertEquals(10, f.port());
        f.setText("");
        assertEquals(0, f.port());
        f.setPort(99999);
        assertEquals("a port read from a file is shown even out of range", "99999", f.getText());
        assertFalse(f.inRange());
        f.setPort(0);
        assertEquals("", f.getText());
        NetworkPanel p = new NetworkPanel(false);
        p.ftpPort.setText("65535");
        assertNull(p.firstBadPort());
        p.ftpPort.setText("65536");
        p.socksPort.setPort(-5);
        assertSame(p.ftpPort, p.firstBadPort());
        assertEquals("FTP", p.protocolOf(p.ftpPort));
        p.ftpPort.setText("1");
        assertSame(p.socksPort, p.firstBadPort());
        assertEquals("Socks", p.protocolOf(p.socksPort));
    }

    @Test
    public void theConnectionTestUsesTheShownSettingsAndCanBeCancelled() throws Exception {
        try (ServerSocket silent = new ServerSocket(0, 5, InetAddress.getByName("127.0.0.1"))) {
            NetworkPanel p = new NetworkPanel(false);
            ConnectionTestPanel t = p.connectionTest;
            assertEquals("https://updates.tavisto.com/", t.target.getText());
            Fixtures.onEdt(() -> {
                p.manual.setSelected(true);
                p.sameServer.setSelected(true);
                p.httpAddress.setText("127.0.0.1");
                p.httpPort.setPort(silent.getLocalPort());
                t.target.setText(" http://target.test/ ");
                t.test.doClick();
                assertEquals("Testing the connection to http://target.test/...", t.result.getText());
                assertFalse(t.test.isEnabled());
                t.cancel.doClick();
                assertEquals(ConnectionTest.CANCELLED, t.result.getText());
                p.direct.setSelected(true);
                t.target.setText("http://127.0.0.1:" + silent.getLocalPort() + "/");
                t.test.doClick();
            });
            assertTrue(Fixtures.eventually(() -> !t.isRunning()));
            String result = Fixtures.onEdt(() -> t.result.getText());
            assertTrue(result, result.matches("Connected to 127\\.0\\.0\\.1 directly in \\d+ ms\\."));
            assertTrue(t.test.isEnabled());
            assertFalse(t.cancel.isEnabled());
        }
    }
}
