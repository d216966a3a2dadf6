#include "column_values.h"

#include <cstdint>
#include <cstring>

#include "blob_io.h"
#include "date_codec.h"
#include "sqlda.h"

namespace qor::fbdriver {
namespace {

template <typename T>
T load(const XSQLVAR& var) {
    T value;
    std::memcpy(&value, var.sqldata, sizeof value);
    return value;
}

// One division by an exact power of ten, so 12345 at scale -2 reads as the double nearest 123.45.
double scaled(std::int64_t raw, int scale) {
    double power = 1.0;
    for (int i = 0; i < (scale < 0 ? -scale : scale); ++i) power *= 10.0;
    return scale < 0 ? static_cast<double>(raw) / power : static_cast<double>(raw) * power;
}

ds::Value integer(std::int64_t raw, int scale) {
    if (scale == 0) return raw;
    return scaled(raw, scale);
}

}  // namespace

ds::ColumnDef describeColumn(const XSQLVAR& var) {
    ds::ColumnDef column;
    column.name.assign(var.aliasname, static_cast<size_t>(var.aliasname_length));
    if (column.name.empty()) column.name.assign(var.sqlname, static_cast<size_t>(var.sqlname_length));
    const bool isScaled = var.sqlscale < 0;
    switch (baseType(var)) {
    case SQL_TEXT:
    case SQL_VARYING:
        column.kind = ds::FieldKind::String;
        column.size = static_cast<unsigned short>(var.sqllen);
        break;
    case SQL_SHORT:
        column.kind = isScaled ? ds::FieldKind::BCD : ds::FieldKind::SmallInt;
        break;
    case SQL_LONG:
        column.kind = isScaled ? ds::FieldKind::BCD : ds::FieldKind::Integer;
        break;
    case SQL_INT64:
        column.kind = isScaled ? ds::FieldKind::BCD : ds::FieldKind::LargeInt;
        break;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        column.kind = ds::FieldKind::Float;
        break;
    case SQL_BOOLEAN:
        column.kind = ds::FieldKind::Boolean;
        break;
    case SQL_TYPE_DATE:
        column.kind = ds::FieldKind::Date;
        break;
    case SQL_TYPE_TIME:
        column.kind = ds::FieldKind::Time;
        break;
    case SQL_TIMESTAMP:
        column.kind = ds::FieldKind::DateTime;
        break;
    case SQL_BLOB:
        column.kind = var.sqlsubtype == 1 ? ds::FieldKind::Memo : ds::FieldKind::Binary;
        break;
    default:
        // Arrays and the type of a bare NULL: carried as binary, read as null.
        column.kind = ds::FieldKind::Binary;
        break;
    }
    if (column.kind == ds::FieldKind::BCD) column.decimals = -var.sqlscale;
    return column;
}

ds::Value readColumn(const XSQLVAR& var, const ReadContext& context) {
    if ((var.sqltype & 1) && var.sqlind && *var.sqlind < 0) return std::monostate{};
    switch (baseType(var)) {
    case SQL_TEXT: {
        std::string text(var.sqldata, static_cast<unsigned short>(var.sqllen));
        if (context.trimChar) {
            size_t end = text.find_last_not_of(' ');
            text.resize(end == std::string::npos ? 0 : end + 1);
        }
        return text;
    }
    case SQL_VARYING: {
        unsigned short length = load<unsigned short>(var);
        return std::string(var.sqldata + sizeof(short), length);
    }
    case SQL_SHORT:
        return integer(load<std::int16_t>(var), var.sqlscale);
    case SQL_LONG:
        return integer(load<std::int32_t>(var), var.sqlscale);
    case SQL_INT64:
        return integer(load<std::int64_t>(var), var.sqlscale);
    case SQL_FLOAT:
        return static_cast<double>(load<float>(var));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return load<double>(var);
    case SQL_BOOLEAN:
        return *var.sqldata != 0;
    case SQL_TYPE_DATE:
        return decodeDate(load<ISC_DATE>(var));
    case SQL_TYPE_TIME:
        return decodeTime(load<ISC_TIME>(var));
    case SQL_TIMESTAMP: {
        auto stamp = load<ISC_TIMESTAMP>(var);
        return ds::DateTime{decodeDate(stamp.timestamp_date), decodeTime(stamp.timestamp_time)};
    }
    case SQL_BLOB:
        return readBlob(*context.api, context.db, context.tr, load<ISC_QUAD>(var), context.blobLimit);
    default:
        return std::monostate{};
    }
}

}  // namespace qor::fbdriver
