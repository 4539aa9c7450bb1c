package com.tavisto.launcher.utility.support;

import java.util.ArrayList;
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
        for (String box : BoxTexts.BEGINNINGS) {
            if (message.startsWith(box)) {
                return true;
            }
        }
        return false;
    }
}
