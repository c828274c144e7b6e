package com.vexal.runtime;

import com.korvalith.runtime.FirstRun;

import java.io.File;
import java.io.IOException;
import java.io.PrintStream;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Collections;
import java.util.HashSet;
import java.util.List;
import java.util.Set;
import java.util.concurrent.atomic.AtomicInteger;

/**
 * The tests of the Java runtime, with a runner of their own (no test library
 * is needed): each case runs in turn; the process ends with 1 when any fails.
 * Usage: java -cp runtime-tests.jar:vexal-runtime.jar:kvlruntime.jar
 * com.vexal.runtime.RuntimeTests SCRATCH_DIR
 */
public final class RuntimeTests {
    interface Body {
        void run() throws Throwable;
    }

    private static final class Case {
        final String name;
        final Body body;

        Case(String name, Body body) {
            this.name = name;
            this.body = body;
        }
    }

    private static Path scratch;
    private static final List<Case> CASES = new ArrayList<>();

    static void test(String name, Body body) {
        CASES.add(new Case(name, body));
    }

    public static void main(String[] args) throws IOException {
        scratch = Files.createTempDirectory(args.length > 0 ? Files.createDirectories(new File(args[0]).toPath()) : null,
                "runtime-tests");
        launcherCases();
        controllerCases();
        firstRunCases();
        SingleInstanceTests.register(scratch);
        int failed = 0;
        PrintStream out = System.out;
        for (Case c : CASES) {
            PrintStream savedOut = System.out, savedErr = System.err;
            try {
                c.body.run();
                out.println("ok      " + c.name);
            } catch (Throwable t) {
                System.setOut(savedOut);
                System.setErr(savedErr);
                failed++;
                out.println("FAILED  " + c.name);
                t.printStackTrace(out);
            } finally {
                System.setOut(savedOut);
                System.setErr(savedErr);
                VexalController.reset();
                resetSingleInstance();
            }
        }
        out.println(CASES.size() - failed + " of " + CASES.size() + " passed");
        System.exit(failed == 0 ? 0 : 1);
    }

    private static void resetSingleInstance() {
        try {
            SingleInstance.reset();
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
        }
    }

    // ---- checks

    static void check(boolean condition, String what) {
        if (!condition) throw new AssertionError(what);
    }

    static void equal(Object expected, Object actual, String what) {
        boolean same = expected == null ? actual == null
                : expected instanceof Object[] && actual instanceof Object[]
                        ? Arrays.equals((Object[]) expected, (Object[]) actual)
                        : expected.equals(actual);
        if (!same) {
            throw new AssertionError(what + ": expected " + show(expected) + ", got " + show(actual));
        }
    }

    private static String show(Object value) {
        return value instanceof Object[] ? Arrays.toString((Object[]) value) : "\"" + value + "\"";
    }

    static Throwable thrownBy(Body body) {
        try {
            body.run();
        } catch (Throwable t) {
            return t;
        }
        throw new AssertionError("nothing was thrown");
    }

    static String read(Path file) throws IOException {
        return new String(Files.readAllBytes(file), StandardCharsets.UTF_8).replace("\r\n", "\n");
    }

    static String[] launch(String errorLog, String debugLog, String runtimeFlag, String mainClass, String... rest)
            throws Throwable {
        List<String> args = new ArrayList<>(Arrays.asList("false", mainClass, errorLog, debugLog, runtimeFlag));
        args.addAll(Arrays.asList(rest));
        TestApps.received = null;
        WinLauncher.main(args.toArray(new String[0]));
        return TestApps.received;
    }

    // ---- WinLauncher

    private static void launcherCases() {
        final String echo = TestApps.Echo.class.getName();
        test("the application receives everything behind the program token, unchanged", () -> {
            Object[][] table = {
                {new String[] {"app.exe"}, new String[0]},
                {new String[] {"app.exe", "a", "b c", ""}, new String[] {"a", "b c", ""}},
                {new String[] {"app.exe", "\u00fc\u20ac\u4e2d\ud83d\ude00", "-Jx"}, new String[] {"\u00fc\u20ac\u4e2d\ud83d\ude00", "-Jx"}},
                {new String[0], new String[0]},
            };
            for (Object[] row : table) {
                String[] rest = (String[]) row[0];
                equal(row[1], launch("", "", "false", TestApps.Silent.class.getName(), rest), Arrays.toString(rest));
            }
        });
        test("the program token and the flags become system properties", () -> {
            System.clearProperty(WinLauncher.TOKEN_PROPERTY);
            WinLauncher.main(new String[] {"true", TestApps.Silent.class.getName(), "", "", "true", "C:\\app\\app.exe"});
            equal("C:\\app\\app.exe", System.getProperty("vexal.programToken"), "token");
            equal("true", System.getProperty("vexal.guiApplication"), "gui");
            equal("true", System.getProperty("vexal.appendLogs"), "append");
            System.clearProperty(WinLauncher.TOKEN_PROPERTY);
            WinLauncher.main(new String[] {"false", TestApps.Silent.class.getName(), "", "", "false"});
            equal(null, System.getProperty("vexal.programToken"), "no token without a sixth argument");
            equal("false", System.getProperty("vexal.guiApplication"), "gui");
            equal("false", System.getProperty("vexal.appendLogs"), "append");
        });
        test("the logs receive System.err and System.out, in new folders", () -> {
            Path err = scratch.resolve("logs1/deep/error.log"), dbg = scratch.resolve("logs1/other/debug.log");
            launch(err.toString(), dbg.toString(), "false", echo, "app.exe", "x", "y");
            System.out.flush();
            System.err.flush();
            equal("out: x|y\n", read(dbg), "debug log");
            equal("err: 2\n", read(err), "error log");
        });
        test("an empty log path leaves the stream where it was", () -> {
            PrintStream before = System.err;
            Path dbg = scratch.resolve("logs2/debug.log");
            launch("", dbg.toString(), "false", echo, "app.exe");
            check(System.err == before, "System.err was replaced");
            equal("out: \n", read(dbg), "debug log");
        });
        test("a log that nobody writes to is not created", () -> {
            Path err = scratch.resolve("logs3/error.log"), dbg = scratch.resolve("logs3/debug.log");
            launch(err.toString(), dbg.toString(), "false", TestApps.Silent.class.getName(), "app.exe");
            check(!Files.exists(err) && !Files.exists(dbg), "a log file exists");
        });
        test("the runtime flag appends to the logs; without it they start afresh", () -> {
            String[][] table = {
                // runtime flag, what the debug log holds after two runs
                {"true", "old\nout: 1\nout: 2\n"},
                {"false", "out: 2\n"},
            };
            for (String[] row : table) {
                Path dbg = scratch.resolve("logs4-" + row[0] + "/debug.log");
                Files.createDirectories(dbg.getParent());
                Files.write(dbg, "old\n".getBytes(StandardCharsets.UTF_8));
                launch("", dbg.toString(), row[0], echo, "app.exe", "1");
                launch("", dbg.toString(), row[0], echo, "app.exe", "2");
                equal(row[1], read(dbg), "runtime flag " + row[0]);
            }
        });
        test("a log that cannot be opened falls back to the stream it replaces", () -> {
            Path blocker = scratch.resolve("logs5-file");
            Files.write(blocker, new byte[0]);
            java.io.ByteArrayOutputStream captured = new java.io.ByteArrayOutputStream();
            System.setOut(new PrintStream(captured, true));
            launch("", blocker.resolve("debug.log").toString(), "false", echo, "app.exe", "z");
            String text = captured.toString();
            check(text.contains("cannot open the log file") && text.contains("out: z"), "got: " + text);
        });
        test("the application's exception leaves WinLauncher unchanged", () -> {
            Object[][] table = {
                {TestApps.Throws.class.getName(), TestApps.FAILURE},
                {TestApps.ThrowsChecked.class.getName(), TestApps.CHECKED},
            };
            for (Object[] row : table) {
                Throwable thrown = thrownBy(() -> launch("", "", "false", (String) row[0], "app.exe"));
                check(thrown == row[1], row[0] + " threw " + thrown);
            }
        });
        test("a missing class or main, or too few arguments, throws for the launcher to report", () -> {
            Object[][] table = {
                {"com.example.Missing", ClassNotFoundException.class},
                {TestApps.InstanceMain.class.getName(), NoSuchMethodException.class},
                {RuntimeTests.Case.class.getName(), NoSuchMethodException.class},
            };
            for (Object[] row : table) {
                Throwable thrown = thrownBy(() -> launch("", "", "false", (String) row[0], "app.exe"));
                equal(row[1], thrown.getClass(), (String) row[0]);
            }
            Throwable thrown = thrownBy(() -> WinLauncher.main(new String[] {"false", "x", "", ""}));
            equal(IllegalArgumentException.class, thrown.getClass(), "four arguments");
        });
        test("without the native launcher main is called by reflection", () -> {
            check(!WinLauncher.nativeMainRegistered(), "natives registered in a plain JVM");
            launch("", "", "false", TestApps.Callers.class.getName(), "app.exe");
            boolean reflective = false;
            for (StackTraceElement frame : TestApps.callers) {
                reflective |= frame.getClassName().equals("java.lang.reflect.Method") && frame.getMethodName().equals("invoke");
            }
            check(reflective, "no Method.invoke below main");
        });
        test("a main that is not public is still called", () -> {
            equal(new String[] {"q"}, launch("", "", "false", TestApps.Hidden.class.getName(), "app.exe", "q"),
                    "arguments");
        });
    }

    // ---- VexalController

    /** Applies the steps ("text:X", "close", "poll") and returns what each poll saw. */
    private static List<String> script(String... steps) {
        List<String> seen = new ArrayList<>();
        for (String step : steps) {
            if (step.startsWith("text:")) {
                VexalController.setStatusText(step.substring(5));
            } else if (step.equals("close")) {
                VexalController.closeSplash();
            } else {
                int action = VexalController.getAction();
                seen.add(action == 2 ? "2:" + VexalController.getText() : Integer.toString(action));
            }
        }
        return seen;
    }

    private static void controllerCases() {
        test("actions are consumed, texts coalesce and close wins", () -> {
            String[][] table = {
                {"poll", "|0"},
                {"text:a poll poll", "|2:a|0"},
                {"text:a text:b text:c poll poll", "|2:c|0"},
                {"text:a poll text:b poll", "|2:a|2:b"},
                {"close poll poll", "|1|0"},
                {"text:a close poll poll", "|1|0"},
                {"close text:a poll poll", "|1|0"},
                {"text:a poll close close poll poll", "|2:a|1|0"},
            };
            for (String[] row : table) {
                VexalController.reset();
                resetSingleInstance();
                StringBuilder seen = new StringBuilder();
                for (String s : script(row[0].split(" "))) seen.append('|').append(s);
                equal(row[1], seen.toString(), row[0]);
            }
        });
        test("getText after a consumed text answers null (no change)", () -> {
            VexalController.setStatusText("x");
            equal(2, VexalController.getAction(), "action");
            equal("x", VexalController.getText(), "first text");
            equal(null, VexalController.getText(), "second text");
            VexalController.setStatusText(null);
            equal(0, VexalController.getAction(), "a null text is no update");
        });
        test("texts from several threads reach the poller in each thread's order, close ends them", () -> {
            final int writers = 4, count = 2000;
            final List<String> received = Collections.synchronizedList(new ArrayList<>());
            final AtomicInteger closes = new AtomicInteger();
            final AtomicInteger afterClose = new AtomicInteger();
            // Polls until the close arrives, then a while longer: nothing may follow it.
            Thread poller = new Thread(() -> {
                while (closes.get() == 0) {
                    int action = VexalController.getAction();
                    if (action == 1) closes.incrementAndGet();
                    if (action == 2) {
                        String text = VexalController.getText();
                        received.add(text);
                    }
                }
                for (int i = 0; i < 1000; i++) {
                    if (VexalController.getAction() != 0) afterClose.incrementAndGet();
                }
            });
            poller.start();
            List<Thread> threads = new ArrayList<>();
            for (int w = 0; w < writers; w++) {
                final int writer = w;
                Thread t = new Thread(() -> {
                    for (int i = 0; i < count; i++) VexalController.setStatusText(writer + ":" + i);
                });
                threads.add(t);
                t.start();
            }
            for (Thread t : threads) t.join();
            VexalController.setStatusText("last");
            Thread closer = new Thread(VexalController::closeSplash);
            closer.start();
            closer.join();
            VexalController.setStatusText("after close");
            poller.join(10000);
            check(!poller.isAlive(), "the poller did not finish");
            equal(1, closes.get(), "close actions");
            equal(0, afterClose.get(), "actions after the close");
            // A null text after action 2 means that a close came in between; it
            // can only be the last thing the poller saw.
            int firstNull = received.indexOf(null);
            check(firstNull < 0 || firstNull == received.size() - 1, "a null text before the end: " + firstNull);
            if (firstNull >= 0) received.remove(firstNull);
            check(!received.contains("after close"), "a text set after the close arrived");
            int[] lastIndex = new int[writers];
            Arrays.fill(lastIndex, -1);
            Set<String> distinct = new HashSet<>(received);
            equal(received.size(), distinct.size(), "a text arrived twice");
            for (String text : received) {
                if (text.equals("last")) continue;
                String[] parts = text.split(":");
                int writer = Integer.parseInt(parts[0]), index = Integer.parseInt(parts[1]);
                check(index > lastIndex[writer], "writer " + writer + " out of order at " + text);
                lastIndex[writer] = index;
            }
        });
    }

    // ---- FirstRun

    private static boolean runFirstRun(String root, String module) {
        if (root == null) System.clearProperty(FirstRun.ROOT_PROPERTY);
        else System.setProperty(FirstRun.ROOT_PROPERTY, root);
        System.setProperty(FirstRun.MODULE_PROPERTY, module);
        System.clearProperty(FirstRun.PROPERTY);
        return FirstRun.firstRun();
    }

    private static Path marker(Path root) throws IOException {
        Path marker = root.resolve(".korvalith/firstrun");
        Files.createDirectories(marker.getParent());
        Files.write(marker, new byte[0]);
        return marker;
    }

    private static void firstRunCases() {
        test("firstRun deletes the marker found from the executable or the given root", () -> {
            // marker's root, executable, vexal.installRoot (null: not set)
            String[][] table = {
                {"a", "a/app.exe", null},
                {"b", "b/bin/app.exe", null},
                {"c", "c/x/y/app.exe", null},
                {"d/elsewhere", "d/bin/app.exe", "d/elsewhere"},
            };
            for (String[] row : table) {
                Path root = scratch.resolve("fr-" + row[0]);
                Path marker = marker(root);
                String module = scratch.resolve("fr-" + row[1]).toString();
                String given = row[2] == null ? null : scratch.resolve("fr-" + row[2]).toString();
                check(runFirstRun(given, module), "firstRun returned false for " + row[1]);
                check(!Files.exists(marker), "the marker of " + row[0] + " is still there");
                equal("true", System.getProperty(FirstRun.PROPERTY), "first-run property");
            }
        });
        test("firstRun with the marker out of reach goes on and says so", () -> {
            Path marker = marker(scratch.resolve("fr-far/root"));
            java.io.ByteArrayOutputStream captured = new java.io.ByteArrayOutputStream();
            System.setErr(new PrintStream(captured, true));
            check(runFirstRun(null, scratch.resolve("fr-far/bin/app.exe").toString()), "returned false");
            check(Files.exists(marker), "a marker outside the executable's folders was deleted");
            check(captured.toString().contains("runs again next start"), "no notice: " + captured);
            check(runFirstRun(scratch.resolve("fr-far/bin").toString(), marker.toString()), "returned false");
            check(Files.exists(marker), "a marker outside the given root was deleted");
        });
        test("firstRun finds the marker in Windows paths", () -> {
            // The launcher's module name uses backslashes; on a host with '/' this
            // checks that the parent walk ends at the drive root without looping.
            check(runFirstRun(null, "c:\\progra~1\\app\\app.exe"), "returned false");
            check(runFirstRun(null, "app.exe"), "returned false");
            check(runFirstRun(null, ""), "returned false");
        });
    }
}
