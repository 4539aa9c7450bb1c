package com.tavisto.launcher.utility.ui;

/** Ends the program with a status. */
interface Exit {
    void exit(int status);
}
