// NativeFile on Windows: CreateFileW with FILE_FLAG_OPEN_REPARSE_POINT, so a
// symbolic link or junction is opened as itself and then refused, and
// CREATE_NEW, which fails on anything under the name.
#include <windows.h>

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
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
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
