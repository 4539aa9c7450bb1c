package com.tavisto.launcher.utility;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;

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

    /** Every occurrence of every key name in text starts a line, and every line ends in CR LF. */
    static void assertCleanLines(String text) {
        for (String key : Keys.ALL) {
            for (int at = text.indexOf(key); at >= 0; at = text.indexOf(key, at + 1)) {
                assertTrue(key + " inside a line of:\n" + text, at == 0 || text.charAt(at - 1) == '\n');
            }
        }
        assertFalse("a lone line end in " + text, text.replace("\r\n", "").matches("(?s).*[\r\n].*"));
    }

    @Test
    public void managedLinesAreReplacedAndEveryOtherLineKept() {
        String p = Keys.proxySelection;
        String h = Keys.httpProxyPort;
        String[][] rows = {
            {"[launcher]\n# by hand\r\n\r\nproxySelection=3\rcolour=blue \t\n\u00e9t\u00e9=1", p, "1", "",
                "[launcher]\r\n# by hand\r\n\r\nproxySelection=1\r\ncolour=blue \t\r\n\u00e9t\u00e9=1\r\n"},
            {"#proxySelection=3\nother\nproxySelection=2\n; was httpProxyPort=8080\nhttpProxyPort=81\n", p, "1", "3128",
                "proxySelection=1\r\nother\r\nhttpProxyPort=3128\r\n"},
            {"x httpProxyPort=1 proxySelection=2\nkeep\n", p, "1", "80", "httpProxyPort=80\r\nproxySelection=1\r\nkeep\r\n"},
            {"# proxySelection: 0 browser, 1 manual\r\r\n", p, "1", "",
                "# proxySelection: 0 browser, 1 manual\r\n\r\nproxySelection=1\r\n"},
            {"doNotRunUpdater=true\nkeep", Keys.socksProxyPort, "1080", "", "keep\r\nsocksProxyPort=1080\r\n"},
            {"", p, "0", "", "proxySelection=0\r\n"},
        };
        for (String[] row : rows) {
            Map<String, String> v = row[3].isEmpty() ? values(row[1], row[2]) : values(row[1], row[2], h, row[3]);
            String text = SettingsRewriter.compose(row[0], v);
            assertEquals(row[0], row[4], text);
            assertTrue(text, SettingsRewriter.readsBack(text, v));
        }
    }

    @Test
    public void everyKeyIsWrittenOnceAtTheStartOfItsOwnLine() {
        Map<String, String> all = new LinkedHashMap<String, String>();
        for (String key : Keys.ALL) {
            all.put(key, "v");
        }
        String[] olds = {"", "a\nb\n", "#" + Keys.overrideAppcastURL + "=x y " + Keys.doNotRunUpdater + "=true\n",
            "  " + Keys.proxySelection + "=1\n" + Keys.proxySelection + "=2\r"};
        for (String old : olds) {
            String text = SettingsRewriter.compose(old, all);
            assertCleanLines(text);
            assertTrue(SettingsRewriter.readsBack(text, all));
        }
    }

    @Test
    public void valuesTheLauncherWouldMisreadAreRefused() {
        String key = "it contains \"%s=\", which the launcher would read as one of its settings";
        String control = "it contains a line break or another control character";
        String[][] rows = {
            {"a;proxySelection=1", String.format(key, Keys.proxySelection)},
            {"x=1 httpProxyPort=2 proxySelection=1", String.format(key, Keys.httpProxyPort)},
            {"a\r\nb", control}, {"a\tb", control}, {"a\u007fb", control},
            {"\u20ac", "it contains characters outside the Western European (ISO 8859-1) set"},
            {"proxySelection 1; a=b; #c; \\d; caf\u00e9\u00ff", null}, {"", null},
        };
        for (String[] row : rows) {
            assertEquals(row[0], row[1], SettingsRewriter.refusal(row[0]));
        }
    }

    @Test
    public void textsTheLauncherWouldReadOtherwiseDoNotReadBack() {
        Map<String, String> v = values(Keys.httpProxyAddress, "host");
        assertTrue(SettingsRewriter.readsBack("httpProxyAddress=host\r\n", v));
        assertFalse(SettingsRewriter.readsBack("httpProxyAddress=host\r\nhttpProxyAddress=other\r\n", v));
        assertFalse(SettingsRewriter.readsBack("#httpProxyAddress=host\r\n", v));
        assertFalse(SettingsRewriter.readsBack("httpProxyAddress= host\r\n", values(Keys.httpProxyAddress, " host")));
        assertFalse(SettingsRewriter.readsBack("httpProxyAddress=host\r\nproxySelection=1\r\n", v));
    }
}
