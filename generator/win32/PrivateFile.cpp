// rand_s: the C runtime's interface to the system's random source.
#define _CRT_RAND_S
#include "generator/PrivateFile.h"

#include <stdlib.h>
#include <windows.h>

#include <cwchar>

#include <algorithm>
#include <vector>

#include "common/win32/Handle.h"
#include "generator/ExeWriter.h"
#include "generator/PathText.h"

namespace vexal {
namespace gen {

namespace {

// A security descriptor whose protected DACL lets in the current user alone
// (nothing inherited from the directory).
class OwnerOnly {
public:
    bool make() {
        KernelHandle token;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.out())) return false;
        DWORD size = 0;
        GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
        user_.resize(size);
        if (size == 0 || !GetTokenInformation(token.get(), TokenUser, user_.data(), size, &size)) return false;
        PSID sid = reinterpret_cast<TOKEN_USER*>(user_.data())->User.Sid;
        acl_.resize(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(sid));
        PACL acl = reinterpret_cast<PACL>(acl_.data());
        return InitializeAcl(acl, static_cast<DWORD>(acl_.size()), ACL_REVISION) &&
               AddAccessAllowedAce(acl, ACL_REVISION, GENERIC_ALL, sid) &&
               InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
               SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) &&
               SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    }
    SECURITY_DESCRIPTOR* descriptor() { return &descriptor_; }

private:
    std::vector<unsigned char> user_;
    std::vector<unsigned char> acl_;
    SECURITY_DESCRIPTOR descriptor_{};
};

}  // namespace

void writePrivateFile(const std::filesystem::path& path, const std::string& bytes) {
    OwnerOnly owner;
    if (!owner.make()) throw BuildError(pathText(path) + ": cannot make an owner-only file");
    SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), owner.descriptor(), FALSE};
    // Only a new file: what someone else made under that name is neither
    // opened nor removed.
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, &attributes, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) throw BuildError(pathText(path) + ": cannot create");
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file.get(), bytes.data() + done, want, &written, nullptr) || written == 0) {
            throw BuildError(pathText(path) + ": write error");
        }
        done += written;
    }
}

std::filesystem::path makePrivateDirectory(const std::string& prefix) {
    OwnerOnly owner;
    if (!owner.make()) throw BuildError("cannot make an owner-only scratch directory");
    SECURITY_ATTRIBUTES attributes{sizeof(SECURITY_ATTRIBUTES), owner.descriptor(), FALSE};
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) throw BuildError("no temporary directory for a private scratch directory");
    for (int attempt = 0; attempt < 100; ++attempt) {
        unsigned int random[2] = {0, 0};
        if (rand_s(&random[0]) != 0 || rand_s(&random[1]) != 0) break;
        wchar_t name[32];
        _snwprintf(name, 32, L"%08x%08x", random[0], random[1]);
        std::filesystem::path dir = std::filesystem::path(temp) / (pathFromUtf8(prefix).wstring() + name);
        if (CreateDirectoryW(dir.c_str(), &attributes)) return dir;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    throw BuildError("cannot create a private scratch directory in " + pathText(std::filesystem::path(temp)));
}

}  // namespace gen
}  // namespace vexal
