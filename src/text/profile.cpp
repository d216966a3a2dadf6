#include "profile.h"

#include <fstream>
#include <sstream>

#include "text/ascii.h"
#include "text/cp950.h"

namespace qor::text {

namespace {

std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

template <typename Fn>
void forEachLine(const std::string& content, Fn fn) {
    std::size_t start = 0;
    while (start <= content.size()) {
        auto end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        fn(std::string_view(content).substr(start, end - start));
        if (end == content.size()) break;
        start = end + 1;
    }
}

}  // namespace

ProfileFile ProfileFile::load(const std::string& path) {
    auto content = readFile(path);
    return content ? parse(*content) : ProfileFile{};
}

ProfileFile ProfileFile::parse(const std::string& content) {
    ProfileFile file;
    std::map<std::string, std::string>* current = nullptr;
    forEachLine(content, [&](std::string_view raw) {
        std::string line = trimBlanks(raw);
        if (line.empty() || line[0] == ';') return;
        if (line.front() == '[') {
            auto close = line.find(']');
            std::string name = trimBlanks(std::string_view(line).substr(1, close == std::string::npos ? std::string::npos : close - 1));
            current = &file.values_[upperAscii(name)];
            return;
        }
        if (!current) return;
        auto eq = line.find('=');
        if (eq == std::string::npos) return;
        std::string key = upperAscii(trimBlanks(std::string_view(line).substr(0, eq)));
        std::string value = trimBlanks(std::string_view(line).substr(eq + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        value = cutToBytes(value, 2047);  // never half a double-byte character
        current->emplace(key, value);  // the first occurrence of a key wins
    });
    return file;
}

std::string ProfileFile::readString(const std::string& section, const std::string& key,
                                    const std::string& fallback) const {
    auto s = values_.find(upperAscii(section));
    if (s == values_.end()) return fallback;
    auto k = s->second.find(upperAscii(key));
    return k == s->second.end() ? fallback : k->second;
}

std::optional<DefinitionFile> DefinitionFile::load(const std::string& path) {
    auto content = readFile(path);
    if (!content) return std::nullopt;
    return parse(*content);
}

DefinitionFile DefinitionFile::parse(const std::string& content) {
    DefinitionFile file;
    Lines* current = nullptr;
    forEachLine(content, [&](std::string_view raw) {
        std::string line = trimBlanks(raw);
        if (line.empty() || line[0] == ';') return;
        if (line.front() == '[' && line.back() == ']') {
            std::string name = trimBlanks(std::string_view(line).substr(1, line.size() - 2));
            current = nullptr;
            for (auto& [n, lines] : file.sections_)
                if (equalsNoCase(n, name)) current = &lines;
            if (!current) {
                file.sections_.emplace_back(name, Lines{});
                current = &file.sections_.back().second;
            }
            return;
        }
        if (!current) return;
        auto eq = line.find('=');
        if (eq == std::string::npos) return;
        current->emplace_back(trimBlanks(std::string_view(line).substr(0, eq)),
                              trimBlanks(std::string_view(line).substr(eq + 1)));
    });
    return file;
}

const DefinitionFile::Lines* DefinitionFile::find(const std::string& section) const {
    for (auto& [name, lines] : sections_)
        if (equalsNoCase(name, section)) return &lines;
    return nullptr;
}

bool DefinitionFile::hasSection(const std::string& section) const { return find(section) != nullptr; }

DefinitionFile::Lines DefinitionFile::section(const std::string& section) const {
    auto* lines = find(section);
    return lines ? *lines : Lines{};
}

std::string DefinitionFile::value(const std::string& section, const std::string& key) const {
    if (auto* lines = find(section))
        for (auto& [k, v] : *lines)
            if (equalsNoCase(k, key)) return v;
    return {};
}

}  // namespace qor::text
