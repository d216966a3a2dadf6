#include "packet_rows.h"

#include <algorithm>
#include <string_view>

#include "dataset/packet.h"
#include "dataset/packet_values.h"

namespace qor::headoffice {
namespace {
constexpr std::string_view kTail = "</ROWDATA></DATAPACKET>";
}  // namespace

PacketRowWriter::PacketRowWriter(std::vector<ds::ColumnDef> columns, int lcid)
    : columns_(std::move(columns)), lcid_(lcid) {
    prefixes_.reserve(columns_.size());
    for (const ds::ColumnDef& def : columns_) prefixes_.push_back(" " + def.name + "=\"");
}

bool PacketRowWriter::canWrite(const std::vector<ds::ColumnDef>& columns) {
    return std::none_of(columns.begin(), columns.end(), [](const ds::ColumnDef& def) {
        return def.kind == ds::FieldKind::String && def.size <= 0;
    });
}

void PacketRowWriter::appendHead(std::string& out) const {
    // The whole packet's writer gives the head of a packet without rows: one writer of
    // metadata, not two.
    ds::Table empty;
    empty.columns = columns_;
    empty.lcid = lcid_;
    const std::string packet = ds::writePacket(empty);
    out.append(packet, 0, packet.size() - kTail.size());
}

void PacketRowWriter::appendRow(std::string& out, const ds::Row& row) const {
    out += "<ROW";
    const std::size_t n = std::min(columns_.size(), row.size());
    for (std::size_t c = 0; c < n; ++c) {
        if (ds::isNull(row[c])) continue;  // a null is an absent attribute
        out += prefixes_[c];
        ds::packet::appendValue(out, columns_[c].kind, row[c]);
        out += '"';
    }
    out += "/>";
}

void PacketRowWriter::appendTail(std::string& out) { out += kTail; }

}  // namespace qor::headoffice
