#include "dataset/field.h"

#include <cmath>
#include <limits>
#include <optional>

#include "dataset/dataset.h"
#include "dataset/dataset_impl.h"
#include "dataset/display_text.h"
#include "dataset/value_text.h"
#include "text/cp950.h"
#include "text/errors.h"

namespace qor::ds {

namespace {

bool isIntegerKind(FieldKind k) {
    return k == FieldKind::SmallInt || k == FieldKind::Integer || k == FieldKind::Word ||
           k == FieldKind::LargeInt;
}

bool inRange(std::int64_t v, FieldKind k) {
    switch (k) {
        case FieldKind::SmallInt: return v >= -32768 && v <= 32767;
        case FieldKind::Word: return v >= 0 && v <= 65535;
        case FieldKind::Integer:
            return v >= std::numeric_limits<std::int32_t>::min() &&
                   v <= std::numeric_limits<std::int32_t>::max();
        default: return true;
    }
}

std::optional<std::int64_t> wholeNumber(double d) {
    if (!std::isfinite(d) || std::fabs(d) >= 9.2e18) return std::nullopt;
    return std::llround(d);
}

std::optional<Value> toInteger(const Value& v, FieldKind kind) {
    std::optional<std::int64_t> i;
    if (const auto* s = std::get_if<std::string>(&v)) {
        auto read = textToValue(*s, kind);
        if (!read) return std::nullopt;
        if (isNull(*read)) return Value{};
        i = std::get<std::int64_t>(*read);
    } else if (const auto* n = std::get_if<std::int64_t>(&v)) {
        i = *n;
    } else if (const auto* d = std::get_if<double>(&v)) {
        i = wholeNumber(*d);
    } else if (const auto* b = std::get_if<bool>(&v)) {
        i = *b ? 1 : 0;
    }
    if (!i || !inRange(*i, kind)) return std::nullopt;
    return Value(*i);
}

std::optional<Value> toFloat(const Value& v, FieldKind kind) {
    if (const auto* s = std::get_if<std::string>(&v)) return textToValue(*s, kind);
    if (const auto* n = std::get_if<std::int64_t>(&v)) return Value(double(*n));
    if (const auto* d = std::get_if<double>(&v)) return Value(*d);
    if (const auto* b = std::get_if<bool>(&v)) return Value(*b ? 1.0 : 0.0);
    if (const auto* dt = std::get_if<DateTime>(&v)) return Value(toSerial(*dt));
    if (const auto* d = std::get_if<Date>(&v)) return Value(toSerial(DateTime{*d, {}}));
    return std::nullopt;
}

std::optional<Value> toBoolean(const Value& v) {
    if (const auto* s = std::get_if<std::string>(&v)) return textToValue(*s, FieldKind::Boolean);
    if (const auto* n = std::get_if<std::int64_t>(&v)) return Value(*n != 0);
    if (const auto* d = std::get_if<double>(&v)) return Value(*d != 0);
    if (const auto* b = std::get_if<bool>(&v)) return Value(*b);
    return std::nullopt;
}

std::optional<Value> toDateKind(const Value& v, FieldKind kind) {
    DateTime dt;
    if (const auto* s = std::get_if<std::string>(&v)) {
        if (auto direct = textToValue(*s, kind)) return direct;
        auto full = parseDateTime(*s);  // a date and time given to a date or a time field
        if (!full) return std::nullopt;
        dt = *full;
    } else if (const auto* d = std::get_if<Date>(&v)) {
        if (kind == FieldKind::Time) return std::nullopt;
        dt = DateTime{*d, {}};
    } else if (const auto* t = std::get_if<Time>(&v)) {
        if (kind == FieldKind::Date) return std::nullopt;
        dt = DateTime{kSerialDateEpoch, *t};
    } else if (const auto* full = std::get_if<DateTime>(&v)) {
        dt = *full;
    } else {
        return std::nullopt;
    }
    if (kind == FieldKind::Date) return Value(dt.date);
    if (kind == FieldKind::Time) return Value(dt.time);
    return Value(dt);
}

// The value as the field stores it; nullopt when it cannot be converted.
std::optional<Value> convertFor(const Value& v, const FieldDef& def) {
    if (isNull(v)) return Value{};
    switch (def.kind) {
        case FieldKind::String: {
            std::string s = valueToText(v);
            if (def.size > 0 && int(s.size()) > def.size)
                s = text::cutToBytes(s, std::size_t(def.size));
            return Value(std::move(s));
        }
        case FieldKind::Memo:
        case FieldKind::Binary:
            return Value(valueToText(v));
        case FieldKind::Boolean:
            return toBoolean(v);
        case FieldKind::Date:
        case FieldKind::Time:
        case FieldKind::DateTime:
            return toDateKind(v, def.kind);
        default:
            if (isIntegerKind(def.kind)) return toInteger(v, def.kind);
            return toFloat(v, def.kind);
    }
}

int defaultDisplayWidth(const FieldDef& def) {
    switch (def.kind) {
        case FieldKind::String: return def.size;
        case FieldKind::SmallInt: return 6;
        case FieldKind::Integer: return 11;
        case FieldKind::Word: return 5;
        case FieldKind::LargeInt: return 15;
        case FieldKind::Boolean: return 5;
        case FieldKind::Date: return 10;
        case FieldKind::Time: return 8;
        case FieldKind::DateTime: return 19;
        default: return 10;
    }
}

// Clears the value under validation when the handler ends, however it ends.
class ValidatingScope {
public:
    ValidatingScope(const Value*& slot, const Value* value) : slot_(slot), saved_(slot) {
        slot_ = value;
    }
    ~ValidatingScope() { slot_ = saved_; }
    ValidatingScope(const ValidatingScope&) = delete;
    ValidatingScope& operator=(const ValidatingScope&) = delete;

private:
    const Value*& slot_;
    const Value* saved_;
};

}  // namespace

Field::Field(Dataset& dataset, FieldDef def, int index)
    : dataset_(&dataset), def_(std::move(def)), index_(index) {}

std::string Field::displayLabel() const {
    return def_.displayLabel.empty() ? def_.name : def_.displayLabel;
}

void Field::setDisplayLabel(std::string label) { def_.displayLabel = std::move(label); }

int Field::displayWidth() const {
    return def_.displayWidth > 0 ? def_.displayWidth : defaultDisplayWidth(def_);
}

bool Field::canModify() const { return !def_.readOnly && dataset_->active(); }

// ---------------------------------------------------------------- reading

Value Field::value() const {
    if (validating_) return *validating_;
    const Value* v = dataset_->d_->cell(index_);
    return v ? *v : Value{};
}

bool Field::isNull() const {
    if (validating_) return ds::isNull(*validating_);
    const Value* v = dataset_->d_->cell(index_);
    return !v || ds::isNull(*v);
}

std::string Field::asString() const { return valueToText(value()); }

double Field::asFloat() const {
    const Value v = value();
    if (ds::isNull(v)) return 0;
    if (const auto* t = std::get_if<Time>(&v)) return toSerial(DateTime{kSerialDateEpoch, *t});
    auto f = toFloat(v, FieldKind::Float);
    if (!f) throw Error(notValidMessage(valueToText(v), FieldKind::Float));
    return ds::isNull(*f) ? 0 : std::get<double>(*f);
}

std::int64_t Field::asInteger() const {
    const Value v = value();
    if (ds::isNull(v)) return 0;
    auto i = toInteger(v, FieldKind::LargeInt);
    if (!i) throw Error(notValidMessage(valueToText(v), FieldKind::Integer));
    return ds::isNull(*i) ? 0 : std::get<std::int64_t>(*i);
}

bool Field::asBoolean() const {
    const Value v = value();
    if (ds::isNull(v)) return false;
    auto b = toBoolean(v);
    if (!b) throw Error(notValidMessage(valueToText(v), FieldKind::Boolean));
    return ds::isNull(*b) ? false : std::get<bool>(*b);
}

std::string Field::displayText() const { return displayTextOf(def_, value()); }

std::string Field::editText() const { return asString(); }

// ---------------------------------------------------------------- writing

void Field::checkWritable() const {
    const Dataset::Impl& d = *dataset_->d_;
    d.checkActive();
    if (def_.readOnly) d.fail(format("Field '%s' cannot be modified", displayLabel()));
}

void Field::setValue(const Value& v) {
    Dataset::Impl& d = *dataset_->d_;
    checkWritable();
    auto converted = convertFor(v, def_);
    if (!converted) throw Error(format("Invalid value for field '%s'", displayLabel()));

    if (d.state == DataSetState::Browse) dataset_->edit();
    if (onValidate) {
        ValidatingScope scope(validating_, &*converted);
        onValidate(*this);
    }
    // The handler may have moved or closed the dataset; then there is no row to write to.
    if (d.state != DataSetState::Edit && d.state != DataSetState::Insert) return;
    Row* row = d.currentRow();
    const auto column = std::size_t(d.fieldColumn[std::size_t(index_)]);
    if (!row || column >= row->size()) return;
    (*row)[column] = std::move(*converted);
    d.modified = true;
    d.notify(DataEvent::RecordChanged, this);
}

void Field::setAsString(std::string_view text) { setValue(Value(std::string(text))); }
void Field::setAsFloat(double v) { setValue(Value(v)); }
void Field::setAsInteger(std::int64_t v) { setValue(Value(v)); }
void Field::setAsBoolean(bool v) { setValue(Value(v)); }
void Field::clear() { setValue(Value{}); }

void Field::setText(std::string_view text) {
    switch (def_.kind) {
        case FieldKind::String:
        case FieldKind::Memo:
        case FieldKind::Binary:
            setAsString(text);
            return;
        default:
            break;
    }
    checkWritable();
    // Read in the kind's own form, then range-checked the way every assignment is.
    auto read = textToValue(text, def_.kind);
    if (read) read = convertFor(*read, def_);
    if (!read)
        throw Error(notValidMessage(text, def_.kind) +
                    format(" for field '%s'", displayLabel()));
    setValue(*read);
}

void Field::focusControl() { dataset_->d_->notify(DataEvent::FocusControl, this); }

}  // namespace qor::ds
