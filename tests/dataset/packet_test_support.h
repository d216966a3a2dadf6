#pragma once
// Helpers shared by the packet tests.
#include <gtest/gtest.h>

#include <string>

#include "dataset/value.h"
#include "text/cp950.h"

namespace packet_test {

inline std::string big5(const char* utf8) { return qor::text::utf8ToCp950(utf8); }

inline void expectSameTable(const qor::ds::Table& actual, const qor::ds::Table& expected) {
    ASSERT_EQ(actual.columns.size(), expected.columns.size());
    for (std::size_t c = 0; c < expected.columns.size(); ++c) {
        const auto& a = actual.columns[c];
        const auto& e = expected.columns[c];
        EXPECT_EQ(a.name, e.name) << "column " << c;
        EXPECT_EQ(a.kind, e.kind) << e.name;
        EXPECT_EQ(a.size, e.size) << e.name;
        EXPECT_EQ(a.decimals, e.decimals) << e.name;
        EXPECT_EQ(a.required, e.required) << e.name;
        EXPECT_EQ(a.readOnly, e.readOnly) << e.name;
    }
    EXPECT_EQ(actual.lcid, expected.lcid);
    ASSERT_EQ(actual.rows.size(), expected.rows.size());
    for (std::size_t r = 0; r < expected.rows.size(); ++r)
        for (std::size_t c = 0; c < expected.columns.size(); ++c)
            EXPECT_TRUE(actual.rows[r][c] == expected.rows[r][c])
                << "row " << r << " column " << expected.columns[c].name;
}

// A packet around the given FIELD elements and ROW elements.
inline std::string packetWith(const std::string& fields, const std::string& rows) {
    return "<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>" +
           fields + "</FIELDS><PARAMS/></METADATA><ROWDATA>" + rows + "</ROWDATA></DATAPACKET>";
}

}  // namespace packet_test
