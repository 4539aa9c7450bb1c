package com.tavisto.launcher.utility;

import java.util.regex.Matcher;
import java.util.regex.Pattern;

/**
 * Hides user information (a user name and password before a host) in the
 * texts that a diagnostics bundle carries. Everything else is left as it is.
 */
final class Masking {
    static final String MASK = "***";

    /** The user information of a URL: between "://" and the "@" before the host. */
    private static final Pattern URL_USER = Pattern.compile("(?<=://)[^\\s/@]+@");
    /**
     * A user:password pair before a host, anywhere. The password part holds no
     * backslash, so that a Windows path such as C:\Users\name@host is kept.
     */
    private static final Pattern USER_PASSWORD =
            Pattern.compile("(?<![^\\s=;,\"'(<\\[])[^\\s@/:;,=\"'<>]+:[^\\s@/\\\\;,=\"'<>]*@(?=[\\w\\[])");
    /** A proxy setting whose value starts with user@host. */
    private static final Pattern PROXY_VALUE =
            Pattern.compile("(?im)^([ \\t]*[\\w.]*proxy[\\w.]*[ \\t]*[=:][ \\t]*)[^\\s@/]+@(?=[\\w\\[])");

    private Masking() {
    }

    static String mask(String text) {
        String masked = URL_USER.matcher(text).replaceAll(Matcher.quoteReplacement(MASK + "@"));
        masked = USER_PASSWORD.matcher(masked).replaceAll(Matcher.quoteReplacement(MASK + "@"));
        return PROXY_VALUE.matcher(masked).replaceAll("$1" + Matcher.quoteReplacement(MASK + "@"));
    }
}
