#pragma once
// The reply dump: the last gateway reply, kept in a file for whoever looks into a problem.
#include <string>

namespace qor::gateway {

// Writes `reply` followed by CR LF to Result.txt in `folder` (created when missing),
// replacing the file. Fails with a TransportFailure: Cannot create file "<path>". <reason>
void writeReplyDump(const std::string& folder, const std::string& reply);

}  // namespace qor::gateway
