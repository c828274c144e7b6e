package com.korvalith.runtime;

/** Test stand-in for the first-run hook: "vexal.test.firstRun" decides. */
public final class FirstRun {
    private FirstRun() {}

    public static boolean firstRun() {
        String answer = System.getProperty("vexal.test.firstRun", "true");
        if (answer.equals("throw")) {
            throw new IllegalStateException("first run failed on purpose");
        }
        return answer.equals("true");
    }
}
