package com.tavisto.launcher.utility.support;

import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.regex.Matcher;
import java.util.regex.Pattern;

/**
 * The last lines of the launcher's log that tell of trouble: those whose
 * message starts with "Error" and those that logged the text of an error box.
 * The launcher logs a box's text as its message, without a mark of its own,
 * so boxes are known by the beginnings of the launcher's box texts.
 */
final class LogExcerpt {
    static final int LINES = 20;

    /** A log line: "yyyy/mm/dd hh:mm:ss.mmm" and a space before the message. */
    private static final Pattern LINE =
            Pattern.compile("^\\uFEFF?\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}\\.\\d{3} (.*)$");

    static final List<String> BOX_TEXTS = Arrays.asList(
            "Failed to parse command line args.",
            "Please use an absolute path when launching the executable.",
            "Could not determine a usable data directory.",
            "No data directory:",
            "No JRE found: ",
            "No AppData path found",
            "No cache directory:",
            "Utility Window failed: ",
            "No '.vca' file found in argument list.",
            "There is a problem with the .vca file",
            "Cannot copy \"",
            "Cannot create \"",
            "Tavisto Convoca Launcher cannot launch Java Virtual Machine.",
            "Java spawn returned ",
            "Failed to lock file system for one time setup.",
            "Executable doesn't have the required VERSIONINFO",
            "No translations in \\VarFileInfo",
            "Invalid translation in \\VarFileInfo",
            "Properties template file directory path null.",
            "Java home path null.",
            "Utility Window Properties File null.",
            "Admin Properties File null.",
            "Java Cache Path null.",
            "App Support Path null.");

    private LogExcerpt() {
    }

    /** The last LINES matching lines of text, oldest first, each with its time stamp. */
    static List<String> troubleLines(String text) {
        List<String> found = new ArrayList<String>();
        for (String line : text.split("\r\n|\r|\n")) {
            Matcher m = LINE.matcher(line);
            if (m.matches() && isTrouble(m.group(1))) {
                found.add(line.startsWith("\uFEFF") ? line.substring(1) : line);
            }
        }
        return found.subList(Math.max(0, found.size() - LINES), found.size());
    }

    static boolean isTrouble(String message) {
        if (message.startsWith("Error")) {
            return true;
        }
        for (String box : BOX_TEXTS) {
            if (message.startsWith(box)) {
                return true;
            }
        }
        return false;
    }
}
