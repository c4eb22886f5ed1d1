// qingheloan: prints the results window's figures for one set of page inputs.
#include "runtime/lifecycle.h"
#include "runtime/system.h"
#include "tools/qingheloan/loan_command.h"

int main(int argc, char** argv) {
    qh::RuntimeStart();
    qh::SystemServices& system = qh::System();
    const qh::CommandOutput result = qh::RunLoanCommand(system.ToolArguments(argc, argv));
    if (!result.out.empty()) system.WriteToolOutput(result.out, false);
    if (!result.error.empty()) system.WriteToolOutput(result.error, true);
    qh::RuntimeExit(result.status);
}
