#pragma once
#include <cstdint>
#include <filesystem>
#include <string>

namespace vexal {
namespace testing {

// A small stand-in for a launcher stub: DOS and PE headers with the section
// count and optional-header size of the real stubs (so the launcher's fixed
// header offsets hold the last section's raw-data fields), and a last
// section, the resources (at RVA 0x1000, filled with a byte pattern), whose
// raw data end at the end of the file.
std::string fakeStub(std::uint16_t machine, std::uint16_t subsystem, std::size_t resourceSize = 0x200,
                     std::uint16_t sectionCount = 0);  // 0: as the real stubs

// A fresh directory, removed with everything in it at the end of the scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

void writeFile(const std::filesystem::path& path, const std::string& bytes);
std::string readFile(const std::filesystem::path& path);

}  // namespace testing
}  // namespace vexal
