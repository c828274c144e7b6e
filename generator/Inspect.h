#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "config/ConfigStore.h"
#include "generator/PeImage.h"
#include "generator/ResourceFiles.h"
#include "generator/ResourceTree.h"

namespace vexal {
namespace gen {

struct IncludedRecordInfo {
    std::string name;
    std::int64_t size = 0;
    bool complete = true;  // false: the file ends inside the record
};

// The resources of an executable, as far as the generator writes them.
struct IconGroupInfo {
    std::string name;
    std::vector<IconGroupEntry> images;
};
struct ResourceSummary {
    bool readable = true;
    std::string problem;  // why the resources could not be read
    std::vector<IconGroupInfo> icons;
    bool hasBitmap = false;
    int bitmapWidth = 0, bitmapHeight = 0;
    bool hasVersion = false;
    VersionInfo version;
    std::string manifest;  // empty: none
};
ResourceSummary summarizeResources(const ResourceTree& tree);

struct SectionInfo {
    std::string name;
    std::uint32_t virtualAddress = 0, virtualSize = 0, rawPosition = 0, rawSize = 0;
};

// The launcher's build record (common/BuildInfo.h) in an image.
struct LauncherBuild {
    bool found = false;
    std::string version;  // "1.0.0"
    std::string commit;   // "0123456789ab", "unknown"
};

// The first build record in the image's first `end` bytes (the stub part:
// what follows the block is the application's).
LauncherBuild findLauncherBuild(const std::string& bytes, std::uint64_t end);

// What a generated executable holds.
struct Inspection {
    PeInfo pe;
    LauncherBuild launcher;
    bool elf = false;  // a Linux launcher: no sections, resources or signature read
    std::uint64_t fileSize = 0;
    std::uint64_t blockStart = 0;
    std::uint64_t blockEnd = 0;
    ConfigStore store;
    std::vector<IncludedRecordInfo> includes;
    std::vector<SectionInfo> sections;
    ResourceSummary resources;
    std::uint32_t signatureSize = 0;  // 0: not signed
};

// Reads the configuration block of a generated executable through the
// locator of its machine (a Windows executable) or at the end of its ELF
// image (a Linux executable). Returns false with a reason for a file that is
// not a generated executable.
bool inspectExecutable(const std::string& bytes, Inspection& result, std::string& reason);

std::string inspectionText(const Inspection& inspection, const std::string& fileName);
std::string inspectionJson(const Inspection& inspection, const std::string& fileName);

}  // namespace gen
}  // namespace vexal
