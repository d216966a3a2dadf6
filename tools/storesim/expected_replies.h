#pragma once
// The head office's own rows, read straight from its database, against which every reply a
// simulated store gets is checked: the statement the gateway runs (the store's text as the
// gateway receives it) is run here too, and its rows written as the packet a sound gateway
// sends. A reply is right when the store loaded as many rows and its bytes are that packet.
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "dataset/dataset.h"

namespace qor::headoffice {
class HeadOfficeDatabase;
}

namespace qor::storesim {

struct StoreAccount {
    std::string code;
    std::string password;
};

class ExpectedReplies {
public:
    explicit ExpectedReplies(headoffice::HeadOfficeDatabase& database);

    // Every store that may sign in, by code. Fails with the database's message.
    std::vector<StoreAccount> stores();

    // The packet a sound gateway answers the store's `statement` with, read on first use
    // and kept. Safe from several threads. Fails with the database's message.
    std::shared_ptr<const std::string> packetFor(const std::string& statement);
    // The ids of the masters the promotion list statement gives.
    std::vector<std::string> masterIds(const std::string& promotionListStatement);

    // An empty text when the reply to `statement` is the head office's rows: `loaded`, filled
    // by the store's gateway client, holds as many rows, and the reply's bytes, which the client
    // dumped to `replyDump` followed by CR LF, are the packet of those rows. Else what differs.
    std::string check(const std::string& statement, ds::Dataset& loaded,
                      const std::string& replyDump);

private:
    struct Answer {
        std::shared_ptr<const std::string> packet;
        ds::Table table;
    };
    const Answer& answerFor(const std::string& statement);

    headoffice::HeadOfficeDatabase& database_;
    std::mutex mutex_;
    std::map<std::string, std::unique_ptr<Answer>> answers_;
};

}  // namespace qor::storesim
