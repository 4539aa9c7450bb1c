package com.tavisto.launcher.utility;

/** Ends the program with a status. */
interface Exit {
    void exit(int status);
}
