#include "generator/ResourceTree.h"

#include <set>
#include <vector>

#include "generator/Bytes.h"

namespace vexal {
namespace gen {

namespace {

constexpr std::uint32_t kDirectorySize = 16;
constexpr std::uint32_t kEntrySize = 8;
constexpr std::uint32_t kDataEntrySize = 16;
constexpr std::uint32_t kHighBit = 0x80000000u;

std::uint32_t directorySize(std::size_t entries) {
    return kDirectorySize + kEntrySize * static_cast<std::uint32_t>(entries);
}

// A directory header: no characteristics, no time stamp, version 0.0.
bool isNamed(const ResourceKey& key) { return key.named; }
bool isNamed(std::uint16_t) { return false; }

template <typename Map>
void putDirectory(std::string& out, std::uint32_t at, const Map& children) {
    std::uint16_t named = 0, numbered = 0;
    for (const auto& child : children) (isNamed(child.first) ? named : numbered)++;
    put16(out, at + 12, named);
    put16(out, at + 14, numbered);
}

}  // namespace

ResourceKey ResourceKey::text(const std::string& ascii) {
    ResourceKey key;
    key.named = true;
    for (char c : ascii) key.name.push_back(static_cast<char16_t>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
    return key;
}

bool ResourceKey::operator<(const ResourceKey& other) const {
    if (named != other.named) return named;
    return named ? name < other.name : id < other.id;
}

bool ResourceKey::operator==(const ResourceKey& other) const {
    return named == other.named && (named ? name == other.name : id == other.id);
}

std::string ResourceKey::label() const {
    if (!named) return std::to_string(id);
    std::string text;
    for (char16_t c : name) text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return text;
}

void addResource(ResourceTree& tree, const ResourceKey& type, const ResourceKey& name, const std::string& data,
                 std::uint16_t language) {
    tree[type][name][language] = data;
}

std::string writeResourceSection(const ResourceTree& tree, std::uint32_t sectionRva) {
    // Offsets of every part, in the order they are laid out.
    std::uint32_t size = directorySize(tree.size());
    std::vector<std::uint32_t> typeDirs, nameDirs;
    for (const auto& type : tree) {
        typeDirs.push_back(size);
        size += directorySize(type.second.size());
    }
    for (const auto& type : tree) {
        for (const auto& name : type.second) {
            nameDirs.push_back(size);
            size += directorySize(name.second.size());
        }
    }
    std::vector<std::uint32_t> dataEntries;
    for (const auto& type : tree)
        for (const auto& name : type.second)
            for (std::size_t i = 0; i < name.second.size(); ++i, size += kDataEntrySize) dataEntries.push_back(size);
    std::map<std::u16string, std::uint32_t> strings;
    auto placeString = [&](const ResourceKey& key) {
        if (key.named && !strings.count(key.name)) {
            strings[key.name] = size;
            size += 2 + 2 * static_cast<std::uint32_t>(key.name.size());
        }
    };
    for (const auto& type : tree) {
        placeString(type.first);
        for (const auto& name : type.second) placeString(name.first);
    }
    std::vector<std::uint32_t> data;
    for (const auto& type : tree)
        for (const auto& name : type.second)
            for (const auto& leaf : name.second) {
                size = align(size, 8);
                data.push_back(size);
                size += static_cast<std::uint32_t>(leaf.second.size());
            }

    std::string out(align(size, 8), '\0');
    auto nameField = [&](const ResourceKey& key) {
        return key.named ? kHighBit | strings.at(key.name) : key.id;
    };
    putDirectory(out, 0, tree);
    std::size_t t = 0, n = 0, d = 0;
    std::uint32_t rootEntry = kDirectorySize;
    for (const auto& type : tree) {
        put32(out, rootEntry, nameField(type.first));
        put32(out, rootEntry + 4, kHighBit | typeDirs[t]);
        rootEntry += kEntrySize;
        putDirectory(out, typeDirs[t], type.second);
        std::uint32_t typeEntry = typeDirs[t] + kDirectorySize;
        for (const auto& name : type.second) {
            put32(out, typeEntry, nameField(name.first));
            put32(out, typeEntry + 4, kHighBit | nameDirs[n]);
            typeEntry += kEntrySize;
            putDirectory(out, nameDirs[n], name.second);
            std::uint32_t nameEntry = nameDirs[n] + kDirectorySize;
            for (const auto& leaf : name.second) {
                put32(out, nameEntry, leaf.first);
                put32(out, nameEntry + 4, dataEntries[d]);
                nameEntry += kEntrySize;
                put32(out, dataEntries[d], sectionRva + data[d]);
                put32(out, dataEntries[d] + 4, static_cast<std::uint32_t>(leaf.second.size()));
                out.replace(data[d], leaf.second.size(), leaf.second);
                ++d;
            }
            ++n;
        }
        ++t;
    }
    for (const auto& [name, at] : strings) {
        put16(out, at, static_cast<std::uint16_t>(name.size()));
        for (std::size_t i = 0; i < name.size(); ++i) put16(out, at + 2 + 2 * static_cast<std::uint32_t>(i), name[i]);
    }
    return out;
}

namespace {

class SectionReader {
public:
    SectionReader(const std::string& section, std::uint32_t rva) : section_(section), rva_(rva) {}

    bool read(ResourceTree& tree) {
        std::vector<std::pair<ResourceKey, std::uint32_t>> types, names, languages;
        if (!enter(0) || !entries(0, types)) return false;
        for (const auto& [type, typeAt] : types) {
            if (!directory(typeAt) || !entries(typeAt & ~kHighBit, names)) return false;
            for (const auto& [name, nameAt] : names) {
                if (!directory(nameAt) || !entries(nameAt & ~kHighBit, languages)) return false;
                for (const auto& [language, leafAt] : languages) {
                    std::string data;
                    if (language.named || (leafAt & kHighBit) || !leaf(leafAt, data)) {
                        return fail("a language entry of " + type.label() + "/" + name.label() + " is not a leaf");
                    }
                    tree[type][name][language.id] = std::move(data);
                }
            }
        }
        return true;
    }

    std::string reason;

private:
    bool fail(const std::string& why) {
        reason = why;
        return false;
    }
    bool fits(std::uint64_t at, std::uint64_t count) const { return at <= section_.size() && count <= section_.size() - at; }

    bool directory(std::uint32_t entry) {
        if (!(entry & kHighBit)) return fail("a type or name entry points at data instead of a directory");
        return enter(entry & ~kHighBit);
    }

    // Every directory and data entry belongs to one place of the tree. A
    // section whose entries point at one directory from several places would
    // make a small file stand for a tree of billions of leaves.
    bool enter(std::uint32_t at) {
        return visited_.insert(at).second ? true : fail("a directory or data entry is used more than once");
    }

    bool entries(std::uint32_t at, std::vector<std::pair<ResourceKey, std::uint32_t>>& out) {
        out.clear();
        if (!fits(at, kDirectorySize)) return fail("a directory lies outside the section");
        std::uint32_t count = get16(section_, at + 12) + get16(section_, at + 14);
        if (!fits(at + kDirectorySize, std::uint64_t(count) * kEntrySize)) return fail("a directory's entries lie outside the section");
        for (std::uint32_t i = 0; i < count; ++i) {
            std::uint32_t entry = at + kDirectorySize + i * kEntrySize;
            std::uint32_t nameField = get32(section_, entry);
            ResourceKey key;
            if (nameField & kHighBit) {
                std::uint32_t s = nameField & ~kHighBit;
                if (!fits(s, 2) || !fits(s + 2, 2u * get16(section_, s))) return fail("a resource name lies outside the section");
                key.named = true;
                for (std::uint32_t c = 0; c < get16(section_, s); ++c) key.name.push_back(get16(section_, s + 2 + 2 * c));
            } else {
                key.id = static_cast<std::uint16_t>(nameField);
            }
            out.emplace_back(key, get32(section_, entry + 4));
        }
        return true;
    }

    bool leaf(std::uint32_t at, std::string& data) {
        if (!fits(at, kDataEntrySize) || !enter(at)) return false;
        std::uint32_t rva = get32(section_, at), size = get32(section_, at + 4);
        if (rva < rva_ || !fits(rva - rva_, size)) return fail("resource data lies outside the section");
        // The section holds each resource's data once, so all of them
        // together fit in it; overlapping data would multiply the memory.
        dataBytes_ += size;
        if (dataBytes_ > section_.size()) return fail("the resource data overlap");
        data = section_.substr(rva - rva_, size);
        return true;
    }

    const std::string& section_;
    std::uint32_t rva_;
    std::set<std::uint32_t> visited_;
    std::uint64_t dataBytes_ = 0;
};

}  // namespace

bool readResourceSection(const std::string& section, std::uint32_t sectionRva, ResourceTree& tree,
                         std::string& reason) {
    tree.clear();
    SectionReader reader(section, sectionRva);
    if (reader.read(tree)) return true;
    reason = reader.reason;
    return false;
}

const std::string* findResource(const ResourceTree& tree, const ResourceKey& type, const ResourceKey& name) {
    auto t = tree.find(type);
    if (t == tree.end()) return nullptr;
    auto n = t->second.find(name);
    if (n == t->second.end() || n->second.empty()) return nullptr;
    return &n->second.begin()->second;
}

}  // namespace gen
}  // namespace vexal
