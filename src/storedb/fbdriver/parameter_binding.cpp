#include "parameter_binding.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <type_traits>

#include "dataset/value_text.h"
#include "date_codec.h"

namespace qor::fbdriver {
namespace {

bool isTextType(int type) { return type == SQL_TEXT || type == SQL_VARYING; }

std::string floatText(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", value);
    return text;
}

template <typename T>
void setFixed(XSQLVAR& var, unsigned char* area, int type, const T& value) {
    static_assert(sizeof(T) <= 16);
    std::memcpy(area, &value, sizeof value);
    var.sqltype = static_cast<ISC_SHORT>(type | 1);
    var.sqllen = static_cast<ISC_SHORT>(sizeof value);
    var.sqlscale = 0;
    var.sqlsubtype = 0;
    var.sqldata = reinterpret_cast<ISC_SCHAR*>(area);
}

}  // namespace

void ParameterBinding::bind(Sqlda& input, const std::vector<XSQLVAR>& described,
                            const std::vector<ds::Value>& values, const BlobWriter& writeBlob) {
    if (values.size() != described.size())
        throw std::runtime_error("The statement has " + std::to_string(described.size()) +
                                 " parameter markers but " + std::to_string(values.size()) +
                                 " values were given");
    slots_.assign(values.size(), Slot{});
    for (size_t i = 0; i < values.size(); ++i) {
        XSQLVAR& var = input.var(static_cast<int>(i));
        const XSQLVAR& marker = described[i];
        const int markerType = baseType(marker);
        Slot& slot = slots_[i];
        var = marker;
        var.sqlind = &slot.indicator;
        slot.indicator = 0;

        auto setText = [&](std::string text) {
            slot.text = std::move(text);
            if (markerType == SQL_BLOB) {
                setFixed(var, slot.fixed, SQL_BLOB, writeBlob(slot.text));
                var.sqlsubtype = marker.sqlsubtype;
                return;
            }
            if (slot.text.size() > 32767)
                throw std::runtime_error("A text parameter is longer than 32767 bytes");
            var.sqltype = SQL_TEXT | 1;
            var.sqllen = static_cast<ISC_SHORT>(slot.text.size());
            var.sqlscale = 0;
            // A text marker keeps its character set; elsewhere the server reads the bytes as
            // they are and converts them (a number's text into a number).
            var.sqlsubtype = isTextType(markerType) ? marker.sqlsubtype : 0;
            var.sqldata = slot.text.empty() ? reinterpret_cast<ISC_SCHAR*>(slot.fixed)
                                            : slot.text.data();
        };

        std::visit(
            [&](const auto& value) {
                using T = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<T, std::monostate>) {
                    // Any type will do for a null; the server never reads the data.
                    setFixed(var, slot.fixed, SQL_LONG, std::int32_t{0});
                    slot.indicator = -1;
                } else if constexpr (std::is_same_v<T, std::string>) {
                    setText(value);
                } else if constexpr (std::is_same_v<T, std::int64_t>) {
                    if (isTextType(markerType) || markerType == SQL_BLOB)
                        setText(std::to_string(value));
                    else if (markerType == SQL_BOOLEAN)
                        setFixed(var, slot.fixed, SQL_BOOLEAN, static_cast<unsigned char>(value != 0));
                    else
                        setFixed(var, slot.fixed, SQL_INT64, value);
                } else if constexpr (std::is_same_v<T, double>) {
                    if (isTextType(markerType) || markerType == SQL_BLOB)
                        setText(floatText(value));
                    else if (markerType == SQL_BOOLEAN)
                        setFixed(var, slot.fixed, SQL_BOOLEAN, static_cast<unsigned char>(value != 0));
                    else
                        setFixed(var, slot.fixed, SQL_DOUBLE, value);
                } else if constexpr (std::is_same_v<T, bool>) {
                    if (isTextType(markerType) || markerType == SQL_BLOB)
                        setText(value ? "True" : "False");
                    else if (markerType == SQL_SHORT || markerType == SQL_LONG || markerType == SQL_INT64 ||
                             markerType == SQL_FLOAT || markerType == SQL_DOUBLE)
                        setFixed(var, slot.fixed, SQL_INT64, std::int64_t{value ? 1 : 0});
                    else
                        setFixed(var, slot.fixed, SQL_BOOLEAN, static_cast<unsigned char>(value));
                } else if constexpr (std::is_same_v<T, ds::Date>) {
                    if (isTextType(markerType) || markerType == SQL_BLOB)
                        setText(ds::formatDate(value));
                    else
                        setFixed(var, slot.fixed, SQL_TYPE_DATE, encodeDate(value));
                } else if constexpr (std::is_same_v<T, ds::Time>) {
                    if (isTextType(markerType) || markerType == SQL_BLOB)
                        setText(ds::formatTime(value));
                    else
                        setFixed(var, slot.fixed, SQL_TYPE_TIME, encodeTime(value));
                } else if constexpr (std::is_same_v<T, ds::DateTime>) {
                    if (isTextType(markerType) || markerType == SQL_BLOB)
                        setText(dateTimeText(value));
                    else
                        setFixed(var, slot.fixed, SQL_TIMESTAMP,
                                 ISC_TIMESTAMP{encodeDate(value.date), encodeTime(value.time)});
                }
            },
            values[i]);
    }
}

}  // namespace qor::fbdriver
