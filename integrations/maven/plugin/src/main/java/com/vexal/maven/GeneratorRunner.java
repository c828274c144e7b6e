package com.vexal.maven;

import java.io.BufferedReader;
import java.io.File;
import java.io.IOException;
import java.io.InputStreamReader;
import java.nio.charset.Charset;
import java.nio.charset.StandardCharsets;
import java.util.ArrayList;
import java.util.List;
import java.util.Map;

/** Runs the generator as a child process (no shell) and collects what it prints. */
final class GeneratorRunner {
    /** The end of one run. */
    static final class Result {
        final int exitCode;
        final List<String> lines;

        Result(int exitCode, List<String> lines) {
            this.exitCode = exitCode;
            this.lines = lines;
        }
    }

    private final File executable;
    private final boolean windows;

    GeneratorRunner(File executable, boolean windows) {
        this.executable = executable;
        this.windows = windows;
    }

    List<String> command(List<String> arguments) {
        List<String> command = new ArrayList<>();
        command.add(executable.getPath());
        boolean quote = windows && !WindowsArguments.javaQuotesStrictly(
                System.getProperty("jdk.lang.Process.allowAmbiguousCommands"));
        for (String argument : arguments) command.add(quote ? WindowsArguments.forCommandLine(argument) : argument);
        return command;
    }

    Result run(List<String> arguments, File workingDirectory) throws IOException, InterruptedException {
        ProcessBuilder builder = new ProcessBuilder(command(arguments));
        builder.directory(workingDirectory);
        builder.redirectErrorStream(true);
        // The generator reads no input; a child that did would wait forever on Maven's console.
        builder.redirectInput(ProcessBuilder.Redirect.from(new File(windows ? "NUL" : "/dev/null")));
        Process process = builder.start();
        // The generator prints paths as the file system has them: UTF-8 on Linux.
        Charset charset = windows ? Charset.defaultCharset() : StandardCharsets.UTF_8;
        List<String> lines = new ArrayList<>();
        try (BufferedReader reader = new BufferedReader(new InputStreamReader(process.getInputStream(), charset))) {
            for (String line; (line = reader.readLine()) != null; ) lines.add(line);
        }
        return new Result(process.waitFor(), lines);
    }

    /**
     * The build failure for a run that did not succeed: the generator's
     * output, and for each project key it names that a parameter of the pom
     * set, that parameter.
     */
    static String failureMessage(String what, Result result, Map<String, String> keySources) {
        StringBuilder text = new StringBuilder();
        text.append("vexal build failed for ").append(what).append(" (exit code ").append(result.exitCode).append(')');
        List<String> hints = new ArrayList<>();
        for (String line : result.lines) {
            text.append("\n  ").append(line);
            for (Map.Entry<String, String> key : keySources.entrySet()) {
                String hint = key.getKey() + " is set by " + key.getValue();
                if (namesKey(line, key.getKey()) && !hints.contains(hint)) hints.add(hint);
            }
        }
        if (result.lines.isEmpty()) text.append("\n  (it printed nothing)");
        for (String hint : hints) text.append("\n(").append(hint).append(')');
        return text.toString();
    }

    // "java.min-version" in "...: java.min-version: ..." or at a sentence's end,
    // but not inside "java.min-versions" or "java.min-version.x".
    private static boolean namesKey(String line, String key) {
        for (int at = line.indexOf(key); at >= 0; at = line.indexOf(key, at + 1)) {
            boolean before = at == 0 || !keyCharacter(line.charAt(at - 1));
            int end = at + key.length();
            boolean after = end == line.length() || !keyCharacter(line.charAt(end))
                    || (line.charAt(end) == '.' && (end + 1 == line.length() || !keyCharacter(line.charAt(end + 1))));
            if (before && after) return true;
        }
        return false;
    }

    private static boolean keyCharacter(char c) {
        return Character.isLetterOrDigit(c) || c == '-' || c == '_' || c == '.';
    }
}
