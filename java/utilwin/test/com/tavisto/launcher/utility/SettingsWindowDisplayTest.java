package com.tavisto.launcher.utility;

import static com.tavisto.launcher.utility.DisplayTests.eventually;
import static com.tavisto.launcher.utility.DisplayTests.onEdt;
import static org.junit.Assert.assertArrayEquals;
import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertNotNull;
import static org.junit.Assert.assertTrue;

import java.awt.event.WindowEvent;
import java.awt.image.BufferedImage;
import java.io.ByteArrayOutputStream;
import java.io.File;
import java.io.IOException;
import java.io.PipedInputStream;
import java.io.PipedOutputStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.util.Arrays;
import java.util.Collections;
import java.util.HashSet;
import java.util.Set;
import javax.imageio.ImageIO;
import javax.swing.JTextField;
import org.junit.After;
import org.junit.Before;
import org.junit.Rule;
import org.junit.Test;
import org.junit.rules.TemporaryFolder;

/** The real window, in this process, wired to the launcher's commands through pipes. */
public class SettingsWindowDisplayTest {
    @Rule
    public TemporaryFolder temp = new TemporaryFolder();

    private final PipedOutputStream launcher = new PipedOutputStream();
    private final ByteArrayOutputStream toLauncher = new ByteArrayOutputStream();
    private final RecordingDialogs dialogs = new RecordingDialogs(true);
    private final DisplayTests.RecordingExit exit = new DisplayTests.RecordingExit();
    private File settings;
    private File cache;

    @Before
    public void setUp() throws IOException {
        DisplayTests.requireDisplay();
        settings = new File(temp.getRoot(), "roaming/ConvocaLauncher.properties");
        cache = temp.newFolder("cache");
    }

    @After
    public void tearDown() throws Exception {
        launcher.close();
        DisplayTests.disposeAll();
    }

    private Main.Run start(String... extra) throws Exception {
        String[] args = {"-settings", settings.getPath(), "-cache", cache.getPath(), "-version", "1.5.0.0"};
        String[] all = Arrays.copyOf(args, args.length + extra.length);
        System.arraycopy(extra, 0, all, args.length, extra.length);
        CommandLine commandLine = CommandLine.parse(all);
        CommandChannel channel = new CommandChannel(new PipedInputStream(launcher), toLauncher);
        final Main.Run run = Main.start(commandLine, channel, dialogs, exit);
        assertTrue("the window opens", eventually(() -> run.window != null && run.window.frame.isShowing()));
        return run;
    }

    private void send(String text) throws IOException {
        launcher.write(text.getBytes(StandardCharsets.ISO_8859_1));
        launcher.flush();
    }

    private void write(File f, String text) throws IOException {
        f.getParentFile().mkdirs();
        Files.write(f.toPath(), text.getBytes(StandardCharsets.ISO_8859_1));
    }

    @Test
    public void shutdownWithCrLfClosesTheWindowWithStatusZero() throws Exception {
        Main.Run run = start();
        send("shutdown\r\n");
        run.commands.join(10000);
        assertTrue(eventually(() -> !run.window.frame.isDisplayable()));
        assertEquals(Collections.singletonList(0), exit.statuses());
    }

    @Test
    public void shutdownWithLineFeedOnlyClosesTheWindowToo() throws Exception {
        Main.Run run = start();
        send("shutdown\n");
        assertTrue(eventually(() -> !run.window.frame.isDisplayable()));
        assertEquals(Collections.singletonList(0), exit.statuses());
    }

    @Test
    public void unknownLinesAndTheEndOfInputLeaveTheWindowOpen() throws Exception {
        Main.Run run = start();
        send("hello\r\nupdate\r\nShutdown\r\n");
        launcher.close();
        run.commands.join(10000);
        assertFalse("the reader has seen the end of the input", run.commands.isAlive());
        onEdt(() -> { });
        assertTrue(onEdt(() -> run.window.frame.isShowing()));
        assertEquals(Collections.<Integer>emptyList(), exit.statuses());
    }

    @Test
    public void checkForUpdatesPrintsUpdate() throws Exception {
        Main.Run run = start();
        onEdt(() -> run.window.general.checkForUpdates.doClick());
        assertEquals("update\n", new String(toLauncher.toByteArray(), StandardCharsets.ISO_8859_1));
        assertTrue(onEdt(() -> run.window.frame.isShowing()));
    }

    @Test
    public void closingTheWindowExitsWithZeroAndSavesNothing() throws Exception {
        Main.Run run = start();
        onEdt(() -> {
            run.window.general.showConsole.setSelected(true);
            run.window.frame.dispatchEvent(new WindowEvent(run.window.frame, WindowEvent.WINDOW_CLOSING));
        });
        assertEquals(Collections.singletonList(0), exit.statuses());
        assertFalse(settings.exists());
        assertFalse(onEdt(() -> run.window.frame.isDisplayable()));
    }

    @Test
    public void escapeAndCancelCloseWithoutSaving() throws Exception {
        Main.Run run = start();
        onEdt(() -> {
            run.window.general.showConsole.setSelected(true);
            run.window.frame.getRootPane().getActionForKeyStroke(SettingsWindow.ESCAPE).actionPerformed(null);
            run.window.cancel.doClick();
        });
        assertEquals(Collections.singletonList(0), exit.statuses());
        assertFalse(settings.exists());
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
        assertEquals(Collections.singletonList(0), exit.statuses());
        LauncherRules l = new LauncherRules(Files.readAllBytes(settings.toPath()));
        assertEquals(1, l.getInt(Keys.javaConsoleSelection, -1));
        assertEquals(1, l.getInt(Keys.proxySelection, -1));
        assertEquals("proxy.example.com", l.getString(Keys.httpProxyAddress, ""));
        assertEquals(80, l.getInt(Keys.httpProxyPort, -1));
        assertEquals(Collections.<String>emptyList(), dialogs.shown());
    }

    @Test
    public void anOutOfRangePortIsRefusedAndTheWindowStaysOpen() throws Exception {
        write(settings, "proxySelection=1\r\n");
        byte[] before = Files.readAllBytes(settings.toPath());
        Main.Run run = start();
        onEdt(() -> {
            run.window.network.ftpPort.setText("65536");
            run.window.ok.doClick();
        });
        assertEquals(Arrays.asList("error: Convoca Launcher Settings: The FTP port must be a number from 0 to 65535."),
                dialogs.shown());
        assertEquals(Collections.<Integer>emptyList(), exit.statuses());
        assertArrayEquals(before, Files.readAllBytes(settings.toPath()));
        assertTrue(onEdt(() -> run.window.frame.isShowing()
                && run.window.tabs.getSelectedComponent() == run.window.network));
    }

    @Test
    public void aRefusedValueIsReportedAndNothingIsWritten() throws Exception {
        write(settings, "proxySelection=1\r\n");
        byte[] before = Files.readAllBytes(settings.toPath());
        Main.Run run = start();
        onEdt(() -> {
            run.window.network.bypassList.setText("a;proxySelection=3");
            run.window.apply.doClick();
        });
        assertEquals(Arrays.asList("error: Convoca Launcher Settings: The bypass list cannot be saved, because it"
                + " contains \"proxySelection=\", which the launcher would read as one of its settings."),
                dialogs.shown());
        assertArrayEquals(before, Files.readAllBytes(settings.toPath()));
        assertTrue(onEdt(() -> run.window.apply.isEnabled()));
    }

    @Test
    public void withAdminTheProxySettingsAreReadOnlyAndTheAdministratorsFileIsNeverWritten() throws Exception {
        File admin = new File(temp.getRoot(), "Program Files/" + Main.ADMIN_FILE);
        write(admin, "proxySelection=1\r\nhttpProxyAddress=corporate\r\nhttpProxyPort=3128\r\n");
        byte[] before = Files.readAllBytes(admin.toPath());
        long time = admin.lastModified();
        SettingsWindow window = onEdt(() -> {
            SettingsWindow w = new SettingsWindow("1.5.0.0", cache,
                    new SettingsStore(new SettingsFile(settings), new SettingsFile(admin)),
                    new CommandChannel(new PipedInputStream(launcher), toLauncher), dialogs, exit);
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
        assertEquals(Collections.singletonList(0), exit.statuses());
        assertEquals("javaConsoleSelection=0\r\n",
                new String(Files.readAllBytes(settings.toPath()), StandardCharsets.ISO_8859_1));
        assertArrayEquals(before, Files.readAllBytes(admin.toPath()));
        assertEquals(time, admin.lastModified());
        assertArrayEquals(new String[] {Main.ADMIN_FILE}, admin.getParentFile().list());
    }

    @Test
    public void anUnreadableSettingsFileIsShownButNeverOverwritten() throws Exception {
        assertTrue(settings.mkdirs());
        Main.Run run = start();
        String shown = dialogs.await(1).get(0);
        assertTrue(shown, shown.startsWith("error: Convoca Launcher Settings: The settings could not be read from "
                + settings + ": "));
        assertTrue(shown, shown.endsWith(".\nClose the window and open it again to change them."));
        onEdt(() -> {
            assertFalse(run.window.general.showConsole.isEnabled());
            assertFalse(run.window.network.httpAddress.isEditable());
            run.window.general.showConsole.setSelected(true);
            assertFalse(run.window.apply.isEnabled());
            run.window.ok.doClick();
        });
        assertEquals(Collections.singletonList(0), exit.statuses());
        assertTrue(settings.isDirectory());
    }

    @Test
    public void theTestAddressIsNoSetting() throws Exception {
        Main.Run run = start();
        onEdt(() -> {
            run.window.network.connectionTest.target.setText("https://example.test/");
            assertFalse(run.window.apply.isEnabled());
        });
    }

    @Test
    public void everyTabIsDrawn() throws Exception {
        write(settings, Screenshots.SAMPLE);
        Main.Run run = start();
        String folder = System.getProperty("utilwin.screenshots");
        String[] names = {"general", "network", "cache", "support"};
        for (int tab = 0; tab < names.length; tab++) {
            BufferedImage image = Screenshots.render(run.window, tab);
            assertTrue(names[tab] + " looks blank", colours(image) > 8);
            if (folder != null) {
                File out = new File(folder);
                assertTrue(out.isDirectory() || out.mkdirs());
                assertTrue(ImageIO.write(image, "png", new File(out, names[tab] + ".png")));
            }
        }
        assertNotNull(run.window);
    }

    private static int colours(BufferedImage image) {
        Set<Integer> seen = new HashSet<Integer>();
        for (int y = 0; y < image.getHeight(); y += 3) {
            for (int x = 0; x < image.getWidth(); x += 3) {
                seen.add(image.getRGB(x, y));
            }
        }
        return seen.size();
    }
}
