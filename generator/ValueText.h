#pragma once
#include <stdexcept>
#include <string>
#include <vector>

#include "generator/Toml.h"

#include "generator/KeyTable.h"

namespace vexal {
namespace gen {

// A value that does not fit its key; the message says why.
class ValueError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The entry text (UTF-8) for a project-file value of the key's kind.
// Throws ValueError for a value of the wrong type or form.
std::string entryText(const toml::node& value, const KeyInfo& key);

// The entry text of a raw [entries] value: a string, an integer or a boolean.
std::string rawEntryText(const toml::node& value);

// Items joined by ";" with a final ";". Items may not be empty or hold ";".
std::string joinList(const std::vector<std::string>& items);

// Arguments written as one command line that the launcher splits back into
// the same arguments: blanks separate, and an argument with a blank or a
// quote (or an empty one) is enclosed in the quote it does not contain.
std::string joinCommandLine(const std::vector<std::string>& arguments);

// Line breaks as the launcher's messages store them: every lone LF becomes CR LF.
std::string withCrLf(const std::string& text);

// "a string", "an integer", ... for error messages.
std::string describeType(const toml::node& value);

}  // namespace gen
}  // namespace vexal
