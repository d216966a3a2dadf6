#pragma once
// A connection's parameter list (key=value lines, keys without regard to case) and a
// statement's parameters (":NAME" markers turned into "?" and bound in marker order).
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dataset/field.h"
#include "dataset/value.h"
#include "text/ascii.h"

namespace qor::storedb {

// key=value lines in order; keys match without regard to letter case.
class ParamList {
public:
    using Lines = std::vector<std::pair<std::string, std::string>>;

    ParamList() = default;
    explicit ParamList(Lines lines) : lines_(std::move(lines)) {}

    const Lines& lines() const { return lines_; }
    void clear() { lines_.clear(); }
    void assign(Lines lines) { lines_ = std::move(lines); }
    bool has(std::string_view key) const;
    // Empty when absent.
    std::string value(std::string_view key) const;
    // Replaces the first line with this key, or adds one at the end.
    void set(std::string_view key, std::string value);

private:
    Lines lines_;
};

// On exactly when the value, without surrounding blanks, is "TRUE" in any letter case.
using text::isOn;

// One parameter of a statement. Without a kind it has no value, and executing the statement
// fails with "No value for parameter '<name>'".
class Param {
public:
    explicit Param(std::string name) : name_(std::move(name)) {}

    const std::string& name() const { return name_; }
    std::optional<ds::FieldKind> dataType() const { return kind_; }
    bool bound() const { return kind_.has_value(); }
    const ds::Value& value() const { return value_; }

    // A null leaves the parameter without a kind; any other value sets the kind from the
    // value (text -> String, whole number -> Integer, double -> Float, ...).
    void setValue(const ds::Value& value);
    void setAsString(std::string text);
    void setAsInteger(std::int32_t v);
    void setAsSmallInt(std::int16_t v);
    void setAsWord(std::uint16_t v);
    void setAsFloat(double v);
    void setAsCurrency(double v);  // rounded to four decimals
    void setAsBCD(double v);
    void setAsBoolean(bool v);
    void setAsDate(ds::Date v);
    void setAsTime(ds::Time v);
    void setAsDateTime(ds::DateTime v);
    // A typed null: written as NULL.
    void setNull(ds::FieldKind kind);
    // Back to no kind and no value.
    void clear();

private:
    std::string name_;
    std::optional<ds::FieldKind> kind_;
    ds::Value value_;
};

// The parameter of a field's kind, valued from the field's text:
//   String                      the text unchanged
//   SmallInt, Integer, Word     the text as a decimal whole number, 0 when it is not one
//   Boolean                     true when the text in capitals is "TRUE"
//   Float, Currency             the text as a number ("." decimal separator), 0 when it is not one
//   BCD                         the text as a currency value, else "'%s' is not a valid floating point value"
//   Date                        "yyyy/mm/dd", else "'%s' is not a valid date"
//   Time                        "hh:mm[:ss[.zzz]]", else "'%s' is not a valid time"
//   DateTime                    date, blank, time (or date alone), else "'%s' is not a valid date and time"
//   any other kind              the parameter is left as it is
void setParamFromFieldText(Param& param, ds::FieldKind kind, std::string_view text);

// Exactly what setParamFromFieldText(param, field.kind(), field.asString()) gives, but text,
// whole-number and float fields are read without making their text when that gives the same
// value (an import sets ~100 parameters a row): a float's text keeps 15 significant digits,
// so a value whose shortest form has no more reads back as itself.
void setParamFromField(Param& param, const ds::Field& field);

// The statement's parameters: one per ":NAME" marker outside quoted text, in order of
// appearance (a name used twice gives two parameters).
class ParamSet {
public:
    // Derives the parameters of `sql` and the statement with "?" in place of each marker.
    // Values of parameters whose names are kept are dropped too: every new text starts unset.
    void derive(std::string_view sql);
    const std::string& positionalSql() const { return positional_; }

    int count() const { return static_cast<int>(params_.size()); }
    Param& at(int index) { return params_[static_cast<std::size_t>(index)]; }
    const Param& at(int index) const { return params_[static_cast<std::size_t>(index)]; }
    // First parameter of that name, without regard to case; nullptr when none.
    Param* find(std::string_view name);
    // Fails with "Parameter '<name>' not found".
    Param& byName(std::string_view name);
    // The values in marker order; fails with "No value for parameter '<name>'" for the first
    // parameter left without a kind.
    std::vector<ds::Value> values() const;

private:
    std::vector<Param> params_;
    std::string positional_;
};

}  // namespace qor::storedb
