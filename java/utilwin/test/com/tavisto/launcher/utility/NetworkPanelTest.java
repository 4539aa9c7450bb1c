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

/** Runs headless: the panel is built and driven without a window. */
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
            boolean first = groups[i][0].isEnabled();
            for (JComponent c : groups[i]) {
                assertEquals(names[i] + " is enabled in part only", first, c.isEnabled());
            }
            if (first) {
                b.append(b.length() == 0 ? "" : " ").append(names[i]);
            }
        }
        return b.toString();
    }

    @Test
    public void enabledFieldsFollowTheSelection() {
        NetworkPanel p = new NetworkPanel(false);
        p.browser.setSelected(true);
        assertEquals("", enabledFields(p));
        p.manual.setSelected(true);
        assertEquals("sameServer http secure ftp socks bypassList bypassLocal overrideHosts", enabledFields(p));
        p.sameServer.setSelected(true);
        assertEquals("sameServer http socks bypassList bypassLocal overrideHosts", enabledFields(p));
        p.script.setSelected(true);
        assertEquals("script", enabledFields(p));
        p.direct.setSelected(true);
        assertEquals("", enabledFields(p));
        p.manual.setSelected(true);
        p.sameServer.setSelected(false);
        assertEquals("sameServer http secure ftp socks bypassList bypassLocal overrideHosts", enabledFields(p));
    }

    @Test
    public void showingSettingsSetsTheEnabledFieldsToo() {
        NetworkPanel p = new NetworkPanel(false);
        Settings s = new Settings();
        s.proxySelection = Settings.PROXY_SCRIPT;
        p.show(s);
        assertTrue(p.script.isSelected());
        assertEquals("script", enabledFields(p));
        assertFalse(p.adminNotice.isVisible());
    }

    @Test
    public void adminManagedFieldsAreReadOnly() {
        NetworkPanel p = new NetworkPanel(true);
        Settings s = SettingsStoreTest.manualProxy();
        s.sameServerForAll = false;
        p.show(s);
        assertTrue(p.adminNotice.isVisible());
        assertTrue(p.adminNotice.getText().contains(NetworkPanel.ADMIN_NOTICE));
        for (JRadioButton b : new JRadioButton[] {p.browser, p.manual, p.script, p.direct}) {
            assertFalse(b.getText(), b.isEnabled());
        }
        assertFalse(p.sameServer.isEnabled());
        assertFalse(p.bypassLocal.isEnabled());
        for (JTextField f : p.textFields()) {
            assertFalse(f.isEditable());
        }
        assertEquals("proxy.example.com", p.httpAddress.getText());
        assertTrue("shown values stay readable", p.httpAddress.isEnabled());
    }

    @Test
    public void showThenCollectGivesTheSameSettingsAndDropsOuterSpaces() {
        NetworkPanel p = new NetworkPanel(false);
        Settings shown = SettingsStoreTest.manualProxy();
        p.show(shown);
        p.overrideHosts.setText("  a;b  ");
        Settings collected = new Settings();
        p.collect(collected);
        shown.overrideHosts = "a;b";
        assertEquals(shown.proxyValues(), collected.proxyValues());
    }

    @Test
    public void portFieldsTakeDigitsOnlyAndAtMostFive() {
        PortField f = new PortField();
        f.setText("80");
        f.replaceSelection("x");
        f.setText(f.getText() + "-1");
        assertEquals("80", f.getText());
        f.setText("655350");
        assertEquals("80", f.getText());
        f.setText("010");
        assertEquals(10, f.port());
        f.setText("");
        assertEquals(0, f.port());
        assertTrue(f.inRange());
    }

    @Test
    public void outOfRangePortsAreFound() {
        NetworkPanel p = new NetworkPanel(false);
        assertNull(p.firstBadPort());
        p.ftpPort.setText("65535");
        assertNull(p.firstBadPort());
        p.ftpPort.setText("65536");
        p.socksPort.setPort(-5);
        assertSame(p.ftpPort, p.firstBadPort());
        assertEquals("FTP", p.protocolOf(p.firstBadPort()));
        p.ftpPort.setText("1");
        assertSame(p.socksPort, p.firstBadPort());
        assertEquals("Socks", p.protocolOf(p.socksPort));
        assertEquals("The Socks port must be a number from 0 to 65535.", Settings.portMessage("Socks"));
    }

    @Test
    public void portsReadFromAFileAreShownEvenOutOfRange() {
        PortField f = new PortField();
        f.setPort(99999);
        assertEquals("99999", f.getText());
        assertFalse(f.inRange());
        f.setPort(0);
        assertEquals("", f.getText());
    }

    @Test
    public void theConnectionTestUsesTheShownSettingsAndCanBeCancelled() throws Exception {
        try (ServerSocket silent = new ServerSocket(0, 5, InetAddress.getByName("127.0.0.1"))) {
            NetworkPanel p = new NetworkPanel(false);
            ConnectionTestPanel t = p.connectionTest;
            assertEquals("https://updates.tavisto.com/", t.target.getText());
            DisplayTests.onEdt(() -> {
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
            assertTrue(DisplayTests.eventually(() -> !t.isRunning()));
            String result = DisplayTests.onEdt(() -> t.result.getText());
            assertTrue(result, result.matches("Connected to 127\\.0\\.0\\.1 directly in \\d+ ms\\."));
            assertTrue(t.test.isEnabled());
            assertFalse(t.cancel.isEnabled());
        }
    }
}
