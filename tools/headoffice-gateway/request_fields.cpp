#include "request_fields.h"

#include "text/ascii.h"

namespace qor::headoffice {
namespace {

// Calls `each(name, value)` for every "name=value" of an "&"-separated text, raw.
template <typename Each>
void forEachPair(std::string_view text, Each each) {
    while (!text.empty()) {
        std::size_t amp = text.find('&');
        std::string_view pair = text.substr(0, amp);
        std::size_t eq = pair.find('=');
        if (eq == std::string_view::npos) each(pair, std::string_view{});
        else each(pair.substr(0, eq), pair.substr(eq + 1));
        if (amp == std::string_view::npos) break;
        text.remove_prefix(amp + 1);
    }
}

}  // namespace

std::string percentDecoded(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%' && i + 2 < text.size() && text::hexDigitValue(text[i + 1]) >= 0 &&
                   text::hexDigitValue(text[i + 2]) >= 0) {
            out += static_cast<char>(text::hexDigitValue(text[i + 1]) * 16 +
                                     text::hexDigitValue(text[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<QueryValue> queryValues(std::string_view target, std::string_view name) {
    std::vector<QueryValue> values;
    std::size_t q = target.find('?');
    if (q == std::string_view::npos) return values;
    std::string_view query = target.substr(q + 1);
    if (std::size_t hash = query.find('#'); hash != std::string_view::npos) query = query.substr(0, hash);
    forEachPair(query, [&](std::string_view key, std::string_view value) {
        if (key != name && percentDecoded(key) != name) return;
        values.push_back({std::string(value), percentDecoded(value)});
    });
    return values;
}

std::optional<std::vector<FormPart>> readForm(const GatewayRequest& request) {
    if (std::optional<std::string> boundary = multipartBoundary(request.contentType))
        return parseMultipart(request.body, *boundary);
    std::vector<FormPart> form;
    if (!text::equalsNoCase(request.contentType.substr(0, 33), "application/x-www-form-urlencoded"))
        return form;
    forEachPair(request.body, [&](std::string_view key, std::string_view value) {
        form.push_back({percentDecoded(key), percentDecoded(value)});
    });
    return form;
}

std::optional<std::string> formField(const std::vector<FormPart>& form, std::string_view name) {
    for (const FormPart& part : form)
        if (part.name == name) return part.value;
    return std::nullopt;
}

}  // namespace qor::headoffice
