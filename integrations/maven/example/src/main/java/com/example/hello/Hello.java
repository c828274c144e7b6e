package com.example.hello;

import com.vexal.runtime.SingleInstance;
import com.vexal.runtime.VexalController;

/** The Maven example: greets, echoes its arguments and calls the Vexal runtime API. */
public final class Hello {
    private Hello() {
    }

    public static void main(String[] args) {
        // Shown in the splash screen's status line when the executable has one.
        VexalController.setStatusText("Starting...");
        System.out.println("Hello from Vexal, built by Maven");
        System.out.println("single instance: " + SingleInstance.isSingleInstance());
        for (int i = 0; i < args.length; i++) {
            System.out.println("argument " + (i + 1) + ": " + args[i]);
        }
        VexalController.closeSplash();
    }
}
