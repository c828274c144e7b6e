// The resource writer: the section tree, the icon, bitmap, version and
// manifest data, and the replacement of a stub's resource section.
#include <gtest/gtest.h>

#include "FakeStub.h"
#include "TestImages.h"
#include "generator/AppResources.h"
#include "generator/Bytes.h"
#include "generator/ExeWriter.h"
#include "generator/PeImage.h"
#include "generator/PeResources.h"
#include "generator/ResourceFiles.h"
#include "generator/ResourceTree.h"

using namespace vexal;
using namespace vexal::gen;
using vexal::testing::bmpFile;
using vexal::testing::fakeStub;
using vexal::testing::icoFile;
using vexal::testing::iconDib;

namespace {

ResourceKey id(std::uint16_t n) { return ResourceKey::number(n); }
ResourceKey name(const char* text) { return ResourceKey::text(text); }

ResourceTree sampleTree() {
    ResourceTree tree;
    addResource(tree, id(kRtIcon), id(1), std::string(1000, 'a'));
    addResource(tree, id(kRtIcon), id(2), std::string(7, 'b'));
    addResource(tree, id(kRtGroupIcon), name("ID_SPLASH_ICON"), "group");
    addResource(tree, id(kRtGroupIcon), name("APPICON"), "first group");
    addResource(tree, id(kRtBitmap), id(10000), std::string("\0\1\2", 3));
    addResource(tree, name("custom"), id(5), "neutral", 0);
    addResource(tree, name("custom"), id(5), "german", 0x407);
    addResource(tree, id(kRtManifest), id(1), "");
    return tree;
}

}  // namespace

TEST(ResourceTree, WrittenTreesReadBackUnchanged) {
    const ResourceTree tree = sampleTree();
    for (std::uint32_t rva : {0x1000u, 0x2F000u, 0x43D000u}) {
        std::string section = writeResourceSection(tree, rva);
        EXPECT_EQ(section.size() % 8, 0u);
        ResourceTree back;
        std::string reason;
        ASSERT_TRUE(readResourceSection(section, rva, back, reason)) << reason;
        EXPECT_TRUE(back == tree) << rva;
    }
}

TEST(ResourceTree, NamesComeFirstInUpperCaseThenIdsInOrder) {
    std::string section = writeResourceSection(sampleTree(), 0x1000);
    // Root: one named type ("CUSTOM"), then the ids 2, 3, 14, 24 in order.
    EXPECT_EQ(get16(section, 12), 1);
    EXPECT_EQ(get16(section, 14), 4);
    std::uint32_t nameAt = get32(section, 16) & 0x7FFFFFFF;
    EXPECT_EQ(get16(section, nameAt), 6);
    EXPECT_EQ(get16(section, nameAt + 2), u'C');
    EXPECT_EQ(get32(section, 24), kRtBitmap);
    EXPECT_EQ(get32(section, 32), kRtIcon);
    EXPECT_EQ(get32(section, 40), kRtGroupIcon);
    EXPECT_EQ(get32(section, 48), kRtManifest);
    // The group icon directory: "APPICON" before "ID_SPLASH_ICON".
    ResourceTree back;
    std::string reason;
    ASSERT_TRUE(readResourceSection(section, 0x1000, back, reason));
    EXPECT_EQ(back.at(id(kRtGroupIcon)).begin()->first.label(), "APPICON");
    EXPECT_EQ(*findResource(back, id(kRtGroupIcon), name("appicon")), "first group");
    EXPECT_EQ(findResource(back, id(kRtGroupIcon), name("other")), nullptr);
}

TEST(ResourceTree, DamagedSectionsAreRefused) {
    const std::string good = writeResourceSection(sampleTree(), 0x1000);
    struct Case {
        const char* name;
        std::function<std::string()> section;
        std::uint32_t rva;
    };
    const std::vector<Case> cases = {
        {"cut inside the root", [&] { return good.substr(0, 10); }, 0x1000},
        {"cut inside the data", [&] { return good.substr(0, good.size() - 600); }, 0x1000},
        {"data below the section", [&] { return good; }, 0x2000},
        {"entry count too large", [&] { std::string s = good; put16(s, 14, 0x7FFF); return s; }, 0x1000},
        {"type entry points at data", [&] { std::string s = good; put32(s, 20, 0x10); return s; }, 0x1000},
    };
    for (const auto& c : cases) {
        ResourceTree tree;
        std::string reason;
        EXPECT_FALSE(readResourceSection(c.section(), c.rva, tree, reason)) << c.name;
        EXPECT_FALSE(reason.empty()) << c.name;
    }
}

namespace {

// A section of one type (3) and one name (1) whose languages 0x400 + i
// point at the data entries leaves[i]; two data entries, both describing
// the dataSize bytes at the end of the section (placed at RVA 0x1000).
std::string sharedLeafSection(const std::vector<std::uint32_t>& leaves, std::uint32_t dataSize) {
    const std::uint32_t languages = 48, entries = languages + 16 + 8 * static_cast<std::uint32_t>(leaves.size());
    const std::uint32_t data = entries + 32;
    std::string s(data + dataSize, '\0');
    put16(s, 14, 1);
    put32(s, 16, 3);
    put32(s, 20, 0x80000000u | 24);
    put16(s, 24 + 14, 1);
    put32(s, 24 + 16, 1);
    put32(s, 24 + 20, 0x80000000u | languages);
    put16(s, languages + 14, static_cast<std::uint16_t>(leaves.size()));
    for (std::size_t i = 0; i < leaves.size(); ++i) {
        put32(s, languages + 16 + 8 * i, 0x400 + static_cast<std::uint32_t>(i));
        put32(s, languages + 20 + 8 * i, entries + 16 * leaves[i]);
    }
    for (std::uint32_t e : {entries, entries + 16}) {
        put32(s, e, 0x1000 + data);
        put32(s, e + 4, dataSize);
    }
    return s;
}

}  // namespace

TEST(ResourceTree, EntriesUsedFromSeveralPlacesAreRefused) {
    // A small file must not stand for a huge tree: every directory and data
    // entry has one place, and the data together fit in the section.
    ResourceTree tree;
    std::string reason;
    ASSERT_TRUE(readResourceSection(sharedLeafSection({0, 1}, 8), 0x1000, tree, reason)) << reason;
    EXPECT_EQ(tree.at(ResourceKey::number(3)).at(ResourceKey::number(1)).size(), 2u);

    const std::string good = writeResourceSection(sampleTree(), 0x1000);
    struct Case {
        const char* name;
        std::string section;
    };
    std::string sharedDirectory = good;
    put32(sharedDirectory, 28, get32(good, 20));  // the second type uses the first one's names
    const std::vector<Case> cases = {
        {"a name directory under two types", sharedDirectory},
        {"one data entry for two languages", sharedLeafSection({0, 0}, 8)},
        {"two data entries over the same bytes", sharedLeafSection({0, 1}, 400)},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(readResourceSection(c.section, 0x1000, tree, reason)) << c.name;
        EXPECT_FALSE(reason.empty()) << c.name;
    }
}

TEST(IconFile, EveryImageIsKeptAndTheGroupNamesThemInOrder) {
    const std::vector<vexal::testing::IconSpec> specs = {{16, 32}, {32, 8}, {48, 24}, {256, 32}};
    std::vector<IconImage> images = parseIcoFile(icoFile(specs));
    ASSERT_EQ(images.size(), specs.size());
    for (std::size_t i = 0; i < specs.size(); ++i) {
        EXPECT_EQ(images[i].pixelWidth(), specs[i].size);
        EXPECT_EQ(images[i].bitCount, specs[i].bitCount);
        EXPECT_EQ(images[i].data, iconDib(specs[i]));
    }
    std::vector<IconGroupEntry> entries;
    ASSERT_TRUE(parseIconGroup(iconGroupData(images, 7), entries));
    ASSERT_EQ(entries.size(), specs.size());
    for (std::size_t i = 0; i < specs.size(); ++i) {
        EXPECT_EQ(entries[i].width, specs[i].size);
        EXPECT_EQ(entries[i].height, specs[i].size);
        EXPECT_EQ(entries[i].bitCount, specs[i].bitCount);
        EXPECT_EQ(entries[i].bytes, images[i].data.size());
        EXPECT_EQ(entries[i].id, 7 + i);
    }
}

TEST(IconFile, MalformedIconsAreRefusedWithTheReason) {
    const std::string good = icoFile({{16, 32}, {32, 32}});
    auto with = [&](std::size_t at, std::uint32_t value) {
        std::string s = good;
        put32(s, at, value);
        return s;
    };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "not an icon file"},
        {bmpFile(4, 4), "not an icon file"},
        {good.substr(0, 4) + std::string(2, '\0'), "holds no image"},
        {good.substr(0, 20), "directory is cut short"},
        {with(6 + 16 + 12, 0xFFFFFF00u), "image 2 lies outside the file"},
        {with(6 + 8, 0), "image 1 lies outside the file"},
        {good.substr(0, good.size() - 1), "image 2 lies outside the file"},
        {with(6 + 32, 0x12345678), "image 1 is neither a bitmap nor a PNG image"},
    };
    for (const auto& [bytes, expected] : cases) {
        try {
            parseIcoFile(bytes);
            ADD_FAILURE() << expected << ": accepted";
        } catch (const ResourceError& error) {
            EXPECT_NE(std::string(error.what()).find(expected), std::string::npos) << error.what();
        }
    }
}

TEST(BitmapFile, TheResourceIsTheFileWithoutItsHeaderAndGap) {
    struct Case {
        int width, height, bitCount;
        std::uint32_t gap;
    };
    for (const Case& c : std::vector<Case>{{120, 80, 24, 0}, {3, 5, 24, 0}, {64, -48, 32, 0}, {10, 10, 8, 0},
                                           {33, 7, 24, 62}, {9, 4, 8, 2}}) {
        std::string file = bmpFile(c.width, c.height, c.bitCount, c.gap);
        Bitmap bitmap = parseBmpFile(file);
        EXPECT_EQ(bitmap.width, c.width);
        EXPECT_EQ(bitmap.height, std::abs(c.height));
        std::string withoutGap = bmpFile(c.width, c.height, c.bitCount, 0);
        EXPECT_EQ(bitmap.dib, withoutGap.substr(14)) << c.width << "x" << c.height << " gap " << c.gap;
        int width = 0, height = 0;
        ASSERT_TRUE(dibSize(bitmap.dib, width, height));
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, std::abs(c.height));
    }
}

TEST(BitmapFile, MalformedBitmapsAreRefusedWithTheReason) {
    const std::string good = bmpFile(8, 8);
    auto with = [&](std::size_t at, std::uint32_t value, int width = 4) {
        std::string s = good;
        if (width == 2) put16(s, at, static_cast<std::uint16_t>(value));
        else put32(s, at, value);
        return s;
    };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "not a bitmap file"},
        {icoFile({{16, 32}}), "not a bitmap file"},
        {with(14, 20), "unknown size (20 bytes)"},
        {with(18, 0), "impossible size (0 x 8)"},
        {with(22, 0), "impossible size (8 x 0)"},
        {with(28, 7, 2), "unknown colour depth (7 bits)"},
        {with(30, 5), "compression cannot be loaded"},
        {with(10, 20), "pixel data lie outside the file"},
        {good.substr(0, good.size() - 1), "pixel data are cut short"},
        {with(46, 100000), "colour table is cut short"},
    };
    for (const auto& [bytes, expected] : cases) {
        try {
            parseBmpFile(bytes);
            ADD_FAILURE() << expected << ": accepted";
        } catch (const ResourceError& error) {
            EXPECT_NE(std::string(error.what()).find(expected), std::string::npos) << error.what();
        }
    }
}

TEST(VersionRecord, NumbersAndStringsReadBack) {
    VersionFields fields;
    fields.fileVersion = "1.2.3.4";
    fields.productVersion = "7.0";
    fields.strings = {{"CompanyName", "Tarnwell Soft"}, {"FileDescription", "D\xC3\xA9mo \xE2\x82\xAC"},
                      {"LegalCopyright", ""}, {"OriginalFilename", "a.exe"}, {"ProductName", "x"}};
    std::string record = versionRecord(fields);
    EXPECT_EQ(record.size() % 2, 0u);
    EXPECT_EQ(get16(record, 0), record.size());
    VersionInfo info;
    ASSERT_TRUE(parseVersionRecord(record, info));
    EXPECT_EQ(versionNumberText(info.fileHigh, info.fileLow), "1.2.3.4");
    EXPECT_EQ(versionNumberText(info.productHigh, info.productLow), "7.0.0.0");
    // Empty values are left out; the rest keep their order.
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"CompanyName", "Tarnwell Soft"}, {"FileDescription", "D\xC3\xA9mo \xE2\x82\xAC"},
        {"OriginalFilename", "a.exe"}, {"ProductName", "x"}};
    EXPECT_EQ(info.strings, expected);
    EXPECT_TRUE(record == versionRecord(fields));
}

TEST(VersionRecord, VersionNumbers) {
    struct Case {
        const char* text;
        bool valid;
        std::uint32_t high, low;
    };
    for (const Case& c : std::vector<Case>{{"1", true, 0x10000, 0},
                                           {"1.2", true, 0x10002, 0},
                                           {"65535.0.1.65535", true, 0xFFFF0000, 0x1FFFF},
                                           {"1.2.3.4.5", false, 0, 0},
                                           {"65536", false, 0, 0},
                                           {"1..2", false, 0, 0},
                                           {"1.2-beta", false, 0, 0},
                                           {"", false, 0, 0},
                                           {" 1", false, 0, 0}}) {
        std::uint32_t high = 0, low = 0;
        EXPECT_EQ(parseVersionNumber(c.text, high, low), c.valid) << c.text;
        if (c.valid) {
            EXPECT_EQ(high, c.high) << c.text;
            EXPECT_EQ(low, c.low) << c.text;
        }
    }
}

TEST(Manifest, ExecutionLevelAndDpiAwareness) {
    struct Case {
        ManifestOptions options;
        std::vector<std::string> present, absent;
    };
    const std::vector<Case> cases = {
        {{}, {"level=\"asInvoker\"", "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true<",
              ">system</dpiAwareness>", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", "{e2011457-1546-43c5-a5fe-008deee3d3f0}"},
         {"requireAdministrator"}},
        {{true, DpiAwareness::PerMonitor}, {"level=\"requireAdministrator\"", ">true/pm<", ">PerMonitorV2, PerMonitor<"},
         {"asInvoker"}},
        {{false, DpiAwareness::Unaware}, {"asInvoker", "supportedOS"}, {"dpiAware"}},
    };
    for (const auto& c : cases) {
        std::string manifest = applicationManifest(c.options);
        for (const auto& text : c.present) EXPECT_NE(manifest.find(text), std::string::npos) << text;
        for (const auto& text : c.absent) EXPECT_EQ(manifest.find(text), std::string::npos) << text;
    }
}

// Icon ids are 16-bit: together the two icons may hold 65535 images, and one
// more is refused instead of wrapping round onto the first ids.
TEST(AppResources, IconImagesBeyondTheLastIdAreRefused) {
    IconImage image;
    image.width = image.height = 16;
    image.data = "x";
    struct Row {
        std::size_t app;
        std::size_t splash;
        bool fits;
    } rows[] = {{65535, 0, true}, {40000, 25535, true}, {40000, 25536, false}, {1, 65535, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.app) + " + " + std::to_string(row.splash));
        ResourceRequest request;
        request.icon.assign(row.app, image);
        request.splashIcon.assign(row.splash, image);
        if (row.fits) {
            EXPECT_EQ(buildResourceTree(request).at(id(kRtIcon)).size(), row.app + row.splash);
        } else {
            EXPECT_THROW(buildResourceTree(request), ResourceError);
        }
    }
}

TEST(AppResources, TheSplashIconIsTheApplicationIconUnlessAnotherIsGiven) {
    ResourceRequest request;
    request.icon = parseIcoFile(icoFile({{16, 32}, {32, 32}}));
    ResourceTree tree = buildResourceTree(request);
    EXPECT_EQ(tree.at(id(kRtIcon)).size(), 2u);
    EXPECT_EQ(*findResource(tree, id(kRtGroupIcon), name(kAppIconName)),
              *findResource(tree, id(kRtGroupIcon), name(kSplashIconName)));
    EXPECT_EQ(findResource(tree, id(kRtBitmap), id(kSplashBitmapId)), nullptr);
    EXPECT_NE(findResource(tree, id(kRtVersion), id(kVersionId)), nullptr);
    EXPECT_NE(findResource(tree, id(kRtManifest), id(kManifestId)), nullptr);

    request.splashIcon = parseIcoFile(icoFile({{48, 8}}));
    request.splashBitmap = parseBmpFile(bmpFile(5, 5));
    tree = buildResourceTree(request);
    EXPECT_EQ(tree.at(id(kRtIcon)).size(), 3u);
    std::vector<IconGroupEntry> entries;
    ASSERT_TRUE(parseIconGroup(*findResource(tree, id(kRtGroupIcon), name(kSplashIconName)), entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].id, 3);
    EXPECT_EQ(entries[0].width, 48);
    EXPECT_EQ(*findResource(tree, id(kRtIcon), id(3)), request.splashIcon[0].data);
    EXPECT_EQ(*findResource(tree, id(kRtBitmap), id(kSplashBitmapId)), request.splashBitmap->dib);

    // No icon at all: no icon resources.
    tree = buildResourceTree(ResourceRequest{});
    EXPECT_EQ(tree.count(id(kRtIcon)), 0u);
    EXPECT_EQ(tree.count(id(kRtGroupIcon)), 0u);
}

TEST(PeResources, ReplacingTheSectionUpdatesEveryDependentHeaderField) {
    for (std::uint16_t machine : {kMachineAmd64, kMachineI386}) {
        const std::string stub = fakeStub(machine, 2, 0x200);
        ResourceTree tree = sampleTree();
        addResource(tree, id(kRtIcon), id(3), std::string(5000, 'c'));
        std::string image = replaceResources(stub, tree, "stub");
        PeInfo pe;
        std::string reason;
        ASSERT_TRUE(readPeInfo(image, pe, reason));
        const std::uint32_t o = pe.optionalHeader, s = pe.lastSectionHeader;
        const std::uint32_t written = static_cast<std::uint32_t>(writeResourceSection(tree, 0x1000).size());
        EXPECT_EQ(get32(image, s + 8), written);                     // virtual size
        EXPECT_EQ(get32(image, s + 16), align(written, 0x200));      // raw size
        EXPECT_EQ(get32(image, s + 20), 0x400u);                     // raw position kept
        EXPECT_EQ(pe.imageEnd(), image.size());
        EXPECT_EQ(get32(image, o + 56), align(0x1000 + written, 0x1000));  // size of image
        EXPECT_EQ(get32(image, o + 8), align(written, 0x200));       // initialized data
        const std::uint32_t directory = o + (machine == kMachineAmd64 ? 112 : 96) + 16;
        EXPECT_EQ(get32(image, directory), 0x1000u);
        EXPECT_EQ(get32(image, directory + 4), written);
        EXPECT_TRUE(locatorFitsLastSection(pe));
        ResourceTree back;
        ASSERT_TRUE(readResources(image, back, reason)) << reason;
        EXPECT_TRUE(back == tree);
        // Everything before the section's data but the changed fields is the stub's.
        std::string headers = image.substr(0, 0x400);
        for (std::uint32_t field : {s + 8, s + 16, o + 56, o + 8, directory + 4}) put32(headers, field, get32(stub, field));
        EXPECT_TRUE(headers == stub.substr(0, 0x400));
    }
}

TEST(PeResources, TheChecksumCoversTheWholeFile) {
    ConfigStore store;
    store.setNarrow(122, "Main");
    std::string exe = composeExecutable(fakeStub(kMachineAmd64, 2), "stub", "x64", store, {"included"}, nullptr);
    PeInfo pe;
    std::string reason;
    ASSERT_TRUE(readPeInfo(exe, pe, reason));
    const std::uint32_t field = pe.optionalHeader + 64;
    EXPECT_NE(get32(exe, field), 0u);
    EXPECT_EQ(get32(exe, field), peChecksum(exe));
    // The field itself does not count; every other byte does.
    std::string changed = exe;
    put32(changed, field, 0x12345678);
    EXPECT_EQ(peChecksum(changed), peChecksum(exe));
    changed[exe.size() - 1] ^= 1;
    EXPECT_NE(peChecksum(changed), peChecksum(exe));
}

TEST(PeResources, ImagesWhoseLastSectionIsNotTheResourcesAreRefused) {
    std::string stub = fakeStub(kMachineAmd64, 2);
    PeInfo pe;
    std::string reason;
    ASSERT_TRUE(readPeInfo(stub, pe, reason));
    put32(stub, pe.optionalHeader + 112 + 16, 0x5000);
    try {
        replaceResources(stub, ResourceTree{}, "stub.exe");
        ADD_FAILURE() << "accepted";
    } catch (const BuildError& error) {
        EXPECT_STREQ(error.what(), "stub.exe: the last section is not the resource section, so its resources cannot be replaced");
    }
}

TEST(PeResources, ResourcesThatOverlapTheHeadersOrAnotherSectionAreRefused) {
    // The resource data are cut off and written anew: whatever they overlap
    // would be lost or garbled.
    struct Case {
        const char* name;
        std::uint32_t resourcePosition;          // 0: the stub's own
        std::uint32_t otherPosition, otherSize;  // the first section's raw data
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"another section before the resources", 0, 0x300, 0x80, true},
        {"another section ending where the resources begin", 0, 0x300, 0x100, true},
        {"another section reaching into the resources", 0, 0x300, 0x101, false},
        {"another section wholly inside the resources", 0, 0x500, 0x80, false},
        {"resources beginning inside the section table", 0x100, 0, 0, false},
    };
    for (const Case& c : cases) {
        std::string stub = fakeStub(kMachineAmd64, 2, 0x400);
        PeInfo pe;
        std::string reason;
        ASSERT_TRUE(readPeInfo(stub, pe, reason));
        if (c.resourcePosition != 0) {
            put32(stub, pe.lastSectionHeader + 20, c.resourcePosition);
            put32(stub, pe.lastSectionHeader + 16, static_cast<std::uint32_t>(stub.size()) - c.resourcePosition);
        }
        const std::uint32_t firstHeader = pe.lastSectionHeader - 40 * (pe.sectionCount - 1u);
        put32(stub, firstHeader + 16, c.otherSize);
        put32(stub, firstHeader + 20, c.otherPosition);
        try {
            const std::string image = replaceResources(stub, sampleTree(), "stub.exe");
            EXPECT_TRUE(c.accepted) << c.name;
            EXPECT_EQ(image.substr(c.otherPosition, c.otherSize), stub.substr(c.otherPosition, c.otherSize)) << c.name;
        } catch (const BuildError& error) {
            EXPECT_FALSE(c.accepted) << c.name << ": " << error.what();
            EXPECT_STREQ(error.what(), "stub.exe: the resource section's data do not come after the headers and every "
                                       "other section's data") << c.name;
        }
    }
}

TEST(PeResources, StubsWithUnusableAlignmentsOrAddressesAreRefused) {
    // The resources are padded to the file alignment and placed at the
    // section's address: a hostile header must not make them gigabytes long.
    struct Case {
        const char* name;
        std::uint32_t fileAlignment, sectionAlignment, rva;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"the stubs' own", 0x200, 0x1000, 0x1000, true},
        {"equal alignments", 0x1000, 0x1000, 0x1000, true},
        {"a file alignment of 2 GiB", 0x80000000u, 0x80000000u, 0x1000, false},
        {"a file alignment beyond 64 KiB", 0x20000, 0x20000, 0x1000, false},
        {"a file alignment that is no power of two", 0x300, 0x1000, 0x1000, false},
        {"a section alignment below the file alignment", 0x1000, 0x200, 0x1000, false},
        {"a section alignment that is no power of two", 0x200, 0x1800, 0x1000, false},
        {"the section at the top of the address space", 0x200, 0x1000, 0xFFFFF000u, false},
    };
    for (const Case& c : cases) {
        std::string stub = fakeStub(kMachineAmd64, 2);
        PeInfo pe;
        std::string reason;
        ASSERT_TRUE(readPeInfo(stub, pe, reason));
        put32(stub, pe.optionalHeader + 32, c.sectionAlignment);
        put32(stub, pe.optionalHeader + 36, c.fileAlignment);
        put32(stub, pe.lastSectionHeader + 12, c.rva);
        put32(stub, pe.optionalHeader + 112 + 16, c.rva);
        try {
            const std::string image = replaceResources(stub, sampleTree(), "stub.exe");
            EXPECT_TRUE(c.accepted) << c.name;
            EXPECT_LT(image.size(), stub.size() + 0x20000) << c.name;
        } catch (const BuildError& error) {
            EXPECT_FALSE(c.accepted) << c.name << ": " << error.what();
        }
    }
}

TEST(BitmapFile, DibSizeReadsBothOrientationsAndRefusesAnUnnegatableHeight) {
    struct Case {
        std::int32_t rawHeight;
        bool readable;
        int height;
    };
    for (const Case& c : {Case{5, true, 5}, Case{-5, true, 5}, Case{INT32_MAX, true, INT32_MAX},
                          Case{INT32_MIN + 1, true, INT32_MAX}, Case{INT32_MIN, false, 0}}) {
        std::string dib(40, '\0');
        put32(dib, 0, 40);
        put32(dib, 4, 7);
        put32(dib, 8, static_cast<std::uint32_t>(c.rawHeight));
        int width = 0, height = 0;
        EXPECT_EQ(dibSize(dib, width, height), c.readable) << c.rawHeight;
        if (c.readable) EXPECT_EQ(height, c.height) << c.rawHeight;
    }
}
