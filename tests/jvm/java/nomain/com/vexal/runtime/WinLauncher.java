package com.vexal.runtime;

/** A runtime launcher class without main(String[]). */
public final class WinLauncher {
    private WinLauncher() {}

    public static void main() {}
}
