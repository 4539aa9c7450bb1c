// Reads the deployment.properties files that deployment_tests generated from awkward-settings.txt with
// java.util.Properties, as the runtime does: every value must be the setting exactly. Arguments: the
// settings file, the folder of the generated files.
import java.io.*;
import java.nio.charset.StandardCharsets;
import java.nio.file.*;
import java.util.*;

public class LoadGeneratedProperties {
    // Folder (proxy selection), setting, the property it feeds below "deployment.proxy.".
    static final String[] ROWS = {"manual httpProxyAddress http.host", "manual secureProxyAddress https.host",
        "manual ftpProxyAddress ftp.host", "manual socksProxyAddress socks.host",
        "manual doNotUseProxyServerAddressList bypass.list", "manual proxyOverrideHostsList override.hosts",
        "script automaticProxyConfigScriptLocation auto.config.url"};

    public static void main(String[] args) throws Exception {
        Map<String, String> settings = new HashMap<>();
        for (String line : new String(Files.readAllBytes(Paths.get(args[0])), StandardCharsets.ISO_8859_1).split("\n"))
            settings.put(line.substring(0, line.indexOf('=')), line.substring(line.indexOf('=') + 1));
        int failed = 0;
        for (String row : ROWS) {
            String[] r = row.split(" ");
            Properties read = new Properties();
            try (InputStream in = Files.newInputStream(Paths.get(args[1], r[0], "lib", "deployment.properties"))) {
                read.load(in);
            }
            String expected = settings.get(r[1]), actual = read.getProperty("deployment.proxy." + r[2]);
            if (expected == null || !expected.equals(actual)) {
                System.err.println(r[2] + ": expected [" + expected + "], Java read [" + actual + "]");
                ++failed;
            }
        }
        System.out.println(ROWS.length - failed + " of " + ROWS.length + " settings reach Java unchanged");
        System.exit(failed == 0 ? 0 : 1);
    }
}
