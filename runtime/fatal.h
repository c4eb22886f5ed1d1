// Fatal errors of the runtime: a message box, then the runtime's exit path.
#pragma once

#include <cstddef>

#include "runtime/text.h"

namespace qh {

// Internal fault codes. An array index above the size is 1, below 1 is 4.
enum FaultCode : int {
    kFaultIndexAboveSize = 1,
    kFaultIndexBelowOne = 4,
    kFaultBadArgument = 5,
};

// "program internal error number is %d. (0x%Xh)"
Text InternalErrorText(int code);
// "同目录下无法找到DLL文件:"%s".请与作者联系."
Text MissingModuleText(const Text& module);
// "无法定位DLL文件:"%s"当中的"%s"函数."
Text MissingFunctionText(const Text& module, const Text& function);

[[noreturn]] void OutOfMemory();
[[noreturn]] void InternalError(int code);
[[noreturn]] void MissingModule(const Text& module);
[[noreturn]] void MissingFunction(const Text& module, const Text& function);

// Checks a 1-based index against a size; an index outside 1..size is an
// internal fault (code 1 above the size, 4 below 1). Returns the 0-based index.
inline std::size_t CheckedIndex(int index, std::size_t size) {
    if (index < 1) InternalError(kFaultIndexBelowOne);
    if (static_cast<std::size_t>(index) > size) InternalError(kFaultIndexAboveSize);
    return static_cast<std::size_t>(index) - 1;
}

}  // namespace qh
