package com.vexal.runtime;

import java.lang.reflect.InvocationTargetException;
import java.lang.reflect.Method;
import java.lang.reflect.Modifier;
import java.util.Arrays;

/**
 * The class whose {@code main} the native launcher calls. It sets up the Java
 * side of the launch and then calls the application's own main class.
 *
 * <p>The launcher passes, in this order:
 * <ol>
 * <li>"true" for a GUI application, "false" for a console one (system property
 *     {@value #GUI_PROPERTY});</li>
 * <li>the application's main class, with dots;</li>
 * <li>the full path of the error log, or "" for none: {@code System.err} is sent to that file;</li>
 * <li>the full path of the debug log, or "" for none: {@code System.out} is sent to that file;</li>
 * <li>the runtime flag, "true" or "false": "true" appends to existing log files,
 *     "false" starts them afresh each run (system property {@value #APPEND_PROPERTY});</li>
 * <li>the program token of the command line (system property {@value #TOKEN_PROPERTY});</li>
 * <li>the application's arguments, which its {@code main} receives as they are.</li>
 * </ol>
 *
 * <p>Log files are created, with their folders, when the first byte is written
 * to them; a run that writes nothing leaves none. The launcher reports an
 * exception that leaves {@code main} on the error stream, so the stack trace of
 * an application failure lands in the error log when there is one.
 *
 * <p>The application's {@code main} is called the way {@code java} calls it:
 * through JNI, by the native launcher, which registers {@link #callMain} on
 * this class before it calls this class's {@code main}. Reflection
 * ({@code Method.invoke}) would spin method-handle classes on the start path of
 * every launch (JDK 18 and later). Without the native launcher (tests, other
 * hosts) the natives are not registered and {@code main} is called by
 * reflection instead.
 *
 * <p>An exception thrown by the application's {@code main} leaves this method
 * unchanged (not wrapped), so the launcher sees it pending and reports that the
 * application failed. So do a missing main class and a missing or non-static
 * {@code main(String[])}.
 */
public final class WinLauncher {
    /** "true" when the launcher is a GUI application. */
    public static final String GUI_PROPERTY = "vexal.guiApplication";
    /** "true" when the logs are appended to rather than started afresh. */
    public static final String APPEND_PROPERTY = "vexal.appendLogs";
    /** The program token of the command line (the sixth argument). */
    public static final String TOKEN_PROPERTY = "vexal.programToken";

    static final int LEADING_ARGUMENTS = 5;

    private WinLauncher() {
    }

    public static void main(String[] args) throws Throwable {
        if (args == null || args.length < LEADING_ARGUMENTS) {
            throw new IllegalArgumentException("WinLauncher expects " + LEADING_ARGUMENTS
                    + " leading arguments (GUI flag, main class, error log, debug log, runtime flag), got "
                    + (args == null ? 0 : args.length));
        }
        boolean gui = "true".equals(args[0]);
        String mainClass = args[1];
        boolean append = "true".equals(args[4]);
        System.setProperty(GUI_PROPERTY, Boolean.toString(gui));
        System.setProperty(APPEND_PROPERTY, Boolean.toString(append));
        redirectLogs(args[2], args[3], append);
        // Only a single-instance launch needs the class (and loads it).
        if (System.getProperty(SingleInstance.SEMAPHORE_PROPERTY) != null) SingleInstance.startFromProperties();
        String[] applicationArgs;
        if (args.length > LEADING_ARGUMENTS) {
            System.setProperty(TOKEN_PROPERTY, args[LEADING_ARGUMENTS]);
            applicationArgs = Arrays.copyOfRange(args, LEADING_ARGUMENTS + 1, args.length);
        } else {
            applicationArgs = new String[0];
        }
        runApplication(mainClass, applicationArgs);
    }

    /** Sends System.err and System.out to the given files; an empty path leaves the stream alone. */
    static void redirectLogs(String errorLog, String debugLog, boolean append) {
        if (errorLog != null && !errorLog.isEmpty()) {
            System.setErr(LogFileStream.printStream(errorLog, append, System.err));
        }
        if (debugLog != null && !debugLog.isEmpty()) {
            System.setOut(LogFileStream.printStream(debugLog, append, System.out));
        }
    }

    /** Loads the main class and calls its static main(String[]); its exception leaves unchanged. */
    static void runApplication(String mainClass, String[] args) throws Throwable {
        Class<?> type = loadClass(mainClass);
        Method main = findMain(type);
        if (nativeMainRegistered()) {
            callMain(type, args);
            return;
        }
        main.setAccessible(true);
        try {
            main.invoke(null, (Object) args);
        } catch (InvocationTargetException e) {
            throw e.getCause() != null ? e.getCause() : e;
        }
    }

    /** True when the native launcher has registered the natives below. */
    static boolean nativeMainRegistered() {
        try {
            return hasNativeMain();
        } catch (UnsatisfiedLinkError e) {
            return false;
        }
    }

    /** Registered by the native launcher: answers true. */
    private static native boolean hasNativeMain();

    /**
     * Registered by the native launcher: calls the static main(String[]) of
     * the class through JNI; an exception of main leaves unchanged.
     */
    private static native void callMain(Class<?> mainClass, String[] args);

    private static Class<?> loadClass(String name) throws ClassNotFoundException {
        ClassLoader loader = Thread.currentThread().getContextClassLoader();
        if (loader == null) loader = WinLauncher.class.getClassLoader();
        return Class.forName(name, true, loader);
    }

    /** The static void main(String[]) of the class, public or not; the same checks for both ways of calling it. */
    private static Method findMain(Class<?> type) throws NoSuchMethodException {
        Method main;
        try {
            main = type.getMethod("main", String[].class);
        } catch (NoSuchMethodException e) {
            main = type.getDeclaredMethod("main", String[].class);
        }
        if (!Modifier.isStatic(main.getModifiers()) || main.getReturnType() != void.class) {
            throw new NoSuchMethodException(type.getName() + ".main(String[]) is not a static void method");
        }
        return main;
    }
}
