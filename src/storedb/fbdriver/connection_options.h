#pragma once
// What the options of the connection's parameter list mean to this driver.
#include <string>

namespace qor::fbdriver {

enum class Isolation { ReadCommitted = 0, RepeatableRead = 1, DirtyRead = 2 };

struct ConnectionOptions {
    std::string roleName;      // SQL role given at connect, when not empty
    std::string serverCharSet; // character set of the attachment, when not empty
    int dialect = 3;
    Isolation isolation = Isolation::ReadCommitted;
    bool waitOnLocks = true;   // the server's own default until the list says otherwise
    bool trimChar = false;
    bool commitRetain = false;
    long blobLimit = -1;       // bytes of a blob fetched; -1 all of it

    // Takes one option; unknown keys are ignored. Keys match without regard to case; a boolean
    // option is on exactly when its value, without surrounding blanks, is "TRUE" in any case.
    void set(const std::string& key, const std::string& value);
};

// "repeatableread" and "dirtyread" in any case; any other text is read committed.
Isolation isolationFromText(const std::string& value);

}  // namespace qor::fbdriver
