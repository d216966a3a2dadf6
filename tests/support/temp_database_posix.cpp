#include "temp_database.h"

namespace qor::test {

// scripts/create-database and isql-fb make every test database here.
std::optional<std::string> testDatabaseUnavailable() { return std::nullopt; }

}  // namespace qor::test
