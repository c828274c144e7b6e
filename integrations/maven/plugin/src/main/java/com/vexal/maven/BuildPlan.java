package com.vexal.maven;

import java.io.File;
import java.util.ArrayList;
import java.util.Collections;
import java.util.LinkedHashMap;
import java.util.LinkedHashSet;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.Set;
import java.util.TreeMap;

/**
 * What the goal runs: one {@code vexal build} per target, from the pom's
 * parameters. Without {@code <projectFile>} the inline keys make a small
 * project file of their own; with one, they override its keys through
 * {@code --set}. Every configuration fault is found here, before the
 * generator runs, and named by its parameter.
 */
final class BuildPlan {
    /** One generator run. */
    static final class Invocation {
        final LauncherTarget target;
        final File output;
        /** The arguments after the generator's own path. */
        final List<String> arguments;

        Invocation(LauncherTarget target, File output, List<String> arguments) {
            this.target = target;
            this.output = output;
            this.arguments = Collections.unmodifiableList(arguments);
        }
    }

    /** The project file that every run builds. */
    final File projectFile;
    /** The text to write to {@link #projectFile} first, or null when the pom names the file. */
    final String generatedProject;
    final List<Invocation> invocations;
    /** Project key to the parameters that set it ("<mainClass>"), for messages about the generator's complaints. */
    final Map<String, String> keySources;

    private BuildPlan(File projectFile, String generatedProject, List<Invocation> invocations,
                      Map<String, String> keySources) {
        this.projectFile = projectFile;
        this.generatedProject = generatedProject;
        this.invocations = Collections.unmodifiableList(invocations);
        this.keySources = Collections.unmodifiableMap(keySources);
    }

    static final String GENERATED_NAME = "vexal.toml";

    /** Keys that the plugin sets itself for every target. */
    private static final Map<String, String> RESERVED = new LinkedHashMap<>();

    static {
        RESERVED.put("arch", "<targets>");
        RESERVED.put("output", "<output>");
    }

    static BuildPlan make(BuildParameters p) throws ParameterException {
        if (p.projectFile != null && !p.projectFile.isFile()) {
            throw new ParameterException("<projectFile>: " + p.projectFile + " is not a file");
        }
        if (p.projectFile == null && blank(p.mainClass)) {
            throw new ParameterException("vexal:build needs <mainClass> (the application's main class, e.g. "
                    + "com.example.Main) or <projectFile> (a Vexal project file)");
        }
        if (p.output == null) throw new ParameterException("<output> is not set");

        // Ordered key -> TOML value, and which parameter set each key.
        Map<String, String> keys = new LinkedHashMap<>();
        Map<String, String> sources = new LinkedHashMap<>();
        put(keys, sources, "application.main-class", p.mainClass, "<mainClass>");
        put(keys, sources, "application.name", p.name, "<name>");
        if (!blank(p.type)) {
            String type = p.type.trim().toLowerCase(Locale.ROOT);
            if (!type.equals("gui") && !type.equals("console")) {
                throw new ParameterException("<type>: \"" + p.type.trim() + "\" is neither gui nor console");
            }
            keys.put("application.type", TomlText.string(type));
            sources.put("application.type", "<type>");
        }
        if (p.icon != null) {
            if (!p.icon.isFile()) throw new ParameterException("<icon>: " + p.icon + " is not a file");
            keys.put("application.icon", TomlText.string(p.icon.getAbsolutePath()));
            sources.put("application.icon", "<icon>");
        }
        put(keys, sources, "java.min-version", p.minVersion, "<minVersion>");
        put(keys, sources, "java.max-version", p.maxVersion, "<maxVersion>");
        if (p.vmOptions != null && !p.vmOptions.isEmpty()) {
            keys.put("java.vm-options", TomlText.array(p.vmOptions));
            sources.put("java.vm-options", "<vmOptions>");
        }
        Set<String> includeSources = new LinkedHashSet<>();
        List<String> included = includedFiles(p, includeSources);
        if (!included.isEmpty()) {
            keys.put("include", TomlText.array(included));
            sources.put("include", String.join(", ", includeSources));
        }

        // <set>: any other key, its value as the generator's --set takes it.
        List<String> extra = new ArrayList<>();
        for (Map.Entry<String, String> entry : new TreeMap<>(p.set == null ? Collections.<String, String>emptyMap()
                : p.set).entrySet()) {
            String key = entry.getKey().trim();
            if (key.isEmpty() || key.indexOf('=') >= 0) throw new ParameterException("<set>: \"" + key + "\" is no key");
            if (RESERVED.containsKey(key)) {
                throw new ParameterException("<set>: " + key + " is set by " + RESERVED.get(key) + "; configure it there");
            }
            if (sources.containsKey(key)) {
                throw new ParameterException("<set>: " + key + " is set by " + sources.get(key) + " already");
            }
            String value = entry.getValue() == null ? "" : entry.getValue();
            extra.add(key + "=" + value);
            sources.put(key, "<set>");
        }

        List<LauncherTarget> targets = targets(p.targets);
        File base = stripExe(p.output);
        File projectFile;
        String generated = null;
        List<String> common = new ArrayList<>();
        if (p.projectFile != null) {
            projectFile = p.projectFile.getAbsoluteFile();
            for (Map.Entry<String, String> key : keys.entrySet()) common.add(key.getKey() + "=" + key.getValue());
        } else {
            projectFile = new File(p.workDirectory, GENERATED_NAME).getAbsoluteFile();
            StringBuilder text = new StringBuilder();
            text.append("# Written by vexal-maven-plugin from its configuration in pom.xml;\n");
            text.append("# the goal writes it anew on every build.\n");
            for (Map.Entry<String, String> key : keys.entrySet()) {
                text.append(key.getKey()).append(" = ").append(key.getValue()).append('\n');
            }
            generated = text.toString();
        }
        common.addAll(extra);

        List<Invocation> invocations = new ArrayList<>();
        for (LauncherTarget target : targets) {
            File output = target.output(base).getAbsoluteFile();
            List<String> arguments = new ArrayList<>();
            arguments.add("build");
            arguments.add(projectFile.getPath());
            arguments.add("-o");
            arguments.add(output.getPath());
            arguments.add("--set");
            arguments.add("arch=" + TomlText.string(target.arch()));
            for (String setting : common) {
                arguments.add("--set");
                arguments.add(setting);
            }
            invocations.add(new Invocation(target, output, arguments));
        }
        sources.put("arch", "<targets>");
        return new BuildPlan(projectFile, generated, invocations, sources);
    }

    private static void put(Map<String, String> keys, Map<String, String> sources, String key, String value,
                            String parameter) {
        if (blank(value)) return;
        keys.put(key, TomlText.string(value.trim()));
        sources.put(key, parameter);
    }

    /**
     * The files to include: the application's archive (the pom's {@code <jar>},
     * or without a project file the project's own), its runtime dependencies,
     * and {@code <includes>}. The launcher extracts them and puts every archive
     * among them on the class path.
     */
    private static List<String> includedFiles(BuildParameters p, Set<String> parameters) throws ParameterException {
        Map<String, String> byName = new LinkedHashMap<>();  // lower-case file name -> what brought it
        List<String> files = new ArrayList<>();
        File jar = p.jar != null ? p.jar : (p.projectFile == null ? p.projectJar : null);
        if (jar != null) {
            if (!jar.isFile()) {
                String why = p.jar != null ? "" : " (the project's archive; the goal runs in the package phase, "
                        + "after the jar is made, or <jar> names another)";
                throw new ParameterException("<jar>: " + jar + " is not a file" + why);
            }
            add(byName, files, jar, "<jar>");
            parameters.add("<jar>");
            if (p.includeDependencies && p.dependencies != null) {
                for (Map.Entry<String, File> dependency : p.dependencies.entrySet()) {
                    add(byName, files, dependency.getValue(), "dependency " + dependency.getKey());
                    parameters.add("<includeDependencies>");
                }
            }
        }
        if (p.includes != null) {
            for (File file : p.includes) {
                if (!file.isFile()) throw new ParameterException("<includes>: " + file + " is not a file");
                add(byName, files, file, "<includes>");
                parameters.add("<includes>");
            }
        }
        return files;
    }

    // The launcher extracts every included file under its own name into one
    // directory, so names must differ in more than case.
    private static void add(Map<String, String> byName, List<String> files, File file, String origin)
            throws ParameterException {
        String key = file.getName().toLowerCase(Locale.ROOT);
        String earlier = byName.get(key);
        if (earlier != null) {
            String parameter = origin.startsWith("dependency") ? "<includeDependencies>" : origin;
            throw new ParameterException(parameter + ": two included files are named " + file.getName() + " ("
                    + earlier + " and " + origin + "); the launcher extracts them into one directory");
        }
        byName.put(key, origin);
        files.add(file.getAbsolutePath());
    }

    private static List<LauncherTarget> targets(List<String> names) throws ParameterException {
        Set<LauncherTarget> targets = new LinkedHashSet<>();
        if (names == null || names.isEmpty()) {
            targets.add(LauncherTarget.X64);
        } else {
            for (String name : names) {
                if (!targets.add(LauncherTarget.named(name))) {
                    throw new ParameterException("<targets>: " + name.trim() + " is named twice");
                }
            }
        }
        return new ArrayList<>(targets);
    }

    private static File stripExe(File output) {
        String path = output.getPath();
        if (path.toLowerCase(Locale.ROOT).endsWith(".exe")) return new File(path.substring(0, path.length() - 4));
        return output;
    }

    private static boolean blank(String text) {
        return text == null || text.trim().isEmpty();
    }
}
