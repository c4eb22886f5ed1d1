// Started by the process tests: waits a little, then writes its arguments
// after the first into the file named by the first, one per line. The pause
// makes a caller that does not wait see no file yet.
#include <cstdio>
#include <thread>

int main(int argc, char** argv) {
    if (argc < 2) return 3;
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) return 4;
    for (int i = 2; i < argc; ++i) std::fprintf(out, "%s\n", argv[i]);
    std::fclose(out);
    return 0;
}
