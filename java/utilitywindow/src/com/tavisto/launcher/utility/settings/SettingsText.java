package com.tavisto.launcher.utility.settings;

/**
 * The text of one settings file, read by the launcher's rules: a key's value
 * follows the first occurrence of the key and "=" anywhere in the text, ends at
 * the line end, and loses its outer spaces; an empty value counts as absent.
 * The window shows what the launcher would use by reading through this class.
 */
public final class SettingsText {
    private final String contents;

    public SettingsText(String contents) {
        this.contents = contents == null ? "" : contents;
    }

    String contents() {
        return contents;
    }

    String getValue(String key) {
        String pattern = key + "=";
        if (key.isEmpty() || contents.length() < pattern.length()) {
            return "";
        }
        int at = contents.indexOf(pattern);
        if (at < 0) {
            return "";
        }
        int start = at + pattern.length();
        int end = start;
        while (end < contents.length()
                && contents.charAt(end) != '\n' && contents.charAt(end) != '\r') {
            end++;
        }
        return trimSpaces(contents.substring(start, end));
    }

    public boolean getBool(String key, boolean fallback) {
        String v = getValue(key);
        if (v.equals("true")) {
            return true;
        }
        if (v.equals("false")) {
            return false;
        }
        return fallback;
    }

    public int getInt(String key, int fallback) {
        String v = getValue(key);
        if (v.isEmpty()) {
            return fallback;
        }
        Integer parsed = scanInteger(v);
        return parsed == null ? fallback : parsed;
    }

    public String getString(String key, String fallback) {
        String v = getValue(key);
        return v.isEmpty() ? fallback : v;
    }

    /** Only the space character is removed, not tabs. */
    public static String trimSpaces(String s) {
        int begin = 0;
        int end = s.length();
        while (begin < end && s.charAt(begin) == ' ') {
            begin++;
        }
        while (end > begin && s.charAt(end - 1) == ' ') {
            end--;
        }
        return s.substring(begin, end);
    }

    /**
     * The number at the start of s as the C conversion "%i" reads it, or null
     * when none can be read. Out-of-range values are clamped to the int
     * limits, as the launcher's conversion stores them.
     */
    static Integer scanInteger(String s) {
        int i = 0;
        int n = s.length();
        while (i < n && isCSpace(s.charAt(i))) {
            i++;
        }
        boolean negative = false;
        if (i < n && (s.charAt(i) == '+' || s.charAt(i) == '-')) {
            negative = s.charAt(i) == '-';
            i++;
        }
        int radix = 10;
        if (i < n && s.charAt(i) == '0') {
            if (i + 2 < n && (s.charAt(i + 1) == 'x' || s.charAt(i + 1) == 'X')
                    && Character.digit(s.charAt(i + 2), 16) >= 0
                    && s.charAt(i + 2) < 128) {
                radix = 16;
                i += 2;
            } else {
                radix = 8;
            }
        }
        long value = 0;
        int digits = 0;
        while (i < n) {
            char c = s.charAt(i);
            int d = c < 128 ? Character.digit(c, radix) : -1;
            if (d < 0) {
                break;
            }
            value = Math.min(value * radix + d, 1L << 32); // saturates well past the limits
            digits++;
            i++;
        }
        if (digits == 0) {
            return null;
        }
        long signed = negative ? -value : value;
        return (int) Math.max(Integer.MIN_VALUE, Math.min(Integer.MAX_VALUE, signed));
    }

    private static boolean isCSpace(char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\u000b' || c == '\f' || c == '\r';
    }
}
