#pragma once
#include <string>
#include <vector>

namespace vexal {
namespace gen {

// A project key that shapes the executable around the configuration block
// (stub, resources, signing) instead of setting an entry.
struct OptionInfo {
    const char* name;
    const char* type;
    const char* defaultText;  // as shown in the reference
    const char* description;
};

const std::vector<OptionInfo>& generatorOptions();
const OptionInfo* findOption(const std::string& name);

}  // namespace gen
}  // namespace vexal
