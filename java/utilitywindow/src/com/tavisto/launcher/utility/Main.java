package com.tavisto.launcher.utility;

import com.tavisto.launcher.utility.ui.Startup;

/**
 * The utility window, by the name the launcher starts it with:
 * -settings file -cache folder -version text [-admin] (see {@link Startup}).
 */
public final class Main {
    private Main() {
    }

    public static void main(String[] args) {
        Startup.main(args);
    }
}
