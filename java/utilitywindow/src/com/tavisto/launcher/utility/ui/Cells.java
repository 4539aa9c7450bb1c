package com.tavisto.launcher.utility.ui;

import java.awt.GridBagConstraints;
import java.awt.Insets;

/** Grid cells for the tabs' layouts. */
final class Cells {
    static final int GAP = 4;
    static final int INDENT = 22;

    private Cells() {
    }

    /** A cell at column x, row y, width columns wide, indented by indent pixels. */
    static GridBagConstraints at(int x, int y, int width, int indent) {
        GridBagConstraints c = new GridBagConstraints();
        c.gridx = x;
        c.gridy = y;
        c.gridwidth = width;
        c.anchor = GridBagConstraints.LINE_START;
        c.insets = new Insets(GAP, indent, 0, GAP);
        return c;
    }

    /** A cell that takes the spare width. */
    static GridBagConstraints wide(int x, int y, int width, int indent) {
        GridBagConstraints c = at(x, y, width, indent);
        c.fill = GridBagConstraints.HORIZONTAL;
        c.weightx = 1;
        return c;
    }

    /** An empty cell under the last row that takes the spare height. */
    static GridBagConstraints filler(int y) {
        GridBagConstraints c = at(0, y, GridBagConstraints.REMAINDER, 0);
        c.weighty = 1;
        return c;
    }
}
