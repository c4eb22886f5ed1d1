// qinghe-publish: puts a release on the update server, and checks one.
//
//   qinghe-publish --release DIR --version V --notes FILE --out SERVERDIR
//                  [--notes-encoding utf-8|gbk]
//   qinghe-publish --check SERVERDIR
//   qinghe-publish --new-key KEYFILE
//
// With --key KEYFILE a publish also writes "renew.xml.sig" and
// "renewlist.xml.sig", detached signatures over the documents' exact bytes.
// --new-key writes a new private key into KEYFILE and its public key into
// KEYFILE.pub.
//
// SERVERDIR is the folder that the web server serves under "/qingheupdate/".
// Publishing writes a copy of every file of DIR, "renewlist.xml",
// "renew.xml" and "version.txt" into it. Checking reads them back with the
// programs' own reader and reports one line per problem.
#pragma once

#include <vector>

#include "runtime/text.h"
#include "tools/common/tool_output.h"

namespace qh {

inline constexpr int kPublishOk = 0;
inline constexpr int kPublishFailed = 1;      // a failed publish or a failed check
inline constexpr int kPublishUsageError = 2;  // the command line was wrong

// Runs one command line (arguments after the program name).
ToolOutput RunPublishCommand(const std::vector<ToolArgument>& arguments);
// The same with every argument given as a GBK text.
ToolOutput RunPublishCommand(const std::vector<Text>& arguments);

}  // namespace qh
