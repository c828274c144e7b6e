#include "generator/Inspect.h"

#include <algorithm>
#include <cstdio>

#include "common/BuildInfo.h"
#include "config/ConfigBlock.h"
#include "config/ConfigIds.h"
#include "config/ElfImage.h"
#include "generator/AppResources.h"
#include "generator/KeyTable.h"
#include "generator/PeResources.h"
#include "generator/TextEncoding.h"

namespace vexal {
namespace gen {

namespace {

std::uint32_t fieldAt(const std::string& bytes, std::uint32_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

void readIncludedRecords(const std::string& bytes, Inspection& result) {
    std::int32_t count = parseDecimal(result.store.narrow(id::IncludedFileCount));
    std::string names = result.store.narrow(id::IncludedFileNames);
    std::uint64_t position = result.blockEnd;
    std::size_t start = 0;
    for (std::int32_t i = 0; i < count && start < names.size();) {
        std::size_t end = names.find(';', start);
        if (end == std::string::npos) end = names.size();
        std::string name = names.substr(start, end - start);
        start = end + 1;
        if (name.empty()) continue;
        ++i;
        IncludedRecordInfo record{cp1252ToUtf8(name), 0, false};
        if (position + 4 <= bytes.size()) {
            record.size = static_cast<std::int32_t>(fieldAt(bytes, static_cast<std::uint32_t>(position)));
            position += 4;
            std::uint64_t size = record.size > 0 ? static_cast<std::uint64_t>(record.size) : 0;
            record.complete = size <= bytes.size() - position;
            position += size;
        }
        result.includes.push_back(record);
        if (!record.complete) break;
    }
}

// Control characters and quotes made visible, for the text listing.
std::string visible(const std::string& utf8) {
    std::string out;
    for (char c : utf8) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\t') out += "\\t";
        else if (c == '"' || c == '\\') out += std::string("\\") + c;
        else if (u < 0x20 || u == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            out += hex;
        } else out += c;
    }
    return out;
}

std::string jsonString(const std::string& utf8) {
    std::string out = "\"";
    for (char c : utf8) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') out += std::string("\\") + c;
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else if (u < 0x20 || u == 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\u%04x", u);
            out += hex;
        } else out += c;
    }
    return out + "\"";
}

std::string padded(std::string text, std::size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

std::string hex(std::uint64_t value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

void readSections(const std::string& bytes, Inspection& result) {
    const std::uint64_t first = result.pe.lastSectionHeader - 40ull * (result.pe.sectionCount - 1u);
    for (std::uint32_t i = 0; i < result.pe.sectionCount; ++i) {
        std::uint64_t at = first + 40ull * i;
        if (at + 40 > bytes.size()) break;
        SectionInfo section;
        section.name = bytes.substr(at, 8).c_str();
        section.virtualSize = fieldAt(bytes, static_cast<std::uint32_t>(at + 8));
        section.virtualAddress = fieldAt(bytes, static_cast<std::uint32_t>(at + 12));
        section.rawSize = fieldAt(bytes, static_cast<std::uint32_t>(at + 16));
        section.rawPosition = fieldAt(bytes, static_cast<std::uint32_t>(at + 20));
        result.sections.push_back(section);
    }
}

std::string manifestLevel(const std::string& manifest) {
    for (const char* level : {"requireAdministrator", "highestAvailable", "asInvoker"}) {
        if (manifest.find(std::string("level=\"") + level + "\"") != std::string::npos) return level;
    }
    return "";
}

std::string manifestDpi(const std::string& manifest) {
    if (manifest.find(">true/pm<") != std::string::npos || manifest.find("PerMonitor") != std::string::npos) return "per-monitor";
    if (manifest.find(">true<") != std::string::npos || manifest.find(">system<") != std::string::npos) return "system";
    return "unaware";
}

std::string iconImagesText(const std::vector<IconGroupEntry>& images) {
    std::string out;
    for (const auto& image : images) {
        if (!out.empty()) out += ", ";
        out += std::to_string(image.width) + "x" + std::to_string(image.height) + " " + std::to_string(image.bitCount) + "-bit";
    }
    return out;
}

}  // namespace

ResourceSummary summarizeResources(const ResourceTree& tree) {
    ResourceSummary summary;
    auto groups = tree.find(ResourceKey::number(kRtGroupIcon));
    if (groups != tree.end()) {
        for (const auto& [name, languages] : groups->second) {
            IconGroupInfo group{name.label(), {}};
            if (!languages.empty()) parseIconGroup(languages.begin()->second, group.images);
            summary.icons.push_back(group);
        }
    }
    if (const std::string* bitmap = findResource(tree, ResourceKey::number(kRtBitmap), ResourceKey::number(kSplashBitmapId))) {
        summary.hasBitmap = dibSize(*bitmap, summary.bitmapWidth, summary.bitmapHeight);
    }
    if (const std::string* version = findResource(tree, ResourceKey::number(kRtVersion), ResourceKey::number(kVersionId))) {
        summary.hasVersion = parseVersionRecord(*version, summary.version);
    }
    if (const std::string* manifest = findResource(tree, ResourceKey::number(kRtManifest), ResourceKey::number(kManifestId))) {
        summary.manifest = *manifest;
    }
    return summary;
}

LauncherBuild findLauncherBuild(const std::string& bytes, std::uint64_t end) {
    LauncherBuild build;
    const std::size_t limit = static_cast<std::size_t>(std::min<std::uint64_t>(end, bytes.size()));
    const std::string prefix = kBuildRecordPrefix;
    for (std::size_t at = bytes.find(prefix); at != std::string::npos && at < limit; at = bytes.find(prefix, at + 1)) {
        // "<version> <commit>" up to the zero byte, in the characters the
        // record is made of; anything else is not a record.
        const std::size_t start = at + prefix.size();
        const std::size_t stop = bytes.find('\0', start);
        if (stop == std::string::npos || stop > limit || stop - start > 80) continue;
        const std::string text = bytes.substr(start, stop - start);
        const std::size_t blank = text.find(' ');
        if (blank == std::string::npos || blank == 0 || blank + 1 == text.size()) continue;
        if (text.find_first_not_of("0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ._+- ") !=
                std::string::npos ||
            text.find(' ', blank + 1) != std::string::npos) {
            continue;
        }
        build.found = true;
        build.version = text.substr(0, blank);
        build.commit = text.substr(blank + 1);
        return build;
    }
    return build;
}

namespace {

std::string launcherText(const LauncherBuild& build) {
    if (!build.found) return "unknown (the stub carries no build record)";
    return "vexal " + build.version + " (commit " + build.commit + ")";
}

bool inspectElf(const std::string& bytes, Inspection& result, std::string& reason) {
    result.elf = true;
    result.fileSize = bytes.size();
    MemorySource source(bytes);
    if (!elfImageEnd(source, result.blockStart)) {
        reason = "an ELF file whose headers cannot be read";
        return false;
    }
    source.seek(result.blockStart);
    BlockReadResult read = readConfigBlockAt(source, result.store);
    if (read.error != BlockError::None) {
        reason = "not a generated executable: no configuration block at " + hex(result.blockStart) + " (" +
                 blockErrorText(read.error) + ")";
        return false;
    }
    result.blockEnd = read.blockEnd;
    result.launcher = findLauncherBuild(bytes, result.blockStart);
    readIncludedRecords(bytes, result);
    return true;
}

}  // namespace

bool inspectExecutable(const std::string& bytes, Inspection& result, std::string& reason) {
    if (bytes.compare(0, 4, "\x7f" "ELF") == 0) return inspectElf(bytes, result, reason);
    if (!readPeInfo(bytes, result.pe, reason)) return false;
    if (archName(result.pe.machine).empty()) {
        reason = "a Windows executable for machine " + hex(result.pe.machine) + ", which no Vexal stub is built for";
        return false;
    }
    BlockLocator locator = locatorFor(result.pe.machine);
    if (bytes.size() < locator.positionFieldOffset + 4) {
        reason = "too short to hold the header fields that locate a configuration block";
        return false;
    }
    result.fileSize = bytes.size();
    result.blockStart = std::uint64_t(fieldAt(bytes, locator.sizeFieldOffset)) + fieldAt(bytes, locator.positionFieldOffset);
    MemorySource source(bytes);
    BlockReadResult read = readConfigBlock(source, locator, result.store);
    if (read.error != BlockError::None) {
        reason = "not a generated executable: no configuration block at " + hex(result.blockStart) + " (" +
                 blockErrorText(read.error) + ")";
        return false;
    }
    result.blockEnd = read.blockEnd;
    result.launcher = findLauncherBuild(bytes, result.blockStart);
    readIncludedRecords(bytes, result);
    readSections(bytes, result);
    ResourceTree tree;
    std::string problem;
    if (readResources(bytes, tree, problem)) {
        result.resources = summarizeResources(tree);
    } else {
        result.resources.readable = false;
        result.resources.problem = problem;
    }
    std::uint32_t signaturePosition = 0;
    securityDirectory(bytes, signaturePosition, result.signatureSize);
    return true;
}

namespace {

// The entries and included files, the same for every kind of executable.
std::string entriesAndIncludesText(const Inspection& in) {
    std::string out;
    out += "Narrow entries:  " + std::to_string(in.store.narrowEntries().size()) + "\n";
    for (const auto& [id, value] : in.store.narrowEntries()) {
        out += "  " + padded(narrowIdLabel(id), 32) + padded(std::to_string(id), 7) + "\"" +
               visible(cp1252ToUtf8(value)) + "\"\n";
    }
    out += "Wide entries:    " + std::to_string(in.store.wideEntries().size()) + "\n";
    for (const auto& [id, value] : in.store.wideEntries()) {
        out += "  " + padded("wide-entries." + std::to_string(id), 32) + padded(std::to_string(id), 7) + "\"" +
               visible(utf16ToUtf8(value)) + "\"\n";
    }
    out += "Included files:  " + std::to_string(in.includes.size()) + "\n";
    for (const auto& file : in.includes) {
        out += "  " + padded(file.name, 32) + std::to_string(file.size) + " bytes" +
               (file.complete ? "" : " (cut short)") + "\n";
    }
    return out;
}

}  // namespace

std::string inspectionText(const Inspection& in, const std::string& fileName) {
    std::string out;
    out += "File:            " + fileName + " (" + std::to_string(in.fileSize) + " bytes)\n";
    out += "Launcher:        " + launcherText(in.launcher) + "\n";
    if (in.elf) {
        out += "Architecture:    linux-x64 (ELF)\n";
        out += "Block:           " + hex(in.blockStart) + " to " + hex(in.blockEnd) + "\n";
        return out + entriesAndIncludesText(in);
    }
    out += "Architecture:    " + archName(in.pe.machine) + (in.pe.pe32Plus ? " (PE32+)" : " (PE32)") + "\n";
    out += "Subsystem:       " + subsystemName(in.pe.subsystem) + "\n";
    out += "Sections:        " + std::to_string(in.sections.size()) + "\n";
    for (const auto& section : in.sections) {
        out += "  " + padded(visible(section.name), 10) + "address " + padded(hex(section.virtualAddress), 10) + "size " +
               padded(hex(section.virtualSize), 10) + "file " + padded(hex(section.rawPosition), 10) + "raw size " +
               hex(section.rawSize) + "\n";
    }
    out += "Block:           " + hex(in.blockStart) + " to " + hex(in.blockEnd) + "\n";
    out += entriesAndIncludesText(in);
    const ResourceSummary& r = in.resources;
    out += "Resources:" + std::string(r.readable ? "\n" : "       unreadable (" + r.problem + ")\n");
    for (const auto& icon : r.icons) out += "  " + padded("Icon " + icon.name, 32) + iconImagesText(icon.images) + "\n";
    if (r.hasBitmap) {
        out += "  " + padded("Bitmap 10000", 32) + std::to_string(r.bitmapWidth) + "x" + std::to_string(r.bitmapHeight) + "\n";
    }
    if (r.hasVersion) {
        out += "  " + padded("Version", 32) + "file " + versionNumberText(r.version.fileHigh, r.version.fileLow) +
               ", product " + versionNumberText(r.version.productHigh, r.version.productLow) + "\n";
        for (const auto& [name, value] : r.version.strings) out += "    " + padded(name, 30) + "\"" + visible(value) + "\"\n";
    }
    if (!r.manifest.empty()) {
        out += "  " + padded("Manifest", 32) + std::to_string(r.manifest.size()) + " bytes, " + manifestLevel(r.manifest) +
               ", DPI " + manifestDpi(r.manifest) + "\n";
    }
    out += "Signature:       " + (in.signatureSize ? std::to_string(in.signatureSize) + " bytes" : std::string("none")) + "\n";
    return out;
}

std::string inspectionJson(const Inspection& in, const std::string& fileName) {
    std::string out = "{\n";
    out += "  \"file\": " + jsonString(fileName) + ",\n";
    out += "  \"size\": " + std::to_string(in.fileSize) + ",\n";
    out += "  \"launcher\": " + (in.launcher.found ? "{\"version\": " + jsonString(in.launcher.version) +
                                                     ", \"commit\": " + jsonString(in.launcher.commit) + "}"
                                               : std::string("null")) + ",\n";
    out += "  \"architecture\": " + jsonString(in.elf ? std::string("linux-x64") : archName(in.pe.machine)) + ",\n";
    out += "  \"subsystem\": " + jsonString(subsystemName(in.pe.subsystem)) + ",\n";
    out += "  \"sections\": [";
    for (std::size_t i = 0; i < in.sections.size(); ++i) {
        const auto& section = in.sections[i];
        out += (i ? ", " : "") + std::string("{\"name\": ") + jsonString(section.name) + ", \"virtualAddress\": " +
               std::to_string(section.virtualAddress) + ", \"virtualSize\": " + std::to_string(section.virtualSize) +
               ", \"rawPosition\": " + std::to_string(section.rawPosition) + ", \"rawSize\": " +
               std::to_string(section.rawSize) + "}";
    }
    out += "],\n";
    out += "  \"blockStart\": " + std::to_string(in.blockStart) + ",\n";
    out += "  \"blockEnd\": " + std::to_string(in.blockEnd) + ",\n";
    auto entries = [&](const char* name, auto const& table, auto label, auto text) {
        out += std::string("  \"") + name + "\": [";
        bool first = true;
        for (const auto& [id, value] : table) {
            out += first ? "\n" : ",\n";
            first = false;
            out += "    {\"id\": " + std::to_string(id) + ", \"key\": " + jsonString(label(id)) +
                   ", \"value\": " + jsonString(text(value)) + "}";
        }
        out += first ? "],\n" : "\n  ],\n";
    };
    entries("narrow", in.store.narrowEntries(), narrowIdLabel, cp1252ToUtf8);
    entries(
        "wide", in.store.wideEntries(), [](std::int32_t id) { return "wide-entries." + std::to_string(id); },
        [](const std::u16string& value) { return utf16ToUtf8(value); });
    out += "  \"includedFiles\": [";
    for (std::size_t i = 0; i < in.includes.size(); ++i) {
        const auto& file = in.includes[i];
        out += (i ? ",\n" : "\n");
        out += "    {\"name\": " + jsonString(file.name) + ", \"size\": " + std::to_string(file.size) +
               ", \"complete\": " + (file.complete ? "true" : "false") + "}";
    }
    out += in.includes.empty() ? "],\n" : "\n  ],\n";
    const ResourceSummary& r = in.resources;
    out += "  \"resources\": {\n";
    out += "    \"readable\": " + std::string(r.readable ? "true" : "false") + ",\n";
    out += "    \"icons\": [";
    for (std::size_t i = 0; i < r.icons.size(); ++i) {
        out += (i ? ",\n" : "\n") + std::string("      {\"name\": ") + jsonString(r.icons[i].name) + ", \"images\": [";
        for (std::size_t j = 0; j < r.icons[i].images.size(); ++j) {
            const auto& image = r.icons[i].images[j];
            out += (j ? ", " : "") + std::string("{\"width\": ") + std::to_string(image.width) + ", \"height\": " +
                   std::to_string(image.height) + ", \"bitCount\": " + std::to_string(image.bitCount) + "}";
        }
        out += "]}";
    }
    out += r.icons.empty() ? "],\n" : "\n    ],\n";
    out += "    \"bitmap\": " + (r.hasBitmap ? "{\"width\": " + std::to_string(r.bitmapWidth) + ", \"height\": " +
                                             std::to_string(r.bitmapHeight) + "}" : std::string("null")) + ",\n";
    if (r.hasVersion) {
        out += "    \"version\": {\"fileVersion\": " + jsonString(versionNumberText(r.version.fileHigh, r.version.fileLow)) +
               ", \"productVersion\": " + jsonString(versionNumberText(r.version.productHigh, r.version.productLow)) +
               ", \"strings\": {";
        for (std::size_t i = 0; i < r.version.strings.size(); ++i) {
            out += (i ? ", " : "") + jsonString(r.version.strings[i].first) + ": " + jsonString(r.version.strings[i].second);
        }
        out += "}},\n";
    } else {
        out += "    \"version\": null,\n";
    }
    if (r.manifest.empty()) {
        out += "    \"manifest\": null\n";
    } else {
        out += "    \"manifest\": {\"bytes\": " + std::to_string(r.manifest.size()) + ", \"executionLevel\": " +
               jsonString(manifestLevel(r.manifest)) + ", \"dpiAwareness\": " + jsonString(manifestDpi(r.manifest)) +
               ", \"text\": " + jsonString(r.manifest) + "}\n";
    }
    out += "  },\n";
    out += "  \"signatureSize\": " + std::to_string(in.signatureSize) + "\n";
    return out + "}\n";
}

}  // namespace gen
}  // namespace vexal
