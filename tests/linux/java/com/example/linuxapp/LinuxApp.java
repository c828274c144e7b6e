package com.example.linuxapp;

import com.vexal.runtime.SingleInstance;
import com.vexal.runtime.StartupListener;
import java.util.concurrent.CountDownLatch;
import java.util.concurrent.TimeUnit;

/**
 * The application of the Linux launcher tests. The first argument picks what
 * it does:
 * "props" prints "property NAME=VALUE" for every further argument;
 * "bytes" prints "bytes N: HEX" for every further argument, the UTF-8 bytes
 * of the string main received, so that the test sees exactly what arrived;
 * "throw" throws from main; "throw-after-work" first starts a thread that
 * prints "bg done" after a while and a shutdown hook that prints "hook ran",
 * then throws; "exit" ends through System.exit with the next
 * argument as the code; "listen" waits (at most 60 s) for a later start of a
 * single-instance launcher and prints the arguments it hands over;
 * anything else prints the greeting and the arguments.
 */
public final class LinuxApp {
    private LinuxApp() {}

    public static void main(String[] args) throws Exception {
        System.out.println("LinuxApp started");
        String action = args.length > 0 ? args[0] : "";
        if (action.equals("props")) {
            for (int i = 1; i < args.length; i++) {
                System.out.println("property " + args[i] + "=" + System.getProperty(args[i]));
            }
        } else if (action.equals("bytes")) {
            for (int i = 1; i < args.length; i++) {
                System.out.println("bytes " + i + ": " + hex(args[i]));
            }
        } else if (action.equals("throw")) {
            throw new IllegalStateException("failed on purpose");
        } else if (action.equals("throw-after-work")) {
            startWorkThenThrow();
        } else if (action.equals("exit")) {
            System.exit(Integer.parseInt(args[1]));
        } else if (action.equals("listen")) {
            listen();
        } else {
            for (int i = 0; i < args.length; i++) {
                System.out.println("argument " + (i + 1) + ": " + args[i]);
            }
        }
        System.out.flush();
    }

    private static String hex(String text) {
        StringBuilder out = new StringBuilder();
        for (byte b : text.getBytes(java.nio.charset.StandardCharsets.UTF_8)) {
            out.append(Character.forDigit((b >> 4) & 0xf, 16)).append(Character.forDigit(b & 0xf, 16));
        }
        return out.toString();
    }

    private static void startWorkThenThrow() {
        Runtime.getRuntime().addShutdownHook(new Thread() {
            public void run() {
                System.out.println("hook ran");
                System.out.flush();
            }
        });
        new Thread() {
            public void run() {
                try {
                    Thread.sleep(500);
                } catch (InterruptedException e) {
                    return;
                }
                System.out.println("bg done");
                System.out.flush();
            }
        }.start();
        throw new IllegalStateException("failed after starting work");
    }

    private static void listen() throws InterruptedException {
        final CountDownLatch received = new CountDownLatch(1);
        SingleInstance.addListener(new StartupListener() {
            public void startupRequested(String[] arguments) {
                StringBuilder line = new StringBuilder("handed over:");
                for (String argument : arguments) {
                    line.append(" [").append(argument).append(']');
                }
                System.out.println(line);
                System.out.flush();
                received.countDown();
            }
        });
        System.out.println("listening single=" + SingleInstance.isSingleInstance());
        System.out.flush();
        if (!received.await(60, TimeUnit.SECONDS)) {
            System.out.println("nothing handed over");
        }
    }
}
