// The head-office gateway's one-SELECT check on any statement text. An accepted statement is
// the text's own bytes without the blanks around it and one final ";", begins with the word
// SELECT, and passes the check again unchanged; a refusal gives one of the three reasons.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "property_check.h"
#include "statement_check.h"
#include "text/ascii.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qor;
    const std::string_view sql(reinterpret_cast<const char*>(data), size);
    const headoffice::CheckedStatement checked = headoffice::checkStatement(sql);
    if (!checked.accepted) {
        QOR_FUZZ_EXPECT(checked.refusal == "The statement is empty" ||
                        checked.refusal == "Only a SELECT statement is accepted" ||
                        checked.refusal == "Only one statement is accepted");
        return 0;
    }
    const std::string& statement = checked.statement;
    QOR_FUZZ_EXPECT(checked.refusal.empty());
    QOR_FUZZ_EXPECT(text::startsWithWord(statement, "SELECT"));
    QOR_FUZZ_EXPECT(text::trimmedView(statement) == statement);
    QOR_FUZZ_EXPECT(text::trimmedView(sql).starts_with(statement));
    const headoffice::CheckedStatement again = headoffice::checkStatement(statement);
    QOR_FUZZ_EXPECT(again.accepted && again.statement == statement);
    return 0;
}
