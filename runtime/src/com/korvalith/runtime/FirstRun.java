package com.korvalith.runtime;

import java.io.File;

/**
 * The first-run hook of launchers made for installer-built applications.
 *
 * <p>An installer leaves the marker file {@code <root>\.korvalith\firstrun} in
 * the installation root. While that file exists, the launcher calls
 * {@link #firstRun()} before the application's {@code main}. The hook:
 * <ol>
 * <li>sets the system property {@value #PROPERTY} to "true", so the application
 *     can do its one-time set-up (the property is absent on every other start);</li>
 * <li>deletes the marker, so the hook runs once only;</li>
 * <li>returns true: the launcher goes on with the application's {@code main}.</li>
 * </ol>
 *
 * <p>The marker is looked for under the installation root given by the system
 * property {@value #ROOT_PROPERTY} when it is set (for example through the VM
 * option {@code -Dvexal.installRoot=%VEXAL_EXEDIR%..}), otherwise in the
 * directory of the executable ({@code vexal.moduleName}) and then in each of
 * its parent directories, nearest first. An installation root that is neither
 * of these is not found: the hook then still reports the first run, says on
 * the error stream that the marker stays, and the hook runs again next start.
 * The same happens when the marker cannot be deleted.
 */
public final class FirstRun {
    /** "true" during the first run after installation. */
    public static final String PROPERTY = "vexal.firstRun";
    /** The installation root, when the launcher's executable is not at or below it. */
    public static final String ROOT_PROPERTY = "vexal.installRoot";
    /** The executable's path, set by the launcher. */
    public static final String MODULE_PROPERTY = "vexal.moduleName";

    private FirstRun() {
    }

    /** Called by the launcher while the marker exists; true lets the application start. */
    public static boolean firstRun() {
        System.setProperty(PROPERTY, "true");
        File marker = findMarker(System.getProperty(ROOT_PROPERTY), System.getProperty(MODULE_PROPERTY));
        if (marker == null) {
            System.err.println("vexal: first run: the marker .korvalith" + File.separator
                    + "firstrun was not found; it stays and the first-run hook runs again next start");
        } else if (!marker.delete() && marker.exists()) {
            System.err.println("vexal: first run: cannot delete " + marker
                    + "; the first-run hook runs again next start");
        }
        return true;
    }

    /** The marker under the given root, or the nearest one at or above the module's directory; null if none. */
    static File findMarker(String root, String module) {
        if (root != null && !root.isEmpty()) {
            File marker = markerUnder(root);
            return marker.isFile() ? marker : null;
        }
        if (module == null || module.isEmpty()) return null;
        for (String dir = parentOf(module); dir != null; dir = parentOf(dir)) {
            File marker = markerUnder(dir);
            if (marker.isFile()) return marker;
        }
        return null;
    }

    private static File markerUnder(String root) {
        return new File(new File(root, ".korvalith"), "firstrun");
    }

    /** The path without its last part; both separators count, as the launcher's paths use backslashes. */
    private static String parentOf(String path) {
        String trimmed = path;
        while (trimmed.length() > 1 && (trimmed.endsWith("\\") || trimmed.endsWith("/"))) {
            trimmed = trimmed.substring(0, trimmed.length() - 1);
        }
        int cut = Math.max(trimmed.lastIndexOf('\\'), trimmed.lastIndexOf('/'));
        if (cut < 0) return null;
        if (cut == 0) return trimmed.length() > 1 ? trimmed.substring(0, 1) : null;
        String parent = trimmed.substring(0, cut);
        // "c:" alone names the drive's current directory; keep the root's separator.
        return parent.endsWith(":") ? parent + trimmed.charAt(cut) : parent;
    }
}
