#include "generator/PrivateFile.h"

#include <windows.h>

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
    // A file of that name is replaced, not opened: what someone else made
    // keeps its own permissions.
    DeleteFileW(path.c_str());
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, &attributes, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
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

}  // namespace gen
}  // namespace vexal
