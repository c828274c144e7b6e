#include "generator/ExeWriter.h"

#include "config/ElfImage.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "config/ConfigBlock.h"
#include "generator/FreshFile.h"
#include "generator/PathText.h"
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

std::string composeLinuxExecutable(const std::string& stub, const std::string& stubName, const ConfigStore& store,
                                   const std::vector<std::string>& includedData) {
    constexpr std::uint16_t kMachineX86_64 = 62;
    MemorySource source(stub);
    std::uint64_t end = 0;
    if (!elfImageEnd(source, end)) throw BuildError(stubName + ": not a readable 64-bit ELF image");
    const std::uint16_t machine = static_cast<std::uint16_t>(static_cast<unsigned char>(stub[18]) |
                                                             static_cast<unsigned char>(stub[19]) << 8);
    if (machine != kMachineX86_64) throw BuildError(stubName + ": the stub is not built for x86_64");
    if (end < stub.size()) {
        throw BuildError(stubName + ": the stub has " + std::to_string(stub.size() - end) +
                         " bytes behind its ELF image, where the configuration block must go");
    }
    std::string out = stub + writeConfigBlock(store);
    for (const std::string& data : includedData) {
        if (data.size() > 0x7FFFFFFFu) throw BuildError("an included file is larger than 2 GiB");
        out += includedRecord(data);
    }
    return out;
}

std::string composeExecutable(const std::string& stub, const std::string& stubName, const std::string& arch,
                              const ConfigStore& store, const std::vector<std::string>& includedData,
                              const ResourceTree* resources) {
    if (isLinuxArch(arch)) return composeLinuxExecutable(stub, stubName, store, includedData);
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
    if (fs::is_directory(path, ec)) throw BuildError(pathText(path) + ": is a directory");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw BuildError(pathText(path) + ": cannot open: " + std::strerror(errno));
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (in.bad()) throw BuildError(pathText(path) + ": read error");
    return bytes.str();
}

namespace {

constexpr std::uintmax_t kMaxIncludedSize = 0x7FFFFFFFu;

void writeAll(std::FILE* out, const char* data, std::size_t size, const fs::path& target) {
    if (size != 0 && std::fwrite(data, 1, size, out) != size) throw BuildError(pathText(target) + ": write error");
}

// Returns the record's size.
std::uint64_t appendIncludedRecord(std::FILE* out, const fs::path& file, PeChecksum& checksum, const fs::path& target) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) throw BuildError(pathText(file) + ": cannot read: not a regular file");
    const std::uintmax_t size = fs::file_size(file, ec);
    if (ec) throw BuildError(pathText(file) + ": cannot read: " + ec.message());
    if (size > kMaxIncludedSize) throw BuildError(pathText(file) + ": an included file must be smaller than 2 GiB");
    std::ifstream in(file, std::ios::binary);
    if (!in) throw BuildError(pathText(file) + ": cannot read: " + std::strerror(errno));

    std::string sizeField;
    appendInt32(sizeField, static_cast<std::int32_t>(size));
    writeAll(out, sizeField.data(), sizeField.size(), target);
    checksum.add(sizeField.data(), sizeField.size());
    char buffer[65536];
    std::uintmax_t done = 0;
    while (done < size) {
        const std::uintmax_t want = std::min<std::uintmax_t>(sizeof buffer, size - done);
        in.read(buffer, static_cast<std::streamsize>(want));
        const std::streamsize got = in.gcount();
        if (got <= 0) throw BuildError(pathText(file) + ": read error or the file shrank while it was read");
        for (std::streamsize i = 0; i < got; ++i) buffer[i] = static_cast<char>(buffer[i] ^ kIncludeMask);
        writeAll(out, buffer, static_cast<std::size_t>(got), target);
        checksum.add(buffer, static_cast<std::size_t>(got));
        done += static_cast<std::uintmax_t>(got);
    }
    if (in.peek() != std::char_traits<char>::eof()) throw BuildError(pathText(file) + ": the file grew while it was read");
    return 4 + size;
}

}  // namespace

void writeFileAtomically(const fs::path& path, const std::string& bytes) { writeExecutable(path, bytes, {}); }

std::uint64_t writeExecutable(const fs::path& path, const std::string& head, const std::vector<fs::path>& includedFiles) {
    std::error_code ec;
    if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
    fs::path temporary;
    std::FILE* out = createFreshFile(path, temporary);
    std::uint64_t size = head.size();
    try {
        // The header checksum covers the whole file, so it is summed as the
        // file streams out and stored once everything is written.
        const std::uint32_t checksumOffset = peChecksumOffset(head);
        PeChecksum checksum(checksumOffset);
        writeAll(out, head.data(), head.size(), path);
        checksum.add(head.data(), head.size());
        for (const auto& file : includedFiles) size += appendIncludedRecord(out, file, checksum, path);
        if (checksumOffset != 0) {
            std::string field;
            appendInt32(field, static_cast<std::int32_t>(checksum.value()));
            if (std::fseek(out, static_cast<long>(checksumOffset), SEEK_SET) != 0) {
                throw BuildError(pathText(path) + ": write error");
            }
            writeAll(out, field.data(), 4, path);
        }
        const bool closed = std::fclose(out) == 0;
        out = nullptr;
        if (!closed) throw BuildError(pathText(path) + ": write error");
    } catch (...) {
        if (out != nullptr) std::fclose(out);
        fs::remove(temporary, ec);
        throw;
    }
    // A rename replaces whatever lies under the output's name (a planted link
    // included), never writing through it.
    fs::rename(temporary, path, ec);
    if (ec) {
        fs::remove(temporary, ec);
        throw BuildError(pathText(path) + ": cannot write: " + ec.message());
    }
    return size;
}

}  // namespace gen
}  // namespace vexal
