package com.vexal.maven;

import java.io.File;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;

/**
 * Finds the generator, {@code bin/vexal} ({@code bin\vexal.exe} on Windows) of
 * a Vexal home, in this order:
 * <ol>
 * <li>{@code <vexalHome>} (or {@code -Dvexal.home});</li>
 * <li>the {@code VEXAL_HOME} environment variable;</li>
 * <li>{@code vexal} on the {@code PATH};</li>
 * <li>a release archive unpacked into the build directory
 *     ({@code target/vexal-<version>/} or {@code target/dependency/vexal-<version>/}),
 *     the plugin's own version first.</li>
 * </ol>
 * A home that is named but holds no generator is an error, not a reason to
 * look further: the build would otherwise run another generator than the
 * one asked for.
 */
final class GeneratorLocator {
    /** The generator found, and how. */
    static final class Found {
        final File executable;
        final String source;

        Found(File executable, String source) {
            this.executable = executable;
            this.source = source;
        }
    }

    static final String HOME_VARIABLE = "VEXAL_HOME";

    File vexalHome;
    String environmentHome;
    String path;
    File buildDirectory;
    String pluginVersion;
    boolean windows;

    String executableName() {
        return windows ? "vexal.exe" : "vexal";
    }

    Found locate() throws ParameterException {
        String bin = "bin" + File.separator + executableName();
        if (vexalHome != null) {
            File exe = new File(new File(vexalHome, "bin"), executableName());
            if (!runnable(exe)) {
                throw new ParameterException("<vexalHome>: " + vexalHome + " is no Vexal home: " + exe
                        + " is not an executable file (the home is the unpacked release archive, with " + bin + ")");
            }
            return new Found(exe, "<vexalHome>");
        }
        if (environmentHome != null && !environmentHome.isEmpty()) {
            File exe = new File(new File(environmentHome, "bin"), executableName());
            if (!runnable(exe)) {
                throw new ParameterException("the " + HOME_VARIABLE + " environment variable names " + environmentHome
                        + ", which is no Vexal home: " + exe + " is not an executable file (set <vexalHome> "
                        + "to use another)");
            }
            return new Found(exe, HOME_VARIABLE);
        }
        List<String> looked = new ArrayList<>();
        if (path != null) {
            for (String dir : path.split(File.pathSeparator)) {
                // An empty entry would mean the working directory: never searched.
                if (dir.isEmpty() || !new File(dir).isAbsolute()) continue;
                File exe = new File(dir, executableName());
                if (runnable(exe)) return new Found(exe, "PATH");
            }
        }
        looked.add(executableName() + " on the PATH");
        if (buildDirectory != null) {
            for (File parent : Arrays.asList(buildDirectory, new File(buildDirectory, "dependency"))) {
                Found found = unpackedArchive(parent, looked);
                if (found != null) return found;
            }
        }
        throw new ParameterException("no Vexal generator found: set <vexalHome> (or -Dvexal.home=DIR) or the "
                + HOME_VARIABLE + " environment variable to the unpacked release archive, or put its bin directory "
                + "on the PATH; looked at " + String.join(", ", looked));
    }

    // vexal-<this plugin's version> first, then any other vexal-* with a
    // generator, the highest version by name.
    private Found unpackedArchive(File parent, List<String> looked) {
        List<File> candidates = new ArrayList<>();
        if (pluginVersion != null && !pluginVersion.isEmpty()) candidates.add(new File(parent, "vexal-" + pluginVersion));
        File[] others = parent.listFiles((dir, name) -> name.startsWith("vexal-"));
        if (others != null) {
            Arrays.sort(others, (a, b) -> compareVersions(b.getName(), a.getName()));
            candidates.addAll(Arrays.asList(others));
        }
        looked.add(new File(new File(parent, "vexal-*"), "bin" + File.separator + executableName()).getPath());
        for (File home : candidates) {
            File exe = new File(new File(home, "bin"), executableName());
            if (!exe.isFile()) continue;
            // Archives unpacked by Maven plugins may lose the executable bit.
            if (!windows && !exe.canExecute() && !exe.setExecutable(true, true)) continue;
            if (runnable(exe)) return new Found(exe, "the release archive unpacked in " + parent);
        }
        return null;
    }

    private boolean runnable(File exe) {
        return exe.isFile() && (windows || exe.canExecute());
    }

    /** Orders "vexal-1.10.0" after "vexal-1.9.2": numbers by value, the rest as text. */
    static int compareVersions(String a, String b) {
        String[] x = a.split("[.-]");
        String[] y = b.split("[.-]");
        for (int i = 0; i < Math.min(x.length, y.length); i++) {
            int c;
            if (x[i].matches("\\d{1,9}") && y[i].matches("\\d{1,9}")) {
                c = Integer.compare(Integer.parseInt(x[i]), Integer.parseInt(y[i]));
            } else {
                c = x[i].compareTo(y[i]);
            }
            if (c != 0) return c;
        }
        return Integer.compare(x.length, y.length);
    }
}
