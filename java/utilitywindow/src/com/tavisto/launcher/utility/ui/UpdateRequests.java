package com.tavisto.launcher.utility.ui;

/** Asks the launcher to check for an update with its own user interface. */
interface UpdateRequests {
    void requestUpdate();
}
