#pragma once
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/ConfigStore.h"
#include "generator/ResourceTree.h"

namespace vexal {
namespace gen {

class BuildError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Included files are stored XORed byte by byte with this mask.
constexpr unsigned char kIncludeMask = 0x5A;

// The generated executable: the stub's image up to the end of its last
// section (with that section's resources replaced by the given tree, when
// one is given), the configuration block (entries in id order), then one
// record (32-bit size, masked data) per included file; the header's
// checksum covers the whole file. Checks that the stub is an
// executable of the expected machine whose last section the launcher's
// fixed header offsets describe, and that nothing follows that section.
// stubName names the stub in messages. Throws BuildError.
std::string composeExecutable(const std::string& stub, const std::string& stubName, const std::string& arch,
                              const ConfigStore& store, const std::vector<std::string>& includedData,
                              const ResourceTree* resources = nullptr);

// The architecture of the Linux launcher.
constexpr const char* kLinuxArch = "linux-x64";
inline bool isLinuxArch(const std::string& arch) { return arch == kLinuxArch; }

// The Linux executable: the stub's ELF image as it is, then the block and the
// records. The launcher finds the block where its ELF headers say the image
// ends, so the stub must be an x86_64 ELF image with nothing behind that
// end. No resources, no checksum. Throws BuildError.
std::string composeLinuxExecutable(const std::string& stub, const std::string& stubName, const ConfigStore& store,
                                   const std::vector<std::string>& includedData);

// One included-file record.
std::string includedRecord(const std::string& data);

std::string readFileBytes(const std::filesystem::path& path);  // throws BuildError

// Writes through a temporary file beside the target and renames it, so a
// failed write leaves no partial executable. Throws BuildError.
void writeFileAtomically(const std::filesystem::path& path, const std::string& bytes);

// Writes head (stub and block) and then one included-file record per file,
// each streamed through a fixed buffer (no file is held whole), the same
// atomic way. A file that cannot be read, is larger than 2 GiB - 1 or
// changes size while it is read fails the build, naming the file. Returns
// the size of the written executable. Throws BuildError.
std::uint64_t writeExecutable(const std::filesystem::path& path, const std::string& head,
                              const std::vector<std::filesystem::path>& includedFiles);

}  // namespace gen
}  // namespace vexal
