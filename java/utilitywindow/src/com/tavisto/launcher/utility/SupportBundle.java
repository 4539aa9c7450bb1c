package com.tavisto.launcher.utility;

import com.tavisto.launcher.utility.support.DiagnosticsBundle;

/**
 * Writes a diagnostics bundle for support staff (see {@link DiagnosticsBundle})
 * from a command line: -settings file -cache folder [-admin] [-overwrite] -out
 * zip; exits with 0 when the zip was written, otherwise with a message on
 * standard error. An existing zip is replaced only with -overwrite.
 */
public final class SupportBundle {
    private SupportBundle() {
    }

    public static void main(String[] args) {
        System.exit(DiagnosticsBundle.run(args, System.out, System.err));
    }
}
