package com.vexal.maven;

import static org.junit.Assert.assertEquals;

import java.util.Arrays;
import java.util.Collections;

import org.junit.Test;

public class TomlTextTest {
    @Test
    public void stringsKeepEveryCharacter() {
        String[][] cases = {
            {"com.example.Main", "\"com.example.Main\""},
            {"", "\"\""},
            {"say \"hi\"", "\"say \\\"hi\\\"\""},
            {"C:\\Program Files\\app.jar", "\"C:\\\\Program Files\\\\app.jar\""},
            {"line\nbreak\r\ttab", "\"line\\nbreak\\r\\ttab\""},
            {"bell\u0007del\u007f", "\"bell\\u0007del\\u007F\""},
            {"Grüße \u00e9", "\"Grüße \u00e9\""},
            {"'single' and ${maven}", "\"'single' and ${maven}\""},
        };
        for (String[] c : cases) assertEquals(c[0], c[1], TomlText.string(c[0]));
    }

    @Test
    public void arraysQuoteEachItem() {
        assertEquals("[]", TomlText.array(Collections.<String>emptyList()));
        assertEquals("[\"-Xmx64m\", \"-Dname=a \\\"b\\\"\"]", TomlText.array(Arrays.asList("-Xmx64m", "-Dname=a \"b\"")));
    }
}
