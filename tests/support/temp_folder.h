// A fresh folder under the system's temporary folder for one test, removed
// with everything in it when the test ends. Its path is plain ASCII, so it is
// the same text in GBK, UTF-8 and the file system's own encoding.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

#include "runtime/text.h"

namespace qh::test {

class TempFolder {
public:
    TempFolder() {
        // A random start keeps test programs that run at once apart; the
        // loop steps over any folder that already exists.
        static std::atomic<unsigned> counter{std::random_device{}() % 1000000};
        const auto base = std::filesystem::temp_directory_path();
        do {
            path_ = base / ("qh-test-" + std::to_string(counter++));
        } while (!std::filesystem::create_directory(path_));
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The folder as a runtime path text.
    Text Folder() const { return path_.string(); }
    // A file in the folder; name may have "\" between levels.
    Text File(const Text& name) const { return Folder() + "\\" + name; }

    // Writes bytes to a file of the folder (relative name, "/" between levels;
    // a u8"" literal for a Chinese name).
    void Write(const std::filesystem::path& relative, std::string_view bytes) const {
        const auto file = path_ / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::string Read(const std::filesystem::path& relative) const {
        std::ifstream in(path_ / relative, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path path_;
};

}  // namespace qh::test
