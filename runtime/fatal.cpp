#include "runtime/fatal.h"

#include <cstdio>

#include "runtime/lifecycle.h"
#include "runtime/system.h"

namespace qh {
namespace {

constexpr int kFatalExitCode = 1;

[[noreturn]] void Fatal(const Text& message, const Text& caption) {
    System().ShowFatalMessage(message, caption);
    RuntimeExit(kFatalExitCode);
}

}  // namespace

Text InternalErrorText(int code) {
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, "program internal error number is %d. (0x%Xh)", code,
                  static_cast<unsigned>(code));
    return buffer;
}

Text MissingModuleText(const Text& module) {
    return "同目录下无法找到DLL文件:\"" + module + "\".请与作者联系.";
}

Text MissingFunctionText(const Text& module, const Text& function) {
    return "无法定位DLL文件:\"" + module + "\"当中的\"" + function + "\"函数.";
}

void OutOfMemory() { Fatal("内存不足", "error"); }
void InternalError(int code) { Fatal(InternalErrorText(code), "error"); }
void MissingModule(const Text& module) { Fatal(MissingModuleText(module), "DLL ERROR"); }
void MissingFunction(const Text& module, const Text& function) {
    Fatal(MissingFunctionText(module, function), "DLL ERROR");
}

}  // namespace qh
