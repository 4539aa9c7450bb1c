package com.tavisto.launcher.utility.settings;

import java.io.IOException;
import java.nio.file.AccessDeniedException;
import java.nio.file.FileSystemException;
import java.util.LinkedHashMap;
import java.util.Map;

/**
 * The settings files of one run. In a per-machine installation the proxy
 * settings belong to the administrator's file, which the window reads and
 * never writes; otherwise the user's file holds every setting.
 */
public final class SettingsStore {
    private final SettingsFile user;
    private final SettingsFile admin;

    /** admin is null when the user's file holds the proxy settings too. */
    public SettingsStore(SettingsFile user, SettingsFile admin) {
        this.user = user;
        this.admin = admin;
    }

    public boolean adminManaged() {
        return admin != null;
    }

    public SettingsFile userFile() {
        return user;
    }

    /** The file that holds the proxy settings. */
    public SettingsFile proxyFile() {
        return admin != null ? admin : user;
    }

    /**
     * Writes the user's settings: the console mode, and the proxy settings
     * unless the administrator manages them. Every other setting in the file
     * keeps the value that the launcher reads now. Returns null on success,
     * otherwise why nothing was written.
     */
    public String save(Settings settings) {
        Map<String, String> edits = new LinkedHashMap<String, String>(settings.consoleValues());
        if (!adminManaged()) {
            String problem = settings.proxyProblem();
            if (problem != null) {
                return problem;
            }
            edits.putAll(settings.proxyValues());
        }
        String old;
        try {
            old = user.read();
        } catch (IOException e) {
            return "The settings could not be saved, because " + user.path()
                    + " could not be read: " + describe(e) + ".";
        }
        Map<String, String> kept = SettingsRewriter.kept(new SettingsText(old), edits.keySet());
        for (Map.Entry<String, String> e : kept.entrySet()) {
            String inside = Keys.firstAssignmentIn(e.getValue());
            if (inside != null) {
                return "The settings could not be saved, because the value of " + e.getKey()
                        + " in " + user.path() + " contains \"" + inside
                        + "=\", which the launcher reads as a setting of its own."
                        + " Correct the file by hand, then try again.";
            }
        }
        Map<String, String> values = new LinkedHashMap<String, String>();
        for (String key : Keys.ALL) {
            if (edits.containsKey(key)) {
                values.put(key, edits.get(key));
            } else if (kept.containsKey(key)) {
                values.put(key, kept.get(key));
            }
        }
        String text = SettingsRewriter.compose(old, values);
        if (!SettingsRewriter.readsBack(text, values)) {
            return "The settings could not be saved, because the launcher would not read them back"
                    + " as they were entered.";
        }
        if (text.equals(old) && user.path().isFile()) {
            return null;
        }
        try {
            user.write(text);
        } catch (IOException e) {
            return "The settings could not be saved to " + user.path() + ": " + describe(e) + ".";
        }
        return null;
    }

    public static String describe(IOException e) {
        if (e instanceof AccessDeniedException) {
            return "access was denied";
        }
        if (e instanceof FileSystemException && ((FileSystemException) e).getReason() != null) {
            return ((FileSystemException) e).getReason();
        }
        String message = e.getMessage();
        return message == null || message.isEmpty() ? e.getClass().getSimpleName() : message;
    }
}
