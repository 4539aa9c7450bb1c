package com.tavisto.launcher.utility.ui;

import com.tavisto.launcher.utility.settings.Names;

/**
 * The window's command line, as the launcher builds it:
 * -settings file -cache folder -version text [-admin].
 */
final class CommandLine {
    static final String USAGE = "Usage: java -classpath " + Names.UTILITY_WINDOW_JAR
            + " com.tavisto.launcher.utility.Main"
            + " -settings <file> -cache <folder> -version <text> [-admin]";

    String settingsPath;
    String cachePath;
    String version;
    boolean admin;
    /** Why the command line was refused; null when it was accepted. */
    String problem;

    private CommandLine() {
    }

    static CommandLine parse(String[] args) {
        CommandLine c = new CommandLine();
        for (int i = 0; i < args.length && c.problem == null; i++) {
            String option = args[i];
            if (option.equals("-admin")) {
                c.problem = c.admin ? "-admin is given twice" : null;
                c.admin = true;
                continue;
            }
            if (!option.equals("-settings") && !option.equals("-cache") && !option.equals("-version")) {
                c.problem = "unknown argument \"" + option + "\"";
            } else if (i + 1 >= args.length) {
                c.problem = option + " needs a value";
            } else {
                c.problem = c.set(option, args[++i]);
            }
        }
        if (c.problem == null) {
            c.problem = c.missing();
        }
        return c;
    }

    private String set(String option, String value) {
        if (option.equals("-settings")) {
            if (settingsPath != null) {
                return "-settings is given twice";
            }
            settingsPath = value;
            return value.isEmpty() ? "-settings needs a file" : null;
        }
        if (option.equals("-cache")) {
            if (cachePath != null) {
                return "-cache is given twice";
            }
            cachePath = value;
            return value.isEmpty() ? "-cache needs a folder" : null;
        }
        if (version != null) {
            return "-version is given twice";
        }
        version = value;
        return null;
    }

    private String missing() {
        if (settingsPath == null) {
            return "-settings is missing";
        }
        if (cachePath == null) {
            return "-cache is missing";
        }
        if (version == null) {
            return "-version is missing";
        }
        return null;
    }
}
