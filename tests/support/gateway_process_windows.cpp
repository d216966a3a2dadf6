// qor-gateway is the head office's Linux program and is not part of the Windows build: the
// fixture records the test as skipped and starts nothing.
#include <gtest/gtest.h>

#include "gateway_process.h"
#include "temp_database.h"

namespace qor::test {

namespace {

void skipTest() {
    GTEST_SKIP() << "needs qor-gateway over a Firebird database, which the Windows build "
                    "does not have";
}

}  // namespace

GatewayProcess::GatewayProcess(const std::string&, GatewayAccount account,
                               std::vector<std::string> options)
    : account_(std::move(account)), options_(std::move(options)) {
    skipTest();
}

GatewayProcess::~GatewayProcess() = default;

void GatewayProcess::writeHttpSet(const std::string&, const std::string&) const {}
std::string GatewayProcess::log() const { return {}; }
void GatewayProcess::runSql(const std::string&) {}
int GatewayProcess::stop() { return 0; }
void GatewayProcess::start(int) {}
void GatewayProcess::expectCleanEnd(int) const {}

}  // namespace qor::test
