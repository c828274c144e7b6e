#include "generator/ProjectFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "generator/Toml.h"

#include "common/Limits.h"
#include "config/ConfigIds.h"
#include "files/IncludedFiles.h"
#include "generator/ExeWriter.h"
#include "generator/GeneratorOptions.h"
#include "generator/KeyTable.h"
#include "generator/PathText.h"
#include "generator/TextEncoding.h"
#include "generator/ValueText.h"
#include "windows/WinLoader/JavaVersion.h"

namespace vexal {
namespace gen {

namespace fs = std::filesystem;

namespace {

void storeIncludedFiles(Project& project) {
    std::string names;
    for (const auto& file : project.includes) names += (names.empty() ? "" : ";") + file.name;
    if (names.size() > kTextBuffer - 1) {
        throw ProjectError(pathText(project.file) + ": include: the file names take " + std::to_string(names.size()) +
                           " bytes together; the launcher reads at most " + std::to_string(kTextBuffer - 1));
    }
    project.store.setNarrow(id::IncludedFileCount, std::to_string(project.includes.size()));
    project.store.setNarrow(id::IncludedFileNames, names);
}

const char* const kRawNarrow = "entries";
const char* const kRawWide = "wide-entries";

// One value of the project, under its dotted key, with where it came from.
struct Leaf {
    std::string key;
    const toml::node* node;
    std::string source;  // file name, or "--set"
};

std::string location(const Leaf& leaf) {
    std::string where = leaf.source;
    const auto& begin = leaf.node->source().begin;
    if (begin.line != 0) where += ":" + std::to_string(begin.line);
    return where;
}

[[noreturn]] void fail(const Leaf& leaf, const std::string& reason) {
    throw ProjectError(location(leaf) + ": " + leaf.key + ": " + reason);
}

// Tables become dotted keys ("[splash.status] x = 1" is "splash.status.x");
// the raw entry tables stop the descent so that their keys stay ids.
void flatten(const toml::table& table, const std::string& prefix, const std::string& source,
             std::vector<Leaf>& out) {
    for (const auto& [name, node] : table) {
        std::string key = prefix.empty() ? std::string(name.str()) : prefix + "." + std::string(name.str());
        const toml::table* inner = node.as_table();
        bool rawTable = prefix.empty() && (key == kRawNarrow || key == kRawWide);
        if (inner && rawTable) {
            for (const auto& [id, value] : *inner) out.push_back({key + "." + std::string(id.str()), &value, source});
        } else if (inner) {
            flatten(*inner, key, source, out);
        } else {
            out.push_back({key, &node, source});
        }
    }
}

std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string suggestion(const std::string& key) {
    std::vector<std::string> names;
    for (const auto& option : generatorOptions()) names.push_back(option.name);
    for (const auto& info : keyTable()) names.push_back(info.name);
    std::string best;
    std::size_t bestDistance = 4;
    for (const auto& name : names) {
        std::size_t d = editDistance(key, name);
        std::size_t lastDot = name.rfind('.');
        if (lastDot != std::string::npos && name.substr(lastDot + 1) == key) d = 1;
        // A shortened key ("manifest.dpi" for "manifest.dpi-awareness").
        if (d > 2 && key.size() >= 3 && name.compare(0, key.size(), key) == 0) d = 2;
        if (d < bestDistance) {
            bestDistance = d;
            best = name;
        }
    }
    return best.empty() ? "" : " (did you mean \"" + best + "\"?)";
}

bool parseId(const std::string& text, std::int32_t& id) {
    if (text.empty()) return false;
    std::size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size() || text.size() - i > 10) return false;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
    }
    if (text[0] == '-') value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return false;
    id = static_cast<std::int32_t>(value);
    return true;
}

toml::table parseToml(const std::string& text, const std::string& source) {
    try {
        return toml::parse(text, source);
    } catch (const toml::parse_error& error) {
        const auto& begin = error.source().begin;
        throw ProjectError(source + ":" + std::to_string(begin.line) + ":" + std::to_string(begin.column) +
                           ": malformed TOML: " + std::string(error.description()));
    }
}

// "key = value" from the command line. A value that is not TOML is taken
// as a plain string, so "--set application.name=My App" works unquoted.
toml::table parseOverride(const std::string& text) {
    std::size_t equals = text.find('=');
    if (equals == std::string::npos) throw ProjectError("--set " + text + ": expected KEY=VALUE");
    try {
        return toml::parse(text, std::string("--set"));
    } catch (const toml::parse_error&) {
    }
    auto trim = [](std::string s) {
        s.erase(0, s.find_first_not_of(" \t"));
        s.erase(s.find_last_not_of(" \t") + 1);
        return s;
    };
    std::string key = trim(text.substr(0, equals));
    std::string value = trim(text.substr(equals + 1));
    std::string quoted;
    for (char c : value) {
        if (c == '\\' || c == '"') quoted += '\\';
        quoted += c;
    }
    try {
        return toml::parse(key + " = \"" + quoted + "\"", std::string("--set"));
    } catch (const toml::parse_error& error) {
        throw ProjectError("--set " + text + ": " + std::string(error.description()));
    }
}

// A Java version bound as the launcher compares it: empty (no bound), or a
// number first, then numbers, letters and the separators of version texts
// ("1.8.0_392", "17.0.2", "21-ea", "9.0.4+11"). Anything else ("abc",
// "v17", "17 ") lets in every version or none.
bool isVersionBound(const std::string& text) {
    if (text.empty()) return true;
    if (text[0] < '0' || text[0] > '9') return false;
    for (char c : text) {
        const bool letterOrDigit = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letterOrDigit && c != '.' && c != '_' && c != '-' && c != '+') return false;
    }
    return true;
}

class ProjectReader {
public:
    explicit ProjectReader(const fs::path& file) { project_.file = file; }

    Project read(const std::vector<Leaf>& leaves) {
        for (const Leaf& leaf : leaves) apply(leaf);
        finish();
        return std::move(project_);
    }

private:
    void apply(const Leaf& leaf) {
        const std::string& key = leaf.key;
        if (key == "output") return setOutput(leaf);
        if (key == "arch") return setArch(leaf);
        if (key == "subsystem") return setSubsystem(leaf);
        if (key == "include") return setIncludes(leaf);
        if (key.rfind(std::string(kRawNarrow) + ".", 0) == 0) return setRaw(leaf, false);
        if (key.rfind(std::string(kRawWide) + ".", 0) == 0) return setRaw(leaf, true);
        if (findOption(key)) return setOption(leaf);
        const KeyInfo* info = findKeyByName(key);
        if (!info) fail(leaf, "unknown key" + suggestion(key));
        where_[key] = location(leaf);
        std::string text;
        try {
            text = entryText(*leaf.node, *info);
        } catch (const ValueError& error) {
            fail(leaf, error.what());
        }
        if (info->id == id::MainClass && text.empty()) fail(leaf, "the main class must not be empty");
        if ((info->id == id::MinVersion || info->id == id::MaxVersion) && !isVersionBound(text)) {
            fail(leaf, "\"" + text + "\" is not a Java version: a bound begins with a number, such as \"1.8\", "
                       "\"11\" or \"17.0.2\"");
        }
        storeNarrow(leaf, info->id, text, info->maxBytes);
    }

    std::string stringValue(const Leaf& leaf) {
        auto text = leaf.node->value_exact<std::string>();
        if (!text) fail(leaf, "expected a string, found " + describeType(*leaf.node));
        return *text;
    }

    fs::path relativeToProject(const std::string& path) const {
        fs::path p = pathFromUtf8(path);
        return p.is_absolute() ? p : project_.file.parent_path() / p;
    }

    std::string readInput(const Leaf& leaf, fs::path& path) {
        std::string text = stringValue(leaf);
        if (text.empty()) fail(leaf, "expected a file path, found an empty string");
        path = relativeToProject(text);
        try {
            return readFileBytes(path);
        } catch (const BuildError& error) {
            fail(leaf, std::string("cannot read ") + error.what());
        }
    }

    template <typename Parse>
    auto parseInput(const Leaf& leaf, Parse parse) {
        fs::path path;
        std::string bytes = readInput(leaf, path);
        try {
            return parse(bytes);
        } catch (const ResourceError& error) {
            fail(leaf, pathText(path) + ": " + error.what());
        }
    }

    bool boolValue(const Leaf& leaf) {
        auto flag = leaf.node->value_exact<bool>();
        if (!flag) fail(leaf, "expected true or false, found " + describeType(*leaf.node));
        return *flag;
    }

    // A version-record text: valid UTF-8, no zero character, short enough
    // for the record's 16-bit lengths.
    std::string versionText(const Leaf& leaf) {
        std::string text = stringValue(leaf);
        std::u16string wide;
        if (!utf8ToUtf16(text, wide)) fail(leaf, "the text is not valid UTF-8");
        if (wide.find(u'\0') != std::u16string::npos) fail(leaf, "the text holds a zero character");
        if (wide.size() > 1000) fail(leaf, "the text is longer than 1000 characters");
        return text;
    }

    void setOption(const Leaf& leaf) {
        const std::string& key = leaf.key;
        ResourceRequest& resources = project_.resources;
        if (key == "application.icon" || key.rfind("splash.", 0) == 0 || key.rfind("version.", 0) == 0 ||
            key.rfind("manifest.", 0) == 0) {
            project_.windowsOnlyKeys.push_back(key);
        }
        if (key == "application.icon") {
            resources.icon = parseInput(leaf, parseIcoFile);
        } else if (key == "splash.icon") {
            resources.splashIcon = parseInput(leaf, parseIcoFile);
        } else if (key == "splash.bitmap") {
            resources.splashBitmap = parseInput(leaf, parseBmpFile);
        } else if (key == "version.file-version" || key == "version.product-version") {
            std::string text = stringValue(leaf);
            std::uint32_t high = 0, low = 0;
            if (!parseVersionNumber(text, high, low)) {
                fail(leaf, "expected one to four numbers from 0 to 65535 separated by dots, found \"" + text + "\"");
            }
            versions_[key] = text;
        } else if (key.rfind("version.", 0) == 0) {
            versions_[key] = versionText(leaf);
        } else if (key == "manifest.dpi-awareness") {
            std::string text = stringValue(leaf);
            if (text == "unaware") resources.manifest.dpi = DpiAwareness::Unaware;
            else if (text == "system") resources.manifest.dpi = DpiAwareness::System;
            else if (text == "per-monitor") resources.manifest.dpi = DpiAwareness::PerMonitor;
            else fail(leaf, "expected \"unaware\", \"system\" or \"per-monitor\", found \"" + text + "\"");
        } else if (key == "manifest.require-administrator") {
            resources.manifest.requireAdministrator = boolValue(leaf);
        } else if (key == "runtime.include") {
            project_.includeRuntime = boolValue(leaf);
        } else if (key.rfind("signing.", 0) == 0) {
            setSigning(leaf);
        }
    }

    void setSigning(const Leaf& leaf) {
        const std::string& key = leaf.key;
        SigningOptions& signing = project_.signing;
        std::string text = stringValue(leaf);
        if (text.empty()) fail(leaf, "must not be empty");
        if (key == "signing.password-env") {
            signing.passwordEnv = text;
            return;
        }
        if (key == "signing.timestamp-url") {
            signing.timestampUrl = text;
            return;
        }
        if (key == "signing.tool") {
            // A bare name is looked up on PATH when signing; a path is the
            // project's own, relative to it.
            where_[key] = location(leaf);
            const fs::path program = pathFromUtf8(text);
            if (!program.has_parent_path() && !program.is_absolute()) {
                signing.tool = text;
                return;
            }
            const fs::path path = relativeToProject(text);
            std::error_code ec;
            if (!fs::is_regular_file(path, ec)) fail(leaf, "no such file: " + pathText(path));
            signing.tool = pathText(fs::absolute(path, ec));
            return;
        }
        fs::path path = relativeToProject(text);
        std::error_code ec;
        if (!fs::is_regular_file(path, ec)) fail(leaf, "no such file: " + pathText(path));
        if (key == "signing.pkcs12") signing.pkcs12 = path;
        if (key == "signing.certificate") signing.certificate = path;
        if (key == "signing.key") signing.key = path;
        signingWhere_ = location(leaf);
    }

    void setOutput(const Leaf& leaf) {
        std::string text = stringValue(leaf);
        if (text.empty()) fail(leaf, "the output path must not be empty");
        project_.output = relativeToProject(text);
    }

    void setArch(const Leaf& leaf) {
        std::string text = stringValue(leaf);
        if (text != "x64" && text != "x86" && text != "linux-x64") {
            fail(leaf, "expected \"x64\", \"x86\" or \"linux-x64\", found \"" + text + "\"");
        }
        project_.arch = text;
    }

    void setSubsystem(const Leaf& leaf) {
        std::string text = stringValue(leaf);
        if (text != "gui" && text != "console") fail(leaf, "expected \"gui\" or \"console\", found \"" + text + "\"");
        project_.subsystem = text;
    }

    // Every item is a file the generator can read, extracted under its own
    // file name; the names must be plain names inside the extraction
    // directory and distinct as Windows compares them.
    void setIncludes(const Leaf& leaf) {
        const toml::array* array = leaf.node->as_array();
        if (!array) fail(leaf, "expected an array of file paths, found " + describeType(*leaf.node));
        project_.includes.clear();
        std::map<std::string, std::string> byFoldedName;
        for (std::size_t i = 0; i < array->size(); ++i) {
            auto text = array->get(i)->value_exact<std::string>();
            std::string item = "item " + std::to_string(i + 1);
            if (!text || text->empty()) fail(leaf, item + ": expected a file path");
            item += " \"" + *text + "\"";
            IncludedFile file{relativeToProject(*text), pathText(pathFromUtf8(*text).filename())};
            std::string name, bad;
            if (!utf8ToCp1252(file.name, name, bad)) {
                fail(leaf, item + ": the character " + bad + " of the file name has no place in the Windows-1252 code page");
            }
            if (const char* problem = includedFileNameProblem(name)) {
                fail(leaf, item + ": cannot be extracted under the name \"" + file.name + "\": " + problem);
            }
            checkReadable(leaf, item, file.path);
            auto previous = byFoldedName.emplace(foldCase(name), *text);
            if (!previous.second) {
                fail(leaf, item + ": has the same name as \"" + previous.first->second +
                               "\" (Windows does not tell names apart by case)");
            }
            file.name = name;
            project_.includes.push_back(std::move(file));
        }
    }

    static void checkReadable(const Leaf& leaf, const std::string& item, const fs::path& path) {
        std::error_code ec;
        if (!fs::exists(path, ec)) fail(leaf, item + ": no such file: " + pathText(path));
        if (!fs::is_regular_file(path, ec)) fail(leaf, item + ": not a regular file: " + pathText(path));
        std::ifstream in(path, std::ios::binary);
        if (!in) fail(leaf, item + ": cannot read " + pathText(path) + ": " + std::strerror(errno));
        const std::uintmax_t size = fs::file_size(path, ec);
        if (ec || size > 0x7FFFFFFFu) fail(leaf, item + ": " + pathText(path) + " must be smaller than 2 GiB");
    }

    // Case folding of Windows-1252 text as Windows compares file names:
    // ASCII and the accented Latin letters.
    static std::string foldCase(std::string name) {
        for (char& c : name) {
            unsigned char u = static_cast<unsigned char>(c);
            if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) u = static_cast<unsigned char>(u + 32);
            else if (u == 0x8A || u == 0x8C || u == 0x8E) u = static_cast<unsigned char>(u + 16);
            else if (u == 0x9F) u = 0xFF;
            c = static_cast<char>(u);
        }
        return name;
    }

    void setRaw(const Leaf& leaf, bool wide) {
        std::string idText = leaf.key.substr(leaf.key.find('.') + 1);
        std::int32_t id = 0;
        if (!parseId(idText, id)) fail(leaf, "\"" + idText + "\" is not a 32-bit decimal id");
        if (wide) {
            auto text = leaf.node->value_exact<std::string>();
            if (!text) fail(leaf, "expected a string, found " + describeType(*leaf.node));
            std::u16string value;
            if (!utf8ToUtf16(*text, value)) fail(leaf, "the text is not valid UTF-8");
            project_.store.setWide(id, std::move(value));
            return;
        }
        if (id == vexal::id::IncludedFileCount || id == vexal::id::IncludedFileNames ||
            id == vexal::id::IncludedFilesDigest) {
            fail(leaf, "ids 2002 to 2004 describe the included files; list them with \"include\"");
        }
        std::string text;
        try {
            text = rawEntryText(*leaf.node);
        } catch (const ValueError& error) {
            fail(leaf, error.what());
        }
        storeNarrow(leaf, id, text, 8191);
    }

    void storeNarrow(const Leaf& leaf, std::int32_t id, const std::string& utf8, std::size_t maxBytes) {
        auto previous = setBy_.find(id);
        if (previous != setBy_.end()) {
            fail(leaf, "id " + std::to_string(id) + " is already set by " + previous->second);
        }
        std::string text, bad;
        if (!utf8ToCp1252(utf8, text, bad)) {
            fail(leaf, "the character " + bad + " has no place in the Windows-1252 code page of narrow entries");
        }
        if (text.size() > maxBytes) {
            fail(leaf, "the value is " + std::to_string(text.size()) + " bytes long; the launcher reads at most " +
                           std::to_string(maxBytes));
        }
        setBy_[id] = leaf.key;
        project_.store.setNarrow(id, std::move(text));
    }

    void finish() {
        ConfigStore& store = project_.store;
        if (!store.hasNarrow(id::MainClass)) {
            throw ProjectError(pathText(project_.file) + ": application.main-class: missing; the main class is required");
        }
        checkSigning();
        if (!project_.subsystem.empty() && !store.hasNarrow(id::ExecutableType)) {
            store.setNarrow(id::ExecutableType, project_.subsystem == "gui" ? "1" : "2");
        }
        if (const auto& bitmap = project_.resources.splashBitmap) {
            if (!store.hasNarrow(id::SplashWidth)) store.setNarrow(id::SplashWidth, std::to_string(bitmap->width));
            if (!store.hasNarrow(id::SplashHeight)) store.setNarrow(id::SplashHeight, std::to_string(bitmap->height));
            if (!store.hasNarrow(id::ShowSplash)) store.setNarrow(id::ShowSplash, "1");
        } else if (parseDecimal(store.narrow(id::ShowSplash)) != 0) {
            warn("splash.show", "the splash screen is on but no splash.bitmap is given; it shows a plain grey window");
        }
        // A console program works in the folder it is started from, as a
        // command does; a GUI program in the executable's own.
        if (store.narrow(id::ExecutableType) == "2" && !store.hasNarrow(id::WorkingDirectory))
            store.setNarrow(id::WorkingDirectory, "");
        for (const auto& key : keyTable()) {
            if (key.defaultValue && !store.hasNarrow(key.id)) store.setNarrow(key.id, key.defaultValue);
        }
        if (!store.hasNarrow(id::AppName)) {
            std::string mainClass = store.narrow(id::MainClass);
            store.setNarrow(id::AppName, mainClass.substr(mainClass.find_last_of("./") + 1));
        }
        warnAboutVersions();
        fillVersionRecord();
        storeIncludedFiles(project_);
    }

    void checkSigning() {
        const SigningOptions& signing = project_.signing;
        auto signingError = [&](const std::string& reason) {
            throw ProjectError(signingWhere_ + ": signing: " + reason);
        };
        if (!signing.pkcs12.empty() && (!signing.certificate.empty() || !signing.key.empty())) {
            signingError("give either signing.pkcs12 or signing.certificate with signing.key, not both");
        }
        if (signing.certificate.empty() != signing.key.empty()) {
            signingError("signing.certificate and signing.key go together; one of them is missing");
        }
        if (!signing.wanted() && !signing.tool.empty()) {
            warn("signing.tool", "no signing.pkcs12 or signing.certificate is given, so the executable is not signed");
        }
    }

    void warn(const std::string& key, const std::string& reason) {
        auto where = where_.find(key);
        project_.warnings.push_back((where == where_.end() ? pathText(project_.file) : where->second) + ": " + key +
                                    ": " + reason);
    }

    // The launcher compares versions piece by piece, numbers by value, with
    // prefix bounds ("17" takes in "17.0.15"): the range is empty when the
    // minimum itself, the least version it lets in, is above the maximum.
    void warnAboutVersions() {
        ConfigStore& store = project_.store;
        std::string minimum = store.narrow(id::MinVersion), maximum = store.narrow(id::MaxVersion);
        if (!maximum.empty() && !minimum.empty() && !versionInRange(minimum, minimum, maximum, true, true)) {
            warn("java.max-version", "\"" + maximum + "\" is below java.min-version \"" + minimum +
                                         "\", so no Java version is accepted");
        }
    }

    void fillVersionRecord() {
        auto value = [&](const char* key, const std::string& fallback) {
            auto it = versions_.find(key);
            return it == versions_.end() ? fallback : it->second;
        };
        std::string name = cp1252ToUtf8(project_.store.narrow(id::AppName));
        VersionFields& fields = project_.resources.version;
        fields.fileVersion = value("version.file-version", "1.0.0.0");
        fields.productVersion = value("version.product-version", fields.fileVersion);
        fields.strings = {
            {"CompanyName", value("version.company", "")},
            {"FileDescription", value("version.description", name)},
            {"FileVersion", fields.fileVersion},
            {"InternalName", name},
            {"LegalCopyright", value("version.copyright", "")},
            {"OriginalFilename", value("version.original-filename", "")},
            {"ProductName", value("version.product-name", name)},
            {"ProductVersion", fields.productVersion},
        };
    }

    Project project_;
    std::map<std::int32_t, std::string> setBy_;
    std::map<std::string, std::string> where_;     // entry key -> where it was set
    std::map<std::string, std::string> versions_;  // version.* key -> text
    std::string signingWhere_;
};

}  // namespace

void addIncludedFile(Project& project, IncludedFile file) {
    project.includes.push_back(std::move(file));
    storeIncludedFiles(project);
}

bool Project::guiStub() const {
    if (!subsystem.empty()) return subsystem == "gui";
    std::int32_t type = parseDecimal(store.narrow(id::ExecutableType));
    return type == 1 || type == 5;
}

std::string Project::applicationName() const { return store.narrow(id::AppName); }

Project parseProject(const std::string& text, const fs::path& file, const std::vector<std::string>& overrides) {
    toml::table document = parseToml(text, pathText(file));
    std::vector<toml::table> overrideTables;
    for (const auto& line : overrides) overrideTables.push_back(parseOverride(line));

    std::vector<Leaf> leaves;
    flatten(document, "", pathText(file), leaves);
    for (const auto& table : overrideTables) {
        std::vector<Leaf> replacements;
        flatten(table, "", "--set", replacements);
        for (Leaf& replacement : replacements) {
            bool replaced = false;
            for (Leaf& leaf : leaves) {
                if (leaf.key == replacement.key) {
                    leaf = replacement;
                    replaced = true;
                }
            }
            if (!replaced) leaves.push_back(replacement);
        }
    }
    return ProjectReader(file).read(leaves);
}

Project readProject(const fs::path& file, const std::vector<std::string>& overrides) {
    std::error_code ec;
    if (fs::is_directory(file, ec)) throw ProjectError(pathText(file) + ": cannot read the project file: it is a directory");
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw ProjectError(pathText(file) + ": cannot read the project file: " + std::strerror(errno));
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw ProjectError(pathText(file) + ": cannot read the project file");
    return parseProject(text.str(), file, overrides);
}

}  // namespace gen
}  // namespace vexal
