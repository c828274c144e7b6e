package com.example.deps;

import org.codehaus.plexus.util.StringUtils;

/** Shows which of its dependencies the executable brought, and what the project file and the pom set. */
public final class Main {
    private Main() {
    }

    public static void main(String[] args) {
        System.out.println(StringUtils.capitalise("plexus-utils") + " included");
        System.out.println("mode: " + System.getProperty("example.mode"));
        System.out.println("junit: " + present("org.junit.Test"));
        System.out.println("runtime API: " + present("com.vexal.runtime.SingleInstance"));
        for (int i = 0; i < args.length; i++) {
            System.out.println("argument " + (i + 1) + ": " + args[i]);
        }
    }

    private static String present(String name) {
        try {
            Class.forName(name);
            return "present";
        } catch (ClassNotFoundException e) {
            return "absent";
        }
    }
}
