#pragma once
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace vexal {
namespace gen {

// An input file (icon, bitmap) that cannot be used; the message says why.
class ResourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One image of an icon: the fields of its directory entry and its data
// (a BMP-style DIB or a PNG), as the RT_ICON resource holds it.
struct IconImage {
    std::uint8_t width = 0;   // 0 means 256
    std::uint8_t height = 0;
    std::uint8_t colorCount = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::string data;

    int pixelWidth() const { return width ? width : 256; }
    int pixelHeight() const { return height ? height : 256; }
};

// Reads a .ico file: every image it holds. Throws ResourceError for a file
// that is not an icon, has no image, or whose images lie outside it.
std::vector<IconImage> parseIcoFile(const std::string& bytes);

// The RT_GROUP_ICON data for images stored as RT_ICON firstId, firstId+1, ...
std::string iconGroupData(const std::vector<IconImage>& images, std::uint16_t firstId);

// One entry of an RT_GROUP_ICON read back: size, colour depth and RT_ICON id.
struct IconGroupEntry {
    int width = 0, height = 0, bitCount = 0;
    std::uint32_t bytes = 0;
    std::uint16_t id = 0;
};
bool parseIconGroup(const std::string& data, std::vector<IconGroupEntry>& entries);

// A .bmp file as the RT_BITMAP resource holds it: the file header removed,
// and any gap between the colour table and the pixels closed (the loader
// expects the pixels right behind the colour table).
struct Bitmap {
    std::string dib;
    int width = 0;
    int height = 0;  // positive, also for top-down bitmaps
};
// Throws ResourceError for a file that is not a usable bitmap.
Bitmap parseBmpFile(const std::string& bytes);
// Size of an RT_BITMAP's DIB; false when its header is not readable.
bool dibSize(const std::string& dib, int& width, int& height);

// The strings and numbers of the version record.
struct VersionFields {
    std::string fileVersion = "1.0.0.0";     // "a.b.c.d", fewer parts allowed
    std::string productVersion = "1.0.0.0";
    // Name/value pairs of the string table in the order written (UTF-8);
    // empty values are left out.
    std::vector<std::pair<std::string, std::string>> strings;
};

// "1.2.3.4" to the two 32-bit halves of a fixed version; false for a text
// that is not one to four numbers 0..65535 separated by dots.
bool parseVersionNumber(const std::string& text, std::uint32_t& high, std::uint32_t& low);

// The RT_VERSION data (VS_VERSIONINFO, US English, Unicode string table).
// No dates: the fixed record's file date is zero.
std::string versionRecord(const VersionFields& fields);

// A version record read back: its fixed versions and its strings (UTF-8).
struct VersionInfo {
    std::uint32_t fileHigh = 0, fileLow = 0, productHigh = 0, productLow = 0;
    std::vector<std::pair<std::string, std::string>> strings;
};
bool parseVersionRecord(const std::string& data, VersionInfo& info);
std::string versionNumberText(std::uint32_t high, std::uint32_t low);

// The application manifest.
enum class DpiAwareness { Unaware, System, PerMonitor };
struct ManifestOptions {
    bool requireAdministrator = false;
    DpiAwareness dpi = DpiAwareness::System;
};
std::string applicationManifest(const ManifestOptions& options);

}  // namespace gen
}  // namespace vexal
