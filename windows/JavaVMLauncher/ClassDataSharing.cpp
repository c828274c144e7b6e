#include "windows/JavaVMLauncher/ClassDataSharing.h"

#include <cstring>

#include "common/Format.h"
#include "common/Sha256.h"

namespace vexal {

namespace {

constexpr const char* kDynamicSuffix = ".jsa";
constexpr const char* kAotSuffix = ".aot";
constexpr const char* kPartMarker = ".part";
constexpr std::uint64_t kMinimumFreeBytes = 256ull << 20;

// The quoted value of KEY="..." in a release file; empty when absent.
std::string releaseValue(const std::string& text, const char* key) {
    const std::string prefix = std::string(key) + "=";
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, prefix.size(), prefix) != 0) continue;
        std::string value = line.substr(prefix.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        return value;
    }
    return std::string();
}

bool startsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

bool endsWith(const std::string& text, const char* suffix) {
    const std::size_t n = std::strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

bool isHex(const std::string& text, std::size_t length) {
    if (text.size() != length) return false;
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    }
    return true;
}

// The -XX flags whose name (behind "+", "-", up to "=") decides sharing.
bool isSharingFlag(const std::string& name) {
    static const char* const kFlags[] = {"SharedArchiveFile", "ArchiveClassesAtExit", "AutoCreateSharedArchive",
                                         "SharedClassListFile", "DumpLoadedClassList", "RecordDynamicDumpInfo",
                                         "UseSharedSpaces", "RequireSharedSpaces", "VMOptionsFile", "Flags"};
    for (const char* flag : kFlags) {
        if (name == flag) return true;
    }
    return startsWith(name, "AOT");
}

}  // namespace

SharingMechanism sharingMechanism(int featureVersion) {
    if (featureVersion >= 25) return SharingMechanism::AotCache;
    if (featureVersion >= 13) return SharingMechanism::DynamicArchive;
    return SharingMechanism::None;
}

const char* mechanismName(SharingMechanism mechanism) {
    switch (mechanism) {
        case SharingMechanism::DynamicArchive: return "dynamic archive";
        case SharingMechanism::AotCache: return "AOT cache";
        case SharingMechanism::None: break;
    }
    return "none";
}

int releaseFeatureVersion(const std::string& releaseText) {
    std::string version = releaseValue(releaseText, "JAVA_VERSION");
    if (startsWith(version, "1.")) version = version.substr(2);
    int feature = 0;
    std::size_t i = 0;
    for (; i < version.size() && version[i] >= '0' && version[i] <= '9' && feature < 100000; ++i) {
        feature = feature * 10 + (version[i] - '0');
    }
    return i == 0 ? 0 : feature;
}

std::string releaseRuntimeVersion(const std::string& releaseText) {
    const std::string runtime = releaseValue(releaseText, "JAVA_RUNTIME_VERSION");
    return runtime.empty() ? releaseValue(releaseText, "JAVA_VERSION") : runtime;
}

std::string runtimeHomeOf(const std::string& jvmLibrary, const PathStyle& style) {
    std::string home = jvmLibrary;
    for (int up = 0; up < 3; ++up) {
        const std::size_t at = home.find_last_of(style.dir == '\\' ? "\\/" : "/");
        if (at == std::string::npos || at == 0) return std::string();
        home.resize(at);
    }
    return home;
}

std::vector<std::string> baseArchivesOf(const std::string& jvmLibrary, const PathStyle& style) {
    const std::size_t at = jvmLibrary.find_last_of(style.dir == '\\' ? "\\/" : "/");
    if (at == std::string::npos) return {};
    const std::string folder = jvmLibrary.substr(0, at + 1);
    return {folder + "classes.jsa", folder + "classes_nocoops.jsa"};
}

std::string sharingDecidedBy(const std::vector<std::string>& options) {
    for (const std::string& option : options) {
        if (startsWith(option, "-Xshare")) return option;
        if (!startsWith(option, "-XX:")) continue;
        std::string name = option.substr(4);
        if (!name.empty() && (name[0] == '+' || name[0] == '-')) name.erase(0, 1);
        name = name.substr(0, name.find('='));
        if (isSharingFlag(name)) return option;
    }
    return std::string();
}

std::vector<std::string> toolOptions(const std::string& value) {
    std::vector<std::string> options;
    std::size_t start = 0;
    while (start < value.size()) {
        const std::size_t begin = value.find_first_not_of(" \t\r\n", start);
        if (begin == std::string::npos) break;
        std::size_t end = value.find_first_of(" \t\r\n", begin);
        if (end == std::string::npos) end = value.size();
        options.push_back(value.substr(begin, end - begin));
        start = end;
    }
    return options;
}

std::vector<std::string> classPathElements(const std::string& classPathOption, const PathStyle& style) {
    static const char kPrefix[] = "-Djava.class.path=";
    std::vector<std::string> elements;
    if (!startsWith(classPathOption, kPrefix)) return elements;
    const std::string list = classPathOption.substr(sizeof kPrefix - 1);
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(style.list, start);
        if (end == std::string::npos) end = list.size();
        if (end > start) elements.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return elements;
}

std::vector<std::string> sharingOptions(SharingMechanism mechanism, bool create, const std::string& path) {
    // The JVM that writes an AOT cache announces each step on its output
    // stream, past any -Xlog setting; only -DisplayVMOutput keeps it quiet.
    static const char* const kDynamic[] = {"-XX:SharedArchiveFile=", "-Xlog:cds*=off", nullptr};
    static const char* const kDynamicCreate[] = {"-XX:ArchiveClassesAtExit=", "-Xlog:cds*=off", nullptr};
    static const char* const kAot[] = {"-XX:AOTCache=", "-Xlog:aot*=off", "-Xlog:cds*=off", nullptr};
    static const char* const kAotCreate[] = {"-XX:AOTCacheOutput=", "-XX:+UnlockDiagnosticVMOptions",
                                             "-XX:-DisplayVMOutput", "-Xlog:aot*=off", "-Xlog:cds*=off", nullptr};
    std::vector<std::string> options;
    if (mechanism == SharingMechanism::None) return options;
    const char* const* table = mechanism == SharingMechanism::AotCache ? (create ? kAotCreate : kAot)
                                                                      : (create ? kDynamicCreate : kDynamic);
    options.push_back(table[0] + path);
    for (const char* const* option = table + 1; *option != nullptr; ++option) options.push_back(*option);
    return options;
}

std::string archiveSlot(const std::string& executable, const std::string& runtimeHome) {
    return sha256Hex("vexal slot\n" + executable + "\n" + runtimeHome + "\n").substr(0, 16);
}

std::string archiveKey(const std::vector<std::string>& material) {
    Sha256 hash;
    hash.update("vexal archive 1\n", 16);
    for (const std::string& line : material) {
        hash.update(line);
        hash.update("\n", 1);
    }
    return hash.hexDigest().substr(0, 16);
}

std::string archiveFileName(const std::string& slot, const std::string& key, std::uint64_t size,
                            SharingMechanism mechanism) {
    return format("%s-%s-%llu%s", slot.c_str(), key.c_str(), static_cast<unsigned long long>(size),
                  mechanism == SharingMechanism::AotCache ? kAotSuffix : kDynamicSuffix);
}

std::string partFileName(const std::string& slot, const std::string& key, unsigned long processId) {
    return format("%s-%s%s%lu", slot.c_str(), key.c_str(), kPartMarker, processId);
}

bool parseArchiveFileName(const std::string& name, ArchiveName& parsed) {
    SharingMechanism mechanism = SharingMechanism::None;
    if (endsWith(name, kDynamicSuffix)) mechanism = SharingMechanism::DynamicArchive;
    if (endsWith(name, kAotSuffix)) mechanism = SharingMechanism::AotCache;
    if (mechanism == SharingMechanism::None) return false;
    const std::string stem = name.substr(0, name.size() - 4);
    // slot (16) "-" key (16) "-" size
    if (stem.size() < 35 || stem[16] != '-' || stem[33] != '-') return false;
    const std::string slot = stem.substr(0, 16), key = stem.substr(17, 16), size = stem.substr(34);
    if (!isHex(slot, 16) || !isHex(key, 16) || size.empty() || size.size() > 19) return false;
    std::uint64_t value = 0;
    for (char c : size) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    parsed = ArchiveName{slot, key, value, mechanism};
    return true;
}

bool isPartFileName(const std::string& name) { return name.find(kPartMarker) != std::string::npos; }

bool archiveHeadMatches(SharingMechanism mechanism, const std::string& head) {
    // 0xf00baba8 (a dynamic archive), 0xf00baba2 (a static one: the AOT
    // cache), little-endian.
    if (head.size() < 4) return false;
    const unsigned char last = mechanism == SharingMechanism::AotCache ? 0xa2 : 0xa8;
    const auto* bytes = reinterpret_cast<const unsigned char*>(head.data());
    return mechanism != SharingMechanism::None && bytes[0] == last && bytes[1] == 0xab && bytes[2] == 0x0b &&
           bytes[3] == 0xf0;
}

bool roomForArchive(std::uint64_t freeBytes, std::uint64_t classPathBytes) {
    const std::uint64_t capped = classPathBytes > (1ull << 40) ? (1ull << 40) : classPathBytes;
    return freeBytes >= kMinimumFreeBytes + 4 * capped;
}

}  // namespace vexal
