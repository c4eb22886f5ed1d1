// NativeFile on Windows: CreateFileW with FILE_FLAG_OPEN_REPARSE_POINT, so a
// symbolic link or junction is opened as itself and then refused, and
// CREATE_NEW, which fails on anything under the name.
#include <windows.h>

#include <vector>

#include "runtime/native_file.h"

namespace qh {
namespace {

HANDLE Native(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Opens path with access when it is a regular file on a disk: a link or
// junction is opened as itself and refused, as are folders and devices.
HANDLE OpenRegularFile(const std::filesystem::path& path, DWORD access, DWORD share) {
    const HANDLE file = CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return file;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool regular = GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
                         !(info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
    if (!regular) {
        CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

HANDLE CreateNewFile(const std::filesystem::path& path, SECURITY_ATTRIBUTES* security) {
    return CreateFileW(path.c_str(), GENERIC_WRITE, 0, security, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// A security descriptor for a new file that only the user running this
// program may open: that user owns it, one entry grants that user full
// control, and the entries the folder would pass down are shut out. Given
// to CreateFileW, the file is never open to anyone else, not even briefly.
class OwnerOnlySecurity {
public:
    bool Build() {
        HANDLE token = nullptr;
        if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
        DWORD size = 0;
        GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        user_.assign(size / sizeof(DWORD) + 1, 0);
        const bool known = size > 0 && GetTokenInformation(token, TokenUser, user_.data(), size, &size);
        CloseHandle(token);
        if (!known) return false;
        const PSID sid = reinterpret_cast<TOKEN_USER*>(user_.data())->User.Sid;
        const DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(sid);
        acl_.assign(aclSize / sizeof(DWORD) + 1, 0);
        const PACL acl = reinterpret_cast<PACL>(acl_.data());
        return InitializeAcl(acl, aclSize, ACL_REVISION) &&
               AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, sid) &&
               InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
               SetSecurityDescriptorOwner(&descriptor_, sid, FALSE) &&
               SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) &&
               SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    }
    SECURITY_ATTRIBUTES* Attributes() {
        attributes_ = {sizeof attributes_, &descriptor_, FALSE};
        return &attributes_;
    }

private:
    std::vector<DWORD> user_;  // TOKEN_USER, kept DWORD-aligned
    std::vector<DWORD> acl_;
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
};

}  // namespace

NativeFile::~NativeFile() { Close(); }

bool NativeFile::OpenRegular(const std::filesystem::path& path) {
    Close();
    const HANDLE file = OpenRegularFile(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (file == INVALID_HANDLE_VALUE) return false;
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return true;
}

// Other readers may look on; nobody else writes while this one does.
bool NativeFile::OpenRegularToUpdate(const std::filesystem::path& path) {
    Close();
    const HANDLE file = OpenRegularFile(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ);
    if (file == INVALID_HANDLE_VALUE) return false;
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool NativeFile::CreateNew(const std::filesystem::path& path) {
    Close();
    const HANDLE file = CreateNewFile(path, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool NativeFile::CreateNewPrivate(const std::filesystem::path& path) {
    Close();
    // Without the descriptor the file would take the folder's entries, so
    // no file is made at all.
    OwnerOnlySecurity security;
    if (!security.Build()) return false;
    const HANDLE file = CreateNewFile(path, security.Attributes());
    if (file == INVALID_HANDLE_VALUE) return false;
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return true;
}

std::int64_t NativeFile::Read(void* data, std::size_t size) {
    const DWORD want = size > (DWORD{1} << 30) ? (DWORD{1} << 30) : static_cast<DWORD>(size);
    DWORD read = 0;
    if (!ReadFile(Native(handle_), data, want, &read, nullptr)) return -1;
    return read;
}

bool NativeFile::Write(std::string_view data) {
    while (!data.empty()) {
        const DWORD chunk = data.size() > (DWORD{1} << 20) ? (DWORD{1} << 20) : static_cast<DWORD>(data.size());
        DWORD written = 0;
        if (!WriteFile(Native(handle_), data.data(), chunk, &written, nullptr) || written == 0) return false;
        data.remove_prefix(written);
    }
    return true;
}

std::optional<std::uint64_t> NativeFile::Size() {
    LARGE_INTEGER size{};
    if (!IsOpen() || !GetFileSizeEx(Native(handle_), &size) || size.QuadPart < 0) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
}

bool NativeFile::Clear() {
    LARGE_INTEGER start{};
    return IsOpen() && SetFilePointerEx(Native(handle_), start, nullptr, FILE_BEGIN) &&
           SetEndOfFile(Native(handle_));
}

bool NativeFile::Sync() { return IsOpen() && FlushFileBuffers(Native(handle_)) != 0; }

bool NativeFile::Close() {
    if (!IsOpen()) return true;
    const bool ok = CloseHandle(Native(handle_)) != 0;
    handle_ = kClosed;
    return ok;
}

bool MoveIntoPlace(const std::filesystem::path& from, const std::filesystem::path& to) {
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool SyncFolder(const std::filesystem::path&) {
    // MoveFileExW with MOVEFILE_WRITE_THROUGH returns only once the move is
    // on the disk; there is no folder handle to flush.
    return true;
}

}  // namespace qh
