// qinghe-publish: puts a release on the update server, and checks one.
#include "runtime/system.h"
#include "tools/qinghe-publish/publish_command.h"

int main(int argc, char** argv) {
    qh::SystemServices& system = qh::System();
    const qh::PublishOutput result = qh::RunPublishCommand(system.ToolArguments(argc, argv));
    if (!result.out.empty()) system.WriteToolOutput(result.out, false);
    if (!result.error.empty()) system.WriteToolOutput(result.error, true);
    return result.status;
}
