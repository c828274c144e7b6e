package com.example.hello;

/** The smallest application for a Vexal launcher: greets and echoes its arguments. */
public final class Hello {
    private Hello() {
    }

    public static void main(String[] args) {
        System.out.println("Hello from Vexal");
        for (int i = 0; i < args.length; i++) {
            System.out.println("argument " + (i + 1) + ": " + args[i]);
        }
    }
}
