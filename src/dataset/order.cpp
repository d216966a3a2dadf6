// Orders: ascending by field names, or a named order with descending fields.
#include <algorithm>

#include "dataset/dataset.h"
#include "dataset/dataset_impl.h"
#include "dataset/value_compare.h"
#include "text/ascii.h"
#include "text/errors.h"

namespace qor::ds {

namespace {

std::vector<std::string> splitNames(const std::string& list) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= list.size()) {
        auto end = list.find(';', start);
        if (end == std::string::npos) end = list.size();
        std::string name = text::trimBlanks(std::string_view(list).substr(start, end - start));
        if (!name.empty()) names.push_back(std::move(name));
        start = end + 1;
    }
    return names;
}

}  // namespace

std::vector<Dataset::Impl::SortKey> Dataset::Impl::resolveOrder(
    const std::string& fieldNames, const std::string& orderName) const {
    std::vector<SortKey> keys;
    std::string fieldList = fieldNames;
    std::vector<std::string> descending;
    if (fieldList.empty() && !orderName.empty()) {
        auto def = std::find_if(indexes.begin(), indexes.end(), [&](const IndexDef& i) {
            return text::equalsNoCase(i.name, orderName);
        });
        if (def == indexes.end()) fail(format("Index '%s' not found", orderName));
        fieldList = def->fields;
        descending = splitNames(def->descFields);
    }
    for (const std::string& name : splitNames(fieldList)) {
        const Field* f = findField(name);
        if (!f) fail(format("Field '%s' not found", name));
        const bool desc = std::any_of(descending.begin(), descending.end(), [&](const auto& n) {
            return text::equalsNoCase(n, name);
        });
        keys.push_back({fieldColumn[std::size_t(f->index())], desc});
    }
    return keys;
}

bool Dataset::Impl::rowLess(int a, int b) const {
    const Row& ra = rows[std::size_t(a)];
    const Row& rb = rows[std::size_t(b)];
    for (const SortKey& key : sortKeys) {
        int c = compareValues(ra[std::size_t(key.column)], rb[std::size_t(key.column)]);
        if (key.descending) c = -c;
        if (c != 0) return c < 0;
    }
    return a < b;  // ties keep the order in which the rows came
}

void Dataset::Impl::applyOrder() {
    const int current = cur >= 0 ? view[std::size_t(cur)] : -1;
    if (sortKeys.empty())
        std::sort(view.begin(), view.end());
    else
        std::sort(view.begin(), view.end(), [this](int a, int b) { return rowLess(a, b); });
    if (current >= 0)
        cur = int(std::find(view.begin(), view.end(), current) - view.begin());
}

void Dataset::Impl::placeCurrentRow() {
    if (sortKeys.empty() || cur < 0) return;
    const int index = view[std::size_t(cur)];
    view.erase(view.begin() + cur);
    auto at = std::lower_bound(view.begin(), view.end(), index,
                               [this](int a, int b) { return rowLess(a, b); });
    cur = int(at - view.begin());
    view.insert(at, index);
}

// On an open dataset the new setting is checked, a pending edit posted (an untouched
// append dropped), and every row re-sorted with the current row kept; nothing changes if
// either of the first two steps fails.
void Dataset::Impl::changeOrder(const std::string& fieldNames, const std::string& orderName) {
    if (state == DataSetState::Inactive) {
        indexFieldNames = fieldNames;
        indexName = orderName;
        return;
    }
    auto keys = resolveOrder(fieldNames, orderName);
    checkBrowseMode();
    indexFieldNames = fieldNames;
    indexName = orderName;
    fetchAll();
    sortKeys = std::move(keys);
    applyOrder();
    notify(DataEvent::DataSetChanged);
}

void Dataset::setIndexFieldNames(const std::string& fieldNames) {
    d_->changeOrder(fieldNames, {});
}

const std::string& Dataset::indexFieldNames() const { return d_->indexFieldNames; }

void Dataset::addIndex(const std::string& name, const std::string& fields,
                       const std::string& descFields) {
    auto& list = d_->indexes;
    auto def = std::find_if(list.begin(), list.end(), [&](const Impl::IndexDef& i) {
        return text::equalsNoCase(i.name, name);
    });
    if (def != list.end())
        *def = {name, fields, descFields};
    else
        list.push_back({name, fields, descFields});
    // Redefining the order in force takes effect at once.
    if (def != list.end() && text::equalsNoCase(d_->indexName, name))
        d_->changeOrder({}, d_->indexName);
}

bool Dataset::hasIndex(const std::string& name) const {
    return std::any_of(d_->indexes.begin(), d_->indexes.end(),
                       [&](const Impl::IndexDef& i) { return text::equalsNoCase(i.name, name); });
}

void Dataset::setIndexName(const std::string& name) {
    if (!name.empty() && !hasIndex(name)) d_->fail(format("Index '%s' not found", name));
    d_->changeOrder({}, name);
}

const std::string& Dataset::indexName() const { return d_->indexName; }

}  // namespace qor::ds
