// Reads the deployment.properties files that deployment_tests generated from
// awkward-settings.txt with java.util.Properties, as the runtime does, and
// checks that every value is the setting exactly. Arguments: the settings
// file, the folder of the generated files.
import java.io.InputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.Paths;
import java.util.HashMap;
import java.util.Map;
import java.util.Properties;

public class LoadGeneratedProperties {
    // Folder (proxy selection), setting, the property it feeds.
    static final String[][] ROWS = {
        {"manual", "httpProxyAddress", "deployment.proxy.http.host"},
        {"manual", "secureProxyAddress", "deployment.proxy.https.host"},
        {"manual", "ftpProxyAddress", "deployment.proxy.ftp.host"},
        {"manual", "socksProxyAddress", "deployment.proxy.socks.host"},
        {"manual", "doNotUseProxyServerAddressList", "deployment.proxy.bypass.list"},
        {"manual", "proxyOverrideHostsList", "deployment.proxy.override.hosts"},
        {"script", "automaticProxyConfigScriptLocation", "deployment.proxy.auto.config.url"},
    };

    public static void main(String[] args) throws Exception {
        Map<String, String> settings = new HashMap<>();
        String text = new String(Files.readAllBytes(Paths.get(args[0])), StandardCharsets.ISO_8859_1);
        for (String line : text.split("\n")) {
            int equals = line.indexOf('=');
            settings.put(line.substring(0, equals), line.substring(equals + 1));
        }
        int failed = 0;
        for (String[] row : ROWS) {
            String expected = settings.get(row[1]);
            String actual = load(Paths.get(args[1], row[0], "lib", "deployment.properties")).getProperty(row[2]);
            if (expected == null || !expected.equals(actual)) {
                System.err.println(row[2] + ": expected [" + expected + "], Java read [" + actual + "]");
                ++failed;
            }
        }
        System.out.println(ROWS.length - failed + " of " + ROWS.length + " settings reach Java unchanged");
        System.exit(failed == 0 ? 0 : 1);
    }

    static Properties load(Path file) throws Exception {
        Properties properties = new Properties();
        try (InputStream in = Files.newInputStream(file)) {
            properties.load(in);
        }
        return properties;
    }
}
