// Started by the process tests.
//
// child FILE ARGS...: waits a little, then writes ARGS into FILE, one per
// line. The pause makes a caller that does not wait see no file yet.
//
// child --probe-instance NAME FILE: tries the single-instance mark NAME and
// writes "held" (it was free) or "busy" (another holds it) into FILE.
#include <cstdio>
#include <cstring>
#include <thread>

#include "runtime/single_instance.h"

namespace {

int WriteText(const char* path, const char* text) {
    std::FILE* out = std::fopen(path, "wb");
    if (!out) return 4;
    std::fputs(text, out);
    std::fclose(out);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--probe-instance") == 0) {
        const auto mark = qh::SingleInstance::Acquire(argv[2]);
        return WriteText(argv[3], mark ? "held" : "busy");
    }
    if (argc < 2) return 3;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) return 4;
    for (int i = 2; i < argc; ++i) std::fprintf(out, "%s\n", argv[i]);
    std::fclose(out);
    return 0;
}
