package com.vexal.runtime;

/**
 * Test controller whose methods fail at first: getAction throws on its first
 * call, then answers 2 twice, then 1; getText throws on its first call, then
 * answers "after".
 */
public final class VexalController {
    private static int actions;
    private static int texts;

    private VexalController() {}

    public static int getAction() {
        actions++;
        if (actions == 1) throw new IllegalStateException("getAction failed on purpose");
        return actions <= 3 ? 2 : 1;
    }

    public static String getText() {
        texts++;
        if (texts == 1) throw new IllegalStateException("getText failed on purpose");
        return "after";
    }
}
