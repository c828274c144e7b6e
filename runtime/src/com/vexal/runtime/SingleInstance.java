package com.vexal.runtime;

import java.io.File;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.util.ArrayList;
import java.util.List;
import java.util.concurrent.CopyOnWriteArrayList;

/**
 * The arguments of later starts of a single-instance application.
 *
 * <p>When an executable is built with single instance on, a second start does
 * not run a second application: it brings the running one's windows to the
 * front, writes its own arguments to the running instance's communication
 * file and ends. The runtime watches that file while the application runs,
 * reads and deletes it, and hands the arguments to the registered listeners:
 *
 * <pre>
 * public static void main(String[] args) {
 *     openDocuments(args);
 *     SingleInstance.addListener(more -&gt;
 *             SwingUtilities.invokeLater(() -&gt; openDocuments(more)));
 * }
 * </pre>
 *
 * Starts that arrive before the first listener is registered are kept and
 * delivered to it on registration, in the order they came. Without single
 * instance (or outside the launcher) listeners are accepted and never called.
 *
 * <p>The file's format: the arguments part of the later start's command line
 * followed by one line feed, in UTF-16LE without byte-order mark. Its name is
 * the system property {@value #COMM_FILE_PROPERTY}.
 */
public final class SingleInstance {
    /** The running instance's communication file, set by the launcher. */
    public static final String COMM_FILE_PROPERTY = "vexal.processCommFile";
    /** The name of the instance marker; set only when single instance is on. */
    public static final String SEMAPHORE_PROPERTY = "vexal.semaphoreName";

    static final long POLL_MILLIS = 100;
    /** A file that stays without its closing line feed this long is taken as it is. */
    static final long INCOMPLETE_MILLIS = 2000;

    private static final Object LOCK = new Object();
    private static final List<StartupListener> LISTENERS = new CopyOnWriteArrayList<>();
    private static final List<String[]> KEPT = new ArrayList<>();
    private static Watcher watcher;

    private SingleInstance() {
    }

    /** Whether the launcher runs this application as a single instance. */
    public static boolean isSingleInstance() {
        return System.getProperty(SEMAPHORE_PROPERTY) != null;
    }

    /**
     * Registers a listener for later starts. The first listener also receives,
     * at once and on the calling thread, the starts that arrived before it.
     */
    public static void addListener(StartupListener listener) {
        if (listener == null) throw new NullPointerException("listener");
        List<String[]> kept;
        synchronized (LOCK) {
            LISTENERS.add(listener);
            kept = new ArrayList<>(KEPT);
            KEPT.clear();
        }
        for (String[] arguments : kept) listener.startupRequested(arguments);
    }

    /** Removes a listener; later starts no longer reach it. */
    public static void removeListener(StartupListener listener) {
        LISTENERS.remove(listener);
    }

    /** Starts watching the communication file when the launcher set single instance up. */
    static void startFromProperties() {
        String file = System.getProperty(COMM_FILE_PROPERTY);
        if (file != null && !file.isEmpty() && isSingleInstance()) startWatching(new File(file), POLL_MILLIS);
    }

    /** Watches the file on a daemon thread, polling at the given period. */
    static void startWatching(File file, long periodMillis) {
        synchronized (LOCK) {
            if (watcher != null) return;
            watcher = new Watcher(file, periodMillis);
            watcher.start();
        }
    }

    /** Hands one start's argument text over: to the listeners, or kept for the first one. */
    static void deliver(String argumentText) {
        String[] arguments = CommandLine.split(argumentText);
        synchronized (LOCK) {
            if (LISTENERS.isEmpty()) {
                KEPT.add(arguments);
                return;
            }
        }
        for (StartupListener listener : LISTENERS) {
            try {
                listener.startupRequested(arguments.clone());
            } catch (RuntimeException e) {
                // One failing listener must not keep the others, or later
                // starts, from being delivered.
                e.printStackTrace();
            }
        }
    }

    /** Back to the state at start-up (tests only). */
    static void reset() throws InterruptedException {
        Watcher running;
        synchronized (LOCK) {
            running = watcher;
            watcher = null;
            LISTENERS.clear();
            KEPT.clear();
        }
        if (running != null) {
            running.interrupt();
            running.join();
        }
    }

    /**
     * The text of a complete file, without its line feed; null while the
     * writer has not finished (no line feed yet), unless it stayed so for too
     * long.
     */
    static String completeText(byte[] content, boolean overdue) {
        int length = content.length & ~1;
        String text = new String(content, 0, length, StandardCharsets.UTF_16LE);
        if (text.endsWith("\n")) return text.substring(0, text.length() - 1);
        return overdue ? text : null;
    }

    private static final class Watcher extends Thread {
        private final File file;
        private final long periodMillis;
        private long incompleteSince = -1;
        private long consumedStamp = -1;

        Watcher(File file, long periodMillis) {
            super("vexal-startup-watcher");
            setDaemon(true);
            this.file = file;
            this.periodMillis = periodMillis;
        }

        @Override
        public void run() {
            while (!isInterrupted()) {
                try {
                    poll();
                    Thread.sleep(periodMillis);
                } catch (InterruptedException e) {
                    return;
                } catch (IOException | RuntimeException e) {
                    // The file can vanish or be locked between the checks;
                    // the next poll tries again.
                }
            }
        }

        private void poll() throws IOException {
            if (!file.isFile()) {
                incompleteSince = -1;
                consumedStamp = -1;
                return;
            }
            long stamp = file.lastModified() ^ (file.length() << 32);
            // Content already delivered whose deletion failed: wait for a change.
            if (stamp == consumedStamp) {
                Files.deleteIfExists(file.toPath());
                return;
            }
            long now = System.nanoTime() / 1_000_000;
            if (incompleteSince < 0) incompleteSince = now;
            String text = completeText(Files.readAllBytes(file.toPath()), now - incompleteSince >= INCOMPLETE_MILLIS);
            if (text == null) return;
            incompleteSince = -1;
            consumedStamp = stamp;
            try {
                Files.deleteIfExists(file.toPath());
                consumedStamp = -1;
            } finally {
                deliver(text);
            }
        }
    }
}
