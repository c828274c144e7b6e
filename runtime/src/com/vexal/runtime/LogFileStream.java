package com.vexal.runtime;

import java.io.File;
import java.io.FileOutputStream;
import java.io.IOException;
import java.io.OutputStream;
import java.io.PrintStream;

/**
 * An output stream onto a log file that is opened only when the first byte is
 * written, so that a run which logs nothing leaves no empty file behind. The
 * file's missing parent folders are created at that moment.
 *
 * <p>When the file cannot be opened, the bytes go to the fallback stream (the
 * stream the log replaces) instead of being lost, and the reason is told once
 * on that stream.
 */
final class LogFileStream extends OutputStream {
    private final File file;
    private final boolean append;
    private final OutputStream fallback;
    private OutputStream target;

    LogFileStream(File file, boolean append, OutputStream fallback) {
        this.file = file;
        this.append = append;
        this.fallback = fallback;
    }

    /** A print stream (flushed at each line) into the log file at path, replacing the given one. */
    static PrintStream printStream(String path, boolean append, PrintStream replaced) {
        return new PrintStream(new LogFileStream(new File(path), append, replaced), true);
    }

    private OutputStream target() {
        if (target != null) return target;
        try {
            File parent = file.getAbsoluteFile().getParentFile();
            if (parent != null && !parent.isDirectory() && !parent.mkdirs() && !parent.isDirectory()) {
                throw new IOException("cannot create the folder " + parent);
            }
            target = new FileOutputStream(file, append);
        } catch (IOException | SecurityException e) {
            target = fallback;
            try {
                fallback.write(("vexal: cannot open the log file " + file + " (" + e.getMessage()
                        + "); writing here instead" + System.lineSeparator()).getBytes());
            } catch (IOException ignored) {
                // Nothing is left to tell it to.
            }
        }
        return target;
    }

    @Override
    public synchronized void write(int b) throws IOException {
        target().write(b);
    }

    @Override
    public synchronized void write(byte[] bytes, int offset, int length) throws IOException {
        if (length == 0) return;
        target().write(bytes, offset, length);
    }

    @Override
    public synchronized void flush() throws IOException {
        if (target != null) target.flush();
    }

    @Override
    public synchronized void close() throws IOException {
        if (target != null && target != fallback) target.close();
    }

    /** Whether the file has been opened (tests and diagnostics). */
    synchronized boolean opened() {
        return target != null && target != fallback;
    }
}
