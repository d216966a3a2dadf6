#pragma once
#include <functional>
#include <string>
#include <string_view>

#include "dataset/value.h"

namespace qor::ds {

class Dataset;

// What a declared field is made from.
struct FieldDef {
    std::string name;
    FieldKind kind = FieldKind::String;
    int size = 0;               // String: bytes; 0 gives the default size 20
    std::string displayLabel;   // empty: the name
    bool required = false;
    bool readOnly = false;
    std::string displayFormat;  // numeric pattern such as "#0.00"
    std::string editMask;       // such as "!00-00-0;0;"
    int displayWidth = 0;       // characters; 0: from the size
    bool visible = true;
    int decimals = 0;           // BCD scale
};

// One field of a dataset, reading and writing the dataset's current row.
class Field {
public:
    Field(Dataset& dataset, FieldDef def, int index);
    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    Dataset& dataset() const { return *dataset_; }
    int index() const { return index_; }  // position among the dataset's visible fields
    const std::string& fieldName() const { return def_.name; }
    FieldKind kind() const { return def_.kind; }
    int size() const { return def_.size; }
    void setSize(int size) { def_.size = size; }
    int decimals() const { return def_.decimals; }
    const FieldDef& def() const { return def_; }

    // The label, or the name when no label is set.
    std::string displayLabel() const;
    void setDisplayLabel(std::string label);
    int displayWidth() const;
    bool required() const { return def_.required; }
    void setRequired(bool on) { def_.required = on; }
    bool readOnly() const { return def_.readOnly; }
    void setReadOnly(bool on) { def_.readOnly = on; }
    bool visible() const { return def_.visible; }
    const std::string& displayFormat() const { return def_.displayFormat; }
    void setDisplayFormat(std::string f) { def_.displayFormat = std::move(f); }
    const std::string& editMask() const { return def_.editMask; }
    void setEditMask(std::string m) { def_.editMask = std::move(m); }
    // False when read-only or the dataset is closed.
    bool canModify() const;

    // Reading. While this field's validation handler runs, these yield the value being assigned.
    bool isNull() const;
    Value value() const;            // a null stays null
    std::string asString() const;   // a null gives the empty text
    double asFloat() const;         // a null gives 0
    std::int64_t asInteger() const; // a null gives 0
    bool asBoolean() const;         // a null gives false
    // Display text: display format or edit mask applied. Edit text: the plain value.
    std::string displayText() const;
    std::string editText() const;

    // Writing, converted to the field's kind. Assigning in browse state starts an edit of the
    // current row. A value that cannot be converted fails with "Invalid value for field '%s'"
    // (display label) and the field keeps its previous value. A text longer than a String
    // field's size is cut to it without leaving half a double-byte character. Empty text
    // assigned to a non-text field clears it. The validation handler runs before the value
    // is stored; if it throws, nothing is stored.
    void setValue(const Value& v);
    void setAsString(std::string_view text);
    void setAsFloat(double v);
    void setAsInteger(std::int64_t v);
    void setAsBoolean(bool v);
    void clear();

    // What a data-aware control stores for the text the user typed. A text field takes it
    // as setAsString does. Any other kind reads it in the kind's text form (value_text.h);
    // an empty or blank text clears the field. A text that cannot be read, or a whole number
    // outside the kind's range, fails and the field keeps its value:
    //   float, currency, BCD: "'%s' is not a valid floating point value for field '%s'"
    //   whole numbers:        "'%s' is not a valid integer value for field '%s'"
    //   boolean:              "'%s' is not a valid boolean value for field '%s'"
    //   date:                 "'%s' is not a valid date for field '%s'"
    //   time:                 "'%s' is not a valid time for field '%s'"
    //   date and time:        "'%s' is not a valid date and time for field '%s'"
    // (the text as typed, the display label). A closed dataset or a read-only field fails as
    // setValue does, before the text is read. Otherwise it is an assignment like setValue:
    // browse state starts an edit and the validation handler runs first.
    void setText(std::string_view text);

    // Validation, run before an assigned value is stored.
    std::function<void(Field&)> onValidate;

    // Asks the data-aware control bound to this field to take the input focus.
    void focusControl();

private:
    friend class Dataset;
    void checkWritable() const;
    Dataset* dataset_;
    FieldDef def_;
    int index_;
    const Value* validating_ = nullptr;  // the value under validation, while its handler runs
};

}  // namespace qor::ds
