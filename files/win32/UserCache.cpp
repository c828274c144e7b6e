// The per-user cache on Windows, %LOCALAPPDATA%\vexal\, made with an access
// list for the user alone and refused when it is a reparse point or belongs
// to someone else.
#include "files/UserCache.h"

#include <windows.h>
#include <aclapi.h>

#include <vector>

#include "common/EnvironmentVars.h"
#include "common/win32/Handle.h"

namespace vexal {

namespace {

std::string environmentValue(const char* name) {
    std::string value;
    return getEnvironmentValue(name, value) ? value : std::string();
}

// The user of the process token (its SID in a buffer of its own).
std::vector<unsigned char> tokenUser() {
    std::vector<unsigned char> buffer;
    KernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.out())) return buffer;
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size == 0) return buffer;
    buffer.resize(size);
    if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) buffer.clear();
    return buffer;
}

PSID userSid(std::vector<unsigned char>& user) {
    return user.empty() ? nullptr : reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
}

// Creates dir with an access list that grants the user alone full access,
// protected from the parent's inheritable entries; inherited by what is
// made below it.
bool createPrivateDirectory(const std::string& dir, PSID user) {
    if (user == nullptr) return false;
    const DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(user);
    std::vector<unsigned char> aclBuffer(aclSize);
    ACL* acl = reinterpret_cast<ACL*>(aclBuffer.data());
    SECURITY_DESCRIPTOR descriptor;
    if (!InitializeAcl(acl, aclSize, ACL_REVISION) ||
        !AddAccessAllowedAceEx(acl, ACL_REVISION, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE, FILE_ALL_ACCESS, user) ||
        !InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE) ||
        !SetSecurityDescriptorControl(&descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
        return false;
    }
    SECURITY_ATTRIBUTES attributes{sizeof attributes, &descriptor, FALSE};
    return CreateDirectoryA(dir.c_str(), &attributes) != 0;
}

// A directory, not a reparse point (a link to elsewhere), owned by the user
// (or, for an elevated process, by the Administrators group that Windows
// makes the owner of what such a process creates).
bool privateDirectory(const std::string& dir, PSID user, std::string& problem) {
    const DWORD attributes = GetFileAttributesA(dir.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        problem = dir + " is not a directory";
        return false;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        problem = dir + " is a reparse point (a link?)";
        return false;
    }
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(dir.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr,
                              nullptr, &descriptor) != ERROR_SUCCESS) {
        problem = "cannot read the owner of " + dir;
        return false;
    }
    bool mine = owner != nullptr && user != nullptr && EqualSid(owner, user);
    if (!mine && owner != nullptr && IsWellKnownSid(owner, WinBuiltinAdministratorsSid)) {
        BOOL member = FALSE;
        mine = CheckTokenMembership(nullptr, owner, &member) && member;
    }
    LocalFree(descriptor);
    if (!mine) problem = dir + " belongs to another user";
    return mine;
}

bool ensureDirectory(const std::string& dir, PSID user, bool privateAcl, std::string& problem) {
    if (GetFileAttributesA(dir.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const bool made = privateAcl ? createPrivateDirectory(dir, user) : CreateDirectoryA(dir.c_str(), nullptr) != 0;
        if (!made && GetLastError() != ERROR_ALREADY_EXISTS) {
            problem = "cannot create " + dir;
            return false;
        }
    }
    return privateDirectory(dir, user, problem);
}

// The missing folders above dir, with the access of their parents.
void makeParents(const std::string& dir) {
    for (std::size_t at = dir.find_first_of("\\/", 3); at != std::string::npos; at = dir.find_first_of("\\/", at + 1)) {
        CreateDirectoryA(dir.substr(0, at).c_str(), nullptr);
    }
}

struct Cache {
    std::string directory;
    std::string problem;
};

Cache findCache() {
    Cache cache;
    std::string dir = windowsCacheDirectoryFrom(environmentValue("LOCALAPPDATA"), environmentValue("USERPROFILE"));
    if (dir.empty() || dir.find('?') != std::string::npos) {
        cache.problem = "no usable LOCALAPPDATA";
        return cache;
    }
    dir.pop_back();
    std::vector<unsigned char> user = tokenUser();
    makeParents(dir);
    if (ensureDirectory(dir, userSid(user), true, cache.problem)) cache.directory = dir + "\\";
    return cache;
}

}  // namespace

std::string userCacheDirectory(std::string& problem) {
    static const Cache cache = findCache();
    problem = cache.problem;
    return cache.directory;
}

std::string userCacheSubdirectory(const char* name, std::string& problem) {
    const std::string base = userCacheDirectory(problem);
    if (base.empty()) return base;
    const std::string dir = base + name;
    std::vector<unsigned char> user = tokenUser();
    return ensureDirectory(dir, userSid(user), false, problem) ? dir + "\\" : std::string();
}

}  // namespace vexal
