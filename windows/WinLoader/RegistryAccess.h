#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace vexal {

// The registry services of the JVM search. Keys are opened for reading with
// read access only; a key or value that cannot be had counts as missing.

enum class RegistryRoot { CurrentUser, LocalMachine };

// A string value that fits a buffer of bufferSize bytes with its terminator
// (at most bufferSize - 1 bytes of text), stored with or without one. False
// when the key or value is missing, is no string, or is longer.
bool readRegistryText(RegistryRoot root, const std::string& key, const char* name, std::size_t bufferSize,
                      std::string& text);

// The bytes of a value of at most maxBytes bytes; false when it is larger.
bool readRegistryBytes(RegistryRoot root, const std::string& key, const char* name, std::size_t maxBytes,
                       std::string& bytes);

// The names of the key's subkeys in the order the registry gives them.
// False when the key cannot be opened.
bool listRegistrySubkeys(RegistryRoot root, const std::string& key, std::vector<std::string>& names);

// One value to write: REG_BINARY bytes, or a REG_SZ text written with a byte
// count equal to its length (no terminator).
struct RegistryValue {
    const char* name;
    bool binary;
    std::string data;
};

// Creates or opens the key (non-volatile, full access) and sets the values.
// False when the key cannot be had; failed value writes are ignored.
bool writeRegistryValues(RegistryRoot root, const std::string& key, const std::vector<RegistryValue>& values);

}  // namespace vexal
