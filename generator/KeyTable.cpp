#include "generator/KeyTable.h"

#include "common/Limits.h"
#include "config/ConfigIds.h"

namespace vexal {
namespace gen {

namespace {

constexpr std::size_t kFace = kFaceNameBuffer - 1;
constexpr std::size_t kLetter = kKindBuffer - 1;

// The table in id order; docs/project-file.md is generated from it.
const std::vector<KeyInfo> kKeys = {
    {"application.name", id::AppName, KeyKind::Text, nullptr,
     "Application name, the splash window's title. Default: the last part of the main class name."},
    {"logs.error-log", id::ErrorLogWanted, KeyKind::Flag, "0",
     "Hand the full path of logs.error-log-file to the Java runtime as its error log."},
    {"logs.error-log-file", id::ErrorLogFile, KeyKind::Text, "error.log",
     "Error log file name; relative to the executable's directory unless absolute."},
    {"logs.debug-log", id::DebugLogWanted, KeyKind::Flag, "0",
     "Hand the full path of logs.debug-log-file to the Java runtime as its debug log."},
    {"logs.debug-log-file", id::DebugLogFile, KeyKind::Text, "debug.log",
     "Debug log file name; relative to the executable's directory unless absolute."},
    {"application.runtime-flag", id::RuntimeFlag, KeyKind::Flag, "1",
     "Runtime flag handed to the Java runtime launcher class as \"true\" or \"false\": on, the Java runtime appends to its log files; off, it starts them afresh each run."},
    {"application.type", id::ExecutableType, KeyKind::ExecutableType, "1",
     "Executable type: \"gui\" (1: javaw.exe, errors in message boxes, GUI stub) or \"console\" (2: "
     "java.exe, errors on standard error, console stub); any integer is written as is (5 also picks "
     "the GUI stub)."},
    {"splash.show", id::ShowSplash, KeyKind::Flag, "0",
     "Show the splash screen (needs a splash bitmap resource in the executable)."},
    {"application.class-path", id::ClassPath, KeyKind::List, "D1.\\.;",
     "Class-path items: a type letter (D directory, A archive, S directory scanned for archives, "
     "E environment variable), then 1 (required) or 0 (optional), then the path or variable name. "
     "Paths are relative to the executable's directory."},
    {"application.main-class", id::MainClass, KeyKind::Text, nullptr,
     "The application's main class, e.g. \"com.example.Main\". Required."},
    {"java.vm-options", id::VmParameters, KeyKind::CommandLine, "\"-Xmx256m\"",
     "VM options: a command-line text, or an array of options (quoted as needed). In an array, java's "
     "two-item forms (\"--add-opens\", \"m/p=t\"; also --add-exports, --add-reads, --add-modules, "
     "--module-path, --enable-native-access) are written in the one-item form the JVM takes, and options of "
     "the java command itself (-cp, -jar, -showversion, @argfiles, ...), which the JVM would ignore, are "
     "refused with what to write instead. At run time the launcher treats a text, .vmoptions lines and -J "
     "arguments the same way (joined, or left out with a line in the debug log)."},
    {"application.arguments", id::ProgramArguments, KeyKind::CommandLine, "",
     "Program arguments put before the user's: a command-line text or an array."},
    {"java.allow-j-arguments", id::AllowJArguments, KeyKind::Flag, "1",
     "Command-line arguments beginning with -J are VM options and are withheld from main."},
    {"java.min-version", id::MinVersion, KeyKind::Text, "1.5", "Minimum Java version (a prefix bound, compared piece by piece: numbers by value, so \"11\" is above \"9\")."},
    {"java.max-version", id::MaxVersion, KeyKind::Text, "", "Maximum Java version (prefix bound); empty: no upper bound."},
    {"java.search-sequence", id::SearchSequence, KeyKind::List, "B.\\jre;EJAVA_HOME;EJDK_HOME;Y;S;",
     "Where to look for a Java runtime, in order; each item is a letter and its argument: A or R and "
     "a Java home directory, B and the directory of a runtime bundled with the application, E and an "
     "environment variable naming a Java home, S (the executable search path), Y (the registry; on "
     "Linux the runtimes under /usr/lib/jvm). Directories are relative to the executable's directory. "
     "When no item gives a runtime within the version bounds, VEXAL_JAVA_HOME is tried (KORVALITH_JAVA_HOME "
     "for launcher kind \"k\"), then a B runtime without the bounds."},
    {"java.accept-beta", id::AcceptBeta, KeyKind::Flag, "1", "Accept Java versions whose version text contains \"beta\"."},
    {"splash.width", id::SplashWidth, KeyKind::Number, "400", "Splash bitmap and window width, pixels."},
    {"splash.height", id::SplashHeight, KeyKind::Number, "300", "Splash bitmap and window height, pixels."},
    {"splash.close-on-window", id::CloseSplashOnWindow, KeyKind::Flag, "1",
     "Close the splash screen as soon as the application shows a window of its own."},
    {"application.working-directory", id::WorkingDirectory, KeyKind::Text, ".",
     "Working directory; relative to the executable's directory unless absolute; empty: unchanged (the "
     "caller's). Default: \".\" (the executable's directory) for a GUI program, empty for a console program."},
    {"splash.topmost", id::SplashTopmost, KeyKind::Flag, "1", "The splash window stays on top of other windows."},
    {"java.preferred-variant", id::PreferredVariant, KeyKind::Text, "",
     "JVM variant sub-directory tried first when the JVM library is looked up (e.g. \"server\")."},
    {"java.class-data-sharing", id::ClassDataSharing, KeyKind::Choice, "off",
     "Class-data sharing managed for the user: \"auto\" keeps an archive of the application's classes per "
     "executable and runtime in the user's cache ($XDG_CACHE_HOME/vexal, ~/.cache/vexal; %LOCALAPPDATA%\\vexal), "
     "made at the end of the first run and used by the runs after it (Java 13 to 24: a dynamic archive, Java 25 "
     "and later: an AOT cache), and takes the included files from a stable place there; \"off\" leaves the "
     "JVM's sharing as it is. Options of the user's that set sharing (-Xshare, -XX:SharedArchiveFile, -XX:AOTCache, "
     "...) win. See \"Class-data sharing\" below.",
     8191, "auto|off"},
    {"messages.caption", msg::Caption, KeyKind::Message, "Error", "Caption of every error message box."},
    {"messages.no-jvm", msg::NoJvm, KeyKind::Message,
     "No JVM could be found on your system.\r\n"
     "Please define VEXAL_JAVA_HOME to point to an installed JDK or JRE\r\n"
     "or download a JRE from your Java vendor's web site.",
     "No Java runtime found at all."},
    {"messages.path-jvm-damaged", msg::PathJvmDamaged, KeyKind::Message,
     "The JVM found in your path is damaged.\r\nPlease reinstall or define VEXAL_JAVA_HOME\r\n"
     "to point to an installed JDK or JRE.",
     "The Java runtime found through the search path is damaged."},
    {"messages.env-jvm-broken", msg::EnvJvmBroken, KeyKind::Message,
     "The %ENV_VAR_NAME% environment variable does not\r\npoint to a working JDK or JRE.",
     "The runtime named by an environment variable does not work; %ENV_VAR_NAME% is its name."},
    {"messages.dir-jvm-damaged", msg::DirJvmDamaged, KeyKind::Message,
     "The JVM found at %DEFINED_PATH% is damaged.\r\nPlease reinstall or define VEXAL_JAVA_HOME\r\n"
     "to point to an installed JDK or JRE.",
     "The runtime in a configured directory is damaged; %DEFINED_PATH% is the directory."},
    {"messages.jvm-not-started", msg::JvmNotStarted, KeyKind::Message,
     "The JVM could not be started. The main method may have thrown an exception.",
     "The Java virtual machine does not start, or main failed."},
    {"messages.class-path-missing", msg::ClassPathMissing, KeyKind::Message, "File or directory %FILE_NAME% not found or empty\r\n",
     "A required class-path item is missing; %FILE_NAME% is the item."},
    {"messages.wrong-parameter", msg::WrongParameter, KeyKind::Message, "Wrong Parameter Usage",
     "A quoted argument has no closing quote."},
    {"messages.env-var-undefined", msg::EnvVarUndefined, KeyKind::Message, "The environment variable %ENV_VAR_NAME% has to be defined",
     "A required class-path variable is not defined; %ENV_VAR_NAME% is its name."},
    {"messages.internal-error", msg::InternalError, KeyKind::Message, "An internal error occurred (error code: %ERROR_CODE%)",
     "Internal error; %ERROR_CODE% is its numeric code."},
    {"messages.main-class-not-loaded", msg::MainClassNotLoaded, KeyKind::Message, "Couldn't load main class.",
     "The main class cannot be loaded."},
    {"messages.main-method-missing", msg::MainMethodMissing, KeyKind::Message, "Main method not found.",
     "The main class has no main method."},
    {"application.launcher-kind", id::LauncherKind, KeyKind::Letter, "v",
     "Launcher kind: \"v\" for a plain executable, \"k\" for one made for an installer-built application.",
     kLetter},
    {"include", id::IncludedFileCount, KeyKind::Files, nullptr,
     "Files appended to the executable and extracted at start (sets the count, id 2002, the "
     "names, id 2003, and with java.class-data-sharing = \"auto\" their SHA-256, id 2004). Paths relative to the project file. Each file is extracted under its own file "
     "name, which must be a plain Windows file name (no \";\", \":\", \"..\", separators or device "
     "names) and differ from the others in more than case."},
    {"application.install-root", id::InstallRoot, KeyKind::Text, ".",
     "Installation root; relative to the executable's directory unless absolute."},
    {"application.path-prefix", id::PathPrefix, KeyKind::List, "",
     "Directories put in front of PATH; relative ones are taken from the executable's directory."},
    {"application.single-instance", id::SingleInstance, KeyKind::Flag, "0",
     "Only one instance runs; a second start hands its command line to the running one."},
    {"splash.status.x", id::StatusX, KeyKind::Number, "20", "Splash status line: x position, pixels."},
    {"splash.status.y", id::StatusY, KeyKind::Number, "20", "Splash status line: y position, pixels."},
    {"splash.status.text", id::StatusText, KeyKind::Text, "", "Splash status line: initial text."},
    {"splash.status.font", id::StatusFace, KeyKind::Text, "Arial", "Splash status line: font face (at most 31 bytes).", kFace},
    {"splash.status.size", id::StatusPoints, KeyKind::Number, "8", "Splash status line: font size, points."},
    {"splash.status.color", id::StatusColor, KeyKind::Colour, "0,0,0", "Splash status line: text colour [red, green, blue]."},
    {"splash.status.weight", id::StatusWeight, KeyKind::Number, "500", "Splash status line: font weight (400 normal, 700 bold)."},
    {"splash.version.x", id::VersionX, KeyKind::Number, "296", "Splash version line: x position, pixels."},
    {"splash.version.y", id::VersionY, KeyKind::Number, "281", "Splash version line: y position, pixels."},
    {"splash.version.text", id::VersionText, KeyKind::Text, "version 1.0", "Splash version line: text."},
    {"splash.version.font", id::VersionFace, KeyKind::Text, "Arial", "Splash version line: font face (at most 31 bytes).", kFace},
    {"splash.version.size", id::VersionPoints, KeyKind::Number, "8", "Splash version line: font size, points."},
    {"splash.version.color", id::VersionColor, KeyKind::Colour, "0,0,0", "Splash version line: text colour [red, green, blue]."},
    {"splash.version.weight", id::VersionWeight, KeyKind::Number, "500", "Splash version line: font weight."},
};

}  // namespace

const std::vector<KeyInfo>& keyTable() { return kKeys; }

const KeyInfo* findKeyByName(const std::string& name) {
    for (const auto& key : kKeys) {
        if (name == key.name) return &key;
    }
    return nullptr;
}

const KeyInfo* findKeyById(std::int32_t id) {
    for (const auto& key : kKeys) {
        if (key.id == id) return &key;
    }
    return nullptr;
}

std::string narrowIdLabel(std::int32_t id) {
    if (id == vexal::id::IncludedFileCount) return "include (count)";
    if (id == vexal::id::IncludedFileNames) return "include (names)";
    if (id == vexal::id::IncludedFilesDigest) return "include (digest)";
    const KeyInfo* key = findKeyById(id);
    return key ? key->name : "entries." + std::to_string(id);
}

const char* kindName(KeyKind kind) {
    switch (kind) {
        case KeyKind::Text: return "string";
        case KeyKind::Message: return "string (multi-line)";
        case KeyKind::Number: return "integer";
        case KeyKind::Flag: return "boolean";
        case KeyKind::Colour: return "array of 3 integers";
        case KeyKind::List: return "array of strings or string";
        case KeyKind::CommandLine: return "array of strings or string";
        case KeyKind::Letter: return "string (one letter)";
        case KeyKind::ExecutableType: return "\"gui\", \"console\" or integer";
        case KeyKind::Files: return "array of file paths";
        case KeyKind::Choice: return "string";
    }
    return "";
}

std::vector<std::string> choiceList(const KeyInfo& key) {
    std::vector<std::string> list;
    if (key.choices == nullptr) return list;
    std::string all = key.choices;
    std::size_t start = 0;
    for (std::size_t bar; (bar = all.find('|', start)) != std::string::npos; start = bar + 1) {
        list.push_back(all.substr(start, bar - start));
    }
    list.push_back(all.substr(start));
    return list;
}

std::string typeName(const KeyInfo& key) {
    if (key.kind != KeyKind::Choice) return kindName(key.kind);
    std::string text;
    const std::vector<std::string> list = choiceList(key);
    for (std::size_t i = 0; i < list.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == list.size() ? " or " : ", ") + ("\"" + list[i] + "\"");
    }
    return text;
}

}  // namespace gen
}  // namespace vexal
