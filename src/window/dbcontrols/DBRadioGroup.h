#pragma once
// TDBRadioGroup: a captioned group of radio buttons bound to one field. The button whose value
// equals the field's text (bytes compared exactly) is selected; none is when no value matches.
// Choosing a button stores its value. Buttons fill the columns top to bottom.
#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <string>
#include <vector>

#include "dataset/datasource.h"
#include "window/dbcontrols/field_binding.h"
#include "window/window_dialogs.h"

class QGridLayout;

namespace qor::window {

struct RadioItem {
    std::string caption;  // code page 950
    std::string value;    // what the field holds when the button is selected
};

class TDBRadioGroup : public QGroupBox {
public:
    explicit TDBRadioGroup(WindowDialogs& dialogs, QWidget* parent = nullptr);

    void setDataSource(ds::DataSource* source);
    void setDataField(std::string fieldName);
    ds::Field* field() const { return binding_.field(); }

    // The group's caption (code page 950), also its accessible name.
    void setCaption(const std::string& caption);
    void setColumns(int columns);  // 1 unless set
    void setItems(std::vector<RadioItem> items);

    int count() const { return int(items_.size()); }
    QRadioButton* button(int index) const;
    int itemIndex() const;  // the selected button, -1 when none is

private:
    void layOutButtons();
    void loadSelection();
    void choose(int index);

    FieldBinding binding_;
    QButtonGroup group_;
    QGridLayout* grid_;
    std::vector<RadioItem> items_;
    int columns_ = 1;
    bool loadPending_ = false;  // waiting for the work's next display update
};

}  // namespace qor::window
