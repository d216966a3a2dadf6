#pragma once
// TDBEdit: an edit bound to one field of a data source. Unfocused it shows the field's display
// text, focused its edit text. A change of the field or the row drops any typed text at once;
// an unfocused control shows the new text at the next turn of the event loop, so a workflow
// that assigns a hundred fields a row lays each control's text out once, not at every
// assignment (the window is not painted before then anyway). The first change the user types
// starts an edit of the row;
// leaving the control (focus moving elsewhere in the window, or Enter) stores the typed text
// through Field::setText. A text the field refuses shows the error box, and the control keeps
// the focus and the typed text. Esc puts the field's text back. Read-only while the field
// cannot be modified.
#include <QColor>
#include <QLineEdit>
#include <string>

#include "dataset/datasource.h"
#include "window/dbcontrols/field_binding.h"
#include "window/window_dialogs.h"

namespace qor::window {

class Cp950TextValidator;

class TDBEdit : public QLineEdit {
public:
    // What the user's actions raise is shown through `dialogs`.
    explicit TDBEdit(WindowDialogs& dialogs, QWidget* parent = nullptr);

    void setDataSource(ds::DataSource* source);
    void setDataField(std::string fieldName);
    ds::Field* field() const { return binding_.field(); }

    // The read-only name box beside a code: shows the field, never writes, is reached by a
    // click only (no tab stop), its background `color`.
    void setNameBox(const QColor& color);

    // Stores the typed text, if any, into the field now. False when the field refused it
    // (the box has been shown; the typed text stays).
    bool storeText();
    // The same, for the dataset's update-record notice: what the field raises goes to the
    // caller (the post or the read that asked), the typed text stays.
    void updateData();
    // True while the control holds typed text not yet stored.
    bool textModified() const { return modified_; }

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    FieldBinding& binding() { return binding_; }
    // Shows the field's text (edit text while focused) and drops any typed text. The text
    // is set only when it differs from what is shown, so nothing is repainted for nothing.
    void loadText();

private:
    void followField();  // read-only, alignment and length from the bound field
    void userEdited();
    void fieldChanged();  // the link's data change: typed text dropped, the text shown anew

    bool loadPending_ = false;  // a loadText() is queued for the next turn of the event loop
    FieldBinding binding_;
    Cp950TextValidator* validator_;
    bool nameBox_ = false;
    bool modified_ = false;
};

}  // namespace qor::window
