#include "tests/support/ExeBuilder.h"

#include <sys/stat.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "config/ConfigBlock.h"
#include "config/ConfigIds.h"
#include "config/ElfImage.h"

namespace vexal::testing {

namespace {

std::uint32_t u32At(const std::string& image, std::uint64_t offset) {
    if (offset + 4 > image.size()) throw std::runtime_error("PE image too short");
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(image[offset + i]);
    return v;
}

std::uint32_t u16At(const std::string& image, std::uint64_t offset) { return u32At(image, offset) & 0xFFFF; }

}  // namespace

std::string readBinaryFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::uint64_t locatedBlockOffset(const std::string& image) {
    if (image.compare(0, 4, "\x7f" "ELF") == 0) {
        MemorySource source(image);
        std::uint64_t end = 0;
        if (!elfImageEnd(source, end)) throw std::runtime_error("unreadable ELF headers");
        return end;
    }
    if (image.size() < 0x40 || image.compare(0, 2, "MZ") != 0) throw std::runtime_error("not an MZ image");
    const std::uint32_t pe = u32At(image, 0x3C);
    if (image.compare(pe, 4, std::string("PE\0\0", 4)) != 0) throw std::runtime_error("no PE signature");
    const std::uint32_t magic = u16At(image, pe + 24);
    const BlockLocator locator = magic == 0x20B ? kPe32PlusLocator : kPe32Locator;
    return static_cast<std::uint64_t>(u32At(image, locator.sizeFieldOffset)) + u32At(image, locator.positionFieldOffset);
}

ExeBuilder::ExeBuilder(const std::string& stubPath) : image_(readBinaryFile(stubPath)) {
    blockOffset_ = locatedBlockOffset(image_);
    if (blockOffset_ != image_.size()) {
        throw std::runtime_error("stub " + stubPath + ": the block locator points at offset " +
                                 std::to_string(blockOffset_) + " but the image ends at " +
                                 std::to_string(image_.size()) + "; a block appended there would not be found");
    }
}

ExeBuilder& ExeBuilder::block(const ConfigStore& store) { return raw(writeConfigBlock(store)); }

ExeBuilder& ExeBuilder::raw(const std::string& bytes) {
    image_ += bytes;
    return *this;
}

void ExeBuilder::write(const std::string& path) const {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(image_.data(), static_cast<std::streamsize>(image_.size()));
        if (!out) throw std::runtime_error("cannot write " + path);
    }
    ::chmod(path.c_str(), 0755);
}

ConfigStore typicalMessages(const std::string& executableType) {
    ConfigStore store;
    store.setNarrow(msg::Caption, "Error");
    store.setNarrow(msg::NoJvm,
                    "No JVM could be found on your system.\r\n"
                    "Please define VEXAL_JAVA_HOME to point to an installed JDK or JRE\r\n"
                    "or download a JRE from the Java vendor's web site.");
    store.setNarrow(msg::PathJvmDamaged,
                    "The JVM found in your path is damaged.\r\nPlease reinstall or define VEXAL_JAVA_HOME\r\n"
                    "to point to an installed JDK or JRE.");
    store.setNarrow(msg::EnvJvmBroken,
                    "The %ENV_VAR_NAME% environment variable does not\r\npoint to a working JDK or JRE.");
    store.setNarrow(msg::DirJvmDamaged,
                    "The JVM found at %DEFINED_PATH% is damaged.\r\nPlease reinstall or define VEXAL_JAVA_HOME\r\n"
                    "to point to an installed JDK or JRE.");
    store.setNarrow(msg::JvmNotStarted, "The JVM could not be started. The main method may have thrown an exception.");
    store.setNarrow(msg::ClassPathMissing, "File or directory %FILE_NAME% not found or empty\r\n");
    store.setNarrow(msg::WrongParameter, "Wrong Parameter Usage");
    store.setNarrow(msg::EnvVarUndefined, "The environment variable %ENV_VAR_NAME% has to be defined");
    store.setNarrow(msg::InternalError, "An internal error occurred (error code: %ERROR_CODE%)");
    store.setNarrow(msg::MainClassNotLoaded, "Couldn't load main class.");
    store.setNarrow(msg::MainMethodMissing, "Main method not found.");
    if (!executableType.empty()) store.setNarrow(id::ExecutableType, executableType);
    return store;
}

}  // namespace vexal::testing
