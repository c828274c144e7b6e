package com.vexal.runtime;

/** Test controller without getText: the launcher must not use it at all. */
public final class VexalController {
    private VexalController() {}

    public static int getAction() {
        return 1;
    }
}
