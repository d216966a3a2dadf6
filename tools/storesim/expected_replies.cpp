#include "expected_replies.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "dataset/packet.h"
#include "gateway/gateway_statement.h"
#include "head_office_database.h"
#include "statement_check.h"

namespace qor::storesim {
namespace {

ds::Table readAll(headoffice::HeadOfficeDatabase& database, const std::string& statement) {
    auto cursor = database.open(statement);
    ds::Table table;
    table.columns = cursor->columns();
    table.lcid = cursor->lcid();
    while (!cursor->atEnd()) cursor->fetch(1024, table.rows);
    return table;
}

}  // namespace

ExpectedReplies::ExpectedReplies(headoffice::HeadOfficeDatabase& database) : database_(database) {}

std::vector<StoreAccount> ExpectedReplies::stores() {
    const ds::Table table =
        readAll(database_, "SELECT CUST_ID, PASS_WD FROM CUSTOMER ORDER BY CUST_ID");
    std::vector<StoreAccount> accounts;
    for (const ds::Row& row : table.rows) {
        if (ds::isNull(row[0]) || ds::isNull(row[1])) continue;  // cannot sign in
        accounts.push_back({std::get<std::string>(row[0]), std::get<std::string>(row[1])});
    }
    return accounts;
}

const ExpectedReplies::Answer& ExpectedReplies::answerFor(const std::string& statement) {
    {
        std::lock_guard lock(mutex_);
        if (auto found = answers_.find(statement); found != answers_.end()) return *found->second;
    }
    // What the gateway runs: the statement as it arrives there, checked.
    const headoffice::CheckedStatement checked =
        headoffice::checkStatement(gateway::gatewayStatement(statement));
    if (!checked.accepted) throw std::runtime_error(checked.refusal);
    auto answer = std::make_unique<Answer>();
    answer->table = readAll(database_, checked.statement);
    answer->packet = std::make_shared<const std::string>(ds::writePacket(answer->table));
    std::lock_guard lock(mutex_);
    auto [at, added] = answers_.emplace(statement, std::move(answer));
    return *at->second;
}

std::shared_ptr<const std::string> ExpectedReplies::packetFor(const std::string& statement) {
    return answerFor(statement).packet;
}

std::vector<std::string> ExpectedReplies::masterIds(const std::string& promotionListStatement) {
    const ds::Table& table = answerFor(promotionListStatement).table;
    std::size_t column = 0;
    while (column < table.columns.size() && table.columns[column].name != "MASTERBILLID") ++column;
    std::vector<std::string> ids;
    if (column == table.columns.size()) return ids;
    for (const ds::Row& row : table.rows)
        ids.push_back(ds::isNull(row[column]) ? std::string() : std::get<std::string>(row[column]));
    return ids;
}

std::string ExpectedReplies::check(const std::string& statement, ds::Dataset& loaded,
                                   const std::string& replyDump) {
    const Answer& answer = answerFor(statement);
    if (!loaded.active()) return "no rows loaded";
    const std::size_t rows = static_cast<std::size_t>(loaded.recordCount());
    if (rows != answer.table.rows.size())
        return std::to_string(rows) + " rows, the head office has " +
               std::to_string(answer.table.rows.size());
    // The dump is the reply and a CR LF.
    std::ifstream in(replyDump, std::ios::binary);
    const std::string dump{std::istreambuf_iterator<char>(in), {}};
    const std::string& packet = *answer.packet;
    if (dump.size() != packet.size() + 2 || dump.compare(0, packet.size(), packet) != 0)
        return "rows differ from the head office's";
    return {};
}

}  // namespace qor::storesim
