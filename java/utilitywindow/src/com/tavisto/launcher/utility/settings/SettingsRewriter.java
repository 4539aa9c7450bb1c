package com.tavisto.launcher.utility.settings;

import java.util.ArrayList;
import java.util.HashSet;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.TreeMap;

/**
 * Rewrites the text of a settings file so that the launcher's substring search
 * finds exactly the values given. A line that holds any key followed by "="
 * belongs to the launcher: it is replaced by the clean "key=value" line of the
 * first key it holds, or dropped, so that no stale or commented copy can
 * shadow a value. Every other line is kept as it stands. Lines end in CR LF.
 */
final class SettingsRewriter {
    static final String LINE_END = "\r\n";

    private SettingsRewriter() {
    }

    /**
     * Why value cannot be written as a setting, or null when it can. The
     * file has no escapes, so the launcher would read a key assignment inside
     * the value, a line break would end it, and the runtime reads the value
     * as ISO 8859-1.
     */
    static String refusal(String value) {
        String key = Keys.firstAssignmentIn(value);
        if (key != null) {
            return "it contains \"" + key + "=\", which the launcher would read as one of its settings";
        }
        for (int i = 0; i < value.length(); i++) {
            char c = value.charAt(i);
            if (c < 0x20 || c == 0x7f) {
                return "it contains a line break or another control character";
            }
            if (c > 0xff) {
                return "it contains characters outside the Western European (ISO 8859-1) set";
            }
        }
        return null;
    }

    /**
     * The values of the keys that are not being edited, as the launcher
     * reads them from old. A value that itself holds a key assignment is
     * reduced to what the launcher makes of it when the key is a boolean
     * (always the default) or an integer (the number it starts with); for
     * other keys it is returned unchanged and the caller must refuse it.
     */
    static Map<String, String> kept(SettingsText old, Set<String> edited) {
        Map<String, String> kept = new LinkedHashMap<String, String>();
        for (String key : Keys.ALL) {
            if (edited.contains(key)) {
                continue;
            }
            String value = old.getValue(key);
            if (!value.isEmpty() && Keys.firstAssignmentIn(value) != null) {
                value = typedValue(key, value);
            }
            if (!value.isEmpty()) {
                kept.put(key, value);
            }
        }
        return kept;
    }

    private static String typedValue(String key, String value) {
        if (Keys.BOOLEANS.contains(key)) {
            return "";
        }
        if (Keys.INTEGERS.contains(key)) {
            Integer number = SettingsText.scanInteger(value);
            return number == null ? "" : number.toString();
        }
        return value;
    }

    /** The new text: values holds every key to be written, nothing else stays. */
    static String compose(String old, Map<String, String> values) {
        List<String> out = new ArrayList<String>();
        Set<String> written = new HashSet<String>();
        for (String line : lines(old)) {
            List<String> keys = assignedKeys(line);
            if (keys.isEmpty()) {
                out.add(line);
                continue;
            }
            for (String key : keys) {
                if (values.containsKey(key) && written.add(key)) {
                    out.add(key + "=" + values.get(key));
                }
            }
        }
        for (Map.Entry<String, String> e : values.entrySet()) {
            if (written.add(e.getKey())) {
                out.add(e.getKey() + "=" + e.getValue());
            }
        }
        StringBuilder text = new StringBuilder();
        for (String line : out) {
            text.append(line).append(LINE_END);
        }
        return text.toString();
    }

    /**
     * Whether the launcher finds exactly values in text: each key to be
     * written once, at the start of a line, with its value; every other key
     * not at all.
     */
    static boolean readsBack(String text, Map<String, String> values) {
        SettingsText reader = new SettingsText(text);
        for (String key : Keys.ALL) {
            String pattern = key + "=";
            int first = text.indexOf(pattern);
            if (!values.containsKey(key)) {
                if (first >= 0) {
                    return false;
                }
                continue;
            }
            boolean atLineStart = first == 0
                    || (first > 0 && "\r\n".indexOf(text.charAt(first - 1)) >= 0);
            if (!atLineStart || text.indexOf(pattern, first + 1) >= 0
                    || !reader.getValue(key).equals(values.get(key))) {
                return false;
            }
        }
        return true;
    }

    /** The lines of text without their ends; LF, CR and CR LF all end a line. */
    static List<String> lines(String text) {
        List<String> lines = new ArrayList<String>();
        int start = 0;
        int i = 0;
        while (i < text.length()) {
            char c = text.charAt(i);
            if (c == '\r' || c == '\n') {
                lines.add(text.substring(start, i));
                i += (c == '\r' && i + 1 < text.length() && text.charAt(i + 1) == '\n') ? 2 : 1;
                start = i;
            } else {
                i++;
            }
        }
        if (start < text.length()) {
            lines.add(text.substring(start));
        }
        return lines;
    }

    /** The keys assigned in line, in the order in which they occur. */
    private static List<String> assignedKeys(String line) {
        Map<Integer, String> byPosition = new TreeMap<Integer, String>();
        for (String key : Keys.ALL) {
            int at = line.indexOf(key + "=");
            if (at >= 0) {
                byPosition.put(at, key);
            }
        }
        return new ArrayList<String>(byPosition.values());
    }
}
