package com.tavisto.launcher.utility.support;

import java.io.File;
import java.io.IOException;
import java.nio.file.FileVisitResult;
import java.nio.file.Files;
import java.nio.file.LinkOption;
import java.nio.file.Path;
import java.nio.file.SimpleFileVisitor;
import java.nio.file.attribute.BasicFileAttributes;
import java.util.Locale;

/** The files below a folder and their total size; links are not followed. */
public final class FolderSize {
    long files;
    long bytes;
    /** Entries that could not be looked at. */
    long unreadable;

    private FolderSize() {
    }

    /** null when folder is not a folder. */
    static FolderSize of(File folder) {
        if (!Files.isDirectory(folder.toPath(), LinkOption.NOFOLLOW_LINKS)) {
            return null;
        }
        final FolderSize size = new FolderSize();
        try {
            Files.walkFileTree(folder.toPath(), new SimpleFileVisitor<Path>() {
                @Override
                public FileVisitResult visitFile(Path file, BasicFileAttributes attributes) {
                    if (attributes.isRegularFile()) {
                        size.files++;
                        size.bytes += attributes.size();
                    }
                    return FileVisitResult.CONTINUE;
                }

                @Override
                public FileVisitResult visitFileFailed(Path file, IOException e) {
                    size.unreadable++;
                    return FileVisitResult.CONTINUE;
                }
            });
        } catch (IOException e) {
            size.unreadable++;
        }
        return size;
    }

    @Override
    public String toString() {
        String text = inUnits(bytes) + " in " + files + (files == 1 ? " file" : " files");
        return unreadable == 0 ? text : text + " (" + unreadable + " could not be read)";
    }

    /** bytes in bytes below 1 KB, otherwise in KB, MB, GB or TB with one decimal. */
    public static String inUnits(long bytes) {
        if (bytes < 1024) {
            return bytes + (bytes == 1 ? " byte" : " bytes");
        }
        String[] units = {"KB", "MB", "GB", "TB"};
        double value = bytes / 1024.0;
        int unit = 0;
        while (value >= 1024 && unit < units.length - 1) {
            value /= 1024;
            unit++;
        }
        return String.format(Locale.getDefault(), "%.1f %s", value, units[unit]);
    }
}
