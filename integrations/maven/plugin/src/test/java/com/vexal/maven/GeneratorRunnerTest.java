package com.vexal.maven;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;
import static org.junit.Assume.assumeFalse;

import java.io.File;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.util.Arrays;
import java.util.Collections;
import java.util.LinkedHashMap;
import java.util.Map;

import org.junit.Rule;
import org.junit.Test;
import org.junit.rules.TemporaryFolder;

public class GeneratorRunnerTest {
    @Rule
    public TemporaryFolder folder = new TemporaryFolder();

    // A stand-in generator: prints its arguments one per line (one on
    // standard error), reads standard input, and ends with the exit code
    // given as its last argument.
    private File fakeGenerator() throws Exception {
        File script = folder.newFile("vexal");
        String text = "#!/bin/sh\n"
                + "for a in \"$@\"; do last=$a; printf 'arg:%s\\n' \"$a\"; done\n"
                + "echo 'vexal: warning: to stderr' >&2\n"
                + "cat >/dev/null\n"
                + "exit \"$last\"\n";
        Files.write(script.toPath(), text.getBytes(StandardCharsets.UTF_8));
        script.setExecutable(true);
        return script;
    }

    @Test
    public void argumentsReachTheGeneratorUnchangedAndItsOutputIsCollected() throws Exception {
        assumeFalse(File.separatorChar == '\\');
        GeneratorRunner runner = new GeneratorRunner(fakeGenerator(), false);
        String[] arguments = {"build", "/dir with blanks/vexal.toml", "--set", "java.vm-options=[\"-Da=$HOME;`x`\"]",
            "--set", "application.name=Grüße", "3"};
        GeneratorRunner.Result result = runner.run(Arrays.asList(arguments), folder.getRoot());
        assertEquals(3, result.exitCode);
        assertEquals(arguments.length + 1, result.lines.size());
        for (int i = 0; i < arguments.length; i++) assertEquals("arg:" + arguments[i], result.lines.get(i));
        assertEquals("vexal: warning: to stderr", result.lines.get(arguments.length));

        // Standard input is at its end at once: the run above did not wait.
        assertEquals(0, runner.run(Collections.singletonList("0"), folder.getRoot()).exitCode);
    }

    @Test
    public void aFailureNamesTheParameterBehindAKeyTheGeneratorComplainsAbout() {
        Map<String, String> sources = new LinkedHashMap<>();
        sources.put("application.main-class", "<mainClass>");
        sources.put("java.min-version", "<minVersion>");
        sources.put("java.max-version", "<maxVersion>");
        sources.put("arch", "<targets>");

        Object[][] cases = {
            // generator line, hint expected, hint not expected
            {"vexal: --set:1:1: java.min-version: \"abc\" is no version", "java.min-version is set by <minVersion>",
                "<maxVersion>"},
            {"vexal: warning: t/vexal.toml:3:1: java.max-version: below java.min-version.",
                "java.max-version is set by <maxVersion>", "<mainClass>"},
            {"vexal: no vexal-stub-gui.exe for x86 found", null, "<targets>"},
            {"vexal: java.min-versions is unknown", null, "<minVersion>"},
            {"vexal: application.main-class.x is unknown", null, "<mainClass>"},
        };
        for (Object[] c : cases) {
            GeneratorRunner.Result result = new GeneratorRunner.Result(1, Collections.singletonList((String) c[0]));
            String message = GeneratorRunner.failureMessage("x64 (target/hello.exe)", result, sources);
            assertTrue(message, message.startsWith("vexal build failed for x64 (target/hello.exe) (exit code 1)\n  "
                    + c[0]));
            if (c[1] != null) assertTrue(message, message.contains("(" + c[1] + ")"));
            assertFalse(message, message.contains((String) c[2]));
        }
        String silent = GeneratorRunner.failureMessage("x86", new GeneratorRunner.Result(139,
                Collections.<String>emptyList()), sources);
        assertEquals("vexal build failed for x86 (exit code 139)\n  (it printed nothing)", silent);
    }
}
