// qinghe-publish: puts a release on the update server, and checks one.
#include "tools/common/tool_output.h"
#include "tools/qinghe-publish/publish_command.h"

int main(int argc, char** argv) {
    // Paths are taken as the system gives them, not through GBK.
    const qh::PathTool tool = qh::RunPublishCommand;
    qh::RunTool(argc, argv, tool);
}
