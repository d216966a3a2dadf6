#pragma once
// The byte blocks that describe an attachment and a transaction to the client.
#include <string>

#include "connection_options.h"

namespace qor::fbdriver {

// Attachment: user, password, role and character set when given, SQL dialect.
std::string attachmentBlock(const std::string& user, const std::string& password,
                            const ConnectionOptions& options);

// A transaction that writes, with the isolation and lock wait asked for.
std::string writeTransactionBlock(Isolation isolation, bool waitOnLocks);

// The attachment's long-lived read transaction: read only, read committed, newest committed
// row versions, so it sees every commit at once and holds nothing back.
std::string readTransactionBlock();

}  // namespace qor::fbdriver
