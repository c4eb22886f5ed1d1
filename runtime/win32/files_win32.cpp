// Whole files on Windows, through the W functions.
#include <windows.h>

#include <string>
#include <vector>

#include "runtime/files.h"
#include "runtime/win32/system_win32.h"

namespace qh {
namespace {

constexpr DWORD kBlockSize = DWORD{1} << 20;

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

bool WriteAll(HANDLE file, std::string_view data) {
    while (!data.empty()) {
        const DWORD chunk = data.size() > kBlockSize ? kBlockSize : static_cast<DWORD>(data.size());
        DWORD written = 0;
        if (!WriteFile(file, data.data(), chunk, &written, nullptr) || written == 0) return false;
        data.remove_prefix(written);
    }
    return true;
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
    const std::wstring target = GbkToWide(path);
    // The temporary sits beside the target, so that the move that replaces
    // the target stays on one volume; the process id keeps two writers apart.
    const std::wstring temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    FileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    bool ok = WriteAll(file.Get(), data) && FlushFileBuffers(file.Get()) != 0;
    ok = file.Close() && ok;
    ok = ok && MoveFileExW(temporary.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
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

}  // namespace qh
