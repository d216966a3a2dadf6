#pragma once
// What the store holds in one column, learnt once for a run instead of asked row by row:
// every value of the column (read whole, when there are not too many), or for a list of
// values which of them it holds (asked in batches). Values compare as the database compares
// them, character set NONE: byte for byte, trailing blanks not significant; a null equals
// nothing, and a value longer than the column equals none of its values.
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "storedb/query.h"
#include "workflows/key_set.h"

namespace qor::workflows {

// Called between the batches of rows a reading or an asking takes: where long work lets
// the window answer and takes a stop (by throwing). None: nothing between.
using BetweenBatches = std::function<void()>;

class KnownValues {
public:
    // Runs `select` (its first column the value, its second, when there is one, what goes
    // with the value) and keeps every row when there are at most `limit`: true. Otherwise it
    // keeps nothing: false. The first row of a value is the one kept. With a second column, a
    // row whose value reads as the empty text is not kept: a code that reads empty names
    // nothing.
    bool readWhole(storedb::SqlQuery& query, const std::string& select, std::size_t limit,
                   const BetweenBatches& between = {});
    // The same for several columns in one statement: column i of `select` into `into[i]`.
    static bool readWhole(storedb::SqlQuery& query, const std::string& select,
                          std::size_t limit, const std::vector<KnownValues*>& into,
                          const BetweenBatches& between = {});

    // Asks `select` (one column) for the rows whose `column` is one of `values`, a few
    // hundred values a statement, each bound as a parameter (a value longer than the column
    // as a null): afterwards each asked value is known to be held or not.
    void ask(storedb::SqlQuery& query, const std::string& select, const std::string& column,
             const std::vector<std::string>& values, const BetweenBatches& between = {});

    // Whether the store holds `value`; nullopt when it was neither read nor asked.
    std::optional<bool> holds(std::string_view value) const;
    // What goes with `value` (the second column as text), read whole; nullptr when the store
    // lacks it.
    const std::string* with(std::string_view value) const;
    bool whole() const { return whole_; }

    // `value` as the database compares it: without its trailing blanks.
    static std::string_view key(std::string_view value);

private:
    void keep(const ds::Value& value);

    bool whole_ = false;
    KeySet held_;                                          // keys
    std::unordered_map<std::string, std::string> names_;  // keys read with a second column
    KeySet asked_;
};

}  // namespace qor::workflows
