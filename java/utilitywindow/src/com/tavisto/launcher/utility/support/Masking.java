package com.tavisto.launcher.utility.support;

import java.util.regex.Matcher;
import java.util.regex.Pattern;

/**
 * Hides user information (a user name and password before a host) in the
 * texts that a diagnostics bundle carries. Everything else is left as it is.
 * A password may hold anything, "@" and spaces included, so a value is masked
 * from its start to its last "@": only the host after it stays readable.
 */
final class Masking {
    static final String MASK = "***";

    /** A scheme before a value's user information, kept. */
    private static final String SCHEME = "(?:[A-Za-z][\\w+.-]*://)?";
    /** The value of a proxy setting, or of a deployment.proxy.* line, to its last "@". */
    private static final Pattern PROXY_VALUE =
            Pattern.compile("(?im)^([ \\t]*[\\w.]*proxy[\\w.]*[ \\t]*[=:][ \\t]*" + SCHEME + ")[^\\r\\n]*@");
    /** The value in the launcher's log line "Replaced '%PROXY_...%' n times with 'value' in file". */
    private static final Pattern REPLACED =
            Pattern.compile("(Replaced '%PROXY_\\w*%' -?\\d+ times with '" + SCHEME + ")[^\\r\\n]*@");
    /**
     * The user information of any other URL: from "://" to the last "@"
     * before the path, the query, a space or the end of the line. Only the
     * values above may hold a password with "/", "?", "#" or a space.
     */
    private static final Pattern URL_USER = Pattern.compile("(?<=://)[^/?#\\s\"'<>]*@");
    /**
     * A user:password pair before a host, anywhere. The password part holds no
     * backslash, so that a Windows path such as C:\Users\name@host is kept.
     */
    private static final Pattern USER_PASSWORD =
            Pattern.compile("(?<![^\\s=;,\"'(<\\[])[^\\s@/:;,=\"'<>]+:[^\\s@/\\\\;,=\"'<>]*@(?=[\\w\\[])");

    private Masking() {
    }

    static String mask(String text) {
        String masked = PROXY_VALUE.matcher(text).replaceAll("$1" + Matcher.quoteReplacement(MASK + "@"));
        masked = REPLACED.matcher(masked).replaceAll("$1" + Matcher.quoteReplacement(MASK + "@"));
        masked = URL_USER.matcher(masked).replaceAll(Matcher.quoteReplacement(MASK + "@"));
        return USER_PASSWORD.matcher(masked).replaceAll(Matcher.quoteReplacement(MASK + "@"));
    }
}
