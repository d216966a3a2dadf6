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
    routesStale_ = true;
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

const DataSource::Routes& DataSource::routes() {
    const std::uint64_t version = dataset_ ? dataset_->fieldsVersion() : 0;
    if (!routesStale_ && routes_.dataset == dataset_ && routes_.fieldsVersion == version)
        return routes_;
    routes_ = Routes{dataset_, version, {}, {}};
    routes_.byField.resize(dataset_ ? std::size_t(dataset_->fieldCount()) : 0);
    for (DataLink* link : links_) {
        const std::string* name = link->watchedField();
        if (!name) {
            routes_.everyField.push_back(link);
            continue;
        }
        Field* f = dataset_ && !name->empty() ? dataset_->findField(*name) : nullptr;
        if (f && std::size_t(f->index()) < routes_.byField.size())
            routes_.byField[std::size_t(f->index())].push_back(link);
        else if (f)
            routes_.everyField.push_back(link);  // out of the usual order: told of every change
    }
    routesStale_ = false;
    return routes_;
}

void DataSource::fieldChanged(Field* field) {
    if (links_.empty()) return;  // nothing shows the dataset: a walk's assignments cost nothing here
    const Routes& r = routes();
    const auto index = std::size_t(field->index());
    const bool routed = index < r.byField.size() && dataset_ && &dataset_->field(int(index)) == field;
    const std::vector<DataLink*>& every = routed ? r.everyField : links_;
    const std::vector<DataLink*>* own = routed ? &r.byField[index] : nullptr;
    // A copy: a handler may attach or detach links, which makes the routes anew. It is
    // made on the stack: this runs at every assignment of every field.
    constexpr std::size_t kOnStack = 16;
    const std::size_t count = every.size() + (own ? own->size() : 0);
    DataLink* onStack[kOnStack];
    std::vector<DataLink*> onHeap(count > kOnStack ? count : 0);
    DataLink** targets = count > kOnStack ? onHeap.data() : onStack;
    DataLink** end = std::copy(every.begin(), every.end(), targets);
    if (own) end = std::copy(own->begin(), own->end(), end);
    for (DataLink** link = targets; link != end; ++link) (*link)->dataChanged(field);
}

void DataSource::datasetEvent(DataEvent event, Field* field) {
    if (event == DataEvent::RecordChanged && field) {
        if (onDataChange) onDataChange(*this, field);
        fieldChanged(field);
        return;
    }
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
        case DataEvent::RecordChanged:  // the whole row
            if (onDataChange) onDataChange(*this, nullptr);
            for (DataLink* link : links) link->dataChanged(nullptr);
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
        source_->routesStale_ = true;
    }
}

void DataLink::setDataSource(DataSource* source) {
    if (source == source_) return;
    if (source_) {
        auto& list = source_->links_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        source_->routesStale_ = true;
    }
    source_ = source;
    if (source_) {
        source_->links_.push_back(this);
        source_->routesStale_ = true;
    }
    activeChanged();
}

void DataLink::watchedFieldChanged() {
    if (source_) source_->routesStale_ = true;
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
    watchedFieldChanged();
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
