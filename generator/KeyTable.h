#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace vexal {
namespace gen {

// How a project-file value becomes the text of a configuration entry.
enum class KeyKind {
    Text,         // a TOML string, stored as is
    Message,      // a TOML string; line breaks are stored as CR LF
    Number,       // a TOML integer, stored as decimal text
    Flag,         // a TOML boolean, stored as "1" or "0"
    Colour,       // an array of three integers 0..255, stored as "r,g,b"
    List,         // a string, or an array of strings joined with ";"
    CommandLine,  // a string, or an array of arguments quoted and joined with blanks
    Letter,       // one character
    ExecutableType,  // "gui", "console" or an integer
    Files,        // paths of files appended to the executable (count and names entries)
    Choice,       // one of the texts listed in choices, stored as is
};

// One readable key of the project file and the configuration id it sets.
struct KeyInfo {
    const char* name;          // dotted path in the project file, e.g. "java.min-version"
    std::int32_t id;
    KeyKind kind;
    const char* defaultValue;  // entry text written when the key is absent; null: no default
    const char* description;
    std::size_t maxBytes = 8191;  // longest text the launcher's buffer for it holds
    const char* choices = nullptr;  // Choice: the allowed texts, separated by "|"
};

const std::vector<KeyInfo>& keyTable();
const KeyInfo* findKeyByName(const std::string& name);
const KeyInfo* findKeyById(std::int32_t id);

// Readable name of a narrow id for listings: the key name, or "entries.<id>".
std::string narrowIdLabel(std::int32_t id);

const char* kindName(KeyKind kind);
// The type column of a key: its kind, or its choices ("\"auto\" or \"off\"").
std::string typeName(const KeyInfo& key);
// The allowed texts of a Choice key.
std::vector<std::string> choiceList(const KeyInfo& key);

}  // namespace gen
}  // namespace vexal
