// Row operations: append, edit, post, cancel and moving between rows.
#include <algorithm>

#include "dataset/dataset.h"
#include "dataset/dataset_impl.h"
#include "text/errors.h"

namespace qor::ds {

// ---------------------------------------------------------------- feed

bool Dataset::Impl::fetchPacket() {
    if (!moreRows || !provider) return false;
    std::vector<Row> incoming;
    const bool more = provider->fetchMore(packetRecords, incoming);
    // Fewer rows than asked for also means the result is used up.
    if (!more || int(incoming.size()) < packetRecords) moreRows = false;
    if (incoming.empty()) return false;
    takeRows(incoming);
    return true;
}

void Dataset::Impl::fetchAll() {
    while (fetchPacket()) {
    }
}

// ---------------------------------------------------------------- leaving a row

void Dataset::Impl::checkBrowseMode() {
    checkActive();
    if (state == DataSetState::Edit || state == DataSetState::Insert) {
        // Text still in a control would otherwise be lost with an edit that looks unchanged.
        self.updateRecord();
        if (modified)
            self.post();
        else
            self.cancel();
    }
}

// ---------------------------------------------------------------- editing

void Dataset::append() {
    Impl& d = *d_;
    d.checkBrowseMode();
    d.fetchAll();  // the new row goes after the very last one
    d.rowBeforeAppend = d.cur >= 0 ? d.view[std::size_t(d.cur)] : -1;
    d.rows.emplace_back(d.columns.size());
    d.view.push_back(int(d.rows.size()) - 1);
    d.cur = int(d.view.size()) - 1;
    d.atBof = d.atEof = false;
    d.modified = false;
    d.setState(DataSetState::Insert);
    d.notify(DataEvent::DataSetChanged);
    d.fireAfterScroll();
}

void Dataset::edit() {
    Impl& d = *d_;
    d.checkActive();
    if (d.state == DataSetState::Edit || d.state == DataSetState::Insert) return;
    if (d.view.empty()) {
        append();  // nothing to edit: an edit of an empty dataset is an append
        return;
    }
    d.editBackup = *d.currentRow();
    d.modified = false;
    d.setState(DataSetState::Edit);
}

void Dataset::updateRecord() {
    Impl& d = *d_;
    if (d.state == DataSetState::Edit || d.state == DataSetState::Insert)
        d.notify(DataEvent::UpdateRecord);
}

void Dataset::post() {
    Impl& d = *d_;
    d.checkActive();
    if (d.state != DataSetState::Edit && d.state != DataSetState::Insert) return;
    updateRecord();
    // A stored text may have run a handler that left the row (it moved or closed the dataset).
    if (d.state != DataSetState::Edit && d.state != DataSetState::Insert) return;
    for (Field* f : d.fields) {
        if (f->required() && !f->readOnly() && f->isNull()) {
            f->focusControl();
            throw Error(format("Field '%s' must have a value", f->displayLabel()));
        }
    }
    d.editBackup.clear();
    d.modified = false;
    d.rowBeforeAppend = -1;
    d.placeCurrentRow();
    d.setState(DataSetState::Browse);
    d.notify(DataEvent::DataSetChanged);
}

void Dataset::cancel() {
    Impl& d = *d_;
    d.checkActive();
    if (d.state == DataSetState::Edit) {
        *d.currentRow() = std::move(d.editBackup);
        d.editBackup.clear();
    } else if (d.state == DataSetState::Insert) {
        // The appended row is always the last one held.
        d.view.erase(d.view.begin() + d.cur);
        d.rows.pop_back();
        const auto back = std::find(d.view.begin(), d.view.end(), d.rowBeforeAppend);
        d.cur = back != d.view.end() ? int(back - d.view.begin())
                                     : (d.view.empty() ? -1 : int(d.view.size()) - 1);
        d.atBof = d.cur <= 0;
        d.atEof = d.view.empty();
        d.rowBeforeAppend = -1;
    } else {
        return;
    }
    d.modified = false;
    d.setState(DataSetState::Browse);
    d.notify(DataEvent::DataSetChanged);
}

// ---------------------------------------------------------------- moving

void Dataset::first() {
    Impl& d = *d_;
    d.checkBrowseMode();
    d.cur = d.view.empty() ? -1 : 0;
    d.atBof = true;
    d.atEof = d.view.empty();
    d.notify(DataEvent::Scrolled);
    d.fireAfterScroll();  // always, even when the row does not change
}

void Dataset::next() {
    Impl& d = *d_;
    d.checkBrowseMode();
    if (d.view.empty()) {
        d.atEof = true;
        return;
    }
    if (d.cur + 1 >= int(d.view.size())) d.fetchPacket();
    if (d.cur + 1 >= int(d.view.size())) {
        d.atEof = true;  // at the last row: end of data, nothing moves
        return;
    }
    ++d.cur;
    d.atBof = d.atEof = false;
    d.notify(DataEvent::Scrolled);
    d.fireAfterScroll();
}

void Dataset::prior() {
    Impl& d = *d_;
    d.checkBrowseMode();
    if (d.cur <= 0) {
        d.atBof = true;
        return;
    }
    --d.cur;
    d.atBof = d.atEof = false;
    d.notify(DataEvent::Scrolled);
    d.fireAfterScroll();
}

void Dataset::last() {
    Impl& d = *d_;
    d.checkBrowseMode();
    d.fetchAll();
    d.cur = int(d.view.size()) - 1;
    d.atEof = true;
    d.atBof = d.view.empty();
    d.notify(DataEvent::Scrolled);
    d.fireAfterScroll();
}

bool Dataset::eof() const {
    d_->checkActive();
    return d_->atEof;
}

bool Dataset::bof() const {
    d_->checkActive();
    return d_->atBof;
}

bool Dataset::isEmpty() const {
    d_->checkActive();
    return d_->view.empty();
}

int Dataset::recordCount() const {
    d_->checkActive();
    const int held = int(d_->view.size());
    return d_->state == DataSetState::Insert ? held - 1 : held;
}

int Dataset::recNo() const {
    if (d_->state == DataSetState::Inactive) return 0;
    return d_->cur + 1;
}

}  // namespace qor::ds
