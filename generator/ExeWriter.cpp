#include "generator/ExeWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "config/ConfigBlock.h"
#include "generator/PeImage.h"
#include "generator/PeResources.h"

namespace vexal {
namespace gen {

namespace fs = std::filesystem;

std::string includedRecord(const std::string& data) {
    std::string record;
    appendInt32(record, static_cast<std::int32_t>(data.size()));
    record.reserve(record.size() + data.size());
    for (char c : data) record.push_back(static_cast<char>(static_cast<unsigned char>(c) ^ kIncludeMask));
    return record;
}

std::string composeExecutable(const std::string& stub, const std::string& stubName, const std::string& arch,
                              const ConfigStore& store, const std::vector<std::string>& includedData,
                              const ResourceTree* resources) {
    PeInfo pe;
    std::string reason;
    if (!readPeInfo(stub, pe, reason)) throw BuildError(stubName + ": " + reason);
    if (pe.machine != machineOfArch(arch)) {
        throw BuildError(stubName + ": the stub is built for " +
                         (archName(pe.machine).empty() ? "another machine" : archName(pe.machine)) + ", not " + arch);
    }
    if (!locatorFitsLastSection(pe)) {
        BlockLocator locator = locatorFor(pe.machine);
        throw BuildError(stubName + ": the stub has " + std::to_string(pe.sectionCount) +
                         " sections; the raw-data fields of its last one are at offsets " +
                         std::to_string(pe.lastSectionHeader + 16) + "/" + std::to_string(pe.lastSectionHeader + 20) +
                         ", but the launcher reads " + std::to_string(locator.sizeFieldOffset) + "/" +
                         std::to_string(locator.positionFieldOffset));
    }
    if (pe.imageEnd() > stub.size()) throw BuildError(stubName + ": the stub's last section is cut short");
    if (pe.imageEnd() < stub.size()) {
        throw BuildError(stubName + ": the stub has " + std::to_string(stub.size() - pe.imageEnd()) +
                         " bytes behind its last section, where the configuration block must go");
    }
    std::string out = resources ? replaceResources(stub, *resources, stubName) : stub;
    out += writeConfigBlock(store);
    for (const std::string& data : includedData) {
        if (data.size() > 0x7FFFFFFFu) throw BuildError("an included file is larger than 2 GiB");
        out += includedRecord(data);
    }
    storePeChecksum(out);
    return out;
}

std::string readFileBytes(const fs::path& path) {
    std::error_code ec;
    if (fs::is_directory(path, ec)) throw BuildError(path.string() + ": is a directory");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw BuildError(path.string() + ": cannot open: " + std::strerror(errno));
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) throw BuildError(path.string() + ": read error");
    return bytes.str();
}

void writeFileAtomically(const fs::path& path, const std::string& bytes) {
    fs::path temporary = path;
    temporary += ".part";
    std::error_code ec;
    if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) throw BuildError(path.string() + ": cannot create: " + std::strerror(errno));
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            throw BuildError(path.string() + ": write error");
        }
    }
    fs::permissions(temporary, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add, ec);
    fs::rename(temporary, path, ec);
    if (ec) {
        std::remove(temporary.c_str());
        throw BuildError(path.string() + ": cannot write: " + ec.message());
    }
}

}  // namespace gen
}  // namespace vexal
