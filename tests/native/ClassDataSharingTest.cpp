// The file-free decisions of class-data sharing, the digest that names
// archives and included files, and where the per-user cache is.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Sha256.h"
#include "files/UserCache.h"
#include "windows/JavaVMLauncher/ClassDataSharing.h"

using namespace vexal;

namespace {

TEST(Sha256, KnownDigestsWholeAndInPieces) {
    const struct {
        std::string text;
        const char* digest;
    } rows[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text.size());
        EXPECT_EQ(sha256Hex(row.text), row.digest);
        // Fed in uneven pieces across the 64-byte blocks.
        Sha256 pieces;
        for (std::size_t at = 0, step = 1; at < row.text.size(); at += step, step = step % 97 + 13) {
            pieces.update(row.text.data() + at, std::min(step, row.text.size() - at));
        }
        EXPECT_EQ(pieces.hexDigest(), row.digest);
        EXPECT_TRUE(isSha256Hex(row.digest));
    }
    for (const char* bad : {"", "E3B0C44298FC1C149AFBF4C8996FB92427AE41E4649B934CA495991B7852B855",
                            "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b85",
                            "../../../../../../../../../../../../../../../../../../../../etc/x"}) {
        EXPECT_FALSE(isSha256Hex(bad)) << bad;
    }
}

TEST(ClassDataSharing, MechanismAndVersionFromTheReleaseFile) {
    const struct {
        const char* release;
        int feature;
        const char* version;
        SharingMechanism mechanism;
    } rows[] = {
        {"IMPLEMENTOR=\"Debian\"\nJAVA_RUNTIME_VERSION=\"17.0.15+6-Debian-1deb12u1\"\nJAVA_VERSION=\"17.0.15\"\n", 17,
         "17.0.15+6-Debian-1deb12u1", SharingMechanism::DynamicArchive},
        {"JAVA_VERSION=\"25.0.3\"\r\nJAVA_RUNTIME_VERSION=\"25.0.3+9-LTS\"\r\n", 25, "25.0.3+9-LTS",
         SharingMechanism::AotCache},
        {"JAVA_VERSION=\"24\"\n", 24, "24", SharingMechanism::DynamicArchive},
        {"JAVA_VERSION=\"13-ea\"\n", 13, "13-ea", SharingMechanism::DynamicArchive},
        {"JAVA_VERSION=\"12.0.2\"\n", 12, "12.0.2", SharingMechanism::None},
        {"JAVA_VERSION=\"1.8.0_202\"\n", 8, "1.8.0_202", SharingMechanism::None},
        {"JAVA_VERSION=\"31.1\"", 31, "31.1", SharingMechanism::AotCache},
        {"XJAVA_VERSION=\"17\"\nOS_NAME=\"Linux\"\n", 0, "", SharingMechanism::None},
        {"JAVA_VERSION=\"\"\n", 0, "", SharingMechanism::None},
        {"", 0, "", SharingMechanism::None},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.release);
        EXPECT_EQ(releaseFeatureVersion(row.release), row.feature);
        EXPECT_EQ(releaseRuntimeVersion(row.release), row.version);
        EXPECT_EQ(sharingMechanism(releaseFeatureVersion(row.release)), row.mechanism);
    }
}

TEST(ClassDataSharing, RuntimeHomeIsThreeFoldersAboveTheJvmLibrary) {
    EXPECT_EQ(runtimeHomeOf("/usr/lib/jvm/java-17/lib/server/libjvm.so", kLinuxPathStyle), "/usr/lib/jvm/java-17");
    EXPECT_EQ(runtimeHomeOf("c:\\jdk\\bin\\server\\jvm.dll", kWindowsPathStyle), "c:\\jdk");
    EXPECT_EQ(runtimeHomeOf("z:\\j\\jre\\bin/client/jvm.dll", kWindowsPathStyle), "z:\\j\\jre");
    EXPECT_EQ(runtimeHomeOf("/lib/server/libjvm.so", kLinuxPathStyle), "");
    EXPECT_EQ(runtimeHomeOf("libjvm.so", kLinuxPathStyle), "");
    EXPECT_EQ(runtimeHomeOf("", kLinuxPathStyle), "");
}

TEST(ClassDataSharing, BaseArchivesBesideTheJvmLibrary) {
    EXPECT_EQ(baseArchivesOf("/jdk/lib/server/libjvm.so", kLinuxPathStyle),
              (std::vector<std::string>{"/jdk/lib/server/classes.jsa", "/jdk/lib/server/classes_nocoops.jsa"}));
    EXPECT_EQ(baseArchivesOf("c:\\jdk\\bin\\server\\jvm.dll", kWindowsPathStyle),
              (std::vector<std::string>{"c:\\jdk\\bin\\server\\classes.jsa",
                                        "c:\\jdk\\bin\\server\\classes_nocoops.jsa"}));
    EXPECT_TRUE(baseArchivesOf("libjvm.so", kLinuxPathStyle).empty());
}

TEST(ClassDataSharing, TheUsersOptionsThatDecideSharing) {
    const struct {
        std::vector<std::string> options;
        const char* decidedBy;
    } rows[] = {
        {{"-Xmx64m", "-Dx=-Xshare:off", "-Djava.class.path=a.jar"}, ""},
        {{"-Xmx64m", "-Xshare:off"}, "-Xshare:off"},
        {{"-Xshare:auto"}, "-Xshare:auto"},
        {{"-XX:SharedArchiveFile=/x.jsa"}, "-XX:SharedArchiveFile=/x.jsa"},
        {{"-XX:ArchiveClassesAtExit=/x.jsa"}, "-XX:ArchiveClassesAtExit=/x.jsa"},
        {{"-XX:+AutoCreateSharedArchive"}, "-XX:+AutoCreateSharedArchive"},
        {{"-XX:-AutoCreateSharedArchive"}, "-XX:-AutoCreateSharedArchive"},
        {{"-XX:AOTCache=app.aot"}, "-XX:AOTCache=app.aot"},
        {{"-XX:AOTMode=off"}, "-XX:AOTMode=off"},
        {{"-XX:+AOTClassLinking"}, "-XX:+AOTClassLinking"},
        {{"-XX:SharedClassListFile=c.lst"}, "-XX:SharedClassListFile=c.lst"},
        {{"-XX:DumpLoadedClassList=c.lst"}, "-XX:DumpLoadedClassList=c.lst"},
        {{"-XX:-UseSharedSpaces"}, "-XX:-UseSharedSpaces"},
        {{"-XX:VMOptionsFile=more.txt"}, "-XX:VMOptionsFile=more.txt"},
        {{"-XX:+UseSerialGC", "-XX:SharedArchiveFileX=1", "-XX:MaxRAM=1g", "-Xlog:cds"}, ""},
        {{}, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.options));
        EXPECT_EQ(sharingDecidedBy(row.options), row.decidedBy);
    }
    EXPECT_EQ(toolOptions("  -Xshare:off\t-Dx=1 \n"), (std::vector<std::string>{"-Xshare:off", "-Dx=1"}));
    EXPECT_TRUE(toolOptions(" ").empty());
}

TEST(ClassDataSharing, ClassPathElements) {
    EXPECT_EQ(classPathElements("-Djava.class.path=/a/x.jar::/b:", kLinuxPathStyle),
              (std::vector<std::string>{"/a/x.jar", "/b"}));
    EXPECT_EQ(classPathElements("-Djava.class.path=c:\\a.jar;d:\\lib", kWindowsPathStyle),
              (std::vector<std::string>{"c:\\a.jar", "d:\\lib"}));
    EXPECT_TRUE(classPathElements("-Djava.class.path=", kLinuxPathStyle).empty());
    EXPECT_TRUE(classPathElements("-Dother=/a.jar", kLinuxPathStyle).empty());
}

TEST(ClassDataSharing, OptionsForUsingAndWriting) {
    EXPECT_EQ(sharingOptions(SharingMechanism::DynamicArchive, false, "/c/a.jsa"),
              (std::vector<std::string>{"-XX:SharedArchiveFile=/c/a.jsa", "-Xlog:cds*=off"}));
    EXPECT_EQ(sharingOptions(SharingMechanism::DynamicArchive, true, "/c/a.part1"),
              (std::vector<std::string>{"-XX:ArchiveClassesAtExit=/c/a.part1", "-Xlog:cds*=off"}));
    EXPECT_EQ(sharingOptions(SharingMechanism::AotCache, false, "/c/a.aot"),
              (std::vector<std::string>{"-XX:AOTCache=/c/a.aot", "-Xlog:aot*=off", "-Xlog:cds*=off"}));
    EXPECT_EQ(sharingOptions(SharingMechanism::AotCache, true, "/c/a.part1"),
              (std::vector<std::string>{"-XX:AOTCacheOutput=/c/a.part1", "-XX:+UnlockDiagnosticVMOptions",
                                        "-XX:-DisplayVMOutput", "-Xlog:aot*=off", "-Xlog:cds*=off"}));
    EXPECT_TRUE(sharingOptions(SharingMechanism::None, true, "/c/a").empty());
    // Never -Xshare:on, which would refuse to start without a usable archive.
    for (auto mechanism : {SharingMechanism::DynamicArchive, SharingMechanism::AotCache}) {
        for (bool create : {false, true}) {
            for (const std::string& option : sharingOptions(mechanism, create, "/p")) {
                EXPECT_EQ(option.find("-Xshare"), std::string::npos) << option;
            }
        }
    }
}

TEST(ClassDataSharing, ArchiveNames) {
    const std::string slot = archiveSlot("/opt/app/app", "/usr/lib/jvm/java-17");
    const std::string key = archiveKey({"dynamic archive", "/usr/lib/jvm/java-17", "17.0.15", "/a.jar 10 20"});
    EXPECT_EQ(slot.size(), 16u);
    EXPECT_EQ(key.size(), 16u);
    EXPECT_NE(slot, archiveSlot("/opt/app/app", "/usr/lib/jvm/java-25"));
    EXPECT_NE(slot, archiveSlot("/opt/app/app2", "/usr/lib/jvm/java-17"));
    // Any change of what an archive was made for gives another key.
    EXPECT_NE(key, archiveKey({"dynamic archive", "/usr/lib/jvm/java-17", "17.0.16", "/a.jar 10 20"}));
    EXPECT_NE(key, archiveKey({"dynamic archive", "/usr/lib/jvm/java-17", "17.0.15", "/a.jar 10 21"}));
    EXPECT_NE(archiveKey({"a", "b"}), archiveKey({"ab"}));

    const std::string name = archiveFileName(slot, key, 1507328, SharingMechanism::DynamicArchive);
    EXPECT_EQ(name, slot + "-" + key + "-1507328.jsa");
    ArchiveName parsed;
    ASSERT_TRUE(parseArchiveFileName(name, parsed));
    EXPECT_EQ(parsed.slot, slot);
    EXPECT_EQ(parsed.key, key);
    EXPECT_EQ(parsed.size, 1507328u);
    EXPECT_EQ(parsed.mechanism, SharingMechanism::DynamicArchive);
    ASSERT_TRUE(parseArchiveFileName(archiveFileName(slot, key, 7, SharingMechanism::AotCache), parsed));
    EXPECT_EQ(parsed.mechanism, SharingMechanism::AotCache);

    const std::string part = partFileName(slot, key, 4242);
    EXPECT_EQ(part, slot + "-" + key + ".part4242");
    EXPECT_TRUE(isPartFileName(part));
    EXPECT_TRUE(isPartFileName(part + ".config"));  // the AOT configuration the JVM keeps beside it
    EXPECT_FALSE(isPartFileName(name));
    for (const std::string& other : {part, slot + "-" + key + "-.jsa", slot + "-" + key + "-12x.jsa",
                                     slot + "_" + key + "-12.jsa", slot + "-" + key + "-12.jar",
                                     std::string("0123456789ABCDEF-") + key + "-12.jsa", std::string("x.jsa")}) {
        EXPECT_FALSE(parseArchiveFileName(other, parsed)) << other;
    }
}

TEST(ClassDataSharing, ArchiveHeadAndRoom) {
    const std::string dynamic("\xa8\xab\x0b\xf0\x77\x73", 6), aot("\xa2\xab\x0b\xf0", 4);
    EXPECT_TRUE(archiveHeadMatches(SharingMechanism::DynamicArchive, dynamic));
    EXPECT_FALSE(archiveHeadMatches(SharingMechanism::AotCache, dynamic));
    EXPECT_TRUE(archiveHeadMatches(SharingMechanism::AotCache, aot));
    EXPECT_FALSE(archiveHeadMatches(SharingMechanism::DynamicArchive, aot));
    // A file the JVM did not finish: its header, written last, is still zero.
    EXPECT_FALSE(archiveHeadMatches(SharingMechanism::DynamicArchive, std::string(4096, '\0')));
    EXPECT_FALSE(archiveHeadMatches(SharingMechanism::DynamicArchive, dynamic.substr(0, 3)));
    EXPECT_FALSE(archiveHeadMatches(SharingMechanism::None, dynamic));

    const std::uint64_t mb = 1 << 20;
    EXPECT_TRUE(roomForArchive(256 * mb, 0));
    EXPECT_FALSE(roomForArchive(256 * mb - 1, 0));
    EXPECT_TRUE(roomForArchive(256 * mb + 40 * mb, 10 * mb));
    EXPECT_FALSE(roomForArchive(256 * mb + 40 * mb - 1, 10 * mb));
    EXPECT_FALSE(roomForArchive(0, 0));
    EXPECT_FALSE(roomForArchive(4ull << 40, ~0ull));  // no overflow into "enough"
}

TEST(UserCache, WhereTheCacheIs) {
    EXPECT_EQ(linuxCacheDirectoryFrom("/x/cache", "/home/u"), "/x/cache/vexal/");
    EXPECT_EQ(linuxCacheDirectoryFrom("", "/home/u"), "/home/u/.cache/vexal/");
    EXPECT_EQ(linuxCacheDirectoryFrom("relative", "/home/u"), "/home/u/.cache/vexal/");
    EXPECT_EQ(linuxCacheDirectoryFrom("", ""), "");
    EXPECT_EQ(linuxCacheDirectoryFrom("", "home"), "");
    EXPECT_EQ(windowsCacheDirectoryFrom("C:\\Users\\u\\AppData\\Local", ""), "C:\\Users\\u\\AppData\\Local\\vexal\\");
    EXPECT_EQ(windowsCacheDirectoryFrom("C:\\Users\\u\\AppData\\Local\\", ""), "C:\\Users\\u\\AppData\\Local\\vexal\\");
    EXPECT_EQ(windowsCacheDirectoryFrom("\\\\server\\share\\u", ""), "\\\\server\\share\\u\\vexal\\");
    EXPECT_EQ(windowsCacheDirectoryFrom("", "C:\\Users\\u"), "C:\\Users\\u\\AppData\\Local\\vexal\\");
    EXPECT_EQ(windowsCacheDirectoryFrom("AppData", "C:\\Users\\u"), "C:\\Users\\u\\AppData\\Local\\vexal\\");
    EXPECT_EQ(windowsCacheDirectoryFrom("", "u"), "");
}

}  // namespace
