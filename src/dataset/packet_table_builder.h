#pragma once
// Turns a packet's FIELD, PARAMS and ROW attributes into a table, whichever way the XML text
// was taken apart. Faults throw qor::Error with the text a failed load shows.
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dataset/packet_types.h"
#include "dataset/value.h"

namespace qor::ds::packet {

// One attribute as it stands in the text: references not yet resolved.
struct Attribute {
    std::string_view name;
    std::string_view value;
};

[[noreturn]] void failInvalidPacket(const std::string& why);

class TableBuilder {
public:
    // A FIELD element's attributes, in document order.
    void addField(std::span<const Attribute> attributes);
    // The PARAMS element's attributes.
    void readParams(std::span<const Attribute> attributes);

    void reserveRows(std::size_t count) { table_.rows.reserve(count); }
    // Starts a row of nulls; its values follow through setValue.
    void startRow();
    // Takes one attribute of the current ROW; one that names no field is ignored. A reader
    // that saw no "&" in the value says so, and the value is not searched again.
    void setValue(std::string_view name, std::string_view raw, bool mayHoldReference = true);

    Table take() { return std::move(table_); }

private:
    struct Column {
        FieldType type;
        int size = 0;
        std::string typeName;  // as the packet gives it, for messages
    };

    // The column a ROW attribute names; -1 when none.
    int columnNamed(std::string_view name);
    int columnNamedAnyCase(std::string_view name) const;

    Table table_;
    std::vector<Column> columns_;
    std::unordered_map<std::string, int> byName_;  // upper-cased name -> column
    Row* row_ = nullptr;
    int expected_ = 0;     // the first column the next ROW attribute may name in field order
    // Per value of expected_: the column the attribute named there the last time; at first
    // the column at expected_ itself (the last entry stands past the last column).
    std::vector<int> namedAfter_{0};
    std::string resolved_;  // a value with its references resolved, reused between values
};

}  // namespace qor::ds::packet
