package com.vexal.maven;

import java.io.File;

/**
 * A kind of executable the plugin writes: the generator's {@code arch} and the
 * output's name. (Not named Target: Maven would take this class for the items
 * of {@code <targets><target>...}, by their element name.)
 */
enum LauncherTarget {
    X64("x64", ".exe"),
    X86("x86", "-x86.exe"),
    LINUX_X64("linux-x64", "");

    private final String arch;
    private final String suffix;

    LauncherTarget(String arch, String suffix) {
        this.arch = arch;
        this.suffix = suffix;
    }

    /** The value of the project file's {@code arch} key. */
    String arch() {
        return arch;
    }

    /** The executable for this target: {@code base} with the target's suffix. */
    File output(File base) {
        return new File(base.getPath() + suffix);
    }

    /** The target named {@code name} in {@code <targets>}, ignoring case and blanks around it. */
    static LauncherTarget named(String name) throws ParameterException {
        String wanted = name == null ? "" : name.trim();
        for (LauncherTarget target : values()) {
            if (target.arch.equalsIgnoreCase(wanted)) return target;
        }
        throw new ParameterException("<targets>: unknown target \"" + wanted + "\"; the targets are x64, x86 and linux-x64");
    }
}
