// Whole files on Windows, through the W functions.
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/files.h"
#include "runtime/native_file.h"
#include "runtime/win32/system_win32.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

constexpr DWORD kBlockSize = DWORD{1} << 20;

// How many names a write tries for its temporary before it gives up. Only
// leftovers of crashed writers or names planted on purpose take one.
constexpr int kTemporaryAttempts = 100;

// How often, and how far apart, a denied move of the temporary is tried:
// about a fifth of a second in all.
constexpr int kMoveAttempts = 40;
constexpr DWORD kMoveRetryMilliseconds = 5;

// Closes a file handle when it goes out of scope.
class FileHandle {
public:
    explicit FileHandle(HANDLE h) : handle_(h) {}
    ~FileHandle() { Close(); }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return handle_; }
    bool Close() {
        const bool ok = !Valid() || CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE handle_;
};

// Creates a new temporary file beside target and names it in temporary. The
// temporary sits beside the target so that the move that replaces the target
// stays on one volume. The process id and a counter shared by the threads
// keep the writers of one target apart. Creating a new file fails on any name
// that exists, a link included; only a name that is taken is stepped over.
bool CreateTemporary(const fs::path& target, NativeFile& file, fs::path& temporary) {
    static std::atomic<unsigned long> counter{0};
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        const std::wstring unique = std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++);
        temporary = target;
        temporary += L"." + unique + L".tmp";
        if (file.CreateNew(temporary)) return true;
        if (GetFileAttributesW(temporary.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    }
    return false;
}

// Puts the temporary in place of target. Another writer's move onto the same
// target, or a reader that holds it open, denies the move for a moment, so a
// failed move is tried again for a while before it counts as failed. A move
// that fails leaves both files as they were, so trying again is safe.
bool MoveIntoPlaceWhenAllowed(const fs::path& temporary, const fs::path& target) {
    for (int attempt = 1; attempt < kMoveAttempts; ++attempt) {
        if (MoveIntoPlace(temporary, target)) return true;
        Sleep(kMoveRetryMilliseconds);
    }
    return MoveIntoPlace(temporary, target);
}

}  // namespace

bool ReadFileBlocks(const Text& path, const FileBlockSink& sink) {
    if (path.empty()) return false;
    // Others may go on reading and writing the file meanwhile, as they may
    // while the programs check a file they are about to replace.
    FileHandle file(CreateFileW(GbkToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Valid()) return false;
    std::vector<std::uint8_t> block(kBlockSize);
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), block.data(), kBlockSize, &read, nullptr)) return false;
        if (read == 0) return true;
        sink(block.data(), read);
    }
}

bool WriteWholeFile(const Text& path, std::string_view data) {
    if (path.empty()) return false;
    const fs::path target(GbkToWide(path));
    NativeFile file;
    fs::path temporary;
    if (!CreateTemporary(target, file, temporary)) return false;
    bool ok = file.Write(data) && file.Sync();
    ok = file.Close() && ok;
    ok = ok && MoveIntoPlaceWhenAllowed(temporary, target);
    if (!ok) DeleteFileW(temporary.c_str());
    return ok;
}

void CreateFolders(const Text& path) {
    // Split the UTF-16 form, where a '\' is always a separator and never the
    // second byte of a Chinese character.
    const std::wstring wide = GbkToWide(path);
    for (std::size_t at = 0; at < wide.size(); ++at) {
        if (wide[at] != L'\\' && wide[at] != L'/') continue;
        const std::wstring prefix = wide.substr(0, at + 1);
        const DWORD attributes = GetFileAttributesW(prefix.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        CreateDirectoryW(prefix.c_str(), nullptr);
    }
}

// The updater's manifest asks for administrator rights, so a program folder
// under "Program Files" that the user cannot write is still updated by it.
bool FolderTakesUpdates(const Text&) { return true; }

// One attempt: a caller whose target is in use tries again another time.
bool RemoveFile(const Text& path) {
    const std::wstring wide = GbkToWide(path);
    if (DeleteFileW(wide.c_str())) return true;
    return GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND;
}

bool RemoveEmptyFolder(const Text& path) {
    // RemoveDirectoryW refuses a folder that holds anything.
    const std::wstring wide = GbkToWide(path);
    if (RemoveDirectoryW(wide.c_str())) return true;
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool MoveFileOver(const Text& from, const Text& to) {
    if (from.empty() || to.empty()) return false;
    return MoveIntoPlace(fs::path(GbkToWide(from)), fs::path(GbkToWide(to)));
}

}  // namespace qh
