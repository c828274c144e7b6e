package com.vexal.runtime;

import java.util.ArrayList;
import java.util.List;

/**
 * Splits argument text the way the launcher splits its own command line: a
 * blank separates, double and single quotes group (the quotes themselves go,
 * text in front of a quote stays with it: {@code -Dx="a b"} gives
 * {@code -Dx=a b}), nothing escapes.
 */
final class CommandLine {
    private CommandLine() {
    }

    /**
     * The arguments of the text. A quote that never closes takes the rest of
     * the text as one last argument, so no text the user gave is lost.
     */
    static String[] split(String text) {
        List<String> list = new ArrayList<>();
        int p = 0;
        int n = text.length();
        while (p < n) {
            int dq = text.indexOf('"', p);
            int sq = text.indexOf('\'', p);
            int blank = text.indexOf(' ', p);
            if (blank == p) {
                p++;
            } else if (before(blank, dq) && before(blank, sq)) {
                list.add(text.substring(p, blank));
                p = blank + 1;
            } else if (before(dq, sq)) {
                p = takeQuoted(list, text, dq, p);
            } else if (sq >= 0) {
                p = takeQuoted(list, text, sq, p);
            } else {
                list.add(text.substring(p));
                p = n;
            }
        }
        return list.toArray(new String[0]);
    }

    private static boolean before(int a, int b) {
        return a >= 0 && (b < 0 || a < b);
    }

    private static int takeQuoted(List<String> list, String text, int quote, int start) {
        int close = text.indexOf(text.charAt(quote), quote + 1);
        if (close < 0) {
            list.add(text.substring(start, quote) + text.substring(quote + 1));
            return text.length();
        }
        list.add(text.substring(start, quote) + text.substring(quote + 1, close));
        int next = close + 1;
        if (next < text.length() && text.charAt(next) == ' ') next++;
        return next;
    }
}
