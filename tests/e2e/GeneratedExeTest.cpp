// Executables made by the generator, as Windows sees them: the resources load
// through the ordinary Windows calls (resprobe fixture), the launcher still
// finds its block behind the rewritten resource section, and a signed
// executable still starts. Without a JVM, every run ends with message 1001
// and exit code 83.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "generator/Build.h"
#include "generator/Signing.h"
#include "generator/StubLocator.h"
#include "tests/e2e/Launchers.h"
#include "tests/generator/TestImages.h"

using vexal::testing::bmpFile;

namespace vexal::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kExitNoJvm = 83;

void writeText(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string probePath() { return (fs::path(harness().runner).parent_path() / "resprobe.exe").string(); }

// A stub root whose x64 directory links to the stubs under test.
fs::path stubRoot(const fs::path& dir) {
    fs::path root = dir / "stubs";
    fs::create_directories(root / "x64");
    for (const char* name : {"vexal-stub-gui.exe", "vexal-stub-console.exe"}) {
        fs::create_symlink(fs::path(harness().stubsX64) / name, root / "x64" / name);
    }
    return root;
}

// Writes the project beside an icon of three sizes and a 120x80 bitmap, and
// builds it.
fs::path build(const fs::path& dir, const std::string& project) {
    writeText(dir / "app.ico", icoFile({{16, 32}, {32, 32}, {48, 32}}));
    writeText(dir / "splash.bmp", bmpFile(120, 80));
    writeText(dir / "app.toml", project);
    gen::BuildRequest request;
    request.projectFile = dir / "app.toml";
    request.stubRoots = {stubRoot(dir)};
    return gen::buildExecutable(request).output;
}

std::set<std::string> lines(const std::string& text) {
    std::set<std::string> out;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.insert(line);
    }
    return out;
}

const char* const kProject = R"(
output = "app.exe"
splash.bitmap = "splash.bmp"
[application]
main-class = "com.example.Main"
name = "Probe"
type = "console"
icon = "app.ico"
[version]
file-version = "1.2.3.4"
product-version = "5.6"
company = "Tarnwell Soft"
description = "Probe application"
copyright = "(c) Tarnwell"
product-name = "Probe Suite"
)";

void expectNoJvmEnd(const fs::path& exe) {
    ProcessResult run = wineRun({exe.string()});
    EXPECT_EQ(run.exitCode, kExitNoJvm) << run.err;
    EXPECT_NE(run.err.find("No JVM could be found on your system."), std::string::npos) << run.err;
}

TEST(GeneratedExe, WindowsLoadsTheResourcesAndTheLauncherStillStarts) {
    fs::path dir = testWorkDir();
    fs::path exe = build(dir, kProject);

    ProcessResult probe = wineRun({probePath(), windowsPath(exe.string())});
    ASSERT_EQ(probe.exitCode, 0) << probe.err;
    std::set<std::string> found = lines(probe.out);
    for (const char* expected : {"bitmap 120x80", "icon APPICON 32x32", "icon ID_SPLASH_ICON 32x32",
                                 "fixed 1.2.3.4 5.6.0.0", "version CompanyName=Tarnwell Soft",
                                 "version FileDescription=Probe application", "version FileVersion=1.2.3.4",
                                 "version LegalCopyright=(c) Tarnwell", "version OriginalFilename=app.exe",
                                 "version ProductName=Probe Suite", "version ProductVersion=5.6"}) {
        EXPECT_TRUE(found.count(expected)) << expected << "\n" << probe.out;
    }
    bool manifest = false;
    for (const auto& line : found) manifest |= line.rfind("manifest ", 0) == 0 && line != "manifest 0";
    EXPECT_TRUE(manifest) << probe.out;
    expectNoJvmEnd(exe);
}

TEST(GeneratedExe, ASignedExecutableStillFindsItsBlockAndIncludedFiles) {
    if (gen::findSigningTool().empty()) GTEST_SKIP() << "osslsigncode is not installed";
    fs::path dir = testWorkDir();
    ProcessResult cert = runProcess({"openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout",
                                     (dir / "key.pem").string(), "-out", (dir / "cert.pem").string(), "-days", "2",
                                     "-subj", "/CN=Vexal Test"},
                                    {}, {}, kRunLimit);
    if (cert.exitCode != 0) GTEST_SKIP() << "openssl cannot make a certificate: " << cert.err;
    writeText(dir / "data.txt", "included data");
    fs::path exe = build(dir, std::string(kProject).replace(0, 1, "include = [\"data.txt\"]\n") +
                                  "[signing]\ncertificate = \"cert.pem\"\nkey = \"key.pem\"\n");
    ProcessResult verify = runProcess({gen::findSigningTool(), "verify", "-CAfile", (dir / "cert.pem").string(),
                                       "-in", exe.string()},
                                      {}, {}, kRunLimit);
    EXPECT_EQ(verify.exitCode, 0) << verify.out << verify.err;
    // Extraction reads the included file behind the block: a wrong position
    // would end the run with internal error 16 and exit code 1.
    expectNoJvmEnd(exe);
}

}  // namespace
}  // namespace vexal::testing
