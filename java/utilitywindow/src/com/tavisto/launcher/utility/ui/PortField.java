package com.tavisto.launcher.utility.ui;

import com.tavisto.launcher.utility.settings.Settings;
import java.awt.GraphicsEnvironment;
import javax.swing.JTextField;
import javax.swing.UIManager;
import javax.swing.text.AttributeSet;
import javax.swing.text.BadLocationException;
import javax.swing.text.DocumentFilter;
import javax.swing.text.PlainDocument;

/**
 * A port number from 0 to 65535. Typing accepts digits only, up to five of
 * them; a number above 65535 is refused when the settings are saved. An empty
 * field stands for 0, the launcher's default.
 */
final class PortField extends JTextField {
    private static final long serialVersionUID = 1L;
    private static final int MAX_DIGITS = 5;
    private boolean unfiltered;

    PortField() {
        super(5);
        PlainDocument document = new PlainDocument();
        document.setDocumentFilter(new DigitsOnly());
        setDocument(document);
    }

    /** Shows a value as read from a file, even one that is out of range. */
    void setPort(int port) {
        unfiltered = true;
        try {
            setText(port == 0 ? "" : Integer.toString(port));
        } finally {
            unfiltered = false;
        }
    }

    /** The port, or -1 when the text is not a number. */
    int port() {
        String text = getText().trim();
        if (text.isEmpty()) {
            return 0;
        }
        try {
            return Integer.parseInt(text);
        } catch (NumberFormatException e) {
            return -1;
        }
    }

    boolean inRange() {
        int port = port();
        return port >= 0 && port <= Settings.MAX_PORT;
    }

    private final class DigitsOnly extends DocumentFilter {
        @Override
        public void insertString(FilterBypass fb, int offset, String text, AttributeSet attr)
                throws BadLocationException {
            replace(fb, offset, 0, text, attr);
        }

        @Override
        public void replace(FilterBypass fb, int offset, int length, String text, AttributeSet attr)
                throws BadLocationException {
            String added = text == null ? "" : text;
            if (unfiltered || (isDigits(added)
                    && fb.getDocument().getLength() - length + added.length() <= MAX_DIGITS)) {
                fb.replace(offset, length, added, attr);
            } else if (!GraphicsEnvironment.isHeadless()) {
                UIManager.getLookAndFeel().provideErrorFeedback(PortField.this);
            }
        }

        private boolean isDigits(String s) {
            for (int i = 0; i < s.length(); i++) {
                if (s.charAt(i) < '0' || s.charAt(i) > '9') {
                    return false;
                }
            }
            return true;
        }
    }
}
