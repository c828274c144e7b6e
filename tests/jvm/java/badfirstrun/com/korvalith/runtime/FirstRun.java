package com.korvalith.runtime;

/** A first-run class whose hook has the wrong signature. */
public final class FirstRun {
    private FirstRun() {}

    public static int firstRun() {
        return 1;
    }
}
