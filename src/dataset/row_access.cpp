// Row access for grids: reading any row in the current order, a direct move, fetching on
// demand.
#include <algorithm>
#include <string>

#include "dataset/dataset.h"
#include "dataset/dataset_impl.h"
#include "dataset/display_text.h"
#include "text/errors.h"

namespace qor::ds {

const Value* Dataset::Impl::cellAt(int row, const Field& field) const {
    const Impl& d = *this;
    if (d.state == DataSetState::Inactive || row < 0 || row >= int(d.view.size())) return nullptr;
    const auto position = std::size_t(field.index());
    if (position >= d.fields.size() || d.fields[position] != &field) return nullptr;
    const Row& values = d.rows[std::size_t(d.view[std::size_t(row)])];
    const auto column = std::size_t(d.fieldColumn[position]);
    return column < values.size() ? &values[column] : nullptr;
}

int Dataset::rowCount() const {
    return d_->state == DataSetState::Inactive ? 0 : int(d_->view.size());
}

int Dataset::currentRow() const {
    return d_->state == DataSetState::Inactive ? -1 : d_->cur;
}

Value Dataset::valueAt(int row, const Field& field) const {
    const Value* v = d_->cellAt(row, field);
    return v ? *v : Value{};
}

std::string Dataset::displayTextAt(int row, const Field& field) const {
    const Value* v = d_->cellAt(row, field);
    return v ? displayTextOf(field.def(), *v) : std::string();
}

void Dataset::moveTo(int row) {
    Impl& d = *d_;
    d.checkActive();
    if (row < 0 || row >= int(d.view.size()))
        throw Error("List index out of bounds (" + std::to_string(row) + ")");
    if (row == d.cur) return;
    // Posting may put the current row elsewhere in the order: follow the target row itself.
    const int target = d.view[std::size_t(row)];
    d.checkBrowseMode();
    const auto at = std::find(d.view.begin(), d.view.end(), target);
    if (at == d.view.end()) return;
    d.cur = int(at - d.view.begin());
    d.atBof = d.atEof = false;
    d.notify(DataEvent::Scrolled);
    d.fireAfterScroll();
}

bool Dataset::canFetchMore() const {
    return d_->state != DataSetState::Inactive && d_->moreRows && d_->provider != nullptr;
}

bool Dataset::fetchMore() {
    d_->checkActive();
    return d_->fetchPacket();
}

}  // namespace qor::ds
