package com.tavisto.launcher.utility.ui;

import java.awt.Component;
import java.awt.Container;
import java.awt.event.ItemEvent;
import java.awt.event.ItemListener;
import javax.swing.JComponent;
import javax.swing.JToggleButton;
import javax.swing.event.DocumentEvent;
import javax.swing.event.DocumentListener;
import javax.swing.text.JTextComponent;

/** Tells when the user changes any editable field or option below a container. */
final class ChangeWatch implements DocumentListener, ItemListener {
    /** Client property: set to Boolean.TRUE on a component whose changes are not settings. */
    static final String IGNORED = "ChangeWatch.ignored";

    private final Runnable onChange;

    private ChangeWatch(Runnable onChange) {
        this.onChange = onChange;
    }

    static void watch(Container root, Runnable onChange) {
        new ChangeWatch(onChange).attach(root);
    }

    private void attach(Container container) {
        for (Component c : container.getComponents()) {
            if (c instanceof JComponent && Boolean.TRUE.equals(((JComponent) c).getClientProperty(IGNORED))) {
                continue;
            }
            if (c instanceof JTextComponent) {
                JTextComponent text = (JTextComponent) c;
                if (text.isEditable()) {
                    text.getDocument().addDocumentListener(this);
                }
            } else if (c instanceof JToggleButton) {
                ((JToggleButton) c).addItemListener(this);
            } else if (c instanceof Container) {
                attach((Container) c);
            }
        }
    }

    @Override
    public void insertUpdate(DocumentEvent e) {
        onChange.run();
    }

    @Override
    public void removeUpdate(DocumentEvent e) {
        onChange.run();
    }

    @Override
    public void changedUpdate(DocumentEvent e) {
        onChange.run();
    }

    @Override
    public void itemStateChanged(ItemEvent e) {
        onChange.run();
    }
}
