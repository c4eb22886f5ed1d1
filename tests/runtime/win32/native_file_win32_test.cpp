// The key file's access list on Windows, read back from the file system
// right after the creation: only the user who made it may use it.
#include <windows.h>

#include <aclapi.h>

#include <gtest/gtest.h>

#include <vector>

#include "runtime/native_file.h"
#include "tests/support/temp_folder.h"

namespace qh {
namespace {

// The token user of this process, DWORD-aligned.
std::vector<DWORD> CurrentUser() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return {};
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<DWORD> user(size / sizeof(DWORD) + 1);
    if (!GetTokenInformation(token, TokenUser, user.data(), size, &size)) user.clear();
    CloseHandle(token);
    return user;
}

TEST(NativeFile, APrivateFileGrantsItsOwnerAloneFromItsCreation) {
    test::TempFolder folder;
    const std::filesystem::path path = folder.Path() / "key.pem";
    NativeFile file;
    ASSERT_TRUE(file.CreateNewPrivate(path));
    std::vector<DWORD> user = CurrentUser();
    ASSERT_FALSE(user.empty());
    const PSID sid = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;

    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT,
                                    OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner, nullptr, &dacl,
                                    nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ASSERT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
    // Nothing the folder passes down is added, and one entry grants the user.
    EXPECT_TRUE(control & SE_DACL_PROTECTED);
    ASSERT_NE(dacl, nullptr);
    EXPECT_EQ(dacl->AceCount, 1);
    void* entry = nullptr;
    ASSERT_TRUE(GetAce(dacl, 0, &entry));
    const auto* ace = static_cast<ACCESS_ALLOWED_ACE*>(entry);
    EXPECT_EQ(ace->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
    EXPECT_TRUE(EqualSid(const_cast<DWORD*>(&ace->SidStart), sid));
    EXPECT_TRUE(owner != nullptr && EqualSid(owner, sid));
    LocalFree(descriptor);
}

}  // namespace
}  // namespace qh
