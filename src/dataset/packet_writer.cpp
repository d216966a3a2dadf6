// Writing a table as a data packet: straight into one string, no document tree, because the
// head-office gateway writes replies of tens of thousands of rows with it.
#include <algorithm>
#include <string>

#include "dataset/packet.h"
#include "dataset/packet_escape.h"
#include "dataset/packet_types.h"
#include "dataset/packet_values.h"

namespace qor::ds {

namespace {

void appendAttribute(std::string& out, std::string_view name, std::string_view value) {
    out += ' ';
    out += name;
    out += "=\"";
    packet::appendEscaped(out, value);
    out += '"';
}

// A string column needs a positive WIDTH to be read back; one without a size gets the
// width of its longest value.
int widthOf(const Table& table, std::size_t column) {
    const ColumnDef& def = table.columns[column];
    if (def.size > 0) return def.size;
    std::size_t longest = 1;
    for (const Row& row : table.rows)
        if (column < row.size())
            if (const auto* s = std::get_if<std::string>(&row[column]))
                longest = std::max(longest, s->size());
    return static_cast<int>(longest);
}

void appendMetadata(std::string& out, const Table& table) {
    out += "<METADATA><FIELDS>";
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        const ColumnDef& def = table.columns[c];
        out += "<FIELD";
        appendAttribute(out, "attrname", def.name);
        appendAttribute(out, "fieldtype", packet::fieldTypeOf(def.kind));
        if (def.kind == FieldKind::Memo) appendAttribute(out, "SUBTYPE", "Text");
        if (def.kind == FieldKind::String)
            appendAttribute(out, "WIDTH", std::to_string(widthOf(table, c)));
        if (def.kind == FieldKind::BCD) {
            appendAttribute(out, "DECIMALS", std::to_string(def.decimals));
            // NUMERIC columns hold at most 18 digits.
            appendAttribute(out, "WIDTH", std::to_string(def.size > 0 ? def.size : 18));
        }
        if (def.required) appendAttribute(out, "required", "true");
        if (def.readOnly) appendAttribute(out, "readonly", "true");
        out += "/>";
    }
    out += "</FIELDS><PARAMS";
    appendAttribute(out, "LCID", std::to_string(table.lcid));
    out += "/></METADATA>";
}

// Bytes the rows will take, judged from the first rows, so the text grows once or not at all.
std::size_t estimatedRowBytes(const Table& table, const std::vector<std::string>& prefixes) {
    const std::size_t sample = std::min<std::size_t>(table.rows.size(), 64);
    if (sample == 0) return 0;
    std::size_t bytes = 0;
    for (std::size_t r = 0; r < sample; ++r) {
        const Row& row = table.rows[r];
        bytes += 8;
        for (std::size_t c = 0; c < row.size() && c < prefixes.size(); ++c) {
            if (isNull(row[c])) continue;
            const auto* s = std::get_if<std::string>(&row[c]);
            bytes += prefixes[c].size() + 1 + (s ? s->size() * 2 : 24);
        }
    }
    return bytes / sample * table.rows.size() + bytes / sample * 2;
}

}  // namespace

std::string writePacket(const Table& table) {
    // ' NAME="' for every column, made once.
    std::vector<std::string> prefixes;
    prefixes.reserve(table.columns.size());
    for (const ColumnDef& def : table.columns) prefixes.push_back(" " + def.name + "=\"");

    std::string out;
    out.reserve(512 + table.columns.size() * 80 + estimatedRowBytes(table, prefixes));
    out += "<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\">";
    appendMetadata(out, table);
    out += "<ROWDATA>";
    const std::size_t width = table.columns.size();
    for (const Row& row : table.rows) {
        out += "<ROW";
        const std::size_t n = std::min(width, row.size());
        for (std::size_t c = 0; c < n; ++c) {
            if (isNull(row[c])) continue;  // a null is an absent attribute
            out += prefixes[c];
            packet::appendValue(out, table.columns[c].kind, row[c]);
            out += '"';
        }
        out += "/>";
    }
    out += "</ROWDATA></DATAPACKET>";
    return out;
}

}  // namespace qor::ds
