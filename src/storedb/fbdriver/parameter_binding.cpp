#include "parameter_binding.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "dataset/value_text.h"
#include "date_codec.h"

namespace qor::fbdriver {
namespace {

bool isTextType(int type) { return type == SQL_TEXT || type == SQL_VARYING; }

bool isNumberType(int type) {
    return type == SQL_SHORT || type == SQL_LONG || type == SQL_INT64 || type == SQL_FLOAT ||
           type == SQL_DOUBLE;
}

std::string floatText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

}  // namespace

// Lays one value into one marker's variable, its data kept in the marker's slot. Each value
// goes in its own type and the server converts it to the marker's; a text or blob marker gets
// the value's text.
class ParameterBinding::MarkerWriter {
public:
    MarkerWriter(XSQLVAR& var, const XSQLVAR& marker, Slot& slot, const BlobWriter& writeBlob)
        : var_(var), marker_(marker), type_(baseType(marker)), slot_(slot), writeBlob_(writeBlob) {
        var_ = marker_;
        var_.sqlind = &slot_.indicator;
        slot_.indicator = 0;
    }

    void operator()(std::monostate) {
        // Any type will do for a null; the server never reads the data.
        setFixed(SQL_LONG, std::int32_t{0});
        slot_.indicator = -1;
    }
    void operator()(const std::string& text) { setText(text); }
    void operator()(std::int64_t v) {
        if (wantsText()) setText(std::to_string(v));
        else if (type_ == SQL_BOOLEAN) setFixed(SQL_BOOLEAN, static_cast<unsigned char>(v != 0));
        else setFixed(SQL_INT64, v);
    }
    void operator()(double v) {
        if (wantsText()) setText(floatText(v));
        else if (type_ == SQL_BOOLEAN) setFixed(SQL_BOOLEAN, static_cast<unsigned char>(v != 0));
        else setFixed(SQL_DOUBLE, v);
    }
    void operator()(bool v) {
        if (wantsText()) setText(v ? "True" : "False");
        else if (isNumberType(type_)) setFixed(SQL_INT64, std::int64_t{v ? 1 : 0});
        else setFixed(SQL_BOOLEAN, static_cast<unsigned char>(v));
    }
    void operator()(const ds::Date& v) {
        if (wantsText()) setText(ds::formatDate(v));
        else setFixed(SQL_TYPE_DATE, encodeDate(v));
    }
    void operator()(const ds::Time& v) {
        if (wantsText()) setText(ds::formatTime(v));
        else setFixed(SQL_TYPE_TIME, encodeTime(v));
    }
    void operator()(const ds::DateTime& v) {
        if (wantsText()) setText(dateTimeText(v));
        else setFixed(SQL_TIMESTAMP, ISC_TIMESTAMP{encodeDate(v.date), encodeTime(v.time)});
    }

private:
    bool wantsText() const { return isTextType(type_) || type_ == SQL_BLOB; }

    template <typename T>
    void setFixed(int type, const T& value) {
        static_assert(sizeof(T) <= sizeof(Slot::fixed));
        std::memcpy(slot_.fixed, &value, sizeof value);
        var_.sqltype = static_cast<ISC_SHORT>(type | 1);
        var_.sqllen = static_cast<ISC_SHORT>(sizeof value);
        var_.sqlscale = 0;
        var_.sqlsubtype = 0;
        var_.sqldata = reinterpret_cast<ISC_SCHAR*>(slot_.fixed);
    }

    void setText(std::string text) {
        slot_.text = std::move(text);
        if (type_ == SQL_BLOB) {
            setFixed(SQL_BLOB, writeBlob_(slot_.text));
            var_.sqlsubtype = marker_.sqlsubtype;
            return;
        }
        if (slot_.text.size() > 32767)
            throw std::runtime_error("A text parameter is longer than 32767 bytes");
        var_.sqltype = SQL_TEXT | 1;
        var_.sqllen = static_cast<ISC_SHORT>(slot_.text.size());
        var_.sqlscale = 0;
        // A text marker keeps its character set; elsewhere the server reads the bytes as they
        // are and converts them (a number's text into a number).
        var_.sqlsubtype = isTextType(type_) ? marker_.sqlsubtype : 0;
        var_.sqldata = slot_.text.empty() ? reinterpret_cast<ISC_SCHAR*>(slot_.fixed)
                                          : slot_.text.data();
    }

    XSQLVAR& var_;
    const XSQLVAR& marker_;
    const int type_;
    Slot& slot_;
    const BlobWriter& writeBlob_;
};

void ParameterBinding::bind(Sqlda& input, const std::vector<XSQLVAR>& described,
                            const std::vector<ds::Value>& values, const BlobWriter& writeBlob) {
    if (values.size() != described.size())
        throw std::runtime_error("The statement has " + std::to_string(described.size()) +
                                 " parameter markers but " + std::to_string(values.size()) +
                                 " values were given");
    slots_.assign(values.size(), Slot{});
    for (std::size_t i = 0; i < values.size(); ++i) {
        MarkerWriter writer(input.var(static_cast<int>(i)), described[i], slots_[i], writeBlob);
        std::visit(writer, values[i]);
    }
}

}  // namespace qor::fbdriver
