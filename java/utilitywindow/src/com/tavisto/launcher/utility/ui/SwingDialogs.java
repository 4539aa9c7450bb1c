package com.tavisto.launcher.utility.ui;

import java.awt.KeyboardFocusManager;
import java.awt.Window;
import javax.swing.JOptionPane;

/** Message boxes over the active window. */
final class SwingDialogs implements Dialogs {
    @Override
    public boolean confirm(String title, String message) {
        return JOptionPane.showConfirmDialog(owner(), message, title, JOptionPane.YES_NO_OPTION,
                JOptionPane.QUESTION_MESSAGE) == JOptionPane.YES_OPTION;
    }

    @Override
    public void inform(String title, String message) {
        JOptionPane.showMessageDialog(owner(), message, title, JOptionPane.INFORMATION_MESSAGE);
    }

    @Override
    public void error(String title, String message) {
        JOptionPane.showMessageDialog(owner(), message, title, JOptionPane.ERROR_MESSAGE);
    }

    private static Window owner() {
        return KeyboardFocusManager.getCurrentKeyboardFocusManager().getActiveWindow();
    }
}
