package com.vexal.runtime;

import java.io.FileOutputStream;
import java.io.IOException;
import java.io.OutputStreamWriter;
import java.io.Writer;
import java.nio.charset.StandardCharsets;

/**
 * Test stand-in for the runtime launcher class: records the arguments it
 * receives (UTF-8, one per line) in the file named by "vexal.test.out" and
 * acts on the first argument after the program token.
 */
public final class WinLauncher {
    private WinLauncher() {}

    public static void main(String[] args) throws Exception {
        String out = System.getProperty("vexal.test.out");
        StringBuilder text = new StringBuilder();
        for (String arg : args) {
            text.append(arg).append('\n');
        }
        write(out + ".args", text.toString());
        String action = args.length > 6 ? args[6] : "";
        if (action.equals("throw")) {
            throw new IllegalStateException("main failed on purpose");
        }
        if (action.equals("worker")) {
            // A non-daemon thread that outlives main: the launcher's
            // DestroyJavaVM must wait for it.
            final String done = out + ".worker";
            Thread worker = new Thread(new Runnable() {
                public void run() {
                    try {
                        Thread.sleep(500);
                        write(done, "worker done\n");
                    } catch (Exception e) {
                        throw new RuntimeException(e);
                    }
                }
            });
            worker.setDaemon(false);
            worker.start();
        }
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
