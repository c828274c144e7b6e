// Signing through osslsigncode (skipped when it or openssl is missing): the
// signed executable verifies, still holds its block where the launcher looks,
// and a failed signing writes nothing.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

#include "FakeStub.h"
#include "config/ConfigBlock.h"
#include "generator/Build.h"
#include "generator/ExeWriter.h"
#include "generator/PeResources.h"
#include "generator/Signing.h"
#include "generator/StubLocator.h"

using namespace vexal;
using namespace vexal::gen;
using vexal::testing::fakeStub;
using vexal::testing::readFile;
using vexal::testing::TempDir;
using vexal::testing::writeFile;

namespace fs = std::filesystem;

namespace {

class Signing : public ::testing::Test {
protected:
    void SetUp() override {
        if (findSigningTool().empty()) GTEST_SKIP() << "osslsigncode is not installed";
        std::string out;
        const std::string key = (dir / "key.pem").string(), cert = (dir / "cert.pem").string();
        if (runProgram({"openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", cert,
                        "-days", "2", "-subj", "/CN=Vexal Test"},
                       out) != 0 ||
            runProgram({"openssl", "pkcs12", "-export", "-inkey", key, "-in", cert, "-out", (dir / "id.p12").string(),
                        "-passout", "pass:secret word"},
                       out) != 0) {
            GTEST_SKIP() << "openssl cannot make a certificate: " << out;
        }
        for (const char* name : {"vexal-stub-gui.exe", "vexal-stub-console.exe"}) {
            writeFile(dir / "stubs/x64" / name, fakeStub(0x8664, 3));
        }
        writeFile(dir / "data.bin", "included");
        ::setenv("VEXAL_TEST_PASSWORD", "secret word", 1);
    }

    BuildResult build(const std::string& signing) {
        writeFile(dir / "app.toml", "include = [\"data.bin\"]\n[application]\nmain-class = \"Main\"\ntype = \"console\"\n"
                                    "[signing]\n" + signing);
        BuildRequest request;
        request.projectFile = dir / "app.toml";
        request.output = dir / "out.exe";
        request.stubRoots = {dir / "stubs"};
        return buildExecutable(request);
    }

    void expectNoScratchFiles() {
        for (const char* suffix : {".unsigned", ".signed", ".pass", ".part"}) {
            EXPECT_FALSE(fs::exists(dir.path() / (std::string("out.exe") + suffix))) << suffix;
        }
    }

    TempDir dir;
};

}  // namespace

TEST_F(Signing, TheSignedExecutableVerifiesAndKeepsItsBlock) {
    const std::vector<std::string> variants = {
        "pkcs12 = \"id.p12\"\npassword-env = \"VEXAL_TEST_PASSWORD\"\n",
        "certificate = \"cert.pem\"\nkey = \"key.pem\"\n",
    };
    for (const auto& signing : variants) {
        build(signing);
        const std::string exe = readFile(dir / "out.exe");
        std::string out;
        EXPECT_EQ(runProgram({findSigningTool(), "verify", "-CAfile", (dir / "cert.pem").string(), "-in",
                              (dir / "out.exe").string()},
                             out),
                  0)
            << signing << out;
        std::uint32_t position = 0, size = 0;
        securityDirectory(exe, position, size);
        EXPECT_GT(size, 0u);
        // The block, the included file, then the signature.
        ConfigStore store;
        MemorySource source(exe);
        BlockReadResult read = readConfigBlock(source, kPe32PlusLocator, store);
        ASSERT_EQ(read.error, BlockError::None);
        EXPECT_EQ(store.narrow(122), "Main");
        EXPECT_LE(read.blockEnd + 4 + 8, position);
        EXPECT_EQ(position + size, exe.size());
        expectNoScratchFiles();
    }
}

TEST_F(Signing, WithAFixedSigningTimeTheSameInputsGiveTheSameBytes) {
    ::setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    build("certificate = \"cert.pem\"\nkey = \"key.pem\"\n");
    const std::string first = readFile(dir / "out.exe");
    build("certificate = \"cert.pem\"\nkey = \"key.pem\"\n");
    ::unsetenv("SOURCE_DATE_EPOCH");
    EXPECT_TRUE(first == readFile(dir / "out.exe"));
}

TEST_F(Signing, AFailedSigningWritesNothing) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"pkcs12 = \"id.p12\"\n", "osslsigncode could not sign"},
        {"pkcs12 = \"id.p12\"\npassword-env = \"VEXAL_TEST_NO_SUCH_VARIABLE\"\n",
         "the environment variable VEXAL_TEST_NO_SUCH_VARIABLE is not set"},
        {"certificate = \"key.pem\"\nkey = \"cert.pem\"\n", "osslsigncode could not sign"},
    };
    for (const auto& [signing, expected] : cases) {
        try {
            build(signing);
            ADD_FAILURE() << signing << ": signed";
        } catch (const BuildError& error) {
            EXPECT_NE(std::string(error.what()).find(expected), std::string::npos) << error.what();
        }
        EXPECT_FALSE(fs::exists(dir / "out.exe")) << signing;
        expectNoScratchFiles();
    }
}

// Another local user who can write to the output's directory (a shared one,
// such as /tmp) plants files under the names that signing once used beside
// the output: a file of theirs, held open, where the password went, and links
// to the victim's file where the unsigned and signed executables went. The
// password reaches none of them, no link is written through, and the scratch
// directory (private, in TMPDIR) is gone afterwards.
TEST_F(Signing, NamesBesideTheOutputAreNeverUsed) {
    const fs::path tmp = dir / "tmp";
    fs::create_directories(tmp);
    ::setenv("TMPDIR", tmp.c_str(), 1);
    writeFile(dir / "victim.txt", "the victim's own");
    writeFile(dir / "out.exe.pass", "");
    const int planted = ::open((dir / "out.exe.pass").c_str(), O_RDONLY);
    ASSERT_GE(planted, 0);
    for (const char* suffix : {".unsigned", ".signed", ".unsigned-part"}) {
        fs::create_symlink(dir / "victim.txt", dir.path() / (std::string("out.exe") + suffix));
    }
    build("pkcs12 = \"id.p12\"\npassword-env = \"VEXAL_TEST_PASSWORD\"\n");
    ::unsetenv("TMPDIR");
    char buffer[64];
    const ssize_t n = ::pread(planted, buffer, sizeof buffer, 0);
    ::close(planted);
    EXPECT_EQ(n, 0) << std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
    EXPECT_TRUE(readFile(dir / "victim.txt") == "the victim's own");
    std::string out;
    EXPECT_EQ(runProgram({findSigningTool(), "verify", "-CAfile", (dir / "cert.pem").string(), "-in",
                          (dir / "out.exe").string()},
                         out),
              0)
        << out;
    EXPECT_TRUE(fs::is_empty(tmp));
}
