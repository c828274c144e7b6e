package com.vexal.runtime;

import java.io.File;
import java.io.IOException;
import java.io.InputStream;
import java.nio.channels.SeekableByteChannel;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.LinkOption;
import java.nio.file.Path;
import java.nio.file.StandardOpenOption;
import java.nio.file.attribute.BasicFileAttributes;
import java.nio.file.attribute.PosixFileAttributeView;
import java.nio.file.attribute.PosixFileAttributes;
import java.nio.file.attribute.UserPrincipal;
import java.util.ArrayList;
import java.util.Arrays;
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
 * the system property {@value #COMM_FILE_PROPERTY}; on Linux it lies in the
 * user's private directory of the launcher (mode 0700). The file is read only
 * when it is a regular file (a link is never followed) of at most
 * {@value #MAX_FILE_BYTES} bytes and, where the file system knows owners in
 * the POSIX way, owned by the user who runs the application; anything else
 * under its name is left alone and delivers nothing.
 */
public final class SingleInstance {
    /** The running instance's communication file, set by the launcher. */
    public static final String COMM_FILE_PROPERTY = "vexal.processCommFile";
    /** The name of the instance marker; set only when single instance is on. */
    public static final String SEMAPHORE_PROPERTY = "vexal.semaphoreName";

    static final long POLL_MILLIS = 100;
    /** A file that stays without its closing line feed this long is taken as it is. */
    static final long INCOMPLETE_MILLIS = 2000;
    /** Larger files are not a start's arguments: they are deleted unread. */
    static final int MAX_FILE_BYTES = 4 * 1024 * 1024;

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

    /**
     * The attributes of the hand-over file when it may be read: a regular file
     * (links not followed) of the user who runs the application, where the
     * file system keeps POSIX owners; null otherwise, also when it is missing.
     */
    static BasicFileAttributes handOverAttributes(Path path) {
        try {
            PosixFileAttributeView posix =
                    Files.getFileAttributeView(path, PosixFileAttributeView.class, LinkOption.NOFOLLOW_LINKS);
            if (posix == null) {
                BasicFileAttributes basic =
                        Files.readAttributes(path, BasicFileAttributes.class, LinkOption.NOFOLLOW_LINKS);
                return basic.isRegularFile() ? basic : null;
            }
            PosixFileAttributes attributes = posix.readAttributes();
            if (!attributes.isRegularFile()) return null;
            return attributes.owner().equals(currentUser(path)) ? attributes : null;
        } catch (IOException | UnsupportedOperationException | SecurityException e) {
            return null;
        }
    }

    private static UserPrincipal user;

    /**
     * The user who runs the application, as the file system names owners: by
     * the account name, or (an account without a name, as in some containers)
     * the owner of a file made for the purpose.
     */
    private static synchronized UserPrincipal currentUser(Path near) throws IOException {
        if (user != null) return user;
        try {
            user = near.getFileSystem().getUserPrincipalLookupService()
                    .lookupPrincipalByName(System.getProperty("user.name"));
        } catch (IOException e) {
            Path probe = Files.createTempFile("vexal-owner", ".tmp");
            try {
                user = Files.getOwner(probe, LinkOption.NOFOLLOW_LINKS);
            } finally {
                Files.deleteIfExists(probe);
            }
        }
        return user;
    }

    /**
     * The file's bytes, read through a channel that does not follow a link;
     * null when it holds more than {@link #MAX_FILE_BYTES}.
     */
    static byte[] readCapped(Path path) throws IOException {
        try (SeekableByteChannel channel =
                     Files.newByteChannel(path, StandardOpenOption.READ, LinkOption.NOFOLLOW_LINKS);
             InputStream in = java.nio.channels.Channels.newInputStream(channel)) {
            byte[] buffer = new byte[8192];
            int length = 0;
            for (;;) {
                if (length == buffer.length) {
                    if (length > MAX_FILE_BYTES) return null;
                    buffer = Arrays.copyOf(buffer, Math.min(buffer.length * 2, MAX_FILE_BYTES + 1));
                }
                int n = in.read(buffer, length, buffer.length - length);
                if (n < 0) break;
                length += n;
            }
            return length > MAX_FILE_BYTES ? null : Arrays.copyOf(buffer, length);
        }
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
            Path path = file.toPath();
            BasicFileAttributes attributes = handOverAttributes(path);
            if (attributes == null) {
                incompleteSince = -1;
                consumedStamp = -1;
                return;
            }
            long stamp = attributes.lastModifiedTime().toMillis() ^ (attributes.size() << 32);
            // Content already delivered whose deletion failed: wait for a change.
            if (stamp == consumedStamp) {
                Files.deleteIfExists(path);
                return;
            }
            byte[] content = readCapped(path);
            if (content == null) {
                // Far too large for a start's arguments: dropped unread.
                Files.deleteIfExists(path);
                return;
            }
            long now = System.nanoTime() / 1_000_000;
            if (incompleteSince < 0) incompleteSince = now;
            String text = completeText(content, now - incompleteSince >= INCOMPLETE_MILLIS);
            if (text == null) return;
            incompleteSince = -1;
            consumedStamp = stamp;
            try {
                Files.deleteIfExists(path);
                consumedStamp = -1;
            } finally {
                deliver(text);
            }
        }
    }
}
