#pragma once
// The item check's statement, kept in a file for whoever looks into what the head office was
// asked. Nothing in the program reads it back.
#include <string>

namespace qor::workflows {

// The dump's file name, in the folder of the reply dump (Result.txt).
inline constexpr const char* kStatementDumpName = "123.TXT";

// Writes `statement` as it is to `folder`/123.TXT (the folder created when missing; "." when
// empty), replacing the file. Fails with qor::Error:
//   Cannot create file "<full path>". <the system's reason>
void writeStatementDump(const std::string& folder, const std::string& statement);

}  // namespace qor::workflows
