// qingheloan: prints the results window's figures for one set of page inputs.
#include "tools/common/tool_output.h"
#include "tools/qingheloan/loan_command.h"

int main(int argc, char** argv) { qh::RunTool(argc, argv, qh::RunLoanCommand); }
