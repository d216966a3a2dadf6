// Reading a data packet into a table. The XML is parsed without reference resolution and
// without any transcoding, so code page 950 bytes reach the values unchanged; references are
// resolved here, where a character above 127 can be turned into its code page 950 bytes.
#include <cstring>
#include <pugixml.hpp>
#include <string>
#include <unordered_map>

#include "dataset/packet.h"
#include "dataset/packet_escape.h"
#include "dataset/packet_types.h"
#include "dataset/packet_values.h"
#include "text/cp950.h"
#include "text/errors.h"

namespace qor::ds {

namespace {

[[noreturn]] void fail(const std::string& why) { throw Error("Invalid data packet: " + why); }

// The attribute of `node` named `name`, letter case ignored; empty when absent.
pugi::xml_attribute attributeNoCase(const pugi::xml_node& node, std::string_view name) {
    for (pugi::xml_attribute a : node.attributes())
        if (packet::equalsNoCase(a.name(), name)) return a;
    return {};
}

// An attribute's value with its references resolved.
std::string resolvedValue(const pugi::xml_attribute& a, std::string_view what) {
    std::string out;
    if (!packet::unescape(a.value(), out)) fail("bad character reference in " + std::string(what));
    return out;
}

bool readWholeNumber(std::string_view text, int& out) {
    if (text.empty() || text.size() > 9) return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    out = v;
    return true;
}

struct Column {
    packet::FieldType type;
    int size = 0;
    std::string typeName;  // as the packet gives it, for messages
};

class PacketReader {
public:
    Table read(std::string_view bytes) {
        pugi::xml_document doc;
        // No escapes (resolved by unescape), no encoding conversion: the bytes stay as sent.
        const unsigned options = pugi::parse_wconv_attribute | pugi::parse_eol;
        const pugi::xml_parse_result parsed =
            doc.load_buffer(bytes.data(), bytes.size(), options, pugi::encoding_utf8);
        if (!parsed)
            fail(std::string("not well-formed XML (") + parsed.description() + " at offset " +
                 std::to_string(parsed.offset) + ")");
        const pugi::xml_node root = doc.document_element();
        if (std::strcmp(root.name(), "DATAPACKET") != 0) fail("the root element is not DATAPACKET");
        const pugi::xml_node metadata = root.child("METADATA");
        const pugi::xml_node fields = metadata.child("FIELDS");
        if (!fields) fail("METADATA/FIELDS is missing");
        for (pugi::xml_node f = fields.child("FIELD"); f; f = f.next_sibling("FIELD")) readField(f);
        readParams(metadata.child("PARAMS"));
        readRows(root.child("ROWDATA"));
        return std::move(table_);
    }

private:
    void readField(const pugi::xml_node& node) {
        const pugi::xml_attribute nameAttr = attributeNoCase(node, "attrname");
        const pugi::xml_attribute typeAttr = attributeNoCase(node, "fieldtype");
        if (!nameAttr || !*nameAttr.value()) fail("a FIELD has no attrname");
        ColumnDef def;
        def.name = resolvedValue(nameAttr, "attrname");
        if (!typeAttr) fail("FIELD " + def.name + " has no fieldtype");
        const std::string typeName = resolvedValue(typeAttr, "fieldtype");
        const std::string subType = resolvedValue(attributeNoCase(node, "SUBTYPE"), "SUBTYPE");
        const auto type = packet::fieldTypeNamed(typeName, subType);
        if (!type) fail("FIELD " + def.name + " has the unknown type " + typeName);
        def.kind = type->kind;

        Column column{*type, 0, typeName};
        if (def.kind == FieldKind::String) {
            const pugi::xml_attribute width = attributeNoCase(node, "WIDTH");
            int size = 0;
            if (!readWholeNumber(resolvedValue(width, "WIDTH"), size) || size <= 0)
                fail("string FIELD " + def.name + " has no positive WIDTH");
            def.size = column.size = size;
        } else if (def.kind == FieldKind::BCD) {
            // The scale only describes the values; one that is no number leaves it at 0.
            const pugi::xml_attribute decimals = attributeNoCase(node, "DECIMALS");
            readWholeNumber(decimals.value(), def.decimals);
        }
        def.required = packet::equalsNoCase(attributeNoCase(node, "required").value(), "true");
        def.readOnly = packet::equalsNoCase(attributeNoCase(node, "readonly").value(), "true");

        const std::string key = text::upperAscii(def.name);
        if (!byName_.emplace(key, static_cast<int>(table_.columns.size())).second)
            fail("the field name " + def.name + " is repeated");
        table_.columns.push_back(std::move(def));
        columns_.push_back(column);
    }

    void readParams(const pugi::xml_node& params) {
        // LCID is informational; a value that is no number is left at 0.
        const pugi::xml_attribute lcid = attributeNoCase(params, "LCID");
        int value = 0;
        if (lcid && readWholeNumber(lcid.value(), value)) table_.lcid = value;
    }

    // The column a ROW attribute names, or -1. Packets name the attributes in field order,
    // so the field after the previous one is tried first.
    int columnNamed(const char* name, int expected) const {
        if (expected < static_cast<int>(table_.columns.size()) &&
            table_.columns[static_cast<std::size_t>(expected)].name == name)
            return expected;
        const auto it = byName_.find(text::upperAscii(name));
        return it == byName_.end() ? -1 : it->second;
    }

    void readRows(const pugi::xml_node& rowData) {
        std::size_t count = 0;
        for (pugi::xml_node r = rowData.child("ROW"); r; r = r.next_sibling("ROW")) ++count;
        table_.rows.reserve(count);
        const std::size_t width = table_.columns.size();
        std::string resolved;
        for (pugi::xml_node r = rowData.child("ROW"); r; r = r.next_sibling("ROW")) {
            Row row(width);
            int expected = 0;
            for (pugi::xml_attribute a : r.attributes()) {
                const int index = columnNamed(a.name(), expected);
                if (index < 0) continue;  // RowState and other attributes that name no field
                expected = index + 1;
                std::string_view text = a.value();
                if (text.find('&') != std::string_view::npos) {
                    if (!packet::unescape(text, resolved))
                        fail("bad character reference in the value of " + std::string(a.name()));
                    text = resolved;
                }
                const auto i = static_cast<std::size_t>(index);
                if (!packet::readValue(columns_[i].type, columns_[i].size, text, row[i]))
                    fail("the value \"" + std::string(text) + "\" of " + table_.columns[i].name +
                         " cannot be read as " + columns_[i].typeName);
            }
            table_.rows.push_back(std::move(row));
        }
    }

    Table table_;
    std::vector<Column> columns_;
    std::unordered_map<std::string, int> byName_;  // upper-cased name -> column
};

}  // namespace

Table readPacket(std::string_view bytes) { return PacketReader().read(bytes); }

}  // namespace qor::ds
