package com.tavisto.launcher.utility;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertNull;
import static org.junit.Assert.assertTrue;

import java.util.Arrays;
import java.util.Collections;
import java.util.HashSet;
import java.util.LinkedHashMap;
import java.util.Map;
import org.junit.Test;

public class SettingsRewriterTest {
    private static Map<String, String> values(String... keysAndValues) {
        Map<String, String> m = new LinkedHashMap<String, String>();
        for (int i = 0; i < keysAndValues.length; i += 2) {
            m.put(keysAndValues[i], keysAndValues[i + 1]);
        }
        return m;
    }

    /** Every occurrence of every key name in text starts a line. */
    static void assertKeysOnlyAtLineStarts(String text) {
        for (String key : Keys.ALL) {
            for (int at = text.indexOf(key); at >= 0; at = text.indexOf(key, at + 1)) {
                assertTrue(key + " inside a line of:\n" + text,
                        at == 0 || text.charAt(at - 1) == '\n');
            }
        }
    }

    @Test
    public void keepsUnmanagedLinesInPlaceAndEndsEveryLineWithCrLf() {
        String old = "[launcher]\n# written by hand\r\n\r\nproxySelection=3\rcolour=blue \t\n\u00e9t\u00e9=1";
        String text = SettingsRewriter.compose(old, values(Keys.proxySelection, "1"));
        assertEquals("[launcher]\r\n# written by hand\r\n\r\nproxySelection=1\r\ncolour=blue \t\r\n\u00e9t\u00e9=1\r\n",
                text);
    }

    @Test
    public void replacesStaleAndCommentedCopiesWithOneCleanLine() {
        String old = "#proxySelection=3\nother\nproxySelection=2\n; old: httpProxyPort=8080 was here\nhttpProxyPort=81\n";
        Map<String, String> v = values(Keys.proxySelection, "1", Keys.httpProxyPort, "3128");
        String text = SettingsRewriter.compose(old, v);
        assertEquals("proxySelection=1\r\nother\r\nhttpProxyPort=3128\r\n", text);
        assertTrue(SettingsRewriter.readsBack(text, v));
    }

    @Test
    public void aLineHoldingSeveralKeysGivesEachItsOwnLine() {
        String text = SettingsRewriter.compose("x httpProxyPort=1 proxySelection=2\nkeep\n",
                values(Keys.proxySelection, "1", Keys.httpProxyPort, "80"));
        assertEquals("httpProxyPort=80\r\nproxySelection=1\r\nkeep\r\n", text);
    }

    @Test
    public void dropsManagedLinesOfKeysNotWrittenAndAppendsNewKeys() {
        String text = SettingsRewriter.compose("doNotRunUpdater=true\nkeep",
                values(Keys.javaConsoleSelection, "0", Keys.socksProxyPort, "1080"));
        assertEquals("keep\r\njavaConsoleSelection=0\r\nsocksProxyPort=1080\r\n", text);
        assertEquals("", SettingsRewriter.compose("", values()));
    }

    @Test
    public void keyNamesWithoutAnEqualsSignStayInTheirLines() {
        String text = SettingsRewriter.compose("# proxySelection: 0 browser, 1 manual\n",
                values(Keys.proxySelection, "1"));
        assertEquals("# proxySelection: 0 browser, 1 manual\r\nproxySelection=1\r\n", text);
        assertTrue(SettingsRewriter.readsBack(text, values(Keys.proxySelection, "1")));
    }

    @Test
    public void writesKeyNamesOnlyAtTheStartOfTheirOwnLines() {
        Map<String, String> all = new LinkedHashMap<String, String>();
        for (String key : Keys.ALL) {
            all.put(key, "v");
        }
        String[] olds = {"", "a\nb\n", "#" + Keys.overrideAppcastURL + "=x y " + Keys.doNotRunUpdater + "=true\n",
            "  " + Keys.proxySelection + "=1\n" + Keys.proxySelection + "=2\r"};
        for (String old : olds) {
            String text = SettingsRewriter.compose(old, all);
            assertKeysOnlyAtLineStarts(text);
            assertTrue(SettingsRewriter.readsBack(text, all));
            assertFalse("lone line feed in " + text, text.replace("\r\n", "").contains("\n"));
            assertFalse("lone carriage return in " + text, text.replace("\r\n", "").contains("\r"));
        }
    }

    @Test
    public void refusesValuesTheLauncherWouldMisread() {
        assertEquals("it contains \"proxySelection=\", which the launcher would read as one of its settings",
                SettingsRewriter.refusal("a;proxySelection=1"));
        assertEquals("it contains \"httpProxyPort=\", which the launcher would read as one of its settings",
                SettingsRewriter.refusal("x=1 httpProxyPort=2"));
        assertEquals("it contains a line break or another control character", SettingsRewriter.refusal("a\r\nb"));
        assertEquals("it contains a line break or another control character", SettingsRewriter.refusal("a\tb"));
        assertEquals("it contains characters outside the Western European (ISO 8859-1) set",
                SettingsRewriter.refusal("\u20ac"));
        assertNull(SettingsRewriter.refusal("proxySelection 1; a=b; #c; \\d; caf\u00e9"));
        assertNull(SettingsRewriter.refusal(""));
    }

    @Test
    public void keepsTheValuesOfKeysNotBeingEditedAsTheLauncherReadsThem() {
        SettingsText old = new SettingsText("#doNotRunUpdater=true\ndoNotRunUpdater=false\n"
                + "overrideAppcastURL= https://a/b \nautomaticallyDownloadUpdates=\n"
                + "doNotLaunchVcaSession=yes\nproxySelection=1");
        Map<String, String> kept = SettingsRewriter.kept(old, new HashSet<String>(Arrays.asList(Keys.proxySelection)));
        assertEquals(values(Keys.doNotLaunchVcaSession, "yes", Keys.doNotRunUpdater, "true",
                Keys.overrideAppcastURL, "https://a/b"), kept);
    }

    @Test
    public void reducesKeptTypedValuesThatHoldAnotherKeysAssignment() {
        SettingsText old = new SettingsText("doNotRunUpdater=true proxySelection=1\n"
                + "httpProxyPort=0x50 socksProxyPort=9\nftpProxyPort=x ftpProxyAddress=y\n"
                + "overrideAppcastURL=https://a/?proxySelection=2\n");
        Map<String, String> kept = SettingsRewriter.kept(old, Collections.<String>emptySet());
        assertFalse(kept.containsKey(Keys.doNotRunUpdater));
        assertEquals("80", kept.get(Keys.httpProxyPort));
        assertFalse(kept.containsKey(Keys.ftpProxyPort));
        assertEquals("https://a/?proxySelection=2", kept.get(Keys.overrideAppcastURL));
    }

    @Test
    public void readsBackRejectsTextsTheLauncherWouldReadOtherwise() {
        Map<String, String> v = values(Keys.httpProxyAddress, "host");
        assertTrue(SettingsRewriter.readsBack("httpProxyAddress=host\r\n", v));
        assertFalse(SettingsRewriter.readsBack("httpProxyAddress=host\r\nhttpProxyAddress=other\r\n", v));
        assertFalse(SettingsRewriter.readsBack("#httpProxyAddress=host\r\n", v));
        assertFalse(SettingsRewriter.readsBack("httpProxyAddress= host\r\n", values(Keys.httpProxyAddress, " host")));
        assertFalse(SettingsRewriter.readsBack("httpProxyAddress=host\r\nproxySelection=1\r\n", v));
    }

    @Test
    public void splitsLinesOnEveryKindOfLineEnd() {
        assertEquals(Arrays.asList("a", "b", "", "c", "d"), SettingsRewriter.lines("a\r\nb\n\nc\rd"));
        assertEquals(Arrays.asList("a", ""), SettingsRewriter.lines("a\r\r\n"));
        assertEquals(Collections.<String>emptyList(), SettingsRewriter.lines(""));
    }
}
