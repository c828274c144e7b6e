#include "generator/PathText.h"

namespace vexal {
namespace gen {

std::filesystem::path pathFromUtf8(const std::string& text) { return std::filesystem::u8path(text); }

std::string pathText(const std::filesystem::path& path) { return path.u8string(); }

}  // namespace gen
}  // namespace vexal
