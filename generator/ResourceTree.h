#pragma once
#include <cstdint>
#include <map>
#include <string>

namespace vexal {
namespace gen {

// Resource types the generator writes.
constexpr std::uint16_t kRtIcon = 3;
constexpr std::uint16_t kRtBitmap = 2;
constexpr std::uint16_t kRtGroupIcon = 14;
constexpr std::uint16_t kRtVersion = 16;
constexpr std::uint16_t kRtManifest = 24;

// English (United States), the language of every resource we write.
constexpr std::uint16_t kLangEnUs = 0x409;

// A resource type or name: a 16-bit number or a UTF-16 name. Names are kept
// in upper case, as the loader upper-cases the name it is asked for.
struct ResourceKey {
    bool named = false;
    std::uint16_t id = 0;
    std::u16string name;

    static ResourceKey number(std::uint16_t id) { return {false, id, {}}; }
    static ResourceKey text(const std::string& ascii);

    // The directory order the loader's binary search expects: names first,
    // by their code units, then numbers in ascending order.
    bool operator<(const ResourceKey& other) const;
    bool operator==(const ResourceKey& other) const;
    std::string label() const;  // "14" or "ID_SPLASH_ICON"
};

// The three levels of a resource section: type, name, language, and the
// data of each leaf. The code page of every leaf is 0.
using ResourceTree = std::map<ResourceKey, std::map<ResourceKey, std::map<std::uint16_t, std::string>>>;

void addResource(ResourceTree& tree, const ResourceKey& type, const ResourceKey& name, const std::string& data,
                 std::uint16_t language = kLangEnUs);

// The raw bytes of a resource section placed at sectionRva: directories,
// then the data entries, then the names, then the data (each leaf 8-byte
// aligned). No time stamps; the same tree always gives the same bytes.
std::string writeResourceSection(const ResourceTree& tree, std::uint32_t sectionRva);

// Reads a resource section back. Returns false with a reason when a
// directory, name or data entry points outside the section, or the tree is
// deeper than three levels.
bool readResourceSection(const std::string& section, std::uint32_t sectionRva, ResourceTree& tree,
                         std::string& reason);

// The first leaf of a type and name, whatever its language; null if none.
const std::string* findResource(const ResourceTree& tree, const ResourceKey& type, const ResourceKey& name);

}  // namespace gen
}  // namespace vexal
