// How fast the update documents are read and written, and files digested.
//
//   build/linux/bin/documents_bench
//   QH_BENCH_DATA=/tmp/data.bin build/linux/bin/documents_bench   (keeps the 100 MB file,
//       so that `md5sum /tmp/data.bin` can be timed on the same bytes)
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "renew/file_list.h"
#include "runtime/convert.h"
#include "runtime/digest.h"
#include "runtime/xml/xml_tree.h"

namespace qh {
namespace {

namespace fs = std::filesystem;

constexpr int kListEntries = 10000;
constexpr std::size_t kDigestBytes = 100u * 1024 * 1024;

// A file list as the publisher writes it: names with levels, upper-case digests.
std::vector<ListedFile> Entries() {
    std::vector<ListedFile> files;
    for (int i = 0; i < kListEntries; ++i) {
        files.push_back({"skin\\page" + ToText(static_cast<std::int32_t>(i % 50)) + "\\picture" +
                             ToText(static_cast<std::int32_t>(i)) + ".png",
                         "900150983CD24FB0D6963F7D28E17F72", "", {}});
    }
    return files;
}

Text SavedList() {
    XmlTree tree;
    BuildFileList(Entries(), tree);
    Text saved;
    tree.SaveText(saved);
    return saved;
}

void LoadFileList(benchmark::State& state) {
    const Text document = SavedList();
    for (auto _ : state) {
        XmlTree tree;
        std::vector<ListedFile> files;
        if (!tree.LoadBytes(document) || !ReadFileList(tree, files)) state.SkipWithError("load failed");
        benchmark::DoNotOptimize(files.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * document.size()));
}
BENCHMARK(LoadFileList)->Unit(benchmark::kMillisecond);

void SaveFileList(benchmark::State& state) {
    const std::vector<ListedFile> files = Entries();
    const Text path = (fs::temp_directory_path() / "qh-bench-renewlist.xml").string();
    for (auto _ : state) {
        XmlTree tree;
        if (!BuildFileList(files, tree) || !tree.Save(path)) state.SkipWithError("save failed");
    }
    fs::remove(path.c_str());
}
BENCHMARK(SaveFileList)->Unit(benchmark::kMillisecond);

// 100 MB of pseudo-random bytes, made once.
Text DigestData() {
    const char* kept = std::getenv("QH_BENCH_DATA");
    const fs::path path = kept ? fs::path(kept) : fs::temp_directory_path() / "qh-bench-100mb.bin";
    if (!fs::exists(path) || fs::file_size(path) != kDigestBytes) {
        std::mt19937_64 random(503);
        std::vector<std::uint64_t> block(1 << 17);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        for (std::size_t written = 0; written < kDigestBytes; written += block.size() * 8) {
            for (auto& word : block) word = random();
            out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size() * 8));
        }
    }
    return path.string();
}

void DigestHundredMegabytes(benchmark::State& state) {
    const Text path = DigestData();
    for (auto _ : state) {
        const Text digest = FileDigest(path);
        if (digest.size() != 32) state.SkipWithError("digest failed");
        benchmark::DoNotOptimize(digest.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kDigestBytes));
    state.SetLabel(FileDigest(path));
    if (!std::getenv("QH_BENCH_DATA")) fs::remove(path.c_str());
}
BENCHMARK(DigestHundredMegabytes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qh
