package com.tavisto.launcher.utility;

import java.awt.GraphicsEnvironment;
import java.io.File;
import java.net.URISyntaxException;
import javax.swing.SwingUtilities;
import javax.swing.UIManager;

/**
 * The launcher's settings window. Started by the launcher with
 * -settings file -cache folder -version text [-admin]; talks to it through
 * standard input and output (see {@link CommandChannel}).
 */
public final class Main {
    static final String ADMIN_FILE = "ConvocaLauncherAdmin.properties";
    static final int BAD_COMMAND_LINE = 2;
    static final int NO_WINDOW = 1;

    private Main() {
    }

    public static void main(String[] args) {
        CommandLine commandLine = CommandLine.parse(args);
        if (commandLine.problem != null) {
            System.err.println("utilwin: " + commandLine.problem);
            System.err.println(CommandLine.USAGE);
            System.exit(BAD_COMMAND_LINE);
        }
        if (GraphicsEnvironment.isHeadless()) {
            System.err.println("utilwin: the settings window needs a display");
            System.exit(NO_WINDOW);
        }
        start(commandLine, new CommandChannel(System.in, System.out), new SwingDialogs(), new Exit() {
            @Override
            public void exit(int status) {
                System.exit(status);
            }
        });
    }

    /** A started window and the thread that reads the launcher's commands. */
    static final class Run {
        Thread commands;
        /** Set and read on the event thread only. */
        SettingsWindow window;
    }

    /**
     * Opens the window on the event thread, then follows the launcher's
     * commands. A "shutdown" is queued behind the opening, so it always finds
     * the window, or finds that there is none.
     */
    static Run start(final CommandLine commandLine, final CommandChannel channel, final Dialogs dialogs,
            final Exit exit) {
        final Run run = new Run();
        SwingUtilities.invokeLater(new Runnable() {
            @Override
            public void run() {
                try {
                    useSystemLookAndFeel();
                    run.window = open(commandLine, channel, dialogs, exit);
                } catch (RuntimeException e) {
                    e.printStackTrace();
                    exit.exit(NO_WINDOW);
                }
            }
        });
        run.commands = channel.listen(new CommandChannel.Listener() {
            @Override
            public void shutdownRequested() {
                SwingUtilities.invokeLater(new Runnable() {
                    @Override
                    public void run() {
                        if (run.window != null) {
                            run.window.close();
                        } else {
                            exit.exit(0);
                        }
                    }
                });
            }
        });
        return run;
    }

    static SettingsWindow open(CommandLine commandLine, UpdateRequests updates, Dialogs dialogs, Exit exit) {
        SettingsFile user = new SettingsFile(new File(commandLine.settingsPath));
        SettingsFile admin = commandLine.admin ? new SettingsFile(new File(ownFolder(), ADMIN_FILE)) : null;
        SettingsWindow window = new SettingsWindow(commandLine.version, new File(commandLine.cachePath),
                new SettingsStore(user, admin), updates, dialogs, exit);
        window.show();
        return window;
    }

    /** The folder of utilwin.jar, where a per-machine installation keeps the administrator's file. */
    static File ownFolder() {
        try {
            File code = new File(Main.class.getProtectionDomain().getCodeSource().getLocation().toURI());
            return code.isDirectory() ? code : code.getParentFile();
        } catch (URISyntaxException | SecurityException | NullPointerException e) {
            return new File(".").getAbsoluteFile();
        }
    }

    static void useSystemLookAndFeel() {
        try {
            UIManager.setLookAndFeel(UIManager.getSystemLookAndFeelClassName());
        } catch (Exception e) {
            System.err.println("utilwin: keeping the default look: " + e);
        }
    }
}
