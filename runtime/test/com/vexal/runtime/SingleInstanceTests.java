package com.vexal.runtime;

import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.attribute.UserPrincipal;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.concurrent.BlockingQueue;
import java.util.concurrent.LinkedBlockingQueue;
import java.util.concurrent.TimeUnit;

/** The hand-over of later starts' arguments: splitting, the file watcher, the listeners. */
final class SingleInstanceTests {
    private SingleInstanceTests() {
    }

    static void register(Path scratch) {
        RuntimeTests.test("command line: split like the launcher", SingleInstanceTests::splitting);
        RuntimeTests.test("single instance: a listener receives a start and the file goes", () -> {
            Path file = scratch.resolve("vxl_p1.tmp");
            BlockingQueue<List<String>> got = listen();
            SingleInstance.startWatching(file.toFile(), 10);
            write(file, "open \"my file.txt\" --fast\n");
            equal(Arrays.asList("open", "my file.txt", "--fast"), take(got), "arguments");
            waitGone(file);
            write(file, "\n");
            equal(new ArrayList<String>(), take(got), "arguments of a start without any");
        });
        RuntimeTests.test("single instance: starts before the first listener are kept, in order", () -> {
            Path file = scratch.resolve("vxl_p2.tmp");
            SingleInstance.startWatching(file.toFile(), 10);
            write(file, "first\n");
            waitGone(file);
            write(file, "second 'two words'\n");
            waitGone(file);
            BlockingQueue<List<String>> got = listen();
            equal(Arrays.asList("first"), take(got), "first kept start");
            equal(Arrays.asList("second", "two words"), take(got), "second kept start");
            BlockingQueue<List<String>> late = listen();
            write(file, "third\n");
            equal(Arrays.asList("third"), take(got), "first listener");
            equal(Arrays.asList("third"), take(late), "second listener");
        });
        RuntimeTests.test("single instance: a file without its line feed waits for the writer", () -> {
            Path file = scratch.resolve("vxl_p3.tmp");
            BlockingQueue<List<String>> got = listen();
            SingleInstance.startWatching(file.toFile(), 10);
            write(file, "half");
            check(got.poll(300, TimeUnit.MILLISECONDS) == null, "an unfinished file was delivered");
            check(Files.exists(file), "an unfinished file was deleted");
            write(file, "half done\n");
            equal(Arrays.asList("half", "done"), take(got), "arguments");
        });
        RuntimeTests.test("single instance: a throwing listener does not stop the others", () -> {
            Path file = scratch.resolve("vxl_p4.tmp");
            SingleInstance.addListener(a -> {
                throw new IllegalStateException("listener fails");
            });
            BlockingQueue<List<String>> got = listen();
            SingleInstance.startWatching(file.toFile(), 10);
            java.io.PrintStream err = System.err;
            System.setErr(new java.io.PrintStream(new java.io.ByteArrayOutputStream()));
            try {
                write(file, "a\n");
                equal(Arrays.asList("a"), take(got), "arguments");
                write(file, "b\n");
                equal(Arrays.asList("b"), take(got), "arguments after a failure");
            } finally {
                System.setErr(err);
            }
        });
        // Another local user's files under the hand-over name: a link to a file
        // that holds arguments, a file of another owner, something that is no
        // regular file. None is delivered; the link's target stays as it was.
        RuntimeTests.test("single instance: links, foreign and odd files are not read", () -> {
            Path file = scratch.resolve("vxl_p6.tmp");
            BlockingQueue<List<String>> got = listen();
            SingleInstance.startWatching(file.toFile(), 10);
            Path planted = scratch.resolve("planted.txt");
            Files.write(planted, bytes("--load-plugin /tmp/evil.jar\n"));
            Files.createSymbolicLink(file, planted);
            check(got.poll(300, TimeUnit.MILLISECONDS) == null, "a start was read through a link");
            check(Files.isSymbolicLink(file), "the link was removed");
            check(Files.exists(planted), "the link's target was deleted");
            Files.delete(file);
            UserPrincipal other = otherUser(file);
            if (other != null) {
                Path foreign = scratch.resolve("foreign.part");
                Files.write(foreign, bytes("--from another user\n"));
                Files.setOwner(foreign, other);
                Files.move(foreign, file);
                check(got.poll(300, TimeUnit.MILLISECONDS) == null, "another user's file was read");
                Files.delete(file);
            }
            Files.createDirectory(file);
            check(got.poll(300, TimeUnit.MILLISECONDS) == null, "a directory was taken for a start");
            Files.delete(file);
            write(file, "own\n");
            equal(Arrays.asList("own"), take(got), "the user's own file after the planted ones");
        });
        RuntimeTests.test("single instance: a file beyond the size cap is dropped unread", () -> {
            Path file = scratch.resolve("vxl_p7.tmp");
            BlockingQueue<List<String>> got = listen();
            SingleInstance.startWatching(file.toFile(), 10);
            byte[] huge = new byte[SingleInstance.MAX_FILE_BYTES + 2];
            Arrays.fill(huge, (byte) 'a');
            huge[huge.length - 2] = '\n';
            Path part = scratch.resolve("huge.part");
            Files.write(part, huge);
            Files.move(part, file);
            waitGone(file);
            check(got.poll(300, TimeUnit.MILLISECONDS) == null, "a file beyond the cap was delivered");
            write(file, "small\n");
            equal(Arrays.asList("small"), take(got), "a start after the dropped file");
        });
        RuntimeTests.test("single instance: only with the launcher's properties", () -> {
            System.clearProperty(SingleInstance.SEMAPHORE_PROPERTY);
            System.setProperty(SingleInstance.COMM_FILE_PROPERTY, scratch.resolve("vxl_p5.tmp").toString());
            check(!SingleInstance.isSingleInstance(), "single instance without the marker name");
            SingleInstance.startFromProperties();
            Path file = scratch.resolve("vxl_p5.tmp");
            write(file, "x\n");
            Thread.sleep(300);
            check(Files.exists(file), "a file was consumed without single instance");
            Files.delete(file);
            System.clearProperty(SingleInstance.COMM_FILE_PROPERTY);
        });
    }

    private static void splitting() {
        String[][] rows = {
            {"", ""},
            {"a b  c", "a|b|c"},
            {"  lead", "lead"},
            {"\"two words\" x", "two words|x"},
            {"'single quoted' \"double 'inner'\"", "single quoted|double 'inner'"},
            {"-Dname=\"a b\" next", "-Dname=a b|next"},
            {"\"a\"b", "a|b"},
            {"tab\tinside", "tab\tinside"},
            {"\u00e9t\u00e9 \ud83d\ude00", "\u00e9t\u00e9|\ud83d\ude00"},
            // An unclosed quote keeps the rest of the text as one argument.
            {"ok \"never closed", "ok|never closed"},
        };
        for (String[] row : rows) {
            List<String> expected = row[1].isEmpty() ? new ArrayList<String>() : Arrays.asList(row[1].split("\\|"));
            equal(expected, Arrays.asList(CommandLine.split(row[0])), "split of [" + row[0] + "]");
        }
        check(SingleInstance.completeText(bytes("ab\n"), false).equals("ab"), "complete text");
        check(SingleInstance.completeText(bytes("ab"), false) == null, "unfinished text");
        check(SingleInstance.completeText(bytes("ab"), true).equals("ab"), "overdue text");
        byte[] odd = Arrays.copyOf(bytes("ab\n"), 7);
        check("ab".equals(SingleInstance.completeText(odd, false)), "a stray last byte");
    }

    /** Another account to own a planted file ("nobody"), when this process may give files away. */
    private static UserPrincipal otherUser(Path near) {
        try {
            UserPrincipal nobody = near.getFileSystem().getUserPrincipalLookupService().lookupPrincipalByName("nobody");
            Path probe = Files.createTempFile(near.getParent(), "owner", ".tmp");
            try {
                Files.setOwner(probe, nobody);
                return nobody;
            } finally {
                Files.delete(probe);
            }
        } catch (Exception e) {
            return null;
        }
    }

    private static BlockingQueue<List<String>> listen() {
        BlockingQueue<List<String>> got = new LinkedBlockingQueue<>();
        SingleInstance.addListener(a -> got.add(Arrays.asList(a)));
        return got;
    }

    private static List<String> take(BlockingQueue<List<String>> got) throws InterruptedException {
        List<String> arguments = got.poll(10, TimeUnit.SECONDS);
        check(arguments != null, "no start was delivered");
        return arguments;
    }

    private static byte[] bytes(String text) {
        return text.getBytes(StandardCharsets.UTF_16LE);
    }

    private static void write(Path file, String text) throws Exception {
        Path part = file.resolveSibling(file.getFileName() + ".part");
        Files.write(part, bytes(text));
        Files.move(part, file, java.nio.file.StandardCopyOption.REPLACE_EXISTING,
                java.nio.file.StandardCopyOption.ATOMIC_MOVE);
    }

    private static void waitGone(Path file) throws InterruptedException {
        for (int i = 0; i < 1000 && Files.exists(file); i++) Thread.sleep(10);
        check(!Files.exists(file), "the file " + file + " is still there");
    }

    private static void check(boolean condition, String what) {
        RuntimeTests.check(condition, what);
    }

    private static void equal(Object expected, Object actual, String what) {
        RuntimeTests.equal(expected, actual, what);
    }
}
