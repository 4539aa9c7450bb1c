package com.tavisto.launcher.utility;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertNull;
import static org.junit.Assert.assertTrue;

import java.nio.charset.StandardCharsets;
import org.junit.Test;

/** The window shows what the launcher would use, so both must read alike. */
public class SettingsTextTest {
    private static SettingsText text(String s) {
        return new SettingsText(s);
    }

    private static LauncherRules launcher(String s) {
        return new LauncherRules(s.getBytes(StandardCharsets.ISO_8859_1));
    }

    @Test
    public void readsTheLaunchersEdgeCases() {
        SettingsText t = text("proxySelection=1\nhttpProxyPort=80\n");
        assertEquals(1, t.getInt(Keys.proxySelection, 0));
        assertEquals(80, t.getInt(Keys.httpProxyPort, 0));
        assertEquals(80, text("httpProxyPort=0x50").getInt(Keys.httpProxyPort, 0));
        assertEquals(8, text("httpProxyPort=010").getInt(Keys.httpProxyPort, 0));
        assertEquals(0, text("httpProxyPort=abc").getInt(Keys.httpProxyPort, 0));
        assertFalse(text("doNotRunUpdater=True").getBool(Keys.doNotRunUpdater, false));
        assertTrue(text("doNotRunUpdater=true   ").getBool(Keys.doNotRunUpdater, false));
        assertEquals("", text("httpProxyAddress =host").getValue(Keys.httpProxyAddress));
        assertTrue(text("#doNotRunUpdater=true").getBool(Keys.doNotRunUpdater, false));
        assertEquals("host", text("httpProxyAddress=host\r\nx=y").getValue(Keys.httpProxyAddress));
        assertEquals("fallback", text("overrideAppcastURL=   \r\n").getString(Keys.overrideAppcastURL, "fallback"));
        assertEquals("first", text("a=b proxyOverrideHostsList=first\nproxyOverrideHostsList=second")
                .getValue(Keys.proxyOverrideHostsList));
        assertEquals("\tx\\n", text("overrideAppcastURL= \tx\\n ").getValue(Keys.overrideAppcastURL));
    }

    @Test
    public void scansIntegersAsThePlatformDoes() {
        assertEquals(Integer.valueOf(-12), SettingsText.scanInteger(" -12abc"));
        assertEquals(Integer.valueOf(255), SettingsText.scanInteger("0XfF"));
        assertEquals(Integer.valueOf(0), SettingsText.scanInteger("0"));
        assertEquals(Integer.valueOf(0), SettingsText.scanInteger("09"));
        assertEquals(Integer.valueOf(7), SettingsText.scanInteger("+7 8"));
        assertNull(SettingsText.scanInteger("-"));
        assertNull(SettingsText.scanInteger("x1"));
        assertNull(SettingsText.scanInteger(""));
    }

    @Test
    public void agreesWithTheLaunchersReaderOnAwkwardFiles() {
        String[] files = {
            "", "proxySelection=", "proxySelection=2", "xproxySelection=3\r\nproxySelection=1",
            "proxySelection = 1", "proxySelection=  0x3  \rhttpProxyPort=-0010",
            "#httpProxyPort=8080\n!httpProxyPort=9090", "httpProxyPort=99999999999",
            "useSameProxyServerForAllProctocols=false\nuseSameProxyServerForAllProctocols=true",
            "bypassProxyServerForLocalAddresses=TRUE", "javaConsoleSelection=\t1",
            "httpProxyAddress=caf\u00e9 host \r\n", "socksProxyAddress=a\0socksProxyPort=5",
        };
        for (String file : files) {
            SettingsText window = text(file.substring(0, file.indexOf('\0') < 0 ? file.length() : file.indexOf('\0')));
            LauncherRules launcher = launcher(file);
            for (String key : Keys.ALL) {
                String where = "key " + key + " in \"" + file + "\"";
                assertEquals(where, launcher.getValue(key), window.getValue(key));
                assertEquals(where, launcher.getInt(key, -7), window.getInt(key, -7));
                assertEquals(where, launcher.getBool(key, true), window.getBool(key, true));
            }
        }
    }

    @Test
    public void noKeyEndsAnotherKeysName() {
        for (String a : Keys.ALL) {
            for (String b : Keys.ALL) {
                if (!a.equals(b)) {
                    assertFalse(a + " ends " + b, b.endsWith(a));
                }
            }
        }
        assertEquals(21, Keys.ALL.size());
    }

    @Test
    public void findsTheEarliestAssignmentInAText() {
        assertEquals(Keys.proxySelection, Keys.firstAssignmentIn("a;proxySelection=1;httpProxyPort=2"));
        assertEquals(Keys.httpProxyPort, Keys.firstAssignmentIn("httpProxyPort=2 proxySelection=1"));
        assertNull(Keys.firstAssignmentIn("proxySelection is 1; httpProxyPort =2"));
    }
}
