package com.vexal.maven;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;

import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;

import org.junit.Test;

public class WindowsArgumentsTest {
    // How the C runtime splits a command line into arguments: blanks
    // separate outside quotes; 2n backslashes and a quote give n backslashes
    // and open or close quoting, 2n+1 and a quote give n and a literal quote;
    // other backslashes are literal.
    private static List<String> split(String line) {
        List<String> arguments = new ArrayList<>();
        StringBuilder current = new StringBuilder();
        boolean inQuotes = false;
        boolean any = false;
        for (int i = 0; i < line.length(); ) {
            char c = line.charAt(i);
            if (c == '\\') {
                int n = 0;
                while (i < line.length() && line.charAt(i) == '\\') {
                    n++;
                    i++;
                }
                if (i < line.length() && line.charAt(i) == '"') {
                    for (int k = 0; k < n / 2; k++) current.append('\\');
                    if (n % 2 == 1) {
                        current.append('"');
                        i++;
                    }
                } else {
                    for (int k = 0; k < n; k++) current.append('\\');
                }
                any = true;
            } else if (c == '"') {
                inQuotes = !inQuotes;
                any = true;
                i++;
            } else if ((c == ' ' || c == '\t') && !inQuotes) {
                if (any) arguments.add(current.toString());
                current.setLength(0);
                any = false;
                i++;
            } else {
                current.append(c);
                any = true;
                i++;
            }
        }
        if (any) arguments.add(current.toString());
        return arguments;
    }

    // What Java (default mode) makes of one argument: one that is quoted (in
    // quotes, not ending with \") goes as it is; one with a blank, tab, < or
    // > is wrapped in quotes, with nothing inside escaped.
    private static String javaDefault(String s) {
        if (s.isEmpty()) return "\"\"";
        boolean quoted = s.length() >= 2 && s.startsWith("\"") && s.endsWith("\"") && !s.endsWith("\\\"");
        if (!quoted && s.matches("(?s).*[ \t<>].*")) return "\"" + s + "\"";
        return s;
    }

    @Test
    public void argumentsReachTheGeneratorUnchanged() {
        List<String> arguments = Arrays.asList("build", "C:\\Users\\A B\\app\\vexal.toml", "",
                "C:\\plain\\path.toml", "arch=\"x64\"",
                "java.vm-options=[\"-Dmsg=say \\\"hi\\\"\", \"-Xmx64m\"]", "trailing\\\\",
                "\\\\server\\share", "a\\\\\"b", "tab\there", "a<b>c", "quote\"and backslash\\ inside", "no\"blank\\");
        StringBuilder line = new StringBuilder("vexal.exe");
        for (String argument : arguments) line.append(' ').append(javaDefault(WindowsArguments.forCommandLine(argument)));
        List<String> back = split(line.toString());
        assertEquals(arguments, back.subList(1, back.size()));
        // Arguments Java passes well stay as they are.
        assertEquals("C:\\plain\\path.toml", WindowsArguments.forCommandLine("C:\\plain\\path.toml"));
    }

    @Test
    public void quotingFollowsTheRuntimeRules() {
        String[][] cases = {
            {"plain", "\"plain\""},
            {"", "\"\""},
            {"a\"b", "\"a\\\"b\""},
            {"a\\b", "\"a\\b\""},
            {"a\\\"b", "\"a\\\\\\\"b\""},
            {"end\\", "\"end\\\\\""},
        };
        for (String[] c : cases) assertEquals(c[0], c[1], WindowsArguments.quote(c[0]));
    }

    @Test
    public void onlyTheStrictModeLeavesQuotingToJava() {
        assertTrue(WindowsArguments.javaQuotesStrictly("false"));
        assertTrue(WindowsArguments.javaQuotesStrictly("FALSE"));
        assertFalse(WindowsArguments.javaQuotesStrictly(null));
        assertFalse(WindowsArguments.javaQuotesStrictly("true"));
        assertFalse(WindowsArguments.javaQuotesStrictly(""));
    }
}
