package com.tavisto.launcher.utility.ui;

import com.tavisto.launcher.utility.settings.Names;
import com.tavisto.launcher.utility.settings.SettingsFile;
import com.tavisto.launcher.utility.settings.SettingsStore;
import java.awt.Graphics2D;
import java.awt.image.BufferedImage;
import java.io.File;
import java.io.IOException;
import java.net.InetAddress;
import java.net.ServerSocket;
import java.lang.reflect.InvocationTargetException;
import java.nio.charset.Charset;
import java.nio.file.Files;
import javax.imageio.ImageIO;
import javax.swing.JRootPane;
import javax.swing.SwingUtilities;

/**
 * Developer tool, not used by the launcher: renders each tab of the window,
 * filled with sample settings, and the network tab after a connection test
 * against a listener on this computer, to PNG files in the folder given, so that a
 * person can look at them. Needs a display.
 */
public final class Screenshots {
    static final String SAMPLE = "# Proxy for the office network\r\n"
            + "proxySelection=1\r\n"
            + "httpProxyAddress=proxy.example.com\r\nhttpProxyPort=8080\r\n"
            + "secureProxyAddress=proxy.example.com\r\nsecureProxyPort=8443\r\n"
            + "socksProxyAddress=socks.example.com\r\nsocksProxyPort=1080\r\n"
            + "doNotUseProxyServerAddressList=*.example.com;10.*\r\n"
            + "bypassProxyServerForLocalAddresses=true\r\n"
            + "javaConsoleSelection=1\r\n";
    static final String ADMIN_SAMPLE = "proxySelection=2\r\n"
            + "automaticProxyConfigScriptLocation=http://wpad.example.com/proxy.pac\r\n";

    private Screenshots() {
    }

    public static void main(String[] args) throws Exception {
        if (args.length != 1) {
            System.err.println("Usage: java -classpath utilwin.jar:<tools> " + Screenshots.class.getName() + " <folder>");
            System.exit(2);
        }
        File out = new File(args[0]);
        Files.createDirectories(out.toPath());
        File work = Files.createTempDirectory("utilitywindow-screenshots").toFile();
        try {
            SwingUtilities.invokeAndWait(new Runnable() {
                @Override
                public void run() {
                    Startup.useSystemLookAndFeel();
                }
            });
            File user = write(new File(work, "ConvocaLauncher.properties"), SAMPLE);
            File cache = new File(work, "cache");
            shoot(open(new SettingsStore(new SettingsFile(user), null), cache), out,
                    new String[] {"general", "network", "cache", "support"});
            File userOnly = write(new File(work, "ConvocaLauncherUser.properties"), "javaConsoleSelection=0\r\n");
            File admin = write(new File(work, Names.ADMIN_PROPERTIES), ADMIN_SAMPLE);
            shoot(open(new SettingsStore(new SettingsFile(userOnly), new SettingsFile(admin)), cache), out,
                    new String[] {null, "network-admin", null, null});
            File direct = write(new File(work, "ConvocaLauncherDirect.properties"), "proxySelection=3\r\n");
            try (ServerSocket listener = new ServerSocket(0, 1, InetAddress.getByName("127.0.0.1"))) {
                UtilityWindow window = open(new SettingsStore(new SettingsFile(direct), null), cache);
                testConnection(window, "http://127.0.0.1:" + listener.getLocalPort() + "/");
                shoot(window, out, new String[] {null, "network-test", null, null});
            }
        } finally {
            for (File f : work.listFiles()) {
                Files.delete(f.toPath());
            }
            Files.delete(work.toPath());
        }
        System.exit(0);
    }

    private static File write(File file, String text) throws IOException {
        Files.write(file.toPath(), text.getBytes(Charset.forName("ISO-8859-1")));
        return file;
    }

    private static UtilityWindow open(final SettingsStore store, final File cache) throws Exception {
        final UtilityWindow[] window = new UtilityWindow[1];
        SwingUtilities.invokeAndWait(new Runnable() {
            @Override
            public void run() {
                window[0] = new UtilityWindow("1.5.0.0", cache, store, new UpdateRequests() {
                    @Override
                    public void requestUpdate() {
                    }
                }, new SwingDialogs(), new Exit() {
                    @Override
                    public void exit(int status) {
                    }
                });
                window[0].show();
            }
        });
        return window[0];
    }

    /** Runs the network tab's connection test against address and waits for its result. */
    static void testConnection(final UtilityWindow window, final String address) throws Exception {
        SwingUtilities.invokeAndWait(new Runnable() {
            @Override
            public void run() {
                window.network.connectionTest.target.setText(address);
                window.network.connectionTest.test.doClick();
            }
        });
        final boolean[] running = {true};
        for (int i = 0; i < 300 && running[0]; i++) {
            Thread.sleep(50);
            SwingUtilities.invokeAndWait(new Runnable() {
                @Override
                public void run() {
                    running[0] = window.network.connectionTest.isRunning();
                }
            });
        }
    }

    /** Writes tab i to names[i] + ".png" where names[i] is not null, then closes the window. */
    static void shoot(final UtilityWindow window, File out, String[] names) throws Exception {
        for (int i = 0; i < names.length; i++) {
            if (names[i] == null) {
                continue;
            }
            BufferedImage image = render(window, i);
            File file = new File(out, names[i] + ".png");
            if (!ImageIO.write(image, "png", file)) {
                throw new IOException("no PNG writer for " + file);
            }
            System.out.println(file.getPath());
        }
        SwingUtilities.invokeAndWait(new Runnable() {
            @Override
            public void run() {
                window.close();
            }
        });
    }

    /** Tab i of the window as it is painted on the screen. */
    static BufferedImage render(final UtilityWindow window, final int tab)
            throws InterruptedException, InvocationTargetException {
        final BufferedImage[] image = new BufferedImage[1];
        SwingUtilities.invokeAndWait(new Runnable() {
            @Override
            public void run() {
                window.tabs.setSelectedIndex(tab);
                window.frame.validate();
            }
        });
        SwingUtilities.invokeAndWait(new Runnable() {
            @Override
            public void run() {
                JRootPane root = window.frame.getRootPane();
                image[0] = new BufferedImage(root.getWidth(), root.getHeight(), BufferedImage.TYPE_INT_RGB);
                Graphics2D g = image[0].createGraphics();
                try {
                    root.paint(g);
                } finally {
                    g.dispose();
                }
            }
        });
        return image[0];
    }
}
