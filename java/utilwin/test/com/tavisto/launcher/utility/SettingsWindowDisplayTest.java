package com.tavisto.launcher.utility;

import static com.tavisto.launcher.utility.Fixtures.eventually;
import static com.tavisto.launcher.utility.Fixtures.onEdt;
import static org.junit.Assert.assertArrayEquals;
import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;

import java.awt.event.WindowEvent;
import java.awt.image.BufferedImage;
import java.io.ByteArrayOutputStream;
import java.io.File;
import java.io.IOException;
import java.io.PipedInputStream;
import java.io.PipedOutputStream;
import java.nio.charset.StandardCharsets;
import java.util.Arrays;
import java.util.Collections;
import java.util.HashSet;
import java.util.List;
import java.util.Set;
import java.util.function.Consumer;
import javax.imageio.ImageIO;
import javax.swing.JTextField;
import org.junit.After;
import org.junit.Before;
import org.junit.Rule;
import org.junit.Test;
import org.junit.rules.TemporaryFolder;

/** The real window, in this process, wired to the launcher's commands through pipes. */
public class SettingsWindowDisplayTest {
    private static final String TITLE = "Convoca Launcher Settings: ";
    private static final List<Integer> EXITED = Collections.singletonList(0);
    private static final List<Integer> OPEN = Collections.emptyList();

    @Rule
    public TemporaryFolder temp = new TemporaryFolder();

    private PipedOutputStream launcher = new PipedOutputStream();
    private final ByteArrayOutputStream toLauncher = new ByteArrayOutputStream();
    private Fixtures.RecordingDialogs dialogs = new Fixtures.RecordingDialogs(true);
    private Fixtures.RecordingExit exit = new Fixtures.RecordingExit();
    private File settings;
    private File cache;

    @Before
    public void setUp() throws IOException {
        Fixtures.requireDisplay();
        settings = new File(temp.getRoot(), "roaming/ConvocaLauncher.properties");
        cache = temp.newFolder("cache");
    }

    @After
    public void tearDown() throws Exception {
        launcher.close();
        Fixtures.disposeAll();
    }

    /** A fresh window on the settings file, with fresh pipes, boxes and exits. */
    private Main.Run start() throws Exception {
        launcher.close();
        launcher = new PipedOutputStream();
        dialogs = new Fixtures.RecordingDialogs(true);
        exit = new Fixtures.RecordingExit();
        CommandLine commandLine = CommandLine.parse(new String[] {"-settings", settings.getPath(), "-cache",
            cache.getPath(), "-version", "1.5.0.0"});
        Main.Run run = Main.start(commandLine, new CommandChannel(new PipedInputStream(launcher), toLauncher), dialogs, exit);
        assertTrue("the window opens", eventually(() -> run.window != null && run.window.frame.isShowing()));
        return run;
    }

    private void send(String text) throws IOException {
        launcher.write(text.getBytes(StandardCharsets.ISO_8859_1));
        launcher.flush();
    }

    @Test
    public void shutdownClosesTheWindowWithStatusZero() throws Exception {
        Main.Run run = start();
        send("shutdown\r\n");
        run.commands.join(10000);
        assertTrue(eventually(() -> !run.window.frame.isDisplayable()));
        assertEquals(EXITED, exit.statuses());
    }

    @Test
    public void updateRequestsOtherLinesAndTheEndOfInputLeaveTheWindowOpen() throws Exception {
        Main.Run run = start();
        onEdt(() -> {
            run.window.general.checkForUpdates.doClick();
            run.window.network.connectionTest.target.setText("https://example.test/");
            assertFalse("the test address is no setting", run.window.apply.isEnabled());
        });
        assertEquals("update\n", new String(toLauncher.toByteArray(), StandardCharsets.ISO_8859_1));
        send("hello\r\nupdate\r\nShutdown\r\n");
        launcher.close();
        run.commands.join(10000);
        assertFalse("the reader has seen the end of the input", run.commands.isAlive());
        assertTrue(onEdt(() -> run.window.frame.isShowing()));
        assertEquals(OPEN, exit.statuses());
    }

    @Test
    public void closingCancelAndEscapeExitWithZeroAndSaveNothing() throws Exception {
        List<Consumer<SettingsWindow>> closers = Arrays.asList(
            w -> w.frame.dispatchEvent(new WindowEvent(w.frame, WindowEvent.WINDOW_CLOSING)),
            w -> w.cancel.doClick(),
            w -> w.frame.getRootPane().getActionForKeyStroke(SettingsWindow.ESCAPE).actionPerformed(null));
        for (Consumer<SettingsWindow> closer : closers) {
            Main.Run run = start();
            onEdt(() -> {
                run.window.general.showConsole.setSelected(true);
                closer.accept(run.window);
            });
            assertEquals(EXITED, exit.statuses());
            assertFalse(onEdt(() -> run.window.frame.isDisplayable()));
            assertFalse(settings.exists());
        }
    }

    @Test
    public void okSavesTheSettingsCreatesTheFolderAndExitsWithZero() throws Exception {
        Main.Run run = start();
        onEdt(() -> {
            NetworkPanel n = run.window.network;
            run.window.general.hideConsole.setSelected(true);
            n.manual.setSelected(true);
            n.httpAddress.setText(" proxy.example.com ");
            n.httpPort.setText("080");
            assertTrue(run.window.apply.isEnabled());
            run.window.ok.doClick();
        });
        assertEquals(EXITED, exit.statuses());
        SettingsText saved = new SettingsText(Fixtures.text(settings));
        assertEquals(1, saved.getInt(Keys.javaConsoleSelection, -1));
        assertEquals(1, saved.getInt(Keys.proxySelection, -1));
        assertEquals("proxy.example.com", saved.getString(Keys.httpProxyAddress, ""));
        assertEquals(80, saved.getInt(Keys.httpProxyPort, -1));
        assertEquals(Collections.<String>emptyList(), dialogs.shown());
    }

    @Test
    public void refusedSettingsAreReportedTheWindowStaysOpenAndNothingIsWritten() throws Exception {
        String[][] rows = {
            {"ftpPort", "65536", "The FTP port must be a number from 0 to 65535."},
            {"bypassList", "a;proxySelection=3", "The bypass list cannot be saved, because it contains"
                + " \"proxySelection=\", which the launcher would read as one of its settings."},
        };
        Fixtures.write(settings, "proxySelection=1\r\n");
        for (String[] row : rows) {
            boolean port = row[0].equals("ftpPort");
            Main.Run run = start();
            onEdt(() -> {
                (port ? run.window.network.ftpPort : run.window.network.bypassList).setText(row[1]);
                (port ? run.window.ok : run.window.apply).doClick();
            });
            assertEquals(Arrays.asList("error: " + TITLE + row[2]), dialogs.shown());
            assertEquals(OPEN, exit.statuses());
            assertEquals("proxySelection=1\r\n", Fixtures.text(settings));
            assertTrue(onEdt(() -> run.window.frame.isShowing() && run.window.apply.isEnabled()
                    && (!port || run.window.tabs.getSelectedComponent() == run.window.network)));
            Fixtures.disposeAll();
        }
    }

    @Test
    public void withAdminTheProxySettingsAreReadOnlyAndTheAdministratorsFileIsNeverWritten() throws Exception {
        File admin = Fixtures.write(new File(temp.getRoot(), "Program Files/" + Main.ADMIN_FILE),
                "proxySelection=1\r\nhttpProxyAddress=corporate\r\nhttpProxyPort=3128\r\n");
        long time = admin.lastModified();
        SettingsWindow window = onEdt(() -> {
            SettingsWindow w = new SettingsWindow("1.5.0.0", cache, new SettingsStore(new SettingsFile(settings),
                    new SettingsFile(admin)), new CommandChannel(new PipedInputStream(), toLauncher), dialogs, exit);
            w.show();
            return w;
        });
        assertTrue(eventually(() -> window.frame.isShowing()));
        onEdt(() -> {
            NetworkPanel n = window.network;
            assertTrue(n.adminNotice.isVisible());
            assertTrue(n.manual.isSelected());
            assertFalse(n.manual.isEnabled());
            assertEquals("corporate", n.httpAddress.getText());
            for (JTextField f : n.textFields()) {
                assertFalse(f.isEditable());
            }
            window.general.showConsole.setSelected(true);
            window.ok.doClick();
        });
        assertEquals(EXITED, exit.statuses());
        assertEquals("javaConsoleSelection=0\r\n", Fixtures.text(settings));
        assertEquals("proxySelection=1\r\nhttpProxyAddress=corporate\r\nhttpProxyPort=3128\r\n", Fixtures.text(admin));
        assertEquals(time, admin.lastModified());
        assertArrayEquals(new String[] {Main.ADMIN_FILE}, admin.getParentFile().list());
    }

    @Test
    public void anUnreadableSettingsFileIsShownButNeverOverwritten() throws Exception {
        assertTrue(settings.mkdirs());
        Main.Run run = start();
        String shown = dialogs.await(1).get(0);
        assertTrue(shown, shown.startsWith("error: " + TITLE + "The settings could not be read from " + settings + ": "));
        assertTrue(shown, shown.endsWith(".\nClose the window and open it again to change them."));
        onEdt(() -> {
            assertFalse(run.window.general.showConsole.isEnabled());
            assertFalse(run.window.network.httpAddress.isEditable());
            run.window.general.showConsole.setSelected(true);
            assertFalse(run.window.apply.isEnabled());
            run.window.ok.doClick();
        });
        assertEquals(EXITED, exit.statuses());
        assertTrue(settings.isDirectory());
    }

    @Test
    public void everyTabIsDrawn() throws Exception {
        Fixtures.write(settings, Screenshots.SAMPLE);
        Main.Run run = start();
        String folder = System.getProperty("utilwin.screenshots");
        String[] names = {"general", "network", "cache", "support"};
        for (int tab = 0; tab < names.length; tab++) {
            BufferedImage image = Screenshots.render(run.window, tab);
            Set<Integer> colours = new HashSet<Integer>();
            for (int y = 0; y < image.getHeight(); y += 3) {
                for (int x = 0; x < image.getWidth(); x += 3) {
                    colours.add(image.getRGB(x, y));
                }
            }
            assertTrue(names[tab] + " looks blank", colours.size() > 8);
            if (folder != null) {
                assertTrue(new File(folder).isDirectory() || new File(folder).mkdirs());
                assertTrue(ImageIO.write(image, "png", new File(folder, names[tab] + ".png")));
            }
        }
    }
}
