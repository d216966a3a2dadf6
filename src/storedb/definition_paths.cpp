#include "storedb/definition_paths.h"

namespace qor::storedb {

std::string definitionFilePath(const DefinitionPaths& paths, std::string_view valueName,
                               std::string_view fileName) {
    UserValue value = paths.userValue(valueName);
    if (value.state == UserValue::State::NotText) return {};
    if (value.state == UserValue::State::Text && !value.text.empty()) return value.text;
    return paths.executableDir() + "/" + std::string(fileName);
}

UserValue FixedDefinitionPaths::userValue(std::string_view name) const {
    auto it = values_.find(name);
    return it == values_.end() ? UserValue::absent() : it->second;
}

std::string ProcessDefinitionPaths::executableDir() const { return currentExecutableDir(); }

}  // namespace qor::storedb
