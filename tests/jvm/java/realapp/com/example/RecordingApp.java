package com.example;

import com.vexal.runtime.VexalController;
import java.io.FileOutputStream;
import java.io.IOException;
import java.io.OutputStreamWriter;
import java.io.Writer;
import java.nio.charset.StandardCharsets;

/**
 * A test application started through the real runtime launcher: records its
 * arguments and the launcher's properties in files beside "vexal.test.out",
 * writes one line to each log, sets the splash status text and leaves a
 * non-daemon thread running; "throw" as its first argument makes it fail.
 */
public final class RecordingApp {
    private RecordingApp() {}

    public static void main(String[] args) throws Exception {
        final String out = System.getProperty("vexal.test.out");
        StringBuilder text = new StringBuilder();
        for (String arg : args) {
            text.append(arg).append('\n');
        }
        write(out + ".args", text.toString());
        write(out + ".props", "firstRun=" + System.getProperty("vexal.firstRun") + "\ntoken="
                + System.getProperty("vexal.programToken") + "\n");
        System.out.println("debug line from the app");
        System.err.println("error line from the app");
        VexalController.setStatusText("Loading \u2713");
        if (args.length > 0 && args[0].equals("throw")) {
            throw new IllegalStateException("application failed on purpose");
        }
        Thread worker = new Thread(new Runnable() {
            public void run() {
                try {
                    Thread.sleep(500);
                    write(out + ".worker", "worker done\n");
                } catch (Exception e) {
                    throw new RuntimeException(e);
                }
            }
        });
        worker.start();
    }

    static void write(String path, String text) throws IOException {
        Writer writer = new OutputStreamWriter(new FileOutputStream(path), StandardCharsets.UTF_8);
        try {
            writer.write(text);
        } finally {
            writer.close();
        }
    }
}
