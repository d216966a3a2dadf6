// The form stores post, taken apart by the gateway's own reader: the values exactly as sent
// (the store's statement keeps its CR LF), and bodies that are not well formed refused whole.
#include <gtest/gtest.h>

#include "multipart_form.h"

using qor::headoffice::multipartBoundary;
using qor::headoffice::parseMultipart;

TEST(MultipartForm, ValuesComeAsSentBetweenTheirHeadersAndTheNextDelimiter) {
    EXPECT_EQ(multipartBoundary("multipart/form-data; boundary=--------0101"), "--------0101");
    EXPECT_EQ(multipartBoundary("Multipart/Form-Data; boundary=\"a b\"; x=y"), "a b");
    EXPECT_EQ(multipartBoundary("multipart/form-data"), std::nullopt);
    EXPECT_EQ(multipartBoundary("text/plain; boundary=x"), std::nullopt);

    // The store's form: its last value followed by an empty line before the closing delimiter.
    const std::string body =
        "preamble\r\n--B\r\ncontent-disposition: form-data; name=\"user_name\"\r\n\r\nSYSDBA\r\n"
        "--B\r\nContent-Disposition: form-data; name=\"sql\"\r\nContent-Type: text/plain\r\n\r\n"
        "SELECT '\xB3\x5C--B' FROM X \r\n\r\n--B--\r\n";
    const auto parts = parseMultipart(body, "B");
    ASSERT_TRUE(parts);
    ASSERT_EQ(parts->size(), 2u);
    EXPECT_EQ((*parts)[0].name, "user_name");
    EXPECT_EQ((*parts)[0].value, "SYSDBA");
    EXPECT_EQ((*parts)[1].name, "sql");
    EXPECT_EQ((*parts)[1].value, "SELECT '\xB3\x5C--B' FROM X \r\n");
}

TEST(MultipartForm, ABodyThatIsNotWellFormedIsRefusedWhole) {
    for (const char* body : {
             "",                                                                    // no delimiter
             "--B\r\nContent-Disposition: form-data; name=\"a\"\r\n\r\nvalue",      // not closed
             "--B\r\nContent-Disposition: form-data; name=\"a\"\r\nvalue\r\n--B--",  // no blank line
             "--B\r\nContent-Disposition: attachment; name=\"a\"\r\n\r\nv\r\n--B--",  // not form-data
             "--B\r\nContent-Type: text/plain\r\n\r\nv\r\n--B--",                    // no name
         })
        EXPECT_FALSE(parseMultipart(body, "B")) << body;
}
