package com.vexal.maven;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertTrue;
import static org.junit.Assert.fail;
import static org.junit.Assume.assumeFalse;

import java.io.File;
import java.io.IOException;

import org.junit.Before;
import org.junit.Rule;
import org.junit.Test;
import org.junit.rules.TemporaryFolder;

public class GeneratorLocatorTest {
    @Rule
    public TemporaryFolder folder = new TemporaryFolder();

    private File paramHome;
    private File envHome;
    private File pathDir;
    private File buildDir;

    private static final boolean WINDOWS = File.separatorChar == '\\';

    private File generatorIn(File dir) throws IOException {
        dir.mkdirs();
        File exe = new File(dir, WINDOWS ? "vexal.exe" : "vexal");
        exe.createNewFile();
        exe.setExecutable(true);
        return exe;
    }

    @Before
    public void homes() throws IOException {
        paramHome = folder.newFolder("param-home");
        envHome = folder.newFolder("env-home");
        pathDir = folder.newFolder("on-path");
        buildDir = folder.newFolder("target");
    }

    private GeneratorLocator locator() {
        GeneratorLocator locator = new GeneratorLocator();
        locator.windows = WINDOWS;
        locator.buildDirectory = buildDir;
        locator.pluginVersion = "1.0.0";
        return locator;
    }

    // Each row: which places hold a generator, and which one wins.
    @Test
    public void thePlacesAreTriedInOrder() throws IOException, ParameterException {
        generatorIn(new File(paramHome, "bin"));
        generatorIn(new File(envHome, "bin"));
        File onPath = generatorIn(pathDir);
        File archive = generatorIn(new File(buildDir, "vexal-1.0.0/bin"));
        generatorIn(new File(buildDir, "vexal-1.2.0/bin"));
        String emptyDir = folder.newFolder("empty").getPath();
        String path = emptyDir + File.pathSeparator + pathDir.getPath();

        Object[][] rows = {
            // vexalHome, VEXAL_HOME, PATH, expected source
            {paramHome, envHome.getPath(), path, "<vexalHome>"},
            {null, envHome.getPath(), path, "VEXAL_HOME"},
            {null, "", path, "PATH"},
            {null, null, path, "PATH"},
            {null, null, emptyDir, "the release archive unpacked in " + buildDir},
        };
        for (Object[] row : rows) {
            GeneratorLocator locator = locator();
            locator.vexalHome = (File) row[0];
            locator.environmentHome = (String) row[1];
            locator.path = (String) row[2];
            assertEquals(String.valueOf(row[3]), row[3], locator.locate().source);
        }
        GeneratorLocator locator = locator();
        locator.path = path;
        assertEquals(onPath, locator.locate().executable);
        locator.path = null;
        // The archive of the plugin's own version before a newer one.
        assertEquals(archive, locator.locate().executable);
    }

    @Test
    public void anArchiveOfAnotherVersionOrInTargetDependencyIsFound() throws IOException, ParameterException {
        generatorIn(new File(buildDir, "vexal-1.9.0/bin"));
        File newest = generatorIn(new File(buildDir, "vexal-1.10.0/bin"));
        assertEquals(newest, locator().locate().executable);

        File other = folder.newFolder("target2");
        File unpacked = generatorIn(new File(other, "dependency/vexal-1.0.0/bin"));
        GeneratorLocator locator = locator();
        locator.buildDirectory = other;
        assertEquals(unpacked, locator.locate().executable);
    }

    @Test
    public void anArchiveThatLostTheExecutableBitIsRepaired() throws IOException, ParameterException {
        assumeFalse(WINDOWS);
        File exe = generatorIn(new File(buildDir, "vexal-1.0.0/bin"));
        exe.setExecutable(false);
        assertEquals(exe, locator().locate().executable);
        assertTrue(exe.canExecute());
    }

    @Test
    public void aNonExecutableOnThePathIsPassedOver() throws IOException, ParameterException {
        assumeFalse(WINDOWS);
        File first = generatorIn(pathDir);
        first.setExecutable(false);
        File second = generatorIn(folder.newFolder("later"));
        GeneratorLocator locator = locator();
        // Relative and empty entries are never searched.
        generatorIn(new File("relative-dir-that-is-not-there"));
        locator.path = "" + File.pathSeparator + "relative-dir-that-is-not-there" + File.pathSeparator + pathDir
                + File.pathSeparator + second.getParent();
        try {
            assertEquals(second, locator.locate().executable);
        } finally {
            new File("relative-dir-that-is-not-there", "vexal").delete();
            new File("relative-dir-that-is-not-there").delete();
        }
    }

    private static void assertFault(GeneratorLocator locator, String... parts) {
        try {
            locator.locate();
            fail("found a generator");
        } catch (ParameterException e) {
            for (String part : parts) assertTrue(e.getMessage(), e.getMessage().contains(part));
        }
    }

    @Test
    public void aNamedHomeWithoutGeneratorFailsInsteadOfLookingFurther() throws IOException {
        generatorIn(pathDir);
        GeneratorLocator locator = locator();
        locator.path = pathDir.getPath();
        locator.vexalHome = paramHome;
        locator.environmentHome = envHome.getPath();
        assertFault(locator, "<vexalHome>: " + paramHome + " is no Vexal home");
        locator.vexalHome = null;
        assertFault(locator, "the VEXAL_HOME environment variable names " + envHome, "is no Vexal home");
    }

    @Test
    public void nothingFoundSaysWhereItLooked() {
        GeneratorLocator locator = locator();
        locator.path = pathDir.getPath();
        assertFault(locator, "no Vexal generator found", "<vexalHome>", "VEXAL_HOME", "PATH",
                new File(buildDir, "vexal-*").getPath(), new File(buildDir, "dependency/vexal-*").getPath());
    }

    @Test
    public void versionsCompareNumbersByValue() {
        String[][] ordered = {
            {"vexal-1.9.2", "vexal-1.10.0"},
            {"vexal-1.0", "vexal-1.0.1"},
            {"vexal-0.9.0", "vexal-1.0.0"},
            {"vexal-1.0.0-beta", "vexal-1.0.0-rc"},
        };
        for (String[] pair : ordered) {
            assertTrue(pair[0] + " < " + pair[1], GeneratorLocator.compareVersions(pair[0], pair[1]) < 0);
            assertTrue(pair[1] + " > " + pair[0], GeneratorLocator.compareVersions(pair[1], pair[0]) > 0);
        }
        assertEquals(0, GeneratorLocator.compareVersions("vexal-1.0.0", "vexal-1.0.0"));
    }
}
