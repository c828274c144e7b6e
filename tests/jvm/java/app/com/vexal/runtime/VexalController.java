package com.vexal.runtime;

/** Test stand-in for the splash controller: a status text is always ready. */
public final class VexalController {
    private VexalController() {}

    public static int getAction() {
        return 2;
    }

    public static String getText() {
        return "status \u2713 \u65e5\u672c";
    }
}
