package com.vexal.maven;

import java.io.File;
import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.StandardCopyOption;
import java.util.ArrayList;
import java.util.List;
import java.util.Locale;
import java.util.Map;

import org.apache.maven.artifact.Artifact;
import org.apache.maven.plugin.AbstractMojo;
import org.apache.maven.plugin.MojoExecutionException;
import org.apache.maven.plugin.MojoFailureException;
import org.apache.maven.plugins.annotations.LifecyclePhase;
import org.apache.maven.plugins.annotations.Mojo;
import org.apache.maven.plugins.annotations.Parameter;
import org.apache.maven.plugins.annotations.ResolutionScope;
import org.apache.maven.project.MavenProject;

/**
 * Builds the application's launchers with the Vexal generator: a Windows
 * executable for x64 and x86 and a Linux executable, as {@code <targets>}
 * says, from a Vexal project file or from the keys configured here.
 */
@Mojo(name = "build", defaultPhase = LifecyclePhase.PACKAGE, requiresDependencyResolution = ResolutionScope.RUNTIME,
        threadSafe = true)
public final class BuildMojo extends AbstractMojo {
    /** A Vexal project file (TOML); the parameters below override its keys. */
    @Parameter(property = "vexal.projectFile")
    private File projectFile;

    /** The application's main class ({@code application.main-class}); required without a project file. */
    @Parameter(property = "vexal.mainClass")
    private String mainClass;

    /** The application's name ({@code application.name}); default: the main class's last part. */
    @Parameter(property = "vexal.name")
    private String name;

    /** {@code gui} or {@code console} ({@code application.type}). */
    @Parameter(property = "vexal.type")
    private String type;

    /** The application icon, a .ico file ({@code application.icon}). */
    @Parameter(property = "vexal.icon")
    private File icon;

    /** The lowest Java version accepted ({@code java.min-version}). */
    @Parameter(property = "vexal.minVersion")
    private String minVersion;

    /** The highest Java version accepted ({@code java.max-version}). */
    @Parameter(property = "vexal.maxVersion")
    private String maxVersion;

    /** Options of the Java virtual machine, one per item ({@code java.vm-options}). */
    @Parameter
    private List<String> vmOptions;

    /**
     * The application's archive, put into the executable (the launcher
     * extracts it and puts it on the class path). Default without a project
     * file: the project's own jar.
     */
    @Parameter(property = "vexal.jar")
    private File jar;

    /** With the application's archive, put the project's runtime dependencies into the executable too. */
    @Parameter(property = "vexal.includeDependencies", defaultValue = "true")
    private boolean includeDependencies;

    /** Further files to put into the executable. */
    @Parameter
    private List<File> includes;

    /**
     * The executables' path without a suffix: x64 writes it with ".exe",
     * x86 with "-x86.exe", linux-x64 as it is.
     */
    @Parameter(property = "vexal.output", defaultValue = "${project.build.directory}/${project.artifactId}")
    private File output;

    /** The executables to build: any of x64, x86 and linux-x64 (default: x64). */
    @Parameter(property = "vexal.targets")
    private List<String> targets;

    /**
     * Any other key of the project file, as {@code vexal build --set KEY=VALUE}
     * takes it (VALUE in TOML syntax or a plain string), for example
     * {@code <application.single-instance>true</application.single-instance>}.
     */
    @Parameter
    private Map<String, String> set;

    /** The Vexal home (the unpacked release archive); default: VEXAL_HOME, the PATH, an archive unpacked into target. */
    @Parameter(property = "vexal.home")
    private File vexalHome;

    /** Skip the goal. */
    @Parameter(property = "vexal.skip", defaultValue = "false")
    private boolean skip;

    @Parameter(defaultValue = "${project}", readonly = true, required = true)
    private MavenProject project;

    @Parameter(defaultValue = "${project.build.directory}", readonly = true, required = true)
    private File buildDirectory;

    @Parameter(defaultValue = "${project.build.directory}/${project.build.finalName}.jar", readonly = true)
    private File defaultJar;

    @Parameter(defaultValue = "${plugin.version}", readonly = true)
    private String pluginVersion;

    private static final String WARNING = "vexal: warning: ";

    @Override
    public void execute() throws MojoExecutionException, MojoFailureException {
        if (skip) {
            getLog().info("vexal:build skipped");
            return;
        }
        boolean windows = System.getProperty("os.name", "").toLowerCase(Locale.ROOT).startsWith("windows");
        BuildPlan plan;
        GeneratorLocator.Found generator;
        try {
            plan = BuildPlan.make(parameters());
            GeneratorLocator locator = new GeneratorLocator();
            locator.vexalHome = vexalHome;
            locator.environmentHome = System.getenv(GeneratorLocator.HOME_VARIABLE);
            locator.path = System.getenv("PATH");
            locator.buildDirectory = buildDirectory;
            locator.pluginVersion = pluginVersion;
            locator.windows = windows;
            generator = locator.locate();
        } catch (ParameterException e) {
            throw new MojoFailureException(e.getMessage());
        }
        if (plan.generatedProject != null) writeProject(plan);

        GeneratorRunner runner = new GeneratorRunner(generator.executable, windows);
        getLog().info("Vexal generator " + generator.executable + " (from " + generator.source + ")");
        for (BuildPlan.Invocation invocation : plan.invocations) {
            mkdirs(invocation.output.getParentFile());
            if (getLog().isDebugEnabled()) getLog().debug(String.join(" ", runner.command(invocation.arguments)));
            GeneratorRunner.Result result;
            try {
                result = runner.run(invocation.arguments, project.getBasedir());
            } catch (IOException e) {
                throw new MojoExecutionException("cannot run " + generator.executable + " (from " + generator.source
                        + "): " + e.getMessage(), e);
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
                throw new MojoExecutionException("interrupted while " + generator.executable + " ran", e);
            }
            if (result.exitCode != 0) {
                throw new MojoFailureException(GeneratorRunner.failureMessage(
                        invocation.target.arch() + " (" + invocation.output + ")", result, plan.keySources));
            }
            for (String line : result.lines) {
                if (line.startsWith(WARNING)) {
                    getLog().warn("vexal: " + line.substring(WARNING.length()));
                } else {
                    getLog().info(line);
                }
            }
        }
    }

    private BuildParameters parameters() {
        BuildParameters p = new BuildParameters();
        p.projectFile = projectFile;
        p.mainClass = mainClass;
        p.name = name;
        p.type = type;
        p.icon = icon;
        p.minVersion = minVersion;
        p.maxVersion = maxVersion;
        if (vmOptions != null) p.vmOptions = new ArrayList<>(vmOptions);
        p.jar = jar;
        File built = project.getArtifact() == null ? null : project.getArtifact().getFile();
        p.projectJar = built != null && built.isFile() ? built : defaultJar;
        p.includeDependencies = includeDependencies;
        for (Artifact artifact : project.getArtifacts()) {
            if (artifact.getFile() == null || !"jar".equals(artifact.getArtifactHandler().getExtension())) continue;
            String scope = artifact.getScope();
            if (!Artifact.SCOPE_COMPILE.equals(scope) && !Artifact.SCOPE_RUNTIME.equals(scope)) continue;
            p.dependencies.put(artifact.getGroupId() + ":" + artifact.getArtifactId() + ":" + artifact.getVersion(),
                    artifact.getFile());
        }
        if (includes != null) p.includes = new ArrayList<>(includes);
        p.output = output;
        if (targets != null) {
            // -Dvexal.targets=x64,linux-x64 as well as one <target> per item.
            for (String target : targets) {
                for (String piece : target.split(",")) {
                    if (!piece.trim().isEmpty()) p.targets.add(piece.trim());
                }
            }
        }
        if (set != null) p.set.putAll(set);
        p.workDirectory = new File(buildDirectory, "vexal");
        return p;
    }

    private void writeProject(BuildPlan plan) throws MojoExecutionException {
        File file = plan.projectFile;
        mkdirs(file.getParentFile());
        File scratch = new File(file.getPath() + ".part");
        try {
            Files.write(scratch.toPath(), plan.generatedProject.getBytes(StandardCharsets.UTF_8));
            Files.move(scratch.toPath(), file.toPath(), StandardCopyOption.REPLACE_EXISTING);
        } catch (IOException e) {
            throw new MojoExecutionException("cannot write " + file + ": " + e.getMessage(), e);
        }
    }

    private static void mkdirs(File dir) throws MojoExecutionException {
        if (dir != null && !dir.isDirectory() && !dir.mkdirs() && !dir.isDirectory()) {
            throw new MojoExecutionException("cannot create the directory " + dir);
        }
    }
}
