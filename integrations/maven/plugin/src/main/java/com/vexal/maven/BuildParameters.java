package com.vexal.maven;

import java.io.File;
import java.util.ArrayList;
import java.util.LinkedHashMap;
import java.util.List;
import java.util.Map;

/**
 * The goal's configuration as the plan needs it, apart from Maven: the
 * parameters of the pom, with the project's archive and dependencies already
 * looked up.
 */
final class BuildParameters {
    /** {@code <projectFile>}: a Vexal project file, or null for the inline keys alone. */
    File projectFile;
    String mainClass;
    String name;
    String type;
    File icon;
    String minVersion;
    String maxVersion;
    List<String> vmOptions = new ArrayList<>();
    /** {@code <jar>} as configured; null when the pom does not set it. */
    File jar;
    /** The project's own archive, the default of {@code <jar>} without a project file. */
    File projectJar;
    boolean includeDependencies = true;
    /** The project's runtime dependencies: display name (group:artifact:version) to file. */
    Map<String, File> dependencies = new LinkedHashMap<>();
    List<File> includes = new ArrayList<>();
    /** {@code <output>}: the executables' path without a suffix. */
    File output;
    List<String> targets = new ArrayList<>();
    /** {@code <set>}: further project keys, each value as {@code vexal build --set} takes it. */
    Map<String, String> set = new LinkedHashMap<>();
    /** Where the plan writes the project file made from the inline keys. */
    File workDirectory;
}
