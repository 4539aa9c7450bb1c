package com.tavisto.launcher.utility.ui;

import com.tavisto.launcher.utility.settings.Names;
import com.tavisto.launcher.utility.settings.SettingsFile;
import com.tavisto.launcher.utility.settings.SettingsStore;
import java.awt.GraphicsEnvironment;
import java.io.File;
import javax.swing.SwingUtilities;
import javax.swing.UIManager;

/**
 * Starts the utility window from the launcher's command line
 * -settings file -cache folder -version text [-admin]; the window talks to the
 * launcher through standard input and output (see {@link CommandChannel}).
 */
public final class Startup {
    static final int BAD_COMMAND_LINE = 2;
    static final int NO_WINDOW = 1;

    private Startup() {
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
        UtilityWindow window;
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

    static UtilityWindow open(CommandLine commandLine, UpdateRequests updates, Dialogs dialogs, Exit exit) {
        SettingsFile user = new SettingsFile(new File(commandLine.settingsPath));
        SettingsFile admin = commandLine.admin ? new SettingsFile(new File(SettingsFile.jarFolder(), Names.ADMIN_PROPERTIES)) : null;
        UtilityWindow window = new UtilityWindow(commandLine.version, new File(commandLine.cachePath),
                new SettingsStore(user, admin), updates, dialogs, exit);
        window.show();
        return window;
    }

    static void useSystemLookAndFeel() {
        try {
            UIManager.setLookAndFeel(UIManager.getSystemLookAndFeelClassName());
        } catch (Exception e) {
            System.err.println("utilwin: keeping the default look: " + e);
        }
    }
}
