// The temporary directory choice and the temporary names, under Wine. The
// fall-backs are walked through TempDirSources: a scratch directory stands in
// for the Windows directory and another for "c:\".
#include <gtest/gtest.h>

#include <windows.h>
#include <aclapi.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "files/ExtractionFiles.h"
#include "files/TempFiles.h"
#include "files/TestSeams.h"
#include "tests/wine/Scratch.h"

using namespace vexal;
using namespace vexal::wintest;

namespace {

constexpr const char* kProbe = "\\vxl_w_testdir";

// Where a probe directory could have been left: every candidate.
std::vector<std::string> candidateDirs(const TempDirSources& s) {
    return {s.tempPath, s.windowsDir, s.windowsDir + "\\temp", s.driveRoot, s.driveRoot + "temp", s.driveRoot + "tmp"};
}

void expectNoProbeLeft(const TempDirSources& s) {
    for (const std::string& dir : candidateDirs(s)) EXPECT_FALSE(exists(dir + kProbe)) << dir;
}

TEST(TempDir, PlainTemporaryPathIsTakenAsItIsWithoutProbing) {
    const std::string scratch = freshScratchDir("plain");
    TempDirSources sources{scratch + "\\Plain Temp\\", scratch + "\\win", scratch + "\\root\\"};
    for (const std::string& dir : candidateDirs(sources)) CreateDirectoryA(dir.c_str(), nullptr);
    // A leftover probe stays where it is: nothing probes these directories.
    CreateDirectoryA((sources.windowsDir + kProbe).c_str(), nullptr);

    EXPECT_EQ(selectTempDir(sources), sources.tempPath);
    EXPECT_TRUE(exists(sources.windowsDir + kProbe));
    RemoveDirectoryA((sources.windowsDir + kProbe).c_str());

    // The platform's own temporary path under Wine is plain as well.
    EXPECT_EQ(chooseTempDir(), platformTempPath());
}

TEST(TempDir, UnusualTemporaryPathFallsBackInOrder) {
    struct Row {
        const char* name;
        std::vector<const char*> present;  // below the scratch directory
        const char* expected;              // "" for none
    } rows[] = {
        {"windows temp first", {"win", "win\\temp", "root", "root\\temp", "root\\tmp"}, "win\\temp"},
        {"then c:\\temp", {"win", "root", "root\\temp", "root\\tmp"}, "root\\temp"},
        {"then c:\\tmp", {"root", "root\\tmp"}, "root\\tmp"},
        {"then the windows directory", {"win"}, "win"},
        {"c:\\tmp made in a writable c:\\", {"root"}, "root\\tmp"},
        {"nothing writable", {}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string scratch = freshScratchDir("fallback");
        const std::string unusual = makeUnusualDir(scratch);
        ASSERT_FALSE(unusual.empty()) << "no short name for a directory with CJK letters";
        TempDirSources sources{unusual, scratch + "\\win", scratch + "\\root\\"};
        for (const char* dir : row.present) ASSERT_TRUE(CreateDirectoryA((scratch + "\\" + dir).c_str(), nullptr));

        const std::string chosen = selectTempDir(sources);

        if (*row.expected == '\0') {
            EXPECT_EQ(chosen, "");
        } else {
            // The Windows directory and "c:\" are joined as they are spelt.
            const std::string expected = std::string(row.expected).rfind("root", 0) == 0
                                             ? sources.driveRoot + (row.expected + 5)
                                             : scratch + "\\" + row.expected;
            EXPECT_EQ(chosen, expected);
            EXPECT_TRUE(exists(chosen));
        }
        expectNoProbeLeft(sources);
    }
}

TEST(TempDir, WritableDirProbe) {
    const std::string scratch = freshScratchDir("probe");
    EXPECT_TRUE(isWritableDir(scratch));
    EXPECT_FALSE(exists(scratch + kProbe));
    EXPECT_FALSE(isWritableDir(scratch + "\\missing"));
    // A probe left behind by an earlier run is removed first and again after.
    ASSERT_TRUE(CreateDirectoryA((scratch + kProbe).c_str(), nullptr));
    EXPECT_TRUE(isWritableDir(scratch));
    EXPECT_FALSE(exists(scratch + kProbe));
}

TEST(TempNames, TempFileIsCreatedInTheChosenDirectory) {
    const std::string scratch = freshScratchDir("names") + "\\";
    TempDirSources sources{scratch, scratch + "win", scratch + "root\\"};
    overrideTempDirSources(&sources);
    const std::string first = createTempFileName();
    const std::string second = createTempFileName();
    overrideTempDirSources(nullptr);

    const std::regex shape(std::regex_replace(scratch, std::regex(R"([\\.^$|()\[\]{}*+?])"), R"(\$&)") +
                           "vxl[0-9A-Fa-f]{1,4}\\.tmp");
    EXPECT_TRUE(std::regex_match(first, shape)) << first;
    EXPECT_TRUE(std::regex_match(second, shape)) << second;
    EXPECT_NE(first, second);
    EXPECT_TRUE(exists(first));
    EXPECT_EQ(GetFileAttributesA(first.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

// The user's SID from the process token.
std::vector<unsigned char> currentUser() {
    HANDLE token = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
    unsigned char buffer[256];
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size);
    CloseHandle(token);
    const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid;
    const unsigned char* bytes = static_cast<const unsigned char*>(sid);
    return std::vector<unsigned char>(bytes, bytes + GetLengthSid(sid));
}

// Who the DACL of a path lets in, and with which rights: SIDs as text.
struct Grant {
    std::string sid;
    DWORD mask;
};
std::vector<Grant> grants(const std::string& path, std::string& owner) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    PSID ownerSid = nullptr;
    PACL dacl = nullptr;
    std::vector<Grant> found;
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION | OWNER_SECURITY_INFORMATION,
                              &ownerSid, nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return found;
    const auto text = [](PSID sid) {
        const unsigned char* bytes = static_cast<const unsigned char*>(sid);
        return std::string(bytes, bytes + GetLengthSid(sid));
    };
    owner = text(ownerSid);
    for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace))) continue;
        if (ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
        found.push_back({text(&ace->SidStart), ace->Mask});
    }
    LocalFree(descriptor);
    return found;
}

// In a shared fall-back (here a scratch "Windows\temp") the extraction
// directory lets in only the user (Wine shows SYSTEM beside, for every file),
// and nobody else, not even to read. Its name carries twenty random digits,
// different for every directory, however quickly they are made.
TEST(ExtractionDirectory, OwnerOnlyAndUnguessableInASharedFallBack) {
    const std::string scratch = freshScratchDir("shared");
    const std::string unusual = makeUnusualDir(scratch);
    ASSERT_FALSE(unusual.empty()) << "no short name for a directory with CJK letters";
    TempDirSources sources{unusual, scratch + "\\win", scratch + "\\root\\"};
    ASSERT_TRUE(CreateDirectoryA(sources.windowsDir.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((sources.windowsDir + "\\temp").c_str(), nullptr));
    overrideTempDirSources(&sources);
    EXPECT_TRUE(isSharedTempDir(sources.windowsDir + "\\temp"));
    EXPECT_FALSE(isSharedTempDir(unusual));

    const std::vector<unsigned char> user = currentUser();
    const std::string userText(user.begin(), user.end());
    unsigned char systemSid[SECURITY_MAX_SID_SIZE];
    DWORD systemSize = sizeof systemSid;
    CreateWellKnownSid(WinLocalSystemSid, nullptr, systemSid, &systemSize);
    const std::string systemText(systemSid, systemSid + systemSize);

    const std::regex shape(".*\\\\vxl[0-9A-Fa-f]{1,4}\\.tmp_dir([0-9]{20})");
    std::set<std::string> numbers;
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        const std::string dir = makeExtractionDirectory();
        ASSERT_FALSE(dir.empty());
        EXPECT_EQ(dir.rfind(sources.windowsDir + "\\temp\\vxl", 0), 0u) << dir;
        std::smatch match;
        ASSERT_TRUE(std::regex_match(dir, match, shape)) << dir;
        numbers.insert(match[1]);
        std::string owner;
        const std::vector<Grant> granted = grants(dir, owner);
        EXPECT_EQ(owner, userText);
        bool userHasAll = false;
        for (const Grant& grant : granted) {
            EXPECT_TRUE(grant.sid == userText || grant.sid == systemText) << "someone else is let in";
            userHasAll = userHasAll || (grant.sid == userText && (grant.mask & FILE_ALL_ACCESS) == FILE_ALL_ACCESS);
        }
        EXPECT_TRUE(userHasAll);
    }
    EXPECT_EQ(numbers.size(), 8u);
    overrideTempDirSources(nullptr);
}

TEST(TempNames, CommunicationFileInThePlatformTemporaryPath) {
    EXPECT_EQ(commFileName(1234), platformTempPath() + "vxl_p1234.tmp");
    EXPECT_EQ(commFileName(7), platformTempPath() + "vxl_p7.tmp");
}

}  // namespace
