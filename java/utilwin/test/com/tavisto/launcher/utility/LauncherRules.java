package com.tavisto.launcher.utility;

import java.nio.charset.StandardCharsets;
import java.util.regex.Matcher;
import java.util.regex.Pattern;

/**
 * The launcher's reader of a settings file, copied rule by rule from the
 * launcher and kept apart from the window's own reader: the bytes up to the
 * first zero byte, the first occurrence of "key=" anywhere, the value up to
 * CR or LF, spaces (only) trimmed, empty meaning absent; booleans exactly
 * "true" or "false"; integers as sscanf "%i" reads them.
 */
final class LauncherRules {
    private static final Pattern SCANF_I =
            Pattern.compile("^[ \\t\\n\\x0B\\f\\r]*([+-]?)(0[xX][0-9a-fA-F]+|0[0-7]*|[1-9][0-9]*)");

    private final byte[] contents;

    LauncherRules(byte[] file) {
        int end = 0;
        while (end < file.length && file[end] != 0) {
            end++;
        }
        contents = java.util.Arrays.copyOf(file, end);
    }

    String getValue(String key) {
        byte[] pattern = (key + "=").getBytes(StandardCharsets.ISO_8859_1);
        if (contents.length < pattern.length) {
            return "";
        }
        for (int at = 0; at + pattern.length <= contents.length; at++) {
            if (matchesAt(pattern, at)) {
                int start = at + pattern.length;
                int end = start;
                while (end < contents.length && contents[end] != '\n' && contents[end] != '\r') {
                    end++;
                }
                while (start < end && contents[start] == ' ') {
                    start++;
                }
                while (end > start && contents[end - 1] == ' ') {
                    end--;
                }
                return new String(contents, start, end - start, StandardCharsets.ISO_8859_1);
            }
        }
        return "";
    }

    private boolean matchesAt(byte[] pattern, int at) {
        for (int i = 0; i < pattern.length; i++) {
            if (contents[at + i] != pattern[i]) {
                return false;
            }
        }
        return true;
    }

    boolean getBool(String key, boolean fallback) {
        String v = getValue(key);
        return v.equals("true") ? true : v.equals("false") ? false : fallback;
    }

    int getInt(String key, int fallback) {
        Matcher m = SCANF_I.matcher(getValue(key));
        if (!m.find()) {
            return fallback;
        }
        String digits = m.group(2);
        long magnitude;
        if (digits.length() > 1 && (digits.charAt(1) == 'x' || digits.charAt(1) == 'X')) {
            magnitude = Long.parseLong(digits.substring(2), 16);
        } else if (digits.startsWith("0")) {
            magnitude = Long.parseLong(digits, 8);
        } else {
            magnitude = Long.parseLong(digits);
        }
        return (int) (m.group(1).equals("-") ? -magnitude : magnitude);
    }

    String getString(String key, String fallback) {
        String v = getValue(key);
        return v.isEmpty() ? fallback : v;
    }
}
