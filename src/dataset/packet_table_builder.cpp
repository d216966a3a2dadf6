#include "dataset/packet_table_builder.h"

#include <cstdint>
#include <cstring>

#include "dataset/packet_escape.h"
#include "dataset/packet_values.h"
#include "text/ascii.h"
#include "text/cp950.h"
#include "text/errors.h"

namespace qor::ds::packet {

namespace {

// The first attribute named `name`, letter case ignored; null when absent.
const Attribute* attributeNoCase(std::span<const Attribute> attributes, std::string_view name) {
    for (const Attribute& a : attributes)
        if (text::equalsNoCase(a.name, name)) return &a;
    return nullptr;
}

std::string_view rawValue(const Attribute* a) { return a ? a->value : std::string_view(); }

// An attribute's value with its references resolved; empty when absent.
std::string resolvedValue(const Attribute* a, std::string_view what) {
    std::string out;
    if (!unescape(rawValue(a), out)) failInvalidPacket("bad character reference in " + std::string(what));
    return out;
}

template <typename Word>
Word wordAt(const char* p) {
    Word w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

// Whether two names hold the same bytes. Every ROW attribute's name is compared this way, so
// names of 4 to 16 bytes are compared as two overlapping words, without a call.
bool sameName(std::string_view a, std::string_view b) {
    const std::size_t n = a.size();
    if (n != b.size()) return false;
    const char* x = a.data();
    const char* y = b.data();
    if (n >= 8 && n <= 16)
        return wordAt<std::uint64_t>(x) == wordAt<std::uint64_t>(y) &&
               wordAt<std::uint64_t>(x + n - 8) == wordAt<std::uint64_t>(y + n - 8);
    if (n >= 4 && n < 8)
        return wordAt<std::uint32_t>(x) == wordAt<std::uint32_t>(y) &&
               wordAt<std::uint32_t>(x + n - 4) == wordAt<std::uint32_t>(y + n - 4);
    return a == b;
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

}  // namespace

void failInvalidPacket(const std::string& why) { throw Error("Invalid data packet: " + why); }

void TableBuilder::addField(std::span<const Attribute> attributes) {
    const Attribute* nameAttr = attributeNoCase(attributes, "attrname");
    const Attribute* typeAttr = attributeNoCase(attributes, "fieldtype");
    if (!nameAttr || nameAttr->value.empty()) failInvalidPacket("a FIELD has no attrname");
    ColumnDef def;
    def.name = resolvedValue(nameAttr, "attrname");
    if (!typeAttr) failInvalidPacket("FIELD " + def.name + " has no fieldtype");
    const std::string typeName = resolvedValue(typeAttr, "fieldtype");
    const std::string subType = resolvedValue(attributeNoCase(attributes, "SUBTYPE"), "SUBTYPE");
    const auto type = fieldTypeNamed(typeName, subType);
    if (!type) failInvalidPacket("FIELD " + def.name + " has the unknown type " + typeName);
    def.kind = type->kind;

    Column column{*type, 0, typeName};
    if (def.kind == FieldKind::String) {
        const Attribute* width = attributeNoCase(attributes, "WIDTH");
        int size = 0;
        if (!readWholeNumber(resolvedValue(width, "WIDTH"), size) || size <= 0)
            failInvalidPacket("string FIELD " + def.name + " has no positive WIDTH");
        def.size = column.size = size;
    } else if (def.kind == FieldKind::BCD) {
        // The scale only describes the values; one that is no number leaves it at 0.
        readWholeNumber(rawValue(attributeNoCase(attributes, "DECIMALS")), def.decimals);
    }
    def.required = text::equalsNoCase(rawValue(attributeNoCase(attributes, "required")), "true");
    def.readOnly = text::equalsNoCase(rawValue(attributeNoCase(attributes, "readonly")), "true");

    const std::string key = text::upperAscii(def.name);
    if (!byName_.emplace(key, static_cast<int>(table_.columns.size())).second)
        failInvalidPacket("the field name " + def.name + " is repeated");
    table_.columns.push_back(std::move(def));
    columns_.push_back(std::move(column));
    namedAfter_.push_back(static_cast<int>(table_.columns.size()));
}

void TableBuilder::readParams(std::span<const Attribute> attributes) {
    // LCID is informational; a value that is no number is left at 0.
    const Attribute* lcid = attributeNoCase(attributes, "LCID");
    int value = 0;
    if (lcid && readWholeNumber(lcid->value, value)) table_.lcid = value;
}

void TableBuilder::startRow() {
    row_ = &table_.rows.emplace_back(table_.columns.size());
    expected_ = 0;
}

int TableBuilder::columnNamedAnyCase(std::string_view name) const {
    const auto it = byName_.find(text::upperAscii(name));
    return it == byName_.end() ? -1 : it->second;
}

int TableBuilder::columnNamed(std::string_view name) {
    // Packets name a row's attributes in field order and leave the nulls out, mostly the same
    // ones row after row. So the column named here in the row before is tried first, then
    // the name is looked for from the field after the previous one on, by plain comparison;
    // a name before it, in other letter case or of no field goes through the index.
    const std::vector<ColumnDef>& columns = table_.columns;
    int& named = namedAfter_[static_cast<std::size_t>(expected_)];
    if (static_cast<std::size_t>(named) < columns.size() &&
        sameName(columns[static_cast<std::size_t>(named)].name, name))
        return named;
    int found = -1;
    for (std::size_t i = static_cast<std::size_t>(expected_); i < columns.size() && found < 0; ++i)
        if (sameName(columns[i].name, name)) found = static_cast<int>(i);
    if (found < 0) found = columnNamedAnyCase(name);
    if (found >= 0) named = found;
    return found;
}

void TableBuilder::setValue(std::string_view name, std::string_view raw, bool mayHoldReference) {
    const int index = columnNamed(name);
    if (index < 0) return;  // RowState and other attributes that name no field
    expected_ = index + 1;
    std::string_view text = raw;
    if (mayHoldReference && text.find('&') != std::string_view::npos) {
        if (!unescape(text, resolved_))
            failInvalidPacket("bad character reference in the value of " + std::string(name));
        text = resolved_;
    }
    const auto i = static_cast<std::size_t>(index);
    const Column& column = columns_[i];
    if (!readValue(column.type, column.size, text, (*row_)[i]))
        failInvalidPacket("the value \"" + std::string(text) + "\" of " + table_.columns[i].name +
                          " cannot be read as " + column.typeName);
}

}  // namespace qor::ds::packet
