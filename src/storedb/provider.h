#pragma once
// A provider (DSP_...) over a query: an in-memory dataset names it and gets its rows from it.
#include <string>

#include "dataset/dataset.h"
#include "storedb/query.h"

namespace qor::storedb {

class Provider : public ds::DataProvider {
public:
    // `allowCommandText` is the poAllowCommandText option.
    Provider(std::string name, SqlQuery& query, bool allowCommandText = true);

    const std::string& name() const { return name_; }
    SqlQuery& query() { return query_; }
    bool allowCommandText() const { return allowCommandText_; }
    void setAllowCommandText(bool on) { allowCommandText_ = on; }

    // A non-empty command text replaces the query's statement for this open and later ones;
    // without poAllowCommandText that fails with "CommandText changes are not allowed".
    ds::Table openResult(const std::string& commandText, int maxRows) override;
    bool fetchMore(int maxRows, std::vector<ds::Row>& rows) override;

private:
    std::string name_;
    SqlQuery& query_;
    bool allowCommandText_;
};

}  // namespace qor::storedb
