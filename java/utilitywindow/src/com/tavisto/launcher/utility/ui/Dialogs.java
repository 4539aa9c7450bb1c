package com.tavisto.launcher.utility.ui;

/** The message boxes the window shows. */
interface Dialogs {
    /** Asks a yes-or-no question; true for yes. */
    boolean confirm(String title, String message);

    void inform(String title, String message);

    void error(String title, String message);
}
