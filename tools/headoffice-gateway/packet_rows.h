#pragma once
// A data packet written a few rows at a time, so a reply can go out while its rows are still
// being read. The bytes are those ds::writePacket gives for the whole table.
#include <string>
#include <vector>

#include "dataset/value.h"

namespace qor::headoffice {

class PacketRowWriter {
public:
    PacketRowWriter(std::vector<ds::ColumnDef> columns, int lcid);

    // False when a string column has no size: its WIDTH is then the longest value's, known
    // only once every row has been read.
    static bool canWrite(const std::vector<ds::ColumnDef>& columns);

    // The declaration, METADATA and "<ROWDATA>".
    void appendHead(std::string& out) const;
    void appendRow(std::string& out, const ds::Row& row) const;
    // "</ROWDATA></DATAPACKET>"
    static void appendTail(std::string& out);

private:
    std::vector<ds::ColumnDef> columns_;
    int lcid_;
    std::vector<std::string> prefixes_;  // ' NAME="' per column
};

}  // namespace qor::headoffice
