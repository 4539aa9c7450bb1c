package com.tavisto.launcher.utility.settings;

import java.io.File;
import java.io.FileOutputStream;
import java.io.IOException;
import java.net.URISyntaxException;
import java.nio.charset.Charset;
import java.nio.file.AtomicMoveNotSupportedException;
import java.nio.file.Files;
import java.nio.file.NoSuchFileException;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;

/**
 * One settings file on disk. The launcher opens it without sharing, so the
 * window holds it open for one read or one write only and retries briefly
 * while the launcher has it. The bytes are taken as ISO 8859-1, the encoding
 * in which the runtime reads the values that the launcher copies on, so that
 * every byte of a line the window does not manage is written back unchanged.
 */
public final class SettingsFile {
    public static final Charset ENCODING = Charset.forName("ISO-8859-1");
    private static final int ATTEMPTS = 20;
    private static final long PAUSE_MS = 100;

    private final File path;
    private final int attempts;

    public SettingsFile(File path) {
        this(path, ATTEMPTS);
    }

    /** attempts: how often a read or a replace is tried while the file is in use. */
    public SettingsFile(File path, int attempts) {
        this.path = path;
        this.attempts = attempts;
    }

    public File path() {
        return path;
    }

    /**
     * The file's text up to its first zero byte, as the launcher sees it; an
     * empty text when the file does not exist.
     */
    public String read() throws IOException {
        byte[] bytes = null;
        for (int attempt = 1; bytes == null; attempt++) {
            try {
                bytes = Files.readAllBytes(path.toPath());
            } catch (IOException e) {
                if (e instanceof NoSuchFileException || !path.exists()) {
                    return "";
                }
                if (attempt >= attempts || !path.isFile()) {
                    throw e;
                }
                pause();
            }
        }
        String text = new String(bytes, ENCODING);
        int zero = text.indexOf('\0');
        return zero < 0 ? text : text.substring(0, zero);
    }

    /**
     * Replaces the file's contents with text. The text goes to a temporary
     * file in the same folder first, which then replaces the file, so that a
     * failure never leaves a truncated file. Creates the folder if needed.
     */
    void write(String text) throws IOException {
        Path target = path.getAbsoluteFile().toPath();
        Path folder = target.getParent();
        Files.createDirectories(folder);
        Path temp = Files.createTempFile(folder, target.getFileName().toString() + ".", ".tmp");
        try {
            FileOutputStream out = new FileOutputStream(temp.toFile());
            try {
                out.write(text.getBytes(ENCODING));
                out.getFD().sync();
            } finally {
                out.close();
            }
            replace(temp, target);
            temp = null;
        } finally {
            if (temp != null) {
                deleteQuietly(temp);
            }
        }
    }

    private void replace(Path source, Path target) throws IOException {
        for (int attempt = 1;; attempt++) {
            try {
                try {
                    Files.move(source, target, StandardCopyOption.ATOMIC_MOVE);
                } catch (AtomicMoveNotSupportedException e) {
                    Files.move(source, target, StandardCopyOption.REPLACE_EXISTING);
                }
                return;
            } catch (IOException e) {
                if (attempt >= attempts) {
                    throw e;
                }
                pause();
            }
        }
    }

    /** Leaves the reason of the failed write to be reported, not this one's. */
    private static void deleteQuietly(Path temp) {
        try {
            Files.deleteIfExists(temp);
        } catch (IOException e) {
            temp.toFile().deleteOnExit();
        }
    }

    private static void pause() throws IOException {
        try {
            Thread.sleep(PAUSE_MS);
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            throw new IOException("interrupted while the file was in use", e);
        }
    }

    /** The folder of utilwin.jar, where a per-machine installation keeps the administrator's file. */
    public static File jarFolder() {
        try {
            File code = new File(SettingsFile.class.getProtectionDomain().getCodeSource().getLocation().toURI());
            return code.isDirectory() ? code : code.getParentFile();
        } catch (URISyntaxException | SecurityException | NullPointerException e) {
            return new File(".").getAbsoluteFile();
        }
    }
}
