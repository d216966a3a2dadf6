#pragma once
// Data sources and field links: how data-aware controls follow a dataset.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dataset/dataset.h"

namespace qor::ds {

class DataLink;

class DataSource : public DatasetObserver {
public:
    explicit DataSource(std::string name = {}, Dataset* dataset = nullptr);
    ~DataSource() override;
    DataSource(const DataSource&) = delete;
    DataSource& operator=(const DataSource&) = delete;

    const std::string& name() const { return name_; }
    void setDataSet(Dataset* dataset);
    Dataset* dataSet() const { return dataset_; }
    DataSetState state() const;

    // Every change of the dataset's state (moving between rows is none). While the
    // dataset's controls are disabled the data source hears nothing, this included; the
    // last enable reports a state that differs from the one it had when they were disabled.
    // The dataset's own events (afterOpen, afterScroll, validation) fire all the same.
    std::function<void(DataSource&)> onStateChange;
    // A change of the data shown: field given when one field of the current row changed.
    std::function<void(DataSource&, Field*)> onDataChange;

    void datasetEvent(DataEvent event, Field* field) override;

private:
    friend class DataLink;
    // A change of one field's value is told to the links of that field and to the links that
    // watch no one field (a grid), not to every link: a row filled field by field would
    // otherwise ask each of some forty controls about each of its hundred fields.
    struct Routes {
        const Dataset* dataset = nullptr;
        std::uint64_t fieldsVersion = 0;
        std::vector<std::vector<DataLink*>> byField;  // by Field::index()
        std::vector<DataLink*> everyField;
    };

    void updateState();
    void fieldChanged(Field* field);
    const Routes& routes();  // made again after a change of links, dataset or field list

    std::string name_;
    Dataset* dataset_ = nullptr;
    std::vector<DataLink*> links_;
    DataSetState lastState_ = DataSetState::Inactive;  // as last reported
    Routes routes_;
    bool routesStale_ = true;
};

// Base of the links a control keeps to a data source.
class DataLink {
public:
    DataLink() = default;
    virtual ~DataLink();
    DataLink(const DataLink&) = delete;
    DataLink& operator=(const DataLink&) = delete;

    void setDataSource(DataSource* source);
    DataSource* dataSource() const { return source_; }
    Dataset* dataSet() const;
    bool active() const;  // a dataset is there and open

protected:
    friend class DataSource;
    virtual void activeChanged() {}
    virtual void stateChanged() {}
    virtual void dataChanged(Field* /*field*/) {}  // nullptr: the row or the whole dataset
    virtual void focusControl(Field& /*field*/) {}
    virtual void updateRecord() {}  // store typed text now; what is raised stops the caller
    // The name of the one field this link shows; nullptr when it follows every field.
    virtual const std::string* watchedField() const { return nullptr; }
    void watchedFieldChanged();  // the data source routes field changes anew

private:
    DataSource* source_ = nullptr;
};

// A link to one field, found by name once and kept while the dataset's field list stays
// (Dataset::fieldsVersion): a new data source, dataset, field list or name finds it again.
// Every change of a field's value asks each link of the data source whether it is its field,
// so the answer must cost nothing.
class FieldDataLink : public DataLink {
public:
    void setFieldName(std::string name);
    const std::string& fieldName() const { return fieldName_; }
    Field* field() const;  // nullptr while the dataset is closed or has no such field

    std::function<void()> onActiveChange;   // the field became available or went away
    std::function<void()> onDataChange;     // the value shown may have changed
    std::function<void()> onEditingChange;  // the dataset entered or left edit/insert
    std::function<void()> onFocusControl;   // the dataset asks the control to take the focus
    // The dataset is about to post, leave the row, or be read as shown: the control stores
    // the text typed into it and not yet stored. What it raises (a refused text) stops that.
    std::function<void()> onUpdateData;

protected:
    void activeChanged() override;
    void stateChanged() override;
    void dataChanged(Field* field) override;
    void focusControl(Field& field) override;
    void updateRecord() override;
    const std::string* watchedField() const override { return &fieldName_; }

private:
    std::string fieldName_;
    bool editing_ = false;  // as last reported through onEditingChange
    // The field found for fieldName_ in that dataset while its list had that version.
    mutable Field* found_ = nullptr;
    mutable const Dataset* foundIn_ = nullptr;
    mutable std::uint64_t foundVersion_ = 0;
};

}  // namespace qor::ds
