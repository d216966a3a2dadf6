// The settings-file and definition-file readers on any text. Whatever they read is the file's
// own bytes: sections, keys and values without the blanks around them, nothing across a line
// break. A profile value is cut to 2047 bytes, never to half a double-byte character: checked
// on a long value built around the input, whose reading is known exactly.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "property_check.h"
#include "text/ascii.h"
#include "text/cp950.h"
#include "text/profile.h"

namespace {

using namespace qor::text;

bool isOwnText(std::string_view content, std::string_view piece) {
    return piece.find('\n') == std::string_view::npos && trimmedView(piece) == piece &&
           content.find(piece) != std::string_view::npos;
}

void checkDefinitionFile(const std::string& content) {
    const DefinitionFile file = DefinitionFile::parse(content);
    for (const std::string& name : {std::string("Tendro"), std::string("Interbase")}) {
        const DefinitionFile::Lines lines = file.section(name);
        QOR_FUZZ_EXPECT(file.hasSection(name) || lines.empty());
        for (const auto& [key, value] : lines) {
            QOR_FUZZ_EXPECT(isOwnText(content, key) && isOwnText(content, value));
            QOR_FUZZ_EXPECT(key.find('=') == std::string::npos);
            // The first line of a key is the one a look-up finds.
            for (const auto& [k, v] : lines)
                if (equalsNoCase(k, key)) {
                    QOR_FUZZ_EXPECT(file.value(name, key) == v);
                    break;
                }
        }
    }
}

void checkProfile(const std::string& content) {
    const ProfileFile file = ProfileFile::parse(content);
    for (const char* key : {"host", "user_name", "password", "port", "driver"}) {
        const std::string value = file.readString("set", key, "\n");
        if (value == "\n") continue;
        QOR_FUZZ_EXPECT(value.size() <= 2047);
        QOR_FUZZ_EXPECT(value.find('\n') == std::string::npos);
        QOR_FUZZ_EXPECT(content.find(value) != std::string::npos);
    }
}

// "x", 2040 letters, the input without line breaks, "x": no blanks or quotes to drop, so the
// value read is the first 2047 bytes, less a lead byte that would stand alone at the end.
void checkLongValue(std::string_view input) {
    std::string value = "x" + std::string(2040, 'a');
    for (char c : input)
        if (c != '\n') value += c;
    value += 'x';
    const ProfileFile file = ProfileFile::parse("[set]\nhost=" + value + "\n");
    QOR_FUZZ_EXPECT(file.readString("SET", "HOST", "") == cutToBytes(value, 2047));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content(reinterpret_cast<const char*>(data), size);
    checkDefinitionFile(content);
    checkProfile(content);
    checkLongValue(content);
    return 0;
}
