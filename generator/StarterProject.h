#pragma once
#include <string>

namespace vexal {
namespace gen {

struct StarterOptions {
    std::string mainClass;         // required
    std::string jar;               // the application's archive, beside the executable
    std::string name;              // empty: the main class's last part
    std::string type = "gui";      // "gui" or "console"
};

// A commented project file to start from: the keys most applications set,
// with the rest of the choices shown in comments. Throws ProjectError when
// an option cannot be written (no main class, an unknown type, a ";" in the
// archive name).
std::string starterProject(const StarterOptions& options);

}  // namespace gen
}  // namespace vexal
