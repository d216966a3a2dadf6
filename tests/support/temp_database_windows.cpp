#include "temp_database.h"

namespace qor::test {

std::optional<std::string> testDatabaseUnavailable() {
    return "needs a Firebird database: the Windows build's test run has no Firebird engine "
           "(fbclient.dll) and no isql to make one";
}

}  // namespace qor::test
