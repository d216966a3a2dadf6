// Locate: the first row, in the current order, whose field matches a text.
#include <functional>

#include "dataset/dataset.h"
#include "dataset/dataset_impl.h"
#include "dataset/value_compare.h"
#include "dataset/value_text.h"
#include "text/cp950.h"
#include "text/errors.h"

namespace qor::ds {

namespace {

char foldAscii(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

// Text comparison for locate: a double-byte character always compares byte for byte, so
// letter case is folded only on single-byte ASCII letters; every other byte, a quote
// included, stands for itself.
bool textMatches(std::string_view value, std::string_view key, LocateOptions options) {
    if (key.size() > value.size()) return false;
    if (!options.partialKey && key.size() != value.size()) return false;
    std::size_t i = 0;
    while (i < key.size()) {
        if (text::isLeadByte(static_cast<unsigned char>(value[i])) && i + 1 < value.size()) {
            if (key[i] != value[i]) return false;
            if (i + 1 < key.size() && key[i + 1] != value[i + 1]) return false;
            i += 2;
            continue;
        }
        const char a = options.caseInsensitive ? foldAscii(value[i]) : value[i];
        const char b = options.caseInsensitive ? foldAscii(key[i]) : key[i];
        if (a != b) return false;
        ++i;
    }
    return true;
}

bool valuesEqual(const Value& a, const Value& b) {
    if (a.index() == b.index()) return compareValues(a, b) == 0;
    const auto* ai = std::get_if<std::int64_t>(&a);
    const auto* ad = std::get_if<double>(&a);
    const auto* bi = std::get_if<std::int64_t>(&b);
    const auto* bd = std::get_if<double>(&b);
    if ((ai || ad) && (bi || bd))
        return (ai ? double(*ai) : *ad) == (bi ? double(*bi) : *bd);
    return false;
}

}  // namespace

bool Dataset::locate(std::string_view fieldName, std::string_view text, LocateOptions options) {
    Impl& d = *d_;
    d.checkActive();
    Field& field = fieldByName(fieldName);
    const auto column = std::size_t(d.fieldColumn[std::size_t(field.index())]);

    std::function<bool(const Value&)> matches;
    switch (field.kind()) {
        case FieldKind::Memo:
        case FieldKind::Binary:
            throw Error(format("Field '%s' is of an unsupported type", field.fieldName()));
        case FieldKind::String: {
            const std::string key(text);
            matches = [key, options](const Value& v) {
                const auto* s = std::get_if<std::string>(&v);
                return textMatches(s ? std::string_view(*s) : std::string_view(), key, options);
            };
            break;
        }
        default: {
            // An empty text finds a row without a value; other text must read as the kind.
            auto wanted = textToValue(text, field.kind());
            if (!wanted) throw Error(notValidMessage(text, field.kind()));
            matches = [target = std::move(*wanted)](const Value& v) {
                return valuesEqual(v, target);
            };
            break;
        }
    }

    const int before = d.cur >= 0 ? d.view[std::size_t(d.cur)] : -1;
    d.checkBrowseMode();

    for (std::size_t pos = 0;; ++pos) {
        if (pos >= d.view.size() && !d.fetchPacket()) return false;
        const Row& row = d.rows[std::size_t(d.view[pos])];
        if (column < row.size() && matches(row[column])) {
            d.cur = int(pos);
            d.atBof = d.atEof = false;
            if (d.view[pos] != before) {
                d.notify(DataEvent::Scrolled);
                d.fireAfterScroll();
            }
            return true;
        }
    }
}

}  // namespace qor::ds
