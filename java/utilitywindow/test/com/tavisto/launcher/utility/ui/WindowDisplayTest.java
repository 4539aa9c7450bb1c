package com.tavisto.launcher.utility.ui;

import com.tavisto.launcher.utility.settings.*;
import static com.tavisto.launcher.utility.Fixtures.*;
import static org.junit.Assert.*;

import java.awt.Frame;
import java.awt.event.WindowEvent;
import java.io.*;
import java.nio.charset.StandardCharsets;
import java.util.*;
import java.util.concurrent.TimeUnit;
import java.util.function.Consumer;
import java.util.stream.Stream;
import com.tavisto.launcher.utility.*;
import com.tavisto.launcher.utility.net.ConnectionTest;
import org.junit.*;
import org.junit.rules.TemporaryFolder;

/** The real window: in this process, wired to the launcher's commands through pipes, or in a process of its own. */
public class WindowDisplayTest {
    private static final String TITLE = "Convoca Launcher Settings: ";
    private static final List<Integer> EXITED = Collections.singletonList(0);

    @Rule
    public TemporaryFolder temp = new TemporaryFolder();
    private final ByteArrayOutputStream toLauncher = new ByteArrayOutputStream();
    private final List<String> shown = new Vector<String>();
    private final List<Integer> exits = Collections.synchronizedList(new ArrayList<Integer>());
    private final List<Process> started = new ArrayList<Process>();
    private File settings, cache, stderr;

    @Before
    public void setUp() throws IOException {
        settings = new File(temp.getRoot(), "roaming/ConvocaLauncher.properties");
        cache = temp.newFolder("cache");
        stderr = temp.newFile("stderr");
    }

    @After
    public void tearDown() throws Exception {
        onEdt(() -> Stream.of(Frame.getFrames()).forEach(Frame::dispose));
        started.forEach(Process::destroyForcibly);
    }

    /** A window on the settings file; the launcher sends no command. */
    private Startup.Run start() throws Exception {
        Startup.Run run = Startup.start(CommandLine.parse(new String[] {"-settings", settings.getPath(), "-cache",
            cache.getPath(), "-version", "1.5.0.0"}), new CommandChannel(new ByteArrayInputStream(new byte[0]), toLauncher),
                Fixtures.dialogs(Dialogs.class, shown, true), exits::add);
        assertTrue("the window opens", eventually(() -> run.window != null && run.window.frame.isShowing()));
        return run;
    }

    @Test
    public void aRefusedPortIsReportedOnApplyAndOkAndNothingIsWrittenThenOkSavesTheSettingsAndExitsWithZero() throws Exception {
        Fixtures.write(settings, "proxySelection=1\r\n");
        Startup.Run run = start();
        onEdt(() -> {
            run.window.network.ftpPort.setText("65536");
            run.window.apply.doClick();
            run.window.ok.doClick();
        });
        assertEquals(Collections.nCopies(2, "error: " + TITLE + "The FTP port must be a number from 0 to 65535."), shown);
        assertEquals(Collections.emptyList(), exits);
        assertEquals("proxySelection=1\r\n", Fixtures.text(settings));
        assertTrue(onEdt(() -> run.window.frame.isShowing() && run.window.apply.isEnabled()
                && run.window.tabs.getSelectedComponent() == run.window.network));
        shown.clear();
        onEdt(() -> {
            NetworkPanel n = run.window.network;
            n.ftpPort.setText("");
            run.window.general.checkForUpdates.doClick();
            run.window.general.hideConsole.setSelected(true);
            n.httpAddress.setText(" proxy.example.com ");
            n.httpPort.setText("080");
            run.window.ok.doClick();
        });
        assertEquals("update\n", new String(toLauncher.toByteArray(), StandardCharsets.ISO_8859_1));
        assertEquals(EXITED, exits);
        Settings saved = Fixtures.settings(Fixtures.text(settings));
        assertEquals("1 1 proxy.example.com 80", saved.consoleSelection + " " + saved.proxySelection + " "
                + saved.httpAddress + " " + saved.httpPort);
        assertEquals(Collections.<String>emptyList(), shown);
    }

    @Test
    public void closingCancelAndEscapeExitWithZeroSaveNothingAndCancelTheTest() throws Exception {
        List<Consumer<UtilityWindow>> closers = Arrays.asList(
            w -> w.frame.dispatchEvent(new WindowEvent(w.frame, WindowEvent.WINDOW_CLOSING)),
            w -> w.cancel.doClick(),
            w -> w.frame.getRootPane().getActionForKeyStroke(UtilityWindow.ESCAPE).actionPerformed(null));
        for (Consumer<UtilityWindow> closer : closers) {
            Startup.Run run = start();
            ConnectionTestPanel test = run.window.network.connectionTest;
            onEdt(() -> {
                run.window.general.showConsole.setSelected(true);
                test.test.doClick();
                closer.accept(run.window);
            });
            assertFalse(onEdt(() -> run.window.frame.isDisplayable()));
            assertEquals(EXITED, exits);
            assertFalse(settings.exists());
            assertEquals(ConnectionTest.CANCELLED, onEdt(() -> test.result.getText()));
            exits.clear();
        }
    }

    @Test
    public void withAdminOnlyTheConsoleModeIsSavedAndTheAdministratorsFileIsNeverWritten() throws Exception {
        Fixtures.write(settings, "httpProxyAddress=mine\n#javaConsoleSelection=2\nnote\n");
        File admin = Fixtures.write(new File(temp.getRoot(), "Program Files/" + Names.ADMIN_PROPERTIES),
                "proxySelection=1\r\nhttpProxyAddress=corporate\r\nhttpProxyPort=3128\r\n");
        UtilityWindow window = onEdt(() -> new UtilityWindow("1.5.0.0", cache, new SettingsStore(new SettingsFile(settings),
                new SettingsFile(admin)), () -> { }, Fixtures.dialogs(Dialogs.class, shown, true), exits::add));
        onEdt(window::show);
        assertTrue(eventually(() -> window.frame.isShowing()));
        onEdt(() -> {
            NetworkPanel n = window.network;
            assertTrue(n.adminNotice.isVisible() && n.adminNotice.getText().contains(NetworkPanel.ADMIN_NOTICE));
            Stream.of(n.browser, n.manual, n.script, n.direct, n.sameServer, n.bypassLocal).forEach(c -> assertFalse(c.isEnabled()));
            Arrays.stream(n.textFields()).forEach(f -> assertFalse(f.isEditable()));
            assertTrue(n.manual.isSelected() && n.httpAddress.isEnabled());
            assertEquals("corporate", n.httpAddress.getText());
            window.general.showConsole.setSelected(true);
            window.ok.doClick();
        });
        assertEquals(EXITED, exits);
        assertEquals("httpProxyAddress=mine\r\njavaConsoleSelection=0\r\nnote\r\n", Fixtures.text(settings));
        assertEquals("proxySelection=1\r\nhttpProxyAddress=corporate\r\nhttpProxyPort=3128\r\n", Fixtures.text(admin));
        assertArrayEquals(new String[] {Names.ADMIN_PROPERTIES}, admin.getParentFile().list());
    }

    @Test
    public void anUnreadableSettingsFileIsShownButNeverOverwritten() throws Exception {
        assertTrue(settings.mkdirs());
        Startup.Run run = start();
        String box = eventually(() -> !shown.isEmpty()) ? shown.get(0) : "no box";
        assertTrue(box, box.startsWith("error: " + TITLE + "The settings could not be read from " + settings + ": "));
        assertTrue(box, box.endsWith(".\nClose the window and open it again to change them."));
        onEdt(() -> {
            assertFalse(run.window.general.showConsole.isEnabled());
            assertFalse(run.window.network.httpAddress.isEditable());
            run.window.general.showConsole.setSelected(true);
            assertFalse(run.window.apply.isEnabled());
            run.window.ok.doClick();
        });
        assertEquals(EXITED, exits);
        assertTrue(settings.isDirectory());
    }

    /** utilwin.jar run as the launcher runs it: its own process, its standard streams as pipes. */
    private Process startProcess(String... args) throws IOException {
        List<String> command = new ArrayList<String>(Arrays.asList(new File(System.getProperty("java.home"),
                "bin/java").getPath(), "-classpath", Fixtures.jar().getPath(), Main.class.getName()));
        command.addAll(Arrays.asList(args));
        Process p = new ProcessBuilder(command).redirectOutput(ProcessBuilder.Redirect.DISCARD).redirectError(stderr).start();
        started.add(p);
        return p;
    }

    @Test
    public void theProcessEndsWithZeroOnShutdownOnlyAndABadCommandLineGivesTheUsageAndStatusTwo() throws Exception {
        Process p = startProcess("-settings", "x.properties", "-version", "1");
        assertTrue(p.waitFor(60, TimeUnit.SECONDS));
        assertEquals(2, p.exitValue());
        assertEquals("utilwin: -cache is missing" + System.lineSeparator() + CommandLine.USAGE + System.lineSeparator(),
                Fixtures.text(stderr));
        p = startProcess("-settings", settings.getPath(), "-cache", cache.getPath(), "-version", "1.5.0.0");
        p.getOutputStream().write("hello\r\nshutdown\r\n".getBytes(StandardCharsets.ISO_8859_1));
        p.getOutputStream().flush();
        assertTrue("the window did not close", p.waitFor(60, TimeUnit.SECONDS));
        assertEquals(Fixtures.text(stderr), 0, p.exitValue());
    }
}
