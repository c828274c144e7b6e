package com.vexal.maven;

/**
 * Arguments for a child process on Windows. Java hands Windows one command
 * line, and by default (jdk.lang.Process.allowAmbiguousCommands not "false")
 * it only wraps an argument with blanks in quotes, without escaping the
 * quotes inside: {@code java.vm-options=["-Da=b c"]} would reach the
 * generator torn apart. So the plugin quotes such arguments itself, by the
 * rules of the C runtime that splits the generator's command line; Java
 * passes an argument that is already quoted as it is. In the strict mode
 * Java escapes correctly by itself and the arguments go unchanged.
 *
 * One case stays out of reach: an argument with a blank that ends with a
 * backslash, which Java takes for unquoted once quoted. The plugin's own
 * arguments (file paths, TOML values) never end so.
 */
final class WindowsArguments {
    private WindowsArguments() {
    }

    /** Whether Java quotes arguments correctly by itself (the strict mode). */
    static boolean javaQuotesStrictly(String allowAmbiguousCommands) {
        return "false".equalsIgnoreCase(allowAmbiguousCommands);
    }

    /** {@code argument} as the plugin gives it to Java: quoted when Java would mangle it, else as it is. */
    static String forCommandLine(String argument) {
        if (argument.isEmpty()) return quote(argument);
        for (int i = 0; i < argument.length(); i++) {
            char c = argument.charAt(i);
            if (c == ' ' || c == '\t' || c == '"' || c == '<' || c == '>') return quote(argument);
        }
        return argument;
    }

    /**
     * {@code argument} in quotes so that the C runtime reads it back
     * unchanged: a quote inside becomes \", the backslashes before it and
     * before the closing quote are doubled, other backslashes stay single.
     */
    static String quote(String argument) {
        StringBuilder out = new StringBuilder(argument.length() + 2).append('"');
        int backslashes = 0;
        for (int i = 0; i < argument.length(); i++) {
            char c = argument.charAt(i);
            if (c == '\\') {
                backslashes++;
                continue;
            }
            if (c == '"') {
                repeat(out, '\\', 2 * backslashes + 1);
            } else {
                repeat(out, '\\', backslashes);
            }
            backslashes = 0;
            out.append(c);
        }
        repeat(out, '\\', 2 * backslashes);
        return out.append('"').toString();
    }

    private static void repeat(StringBuilder out, char c, int count) {
        for (int i = 0; i < count; i++) out.append(c);
    }
}
