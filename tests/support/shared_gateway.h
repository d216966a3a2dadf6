#pragma once
// A qor-gateway a test suite shares: started by the suite's SetUpTestSuite, stopped after its
// last test. `Suite` names the suite, so that each has its own.
//
//     class Promotions : public SharedGateway<Promotions> {
//         static void SetUpTestSuite() { startGateway(headOfficeRows()); }
//     };
#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "gateway_process.h"

namespace qor::test {

template <typename Suite, typename Base = ::testing::Test>
class SharedGateway : public Base {
protected:
    // As GatewayProcess's constructor.
    template <typename... Args>
    static void startGateway(Args&&... args) {
        gateway = std::make_unique<GatewayProcess>(std::forward<Args>(args)...);
    }
    static void TearDownTestSuite() { gateway.reset(); }

    static inline std::unique_ptr<GatewayProcess> gateway;
};

}  // namespace qor::test
