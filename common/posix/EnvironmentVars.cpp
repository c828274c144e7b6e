#include "common/EnvironmentVars.h"

#include <cstdlib>

#include "common/Format.h"
#include "common/Limits.h"

namespace vexal {

bool getEnvironmentValue(const std::string& name, std::string& value) {
    const char* v = std::getenv(name.c_str());
    if (v == nullptr) {
        value.clear();
        return false;
    }
    value = fitBuffer(v, kTextBuffer);
    return true;
}

}  // namespace vexal
