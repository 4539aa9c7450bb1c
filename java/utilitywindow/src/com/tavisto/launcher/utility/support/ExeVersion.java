package com.tavisto.launcher.utility.support;

import java.io.File;
import java.io.IOException;
import java.nio.file.Files;

/** The file version in an executable's fixed version information. */
final class ExeVersion {
    /** VS_FIXEDFILEINFO's signature 0xFEEF04BD, as it is stored (little-endian). */
    private static final byte[] SIGNATURE = {(byte) 0xBD, 0x04, (byte) 0xEF, (byte) 0xFE};

    private ExeVersion() {
    }

    /** "major.minor.patch.build", or null when the file has no readable version. */
    static String of(File exe) {
        byte[] bytes;
        try {
            bytes = Files.readAllBytes(exe.toPath());
        } catch (IOException | OutOfMemoryError e) {
            return null;
        }
        for (int at = 0; at + 16 <= bytes.length; at++) {
            if (bytes[at] == SIGNATURE[0] && bytes[at + 1] == SIGNATURE[1] && bytes[at + 2] == SIGNATURE[2]
                    && bytes[at + 3] == SIGNATURE[3]) {
                int ms = littleEndian(bytes, at + 8);
                int ls = littleEndian(bytes, at + 12);
                return (ms >>> 16) + "." + (ms & 0xFFFF) + "." + (ls >>> 16) + "." + (ls & 0xFFFF);
            }
        }
        return null;
    }

    private static int littleEndian(byte[] b, int at) {
        return (b[at] & 0xFF) | (b[at + 1] & 0xFF) << 8 | (b[at + 2] & 0xFF) << 16 | (b[at + 3] & 0xFF) << 24;
    }
}
