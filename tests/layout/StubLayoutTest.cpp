// Checks the image layout of the four built launcher stubs. The launcher
// finds its configuration block through two fixed header offsets (the
// raw-data size and position of the last section), so every stub must keep
// the section count, the resource section last and nothing behind its data.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/ConfigBlock.h"
#include "config/ConfigStore.h"

using namespace vexal;

namespace {

struct Section {
    std::string name;
    std::uint32_t virtualSize = 0;
    std::uint32_t virtualAddress = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawPosition = 0;
};

// Bounds-checked little-endian reads over a file image.
class Image {
public:
    explicit Image(std::string bytes) : bytes_(std::move(bytes)) {}
    const std::string& bytes() const { return bytes_; }
    std::uint64_t size() const { return bytes_.size(); }

    std::uint32_t u16(std::uint64_t at) const { return value(at, 2); }
    std::uint32_t u32(std::uint64_t at) const { return value(at, 4); }
    std::string text(std::uint64_t at, std::size_t count) const {
        need(at, count);
        return bytes_.substr(static_cast<std::size_t>(at), count);
    }
    // A zero-terminated text starting at a file position.
    std::string cString(std::uint64_t at) const {
        need(at, 1);
        std::size_t end = bytes_.find('\0', static_cast<std::size_t>(at));
        if (end == std::string::npos) throw std::out_of_range("unterminated name");
        return bytes_.substr(static_cast<std::size_t>(at), end - static_cast<std::size_t>(at));
    }

private:
    void need(std::uint64_t at, std::uint64_t count) const {
        if (at > bytes_.size() || count > bytes_.size() - at) throw std::out_of_range("read past the image");
    }
    std::uint32_t value(std::uint64_t at, int width) const {
        need(at, width);
        std::uint32_t v = 0;
        for (int i = width - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(bytes_[at + i]);
        return v;
    }
    std::string bytes_;
};

// The parts of a PE image the launcher and the loader depend on.
struct PeFacts {
    std::uint32_t lfanew = 0;
    std::string signature;
    std::uint32_t machine = 0;
    std::uint32_t characteristics = 0;
    std::uint32_t optionalMagic = 0;
    std::uint32_t subsystem = 0;
    std::uint32_t dllCharacteristics = 0;
    std::uint32_t importRva = 0;
    std::uint32_t relocRva = 0;
    std::uint32_t relocSize = 0;
    std::vector<Section> sections;
    std::vector<std::string> importedDlls;
};

constexpr std::uint32_t kImportDirectory = 1;
constexpr std::uint32_t kBaseRelocationDirectory = 5;
constexpr std::uint32_t kHighEntropyVa = 0x20;
constexpr std::uint32_t kDynamicBase = 0x40;
constexpr std::uint32_t kNxCompat = 0x100;
constexpr std::uint32_t kTerminalServerAware = 0x8000;
constexpr std::uint32_t kRelocationsStripped = 0x1;  // file header characteristics
constexpr std::uint32_t kRelocationAbsolute = 0;       // padding entry
constexpr std::uint32_t kRelocationHighLow = 3;        // 32-bit address (i686)
constexpr std::uint32_t kRelocationDir64 = 10;         // 64-bit address (x86_64)

std::uint64_t fileOffsetOf(const std::vector<Section>& sections, std::uint32_t rva) {
    for (const Section& s : sections) {
        if (rva >= s.virtualAddress && rva - s.virtualAddress < s.rawSize)
            return std::uint64_t{s.rawPosition} + (rva - s.virtualAddress);
    }
    throw std::out_of_range("address outside the sections' raw data");
}

std::vector<std::string> importedDlls(const Image& image, const std::vector<Section>& sections,
                                      std::uint32_t importRva) {
    std::vector<std::string> names;
    if (importRva == 0) return names;
    std::uint64_t descriptor = fileOffsetOf(sections, importRva);
    for (int i = 0; i < 256; ++i, descriptor += 20) {
        bool empty = true;
        for (int field = 0; field < 20; field += 4) empty = empty && image.u32(descriptor + field) == 0;
        if (empty) return names;
        names.push_back(image.cString(fileOffsetOf(sections, image.u32(descriptor + 12))));
    }
    throw std::runtime_error("import directory without terminator");
}

PeFacts readPe(const Image& image) {
    PeFacts pe;
    pe.lfanew = image.u32(0x3C);
    const std::uint64_t fileHeader = pe.lfanew + 4;
    pe.signature = image.text(pe.lfanew, 4);
    pe.machine = image.u16(fileHeader);
    pe.characteristics = image.u16(fileHeader + 18);
    const std::uint32_t sectionCount = image.u16(fileHeader + 2);
    const std::uint32_t optionalSize = image.u16(fileHeader + 16);
    const std::uint64_t optional = fileHeader + 20;
    pe.optionalMagic = image.u16(optional);
    pe.subsystem = image.u16(optional + 68);
    pe.dllCharacteristics = image.u16(optional + 70);
    // The data directories follow the fields that differ in width.
    const bool plus = pe.optionalMagic == 0x20B;
    const std::uint64_t directoryCount = image.u32(optional + (plus ? 108 : 92));
    const std::uint64_t directories = optional + (plus ? 112 : 96);
    if (directoryCount > kImportDirectory) pe.importRva = image.u32(directories + 8 * kImportDirectory);
    if (directoryCount > kBaseRelocationDirectory) {
        pe.relocRva = image.u32(directories + 8 * kBaseRelocationDirectory);
        pe.relocSize = image.u32(directories + 8 * kBaseRelocationDirectory + 4);
    }
    const std::uint64_t table = optional + optionalSize;
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
        const std::uint64_t at = table + 40ull * i;
        Section s;
        s.name = image.text(at, 8).c_str();
        s.virtualSize = image.u32(at + 8);
        s.virtualAddress = image.u32(at + 12);
        s.rawSize = image.u32(at + 16);
        s.rawPosition = image.u32(at + 20);
        pe.sections.push_back(s);
    }
    pe.importedDlls = importedDlls(image, pe.sections, pe.importRva);
    return pe;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::string();
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// DLLs every Windows installation carries; the stub may import nothing else.
const std::set<std::string> kSystemDlls = {
    "kernel32.dll", "user32.dll", "gdi32.dll",    "advapi32.dll", "shell32.dll", "ole32.dll",
    "oleaut32.dll", "msvcrt.dll", "comdlg32.dll", "winspool.drv", "comctl32.dll", "version.dll",
    "shlwapi.dll",  "ntdll.dll",
};

struct StubCase {
    const char* name;
    std::string path;
    std::uint32_t machine;
    std::uint32_t optionalMagic;
    std::uint32_t subsystem;
    std::vector<std::string> sections;
    BlockLocator locator;
    std::uint32_t imageFlags;      // DllCharacteristics that must be set
    std::uint32_t relocationType;  // of every relocation but padding
};

void PrintTo(const StubCase& stub, std::ostream* out) { *out << stub.name; }

constexpr std::uint32_t kGui = 2, kConsole = 3;

// i686 keeps five sections and x86_64 six, the resources last, so that the
// locator's offsets hold; the imports live in .rdata to leave room for the
// base relocations.
const std::vector<std::string> kX64Sections = {".text", ".data", ".rdata", ".pdata", ".reloc", ".rsrc"};
const std::vector<std::string> kX86Sections = {".text", ".data", ".rdata", ".reloc", ".rsrc"};
constexpr std::uint32_t kX86Flags = kDynamicBase | kNxCompat | kTerminalServerAware;
constexpr std::uint32_t kX64Flags = kX86Flags | kHighEntropyVa;

const StubCase kStubs[] = {
    {"x64_gui", VEXAL_STUBS_X64 "/vexal-stub-gui.exe", 0x8664, 0x20B, kGui, kX64Sections, kPe32PlusLocator, kX64Flags,
     kRelocationDir64},
    {"x64_console", VEXAL_STUBS_X64 "/vexal-stub-console.exe", 0x8664, 0x20B, kConsole, kX64Sections,
     kPe32PlusLocator, kX64Flags, kRelocationDir64},
    {"x86_gui", VEXAL_STUBS_X86 "/vexal-stub-gui.exe", 0x14C, 0x10B, kGui, kX86Sections, kPe32Locator, kX86Flags,
     kRelocationHighLow},
    {"x86_console", VEXAL_STUBS_X86 "/vexal-stub-console.exe", 0x14C, 0x10B, kConsole, kX86Sections, kPe32Locator,
     kX86Flags, kRelocationHighLow},
};

class StubLayout : public ::testing::TestWithParam<StubCase> {
protected:
    void SetUp() override {
        image_ = Image(readFile(GetParam().path));
        ASSERT_GT(image_.size(), 0u) << "stub missing or empty: " << GetParam().path;
        ASSERT_NO_THROW(pe_ = readPe(image_)) << GetParam().path;
        ASSERT_FALSE(pe_.sections.empty());
    }
    const Section& last() const { return pe_.sections.back(); }

    Image image_{std::string()};
    PeFacts pe_;
};

TEST_P(StubLayout, HeadersAreThoseOfTheArchitectureAndSubsystem) {
    const StubCase& stub = GetParam();
    EXPECT_EQ(image_.text(0, 2), "MZ");
    EXPECT_EQ(pe_.lfanew, 0x80u);
    EXPECT_EQ(pe_.signature, std::string("PE\0\0", 4));
    EXPECT_EQ(pe_.machine, stub.machine);
    EXPECT_EQ(pe_.optionalMagic, stub.optionalMagic);
    EXPECT_EQ(pe_.subsystem, stub.subsystem);
}

TEST_P(StubLayout, ResourceSectionIsLastAndEndsTheFile) {
    const StubCase& stub = GetParam();
    std::vector<std::string> names;
    for (const Section& s : pe_.sections) names.push_back(s.name);
    EXPECT_EQ(names, stub.sections);
    EXPECT_EQ(last().name, ".rsrc");
    EXPECT_GT(last().rawSize, 0u);
    EXPECT_EQ(image_.size(), std::uint64_t{last().rawPosition} + last().rawSize)
        << "bytes behind the resource section";
}

TEST_P(StubLayout, LauncherLocatorReadsTheResourceSectionFields) {
    const BlockLocator& locator = GetParam().locator;
    EXPECT_EQ(image_.u32(locator.sizeFieldOffset), last().rawSize);
    EXPECT_EQ(image_.u32(locator.positionFieldOffset), last().rawPosition);
}

// End to end through the launcher's own reader: a block appended to the stub
// is found and read whole.
TEST_P(StubLayout, AppendedBlockIsFoundByTheReader) {
    ConfigStore written;
    written.setNarrow(107, "2");
    written.setWide(1000, u"caption");
    MemorySource source(image_.bytes() + writeConfigBlock(written));
    ConfigStore read;
    BlockReadResult result = readConfigBlock(source, GetParam().locator, read);
    ASSERT_EQ(result.error, BlockError::None) << blockErrorText(result.error);
    EXPECT_EQ(read.narrowEntries(), written.narrowEntries());
    EXPECT_EQ(read.wideEntries(), written.wideEntries());
    EXPECT_EQ(result.blockEnd, source.size());
}

TEST_P(StubLayout, ImportsOnlyWindowsSystemDlls) {
    EXPECT_FALSE(pe_.importedDlls.empty());
    for (const std::string& dll : pe_.importedDlls) EXPECT_EQ(kSystemDlls.count(lower(dll)), 1u) << dll;
}

// The image may be loaded at any address (ASLR), never runs its data, and
// says so in its flags; x86_64 asks for the whole 64-bit range.
TEST_P(StubLayout, AsksForAddressRandomisationAndNonExecutableData) {
    const StubCase& stub = GetParam();
    EXPECT_EQ(pe_.dllCharacteristics & stub.imageFlags, stub.imageFlags) << std::hex << pe_.dllCharacteristics;
    EXPECT_EQ(pe_.characteristics & kRelocationsStripped, 0u) << std::hex << pe_.characteristics;
}

// The base relocations that make the move possible: the directory is the
// .reloc section, its blocks fill it exactly, and every entry is an address
// of the architecture's width that points into the image's sections.
TEST_P(StubLayout, RelocationDirectoryCoversTheImage) {
    const StubCase& stub = GetParam();
    const Section* reloc = nullptr;
    for (const Section& s : pe_.sections)
        if (s.name == ".reloc") reloc = &s;
    ASSERT_NE(reloc, nullptr);
    EXPECT_EQ(pe_.relocRva, reloc->virtualAddress);
    ASSERT_GT(pe_.relocSize, 0u);
    ASSERT_LE(pe_.relocSize, reloc->virtualSize);
    ASSERT_LE(pe_.relocSize, reloc->rawSize);

    const std::uint64_t start = fileOffsetOf(pe_.sections, pe_.relocRva);
    std::uint64_t at = start;
    std::size_t addresses = 0;
    while (at < start + pe_.relocSize) {
        const std::uint32_t page = image_.u32(at);
        const std::uint32_t blockSize = image_.u32(at + 4);
        ASSERT_GE(blockSize, 8u) << "block at " << at - start;
        ASSERT_EQ(blockSize % 4, 0u) << "block at " << at - start;
        ASSERT_LE(at + blockSize, start + pe_.relocSize) << "block at " << at - start;
        for (std::uint64_t entry = at + 8; entry < at + blockSize; entry += 2) {
            const std::uint32_t value = image_.u16(entry);
            const std::uint32_t type = value >> 12;
            if (type == kRelocationAbsolute) continue;
            EXPECT_EQ(type, stub.relocationType) << "entry at " << entry - start;
            const std::uint32_t target = page + (value & 0xFFF);
            bool inside = false;
            for (const Section& s : pe_.sections)
                inside = inside || (target >= s.virtualAddress && target - s.virtualAddress < s.virtualSize);
            EXPECT_TRUE(inside) << std::hex << target;
            ++addresses;
        }
        at += blockSize;
    }
    EXPECT_EQ(at, start + pe_.relocSize);
    EXPECT_GT(addresses, 100u);
}

// Every stub stays within 256 KB. Pulling the standard library's throwing
// paths back in (its unwinder, exception classes and name demangler) would
// add about 100 KB.
TEST_P(StubLayout, StaysWithinTheSizeBudget) {
    constexpr std::uint64_t kBudget = 256 * 1024;
    EXPECT_LE(image_.size(), kBudget);
}

INSTANTIATE_TEST_SUITE_P(Stubs, StubLayout, ::testing::ValuesIn(kStubs),
                         [](const ::testing::TestParamInfo<StubCase>& info) { return std::string(info.param.name); });

}  // namespace
