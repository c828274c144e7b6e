// Writes the seed corpus of every fuzz target into the directory given on
// the command line (normally fuzz/corpus): small, valid or nearly valid
// inputs made with the project's own writers, so the fuzzer starts from the
// formats' real shapes.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "FakeStub.h"
#include "TestImages.h"
#include "config/ConfigBlock.h"
#include "generator/AppResources.h"
#include "generator/ExeWriter.h"
#include "generator/ResourceTree.h"

using namespace vexal;
namespace fs = std::filesystem;

namespace {

fs::path root;

void seed(const std::string& target, const std::string& name, const std::string& bytes) {
    const fs::path dir = root / target;
    fs::create_directories(dir);
    std::ofstream(dir / name, std::ios::binary) << bytes;
}

std::string join(const std::vector<std::string>& fields) {
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) out += '\0';
        out += fields[i];
    }
    return out;
}

std::string utf16(const std::string& ascii) {
    std::string out;
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

void put(std::string& image, std::size_t at, std::uint64_t value, int count) {
    if (image.size() < at + count) image.resize(at + count, '\0');
    for (int i = 0; i < count; ++i) image[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

// An x86_64 ELF image of fileSize bytes (it ends at 640): one program header covering the
// first 400 bytes, a section header table at 512 with a null section and one
// section.
std::string elfImage(std::size_t fileSize) {
    std::string image(fileSize, '\0');
    image.replace(0, 4, "\x7f" "ELF");
    image[4] = 2;
    image[5] = 1;
    put(image, 18, 62, 2);  // x86_64
    put(image, 32, 64, 8);
    put(image, 40, 512, 8);
    put(image, 54, 56, 2);
    put(image, 56, 1, 2);
    put(image, 58, 64, 2);
    put(image, 60, 2, 2);
    put(image, 64 + 32, 400, 8);
    put(image, 512 + 64 + 4, 1, 4);
    put(image, 512 + 64 + 24, 400, 8);
    put(image, 512 + 64 + 32, 50, 8);
    image.resize(fileSize);
    return image;
}

ConfigStore sampleStore() {
    ConfigStore store;
    store.setNarrow(122, "com.example.Main");
    store.setNarrow(121, "A0lib\\app.jar;S1lib;E0CLASSPATH");
    store.setNarrow(2002, "1");
    store.setNarrow(2003, "app.jar");
    store.setWide(9, u"wide \u00FC");
    return store;
}

gen::ResourceTree sampleResources() {
    gen::ResourceRequest request;
    request.icon = gen::parseIcoFile(testing::icoFile({{16, 8}, {32, 32}}));
    request.splashBitmap = gen::parseBmpFile(testing::bmpFile(3, 2, 24));
    request.version.strings = {{"ProductName", "Example"}, {"FileDescription", "An example"}};
    return gen::buildResourceTree(request);
}

void launcherSeeds() {
    const std::string block = writeConfigBlock(sampleStore());
    seed("config_block", "block", block);
    seed("config_block", "block-cut", block.substr(0, block.size() - 5));
    seed("config_block", "stub-x64", gen::composeExecutable(testing::fakeStub(0x8664, 2), "stub", "x64",
                                                            sampleStore(), {}));
    seed("config_block", "stub-x86", gen::composeExecutable(testing::fakeStub(0x14C, 3), "stub", "x86",
                                                            sampleStore(), {}));

    seed("elf_image", "image", elfImage(700));
    seed("elf_image", "image-short", elfImage(560));

    seed("argument_split", "quotes", utf16("app.exe a \"b c\" 'd e' -Jx \t-Dy=1"));
    seed("argument_split", "unclosed", utf16("x \"never closed"));
    seed("argument_split", "empty-quotes", utf16("\"\" '' a\"b\"c"));

    seed("command_line", "quoted", utf16("\"C:\\Program Files\\app.exe\"  --flag value"));
    seed("command_line", "plain", utf16("app.exe a b"));
    seed("command_line", "unclosed", utf16("\"app.exe a b"));

    seed("substitution", "variables",
         join({"%VEXAL_EXEDIR%lib;${HOME}\\x;${home};%KORVALITH_TEMPDIR%", "${", "$${", "C:\\app\\",
               "C:\\tmp\\vxl_dir1\\", "HOME=C:\\home\nPATH=C:\\bin\nnoequals\n=x"}));
    seed("substitution", "grow", join({std::string(100, 'a'), "a", std::string(100, 'b'), "", "", ""}));

    seed("class_path", "items", std::string("\x01", 1) + "k" +
                                    join({"A0lib\\app.jar;S1lib;E0CLASSPATH;D1%VEXAL_EXEDIR%classes", "C:\\tmp\\vxl_dir1",
                                          "C:\\install", "a.jar\nb.zip\n" + std::string(200, 'n') + ".jar"}));
    seed("class_path", "missing", std::string("\x04\x00", 2) + join({"E1NOT_SET;A1gone.jar", "", "", ""}));

    seed("vmoptions", "lines", "-Xmx512m\r\n-Dx=y\n\n-Dlast");
    seed("vmoptions", "long-line", std::string(8191, 'x') + "\r\n-Dnext\n");

    seed("java_version", "range", std::string("\x00", 1) + join({"1.8.0_292", "1.6", "1.9"}));
    seed("java_version", "banner", std::string("\x03", 1) + join({"openjdk version \"17.0.2-beta\" 2022-01-18", "1.8", ""}));
    seed("java_version", "java-banner", std::string("\x00", 1) + join({"java version \"1.8.0\"", "1.10", "1.5"}));

    seed("deletion_list", "list", std::string("\x00\x40", 2) + join({"C:\\a;C:\\b\\c.tmp;;C:\\d", "C:\\new"}));
    seed("deletion_list", "full", std::string("\x1f\xff", 2) + join({std::string(8000, 'p') + ";q;", "C:\\new"}));

    seed("deletion_store", "store", "d /tmp/vxl_dir1\nf /tmp/vxl_dir1/app.jar\nx junk\nd relative\n\nf /home/u/.cache/a\n");
}

void generatorSeeds() {
    seed("project_file", "minimal", "[application]\nmain-class = \"com.example.Main\"\n");
    seed("project_file", "full",
         join({"[application]\nmain-class = \"com.example.Main\"\nname = \"Example\"\n\n"
               "[java]\nmin-version = \"1.8\"\nmax-version = \"17\"\n\n"
               "[entries]\n4711 = \"raw\"\n\n[wide-entries]\n9 = \"wide\"\n",
               "java.min-version = \"11\""}));
    seed("project_file", "broken", "[application\nmain-class = 3\n");

    seed("ico", "two-images", testing::icoFile({{16, 8}, {32, 32}}));
    seed("ico", "png-size-entry", testing::icoFile({{48, 32}}));
    seed("ico", "group", gen::iconGroupData(gen::parseIcoFile(testing::icoFile({{16, 24}})), 1));

    seed("bmp", "rgb", testing::bmpFile(4, 4, 24));
    seed("bmp", "palette-top-down-gap", testing::bmpFile(3, -2, 8, 10));
    seed("bmp", "rgba", testing::bmpFile(2, 2, 32));

    const gen::ResourceTree resources = sampleResources();
    seed("pe_headers", "stub-x64-gui", testing::fakeStub(0x8664, 2));
    seed("pe_headers", "stub-x86-console", testing::fakeStub(0x14C, 3));
    seed("pe_headers", "exe-resources",
         gen::composeExecutable(testing::fakeStub(0x8664, 2), "stub", "x64", sampleStore(), {"abc"}, &resources));

    std::string section = gen::writeResourceSection(resources, 0x1000);
    seed("resource_tree", "section", std::string("\x00\x10\x00\x00", 4) + section);
    seed("resource_tree", "exe",
         gen::composeExecutable(testing::fakeStub(0x14C, 2), "stub", "x86", sampleStore(), {}, &resources));

    seed("inspect", "x64", gen::composeExecutable(testing::fakeStub(0x8664, 3), "stub", "x64", sampleStore(),
                                                  {"abc"}, &resources));
    seed("inspect", "x86", gen::composeExecutable(testing::fakeStub(0x14C, 2), "stub", "x86", sampleStore(),
                                                  {"abc"}));
    seed("inspect", "linux", gen::composeLinuxExecutable(elfImage(640), "stub", sampleStore(), {"abc"}));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_seed_corpus DIRECTORY\n";
        return 2;
    }
    root = argv[1];
    launcherSeeds();
    generatorSeeds();
    return 0;
}
