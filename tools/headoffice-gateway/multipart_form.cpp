#include "multipart_form.h"

#include "text/ascii.h"

namespace qor::headoffice {
namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && text::equalsNoCase(text.substr(0, prefix.size()), prefix);
}

// The name of a "Content-Disposition: form-data; name=..." header line; nullopt for any
// other line.
std::optional<std::string> dispositionName(std::string_view line) {
    constexpr std::string_view kHeader = "content-disposition:";
    if (!startsWithNoCase(line, kHeader)) return std::nullopt;
    std::string_view value = text::trimmedView(line.substr(kHeader.size()));
    if (!startsWithNoCase(value, "form-data")) return std::nullopt;
    value.remove_prefix(9);
    while (!value.empty()) {
        std::size_t semicolon = value.find(';');
        if (semicolon == std::string_view::npos) return std::nullopt;
        value = text::trimmedView(value.substr(semicolon + 1));
        if (!startsWithNoCase(value, "name=")) continue;
        value.remove_prefix(5);
        if (value.starts_with('"')) {
            std::size_t close = value.find('"', 1);
            if (close == std::string_view::npos) return std::nullopt;
            return std::string(value.substr(1, close - 1));
        }
        return std::string(text::trimmedView(value.substr(0, value.find(';'))));
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> multipartBoundary(std::string_view contentType) {
    if (!startsWithNoCase(contentType, "multipart/form-data")) return std::nullopt;
    std::size_t at = std::string_view::npos;
    for (std::size_t i = 0; i + 9 <= contentType.size(); ++i)
        if (startsWithNoCase(contentType.substr(i), "boundary=")) {
            at = i + 9;
            break;
        }
    if (at == std::string_view::npos) return std::nullopt;
    std::string_view boundary = contentType.substr(at);
    if (boundary.starts_with('"')) {
        std::size_t close = boundary.find('"', 1);
        if (close == std::string_view::npos) return std::nullopt;
        boundary = boundary.substr(1, close - 1);
    } else {
        boundary = text::trimmedView(boundary.substr(0, boundary.find(';')));
    }
    if (boundary.empty()) return std::nullopt;
    return std::string(boundary);
}

std::optional<std::vector<FormPart>> parseMultipart(std::string_view body,
                                                    std::string_view boundary) {
    const std::string dash = "--" + std::string(boundary);
    const std::string delimiter = "\r\n" + dash;
    // The first delimiter may open the body or follow a preamble.
    std::size_t at;
    if (body.starts_with(dash)) at = dash.size();
    else if ((at = body.find(delimiter)) != std::string_view::npos) at += delimiter.size();
    else return std::nullopt;

    std::vector<FormPart> parts;
    for (;;) {
        std::string_view rest = body.substr(at);
        if (rest.starts_with("--")) return parts;  // the closing delimiter
        // Blanks may follow a delimiter before its line ends.
        std::size_t lineEnd = rest.find("\r\n");
        if (lineEnd == std::string_view::npos ||
            !text::trimmedView(rest.substr(0, lineEnd)).empty())
            return std::nullopt;
        rest.remove_prefix(lineEnd + 2);

        std::size_t headEnd = rest.find("\r\n\r\n");
        std::size_t valueStart = headEnd + 4;
        if (rest.starts_with("\r\n")) {  // a part without headers
            headEnd = 0;
            valueStart = 2;
        }
        if (headEnd == std::string_view::npos) return std::nullopt;
        std::optional<std::string> name;
        std::string_view head = rest.substr(0, headEnd);
        while (!head.empty()) {
            std::size_t end = head.find("\r\n");
            if (!name) name = dispositionName(head.substr(0, end));
            if (end == std::string_view::npos) break;
            head.remove_prefix(end + 2);
        }
        if (!name) return std::nullopt;

        std::size_t valueEnd = rest.find(delimiter, valueStart);
        if (valueEnd == std::string_view::npos) return std::nullopt;
        parts.push_back({std::move(*name), std::string(rest.substr(valueStart, valueEnd - valueStart))});
        at = static_cast<std::size_t>(rest.data() - body.data()) + valueEnd + delimiter.size();
    }
}

}  // namespace qor::headoffice
