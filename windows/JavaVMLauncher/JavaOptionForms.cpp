#include "windows/JavaVMLauncher/JavaOptionForms.h"

namespace vexal {

namespace {

// Module options that java also takes as a name and a separate value.
const char* const kPairedOptions[] = {"--add-opens",  "--add-exports", "--add-reads",
                                      "--add-modules", "--module-path", "--enable-native-access"};

// The java command's own options that take the next argument as their value.
const char* const kLauncherOptionsWithValue[] = {"-cp", "-classpath", "--class-path", "-jar",
                                                 "-m",  "--module",   "--source"};

// The java command's own options on their own.
const char* const kLauncherOptions[] = {"-version",      "--version", "-showversion", "--show-version",
                                        "-help",         "--help",    "-h",           "-?",
                                        "--dry-run",     "-X",        "--help-extra", "--list-modules",
                                        "--describe-module"};

template <std::size_t N>
bool oneOf(const std::string& option, const char* const (&names)[N]) {
    for (const char* name : names) {
        if (option == name) return true;
    }
    return false;
}

bool startsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// The option's name without an "=value" or ":value" of its own.
bool launcherOnlyWithoutValue(const std::string& option) {
    if (oneOf(option, kLauncherOptions)) return true;
    if (!option.empty() && option[0] == '@') return true;  // an argument file
    return startsWith(option, "-splash:") || startsWith(option, "--class-path=") ||
           startsWith(option, "--module=") || startsWith(option, "--source=");
}

}  // namespace

JavaOptionForms reviewJavaOptions(const std::vector<std::string>& options) {
    JavaOptionForms forms;
    for (std::size_t i = 0; i < options.size(); ++i) {
        const std::string& option = options[i];
        const bool hasNext = i + 1 < options.size();
        if (oneOf(option, kPairedOptions) && hasNext) {
            forms.options.push_back(option + "=" + options[++i]);
        } else if (oneOf(option, kLauncherOptionsWithValue)) {
            forms.launcherOnly.push_back(hasNext ? option + " " + options[++i] : option);
        } else if (launcherOnlyWithoutValue(option)) {
            forms.launcherOnly.push_back(option);
        } else {
            forms.options.push_back(option);
        }
    }
    return forms;
}

std::string launcherOnlyAdvice(const std::string& option) {
    const std::string name = option.substr(0, option.find_first_of(" =:"));
    if (name == "-cp" || name == "-classpath" || name == "--class-path") {
        return "list the class path in application.class-path";
    }
    if (name == "-jar") return "put the jar in application.class-path and its main class in application.main-class";
    if (name == "-m" || name == "--module") {
        return "give the main class in application.main-class and the modules with --module-path= and --add-modules=";
    }
    if (name == "--source") return "compile the program and name its class in application.main-class";
    if (name == "-splash") return "give the splash screen in splash.bitmap";
    if (!option.empty() && option[0] == '@') {
        return "write the file's options themselves, or put them in a .vmoptions file beside the executable";
    }
    if (launcherOnlyWithoutValue(option)) return "leave it out: it is an option of the java command only";
    return "";
}

}  // namespace vexal
