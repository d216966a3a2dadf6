#include "dataset/datasource.h"

#include <algorithm>

namespace qor::ds {

namespace {

bool isEditing(DataSetState s) { return s == DataSetState::Edit || s == DataSetState::Insert; }

}  // namespace

// ---------------------------------------------------------------- DataSource

DataSource::DataSource(std::string name, Dataset* dataset) : name_(std::move(name)) {
    setDataSet(dataset);
}

DataSource::~DataSource() {
    if (dataset_) dataset_->removeObserver(this);
    for (DataLink* link : links_) link->source_ = nullptr;
}

void DataSource::setDataSet(Dataset* dataset) {
    if (dataset == dataset_) return;
    if (dataset_) dataset_->removeObserver(this);
    dataset_ = dataset;
    if (dataset_) dataset_->addObserver(this);
    updateState();
    const auto links = links_;
    for (DataLink* link : links) link->activeChanged();
    if (onDataChange) onDataChange(*this, nullptr);
}

DataSetState DataSource::state() const {
    return dataset_ ? dataset_->state() : DataSetState::Inactive;
}

void DataSource::updateState() {
    const DataSetState now = state();
    if (now == lastState_) return;
    lastState_ = now;
    if (onStateChange) onStateChange(*this);
    const auto links = links_;
    for (DataLink* link : links) link->stateChanged();
}

void DataSource::datasetEvent(DataEvent event, Field* field) {
    const auto links = links_;  // a handler may attach or detach links
    switch (event) {
        case DataEvent::StateChanged:
            updateState();
            break;
        case DataEvent::ActiveChanged:
            updateState();
            for (DataLink* link : links) link->activeChanged();
            if (onDataChange) onDataChange(*this, nullptr);
            break;
        case DataEvent::DataSetChanged:
        case DataEvent::Scrolled:
            if (onDataChange) onDataChange(*this, nullptr);
            for (DataLink* link : links) link->dataChanged(nullptr);
            break;
        case DataEvent::RecordChanged:
            if (onDataChange) onDataChange(*this, field);
            for (DataLink* link : links) link->dataChanged(field);
            break;
        case DataEvent::FocusControl:
            if (field)
                for (DataLink* link : links) link->focusControl(*field);
            break;
        case DataEvent::UpdateRecord:
            for (DataLink* link : links) link->updateRecord();
            break;
    }
}

// ---------------------------------------------------------------- DataLink

DataLink::~DataLink() {
    if (source_) {
        auto& list = source_->links_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
}

void DataLink::setDataSource(DataSource* source) {
    if (source == source_) return;
    if (source_) {
        auto& list = source_->links_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    source_ = source;
    if (source_) source_->links_.push_back(this);
    activeChanged();
}

Dataset* DataLink::dataSet() const { return source_ ? source_->dataSet() : nullptr; }

bool DataLink::active() const {
    const Dataset* ds = dataSet();
    return ds && ds->active();
}

// ---------------------------------------------------------------- FieldDataLink

void FieldDataLink::setFieldName(std::string name) {
    if (name == fieldName_) return;
    const bool hadField = field() != nullptr;
    fieldName_ = std::move(name);
    foundIn_ = nullptr;  // look the new name up
    if ((field() != nullptr) != hadField && onActiveChange) onActiveChange();
    stateChanged();
    if (onDataChange) onDataChange();
}

Field* FieldDataLink::field() const {
    Dataset* ds = dataSet();
    if (!ds || !ds->active() || fieldName_.empty()) return nullptr;
    if (ds != foundIn_ || ds->fieldsVersion() != foundVersion_) {
        found_ = ds->findField(fieldName_);
        foundIn_ = ds;
        foundVersion_ = ds->fieldsVersion();
    }
    return found_;
}

void FieldDataLink::activeChanged() {
    if (onActiveChange) onActiveChange();
    stateChanged();
    if (onDataChange) onDataChange();
}

void FieldDataLink::stateChanged() {
    const Dataset* ds = dataSet();
    const bool editing = field() != nullptr && ds && isEditing(ds->state());
    if (editing == editing_) return;
    editing_ = editing;
    if (onEditingChange) onEditingChange();
}

void FieldDataLink::dataChanged(Field* changed) {
    if (changed && changed != field()) return;
    if (onDataChange) onDataChange();
}

void FieldDataLink::focusControl(Field& target) {
    if (&target == field() && onFocusControl) onFocusControl();
}

void FieldDataLink::updateRecord() {
    if (onUpdateData && field()) onUpdateData();
}

}  // namespace qor::ds
