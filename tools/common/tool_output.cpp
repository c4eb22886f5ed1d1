#include "tools/common/tool_output.h"

#include "runtime/lifecycle.h"
#include "runtime/system.h"

namespace qh {

void RunTool(int argc, char** argv, ToolOutput (*tool)(const std::vector<Text>& arguments)) {
    RuntimeStart();
    SystemServices& system = System();
    const ToolOutput result = tool(system.ToolArguments(argc, argv));
    if (!result.out.empty()) system.WriteToolOutput(result.out, false);
    if (!result.error.empty()) system.WriteToolOutput(result.error, true);
    RuntimeExit(result.status);
}

}  // namespace qh
