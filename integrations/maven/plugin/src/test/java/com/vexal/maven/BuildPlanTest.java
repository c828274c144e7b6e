package com.vexal.maven;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertNull;
import static org.junit.Assert.assertTrue;
import static org.junit.Assert.fail;

import java.io.File;
import java.io.IOException;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.function.Consumer;

import org.junit.Before;
import org.junit.Rule;
import org.junit.Test;
import org.junit.rules.TemporaryFolder;

public class BuildPlanTest {
    @Rule
    public TemporaryFolder folder = new TemporaryFolder();

    private File target;
    private File appJar;
    private File libJar;
    private File icon;
    private File projectToml;

    @Before
    public void files() throws IOException {
        target = folder.newFolder("target");
        appJar = new File(target, "hello-1.0.jar");
        appJar.createNewFile();
        libJar = folder.newFile("lib-2.1.jar");
        icon = folder.newFile("app.ico");
        projectToml = folder.newFile("vexal.toml");
    }

    private BuildParameters inline() {
        BuildParameters p = new BuildParameters();
        p.mainClass = "com.example.hello.Hello";
        p.projectJar = appJar;
        p.output = new File(target, "hello");
        p.workDirectory = new File(target, "vexal");
        return p;
    }

    private static List<String> sets(BuildPlan.Invocation invocation) {
        List<String> sets = new ArrayList<>();
        List<String> a = invocation.arguments;
        for (int i = 0; i + 1 < a.size(); i++) {
            if (a.get(i).equals("--set")) sets.add(a.get(i + 1));
        }
        return sets;
    }

    @Test
    public void inlineKeysMakeAProjectFileAndEachTargetItsRun() throws Exception {
        BuildParameters p = inline();
        p.name = "Hello";
        p.type = " Console ";
        p.icon = icon;
        p.minVersion = "1.8";
        p.maxVersion = "21";
        p.vmOptions = Arrays.asList("-Xmx64m", "-Dgreeting=a \"b\"");
        p.dependencies.put("org.example:lib:2.1", libJar);
        p.targets = Arrays.asList("linux-x64", "X64", "x86");
        BuildPlan plan = BuildPlan.make(p);

        File toml = new File(target, "vexal/vexal.toml").getAbsoluteFile();
        assertEquals(toml, plan.projectFile);
        String keys = plan.generatedProject.substring(plan.generatedProject.indexOf("\napplication") + 1);
        assertEquals("application.main-class = \"com.example.hello.Hello\"\n"
                + "application.name = \"Hello\"\n"
                + "application.type = \"console\"\n"
                + "application.icon = " + TomlText.string(icon.getAbsolutePath()) + "\n"
                + "java.min-version = \"1.8\"\n"
                + "java.max-version = \"21\"\n"
                + "java.vm-options = [\"-Xmx64m\", \"-Dgreeting=a \\\"b\\\"\"]\n"
                + "include = [" + TomlText.string(appJar.getAbsolutePath()) + ", "
                + TomlText.string(libJar.getAbsolutePath()) + "]\n", keys);

        // In the order given; the names follow the target.
        Object[][] expected = {
            {LauncherTarget.LINUX_X64, "hello", "linux-x64"},
            {LauncherTarget.X64, "hello.exe", "x64"},
            {LauncherTarget.X86, "hello-x86.exe", "x86"},
        };
        assertEquals(expected.length, plan.invocations.size());
        for (int i = 0; i < expected.length; i++) {
            BuildPlan.Invocation run = plan.invocations.get(i);
            File output = new File(target, (String) expected[i][1]).getAbsoluteFile();
            assertEquals(expected[i][0], run.target);
            assertEquals(output, run.output);
            assertEquals(Arrays.asList("build", toml.getPath(), "-o", output.getPath(), "--set",
                    "arch=\"" + expected[i][2] + "\""), run.arguments);
        }
        assertEquals("<vmOptions>", plan.keySources.get("java.vm-options"));
        assertEquals("<jar>, <includeDependencies>", plan.keySources.get("include"));
    }

    @Test
    public void aProjectFileGetsTheParametersAsOverrides() throws Exception {
        BuildParameters p = new BuildParameters();
        p.projectFile = projectToml;
        p.projectJar = appJar;  // not taken: the project file says what to include
        p.dependencies.put("org.example:lib:2.1", libJar);
        p.minVersion = "11";
        p.output = new File(target, "app.EXE");
        p.set.put("application.single-instance", "true");
        p.set.put("application.arguments", "[\"--from\", \"maven\"]");
        BuildPlan plan = BuildPlan.make(p);

        assertNull(plan.generatedProject);
        assertEquals(projectToml.getAbsoluteFile(), plan.projectFile);
        BuildPlan.Invocation run = plan.invocations.get(0);
        assertEquals(LauncherTarget.X64, run.target);
        assertEquals(new File(target, "app.exe").getAbsoluteFile(), run.output);
        assertEquals(projectToml.getAbsolutePath(), run.arguments.get(1));
        // <set> sorted by key, after the named parameters.
        assertEquals(Arrays.asList("arch=\"x64\"", "java.min-version=\"11\"",
                "application.arguments=[\"--from\", \"maven\"]", "application.single-instance=true"), sets(run));

        // An explicit <jar> brings itself and the dependencies, plus <includes>.
        p.jar = appJar;
        p.includes = Arrays.asList(icon);
        List<String> withJar = sets(BuildPlan.make(p).invocations.get(0));
        assertEquals("include=[" + TomlText.string(appJar.getAbsolutePath()) + ", "
                + TomlText.string(libJar.getAbsolutePath()) + ", " + TomlText.string(icon.getAbsolutePath()) + "]",
                withJar.get(2));
        p.includeDependencies = false;
        assertEquals("include=[" + TomlText.string(appJar.getAbsolutePath()) + ", "
                + TomlText.string(icon.getAbsolutePath()) + "]", sets(BuildPlan.make(p).invocations.get(0)).get(2));
    }

    private void assertFault(String expectedStart, Consumer<BuildParameters> change) {
        BuildParameters p = inline();
        change.accept(p);
        try {
            BuildPlan.make(p);
            fail("no fault for " + expectedStart);
        } catch (ParameterException e) {
            assertTrue(e.getMessage(), e.getMessage().startsWith(expectedStart));
        }
    }

    @Test
    public void faultsNameTheParameter() throws IOException {
        File missing = new File(folder.getRoot(), "missing.jar");
        File otherLib = new File(folder.newFolder("other"), "LIB-2.1.jar");
        otherLib.createNewFile();
        assertFault("vexal:build needs <mainClass>", p -> p.mainClass = " ");
        assertFault("<projectFile>: " + missing + " is not a file", p -> p.projectFile = missing);
        assertFault("<type>: \"window\" is neither gui nor console", p -> p.type = "window");
        assertFault("<icon>: " + missing, p -> p.icon = missing);
        assertFault("<jar>: " + missing + " is not a file", p -> p.jar = missing);
        assertFault("<jar>: " + missing + " is not a file (the project's archive", p -> p.projectJar = missing);
        assertFault("<includes>: " + missing, p -> p.includes = Arrays.asList(missing));
        assertFault("<targets>: unknown target \"arm64\"", p -> p.targets = Arrays.asList("x64", "arm64"));
        assertFault("<targets>: x64 is named twice", p -> p.targets = Arrays.asList("x64", "x86", "x64"));
        assertFault("<set>: arch is set by <targets>", p -> p.set.put("arch", "x86"));
        assertFault("<set>: output is set by <output>", p -> p.set.put("output", "a.exe"));
        assertFault("<set>: application.main-class is set by <mainClass> already",
            p -> p.set.put("application.main-class", "x.Y"));
        assertFault("<set>: include is set by <jar> already", p -> p.set.put("include", "[]"));
        assertFault("<set>: \"a=b\" is no key", p -> p.set.put("a=b", "c"));
        assertFault("<includeDependencies>: two included files are named LIB-2.1.jar", p -> {
            p.dependencies.put("org.example:lib:2.1", libJar);
            p.dependencies.put("com.other:lib:2.1", otherLib);
        });
        assertFault("<includes>: two included files are named hello-1.0.jar", p -> p.includes = Arrays.asList(appJar));
    }

    @Test
    public void noTargetsMeansX64() throws Exception {
        BuildPlan plan = BuildPlan.make(inline());
        assertEquals(1, plan.invocations.size());
        assertEquals(new File(target, "hello.exe").getAbsoluteFile(), plan.invocations.get(0).output);
    }
}
