package com.vexal.runtime;

/**
 * Control of the launcher's splash screen by the application.
 *
 * <p>Applications call {@link #setStatusText(String)} to show progress on the
 * splash screen and {@link #closeSplash()} to dismiss it, from any thread:
 *
 * <pre>
 * VexalController.setStatusText("Loading plugins...");
 * loadPlugins();
 * VexalController.closeSplash();
 * mainWindow.setVisible(true);
 * </pre>
 *
 * Both calls return at once; the launcher picks the request up within about
 * 100 ms. Without a splash screen they do nothing visible.
 *
 * <p>The launcher's side: every 100 ms its splash thread calls
 * {@link #getAction()} and, when that answers {@link #ACTION_TEXT},
 * {@link #getText()}. The contract:
 * <ul>
 * <li>{@code getAction} consumes the pending action: it answers
 *     {@link #ACTION_CLOSE} once after a close was asked for,
 *     {@link #ACTION_TEXT} once after one or more texts were set, and
 *     {@link #ACTION_NONE} otherwise.</li>
 * <li>Text updates coalesce: texts set between two polls count as one, and
 *     {@code getText} hands out the latest of them, then null until a new one is
 *     set (null means "no change" to the launcher).</li>
 * <li>Close wins: once a close is pending, {@code getAction} answers
 *     {@link #ACTION_CLOSE} before any pending text, and texts set after the
 *     close are dropped, since the splash is gone.</li>
 * </ul>
 */
public final class VexalController {
    /** Nothing to do. */
    public static final int ACTION_NONE = 0;
    /** Close the splash screen. */
    public static final int ACTION_CLOSE = 1;
    /** A new status text is ready for {@link #getText()}. */
    public static final int ACTION_TEXT = 2;

    private static final Object LOCK = new Object();
    private static boolean closeRequested;
    private static boolean closeDelivered;
    private static boolean textReady;
    private static String pendingText;

    private VexalController() {
    }

    /**
     * Shows the text in the splash screen's status line. Texts set faster than
     * the launcher polls replace each other; the latest one is shown. A null
     * text is ignored; after {@link #closeSplash()} every text is ignored.
     */
    public static void setStatusText(String text) {
        if (text == null) return;
        synchronized (LOCK) {
            if (closeRequested) return;
            pendingText = text;
            textReady = true;
        }
    }

    /** Asks the launcher to close the splash screen. Later calls do nothing more. */
    public static void closeSplash() {
        synchronized (LOCK) {
            closeRequested = true;
            textReady = false;
            pendingText = null;
        }
    }

    /** Whether {@link #closeSplash()} has been called. */
    public static boolean isCloseRequested() {
        synchronized (LOCK) {
            return closeRequested;
        }
    }

    /** Polled by the launcher: the pending action, which this call consumes. */
    public static int getAction() {
        synchronized (LOCK) {
            if (closeRequested) {
                if (closeDelivered) return ACTION_NONE;
                closeDelivered = true;
                return ACTION_CLOSE;
            }
            if (textReady) {
                textReady = false;
                return ACTION_TEXT;
            }
            return ACTION_NONE;
        }
    }

    /** Called by the launcher after {@link #ACTION_TEXT}: the latest text, or null for no change. */
    public static String getText() {
        synchronized (LOCK) {
            String text = pendingText;
            pendingText = null;
            // A text set between getAction and this call is handed out here;
            // it must not be announced again with nothing left to give.
            textReady = false;
            return text;
        }
    }

    /** Back to the state at start-up (tests only). */
    static void reset() {
        synchronized (LOCK) {
            closeRequested = false;
            closeDelivered = false;
            textReady = false;
            pendingText = null;
        }
    }
}
