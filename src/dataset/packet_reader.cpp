// Reading a data packet into a table. The plain form gateways write is scanned straight from
// the bytes; any other form, and any faulty packet, is read through the XML parser, which takes
// the whole syntax and words the fault. The parser runs without reference resolution and
// without transcoding, so code page 950 bytes reach the values unchanged; references are
// resolved later, where a character above 127 can be turned into its code page 950 bytes.
#include <cstring>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "dataset/packet.h"
#include "dataset/packet_reading.h"
#include "dataset/packet_table_builder.h"

namespace qor::ds {

namespace packet {

namespace {

std::vector<Attribute> attributesOf(const pugi::xml_node& node) {
    std::vector<Attribute> out;
    for (pugi::xml_attribute a : node.attributes()) out.push_back({a.name(), a.value()});
    return out;
}

}  // namespace

Table readPacketThroughDocument(std::string_view bytes) {
    pugi::xml_document doc;
    // No escapes (resolved by the builder), no encoding conversion: the bytes stay as sent.
    const unsigned options = pugi::parse_wconv_attribute | pugi::parse_eol;
    const pugi::xml_parse_result parsed =
        doc.load_buffer(bytes.data(), bytes.size(), options, pugi::encoding_utf8);
    if (!parsed)
        failInvalidPacket(std::string("not well-formed XML (") + parsed.description() +
                          " at offset " + std::to_string(parsed.offset) + ")");
    const pugi::xml_node root = doc.document_element();
    if (std::strcmp(root.name(), "DATAPACKET") != 0)
        failInvalidPacket("the root element is not DATAPACKET");
    const pugi::xml_node metadata = root.child("METADATA");
    const pugi::xml_node fields = metadata.child("FIELDS");
    if (!fields) failInvalidPacket("METADATA/FIELDS is missing");

    TableBuilder builder;
    for (pugi::xml_node f = fields.child("FIELD"); f; f = f.next_sibling("FIELD"))
        builder.addField(attributesOf(f));
    builder.readParams(attributesOf(metadata.child("PARAMS")));

    const pugi::xml_node rowData = root.child("ROWDATA");
    std::size_t count = 0;
    for (pugi::xml_node r = rowData.child("ROW"); r; r = r.next_sibling("ROW")) ++count;
    builder.reserveRows(count);
    for (pugi::xml_node r = rowData.child("ROW"); r; r = r.next_sibling("ROW")) {
        builder.startRow();
        for (pugi::xml_attribute a : r.attributes()) builder.setValue(a.name(), a.value());
    }
    return builder.take();
}

}  // namespace packet

Table readPacket(std::string_view bytes) {
    Table table;
    if (packet::scanPacket(bytes, table)) return table;
    return packet::readPacketThroughDocument(bytes);
}

}  // namespace qor::ds
