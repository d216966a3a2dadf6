#pragma once
// TDBCheckBox: a check box bound to one field. Checked when the field's text equals the
// checked value, unchecked when it equals the unchecked value (ASCII letter case ignored),
// greyed otherwise and when the field has no value; unchecked while no field is there.
// A click stores the unchecked value when checked, the checked value otherwise (a greyed box
// goes to checked).
#include <QCheckBox>
#include <string>

#include "dataset/datasource.h"
#include "window/dbcontrols/field_binding.h"
#include "window/window_dialogs.h"

namespace qor::window {

class TDBCheckBox : public QCheckBox {
public:
    explicit TDBCheckBox(WindowDialogs& dialogs, QWidget* parent = nullptr);

    void setDataSource(ds::DataSource* source);
    void setDataField(std::string fieldName);
    ds::Field* field() const { return binding_.field(); }

    // The caption (code page 950), also the accessible name.
    void setCaption(const std::string& caption);
    void setValueChecked(std::string value);    // "True" unless set
    void setValueUnchecked(std::string value);  // "False" unless set

protected:
    void nextCheckState() override;

private:
    void loadState();

    FieldBinding binding_;
    std::string checked_ = "True";
    std::string unchecked_ = "False";
    bool loadPending_ = false;  // waiting for the work's next display update
};

}  // namespace qor::window
