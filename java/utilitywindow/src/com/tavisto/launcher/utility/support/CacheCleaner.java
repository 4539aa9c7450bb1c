package com.tavisto.launcher.utility.support;

import java.io.File;
import java.io.IOException;
import java.nio.file.AccessDeniedException;
import java.nio.file.DirectoryStream;
import java.nio.file.Files;
import java.nio.file.LinkOption;
import java.nio.file.Path;
import java.nio.file.attribute.BasicFileAttributes;
import java.util.ArrayList;
import java.util.List;

/**
 * Empties the cache folder and keeps the folder itself. Links and junctions
 * inside it are removed without touching what they point to.
 */
public final class CacheCleaner {
    /** What one clearing freed. */
    public static final class Result {
        public long bytes;
        public int files;
        /** Entries that could not be deleted, most likely because a session uses them. */
        public int failures;
    }

    /** Why folder may not be emptied, or null when it may. */
    public static String refusal(File folder) {
        if (!folder.isAbsolute()) {
            return "it is not a full path";
        }
        if (folder.getAbsoluteFile().toPath().getParent() == null) {
            return "it is the root of a drive";
        }
        if (folder.exists() && !folder.isDirectory()) {
            return "it is not a folder";
        }
        return null;
    }

    public Result empty(File folder) {
        Result result = new Result();
        Path root = folder.toPath();
        if (!Files.isDirectory(root, LinkOption.NOFOLLOW_LINKS)) {
            return result;
        }
        try {
            for (Path entry : list(root)) {
                remove(entry, result);
            }
        } catch (IOException e) {
            result.failures++;
        }
        return result;
    }

    private void remove(Path entry, Result result) {
        BasicFileAttributes attributes;
        try {
            attributes = Files.readAttributes(entry, BasicFileAttributes.class, LinkOption.NOFOLLOW_LINKS);
        } catch (IOException e) {
            result.failures++;
            return;
        }
        boolean realFolder = attributes.isDirectory() && !attributes.isSymbolicLink() && !attributes.isOther();
        if (realFolder) {
            try {
                for (Path child : list(entry)) {
                    remove(child, result);
                }
            } catch (IOException e) {
                result.failures++;
                return;
            }
        }
        if (!delete(entry)) {
            result.failures++;
        } else if (attributes.isRegularFile()) {
            result.files++;
            result.bytes += attributes.size();
        }
    }

    private static List<Path> list(Path folder) throws IOException {
        List<Path> entries = new ArrayList<Path>();
        DirectoryStream<Path> stream = Files.newDirectoryStream(folder);
        try {
            for (Path p : stream) {
                entries.add(p);
            }
        } finally {
            stream.close();
        }
        return entries;
    }

    /** A read-only file is made writable and tried again. */
    private static boolean delete(Path entry) {
        try {
            Files.delete(entry);
            return true;
        } catch (AccessDeniedException e) {
            try {
                Files.setAttribute(entry, "dos:readonly", false, LinkOption.NOFOLLOW_LINKS);
                Files.delete(entry);
                return true;
            } catch (IOException | UnsupportedOperationException | IllegalArgumentException again) {
                return false;
            }
        } catch (IOException e) {
            return false;
        }
    }
}
