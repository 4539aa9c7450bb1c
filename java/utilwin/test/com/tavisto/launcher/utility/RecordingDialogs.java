package com.tavisto.launcher.utility;

import java.util.ArrayList;
import java.util.List;

/** Answers confirmations as told and records every box as "kind: title: message". */
final class RecordingDialogs implements Dialogs {
    final List<String> shown = new ArrayList<String>();
    volatile boolean answer;

    RecordingDialogs(boolean answer) {
        this.answer = answer;
    }

    @Override
    public synchronized boolean confirm(String title, String message) {
        shown.add("confirm: " + title + ": " + message);
        return answer;
    }

    @Override
    public synchronized void inform(String title, String message) {
        shown.add("inform: " + title + ": " + message);
    }

    @Override
    public synchronized void error(String title, String message) {
        shown.add("error: " + title + ": " + message);
    }

    synchronized List<String> shown() {
        return new ArrayList<String>(shown);
    }

    /** Waits up to 10 s until count boxes have been shown. */
    List<String> await(int count) throws InterruptedException {
        for (int i = 0; i < 1000 && shown().size() < count; i++) {
            Thread.sleep(10);
        }
        return shown();
    }
}
