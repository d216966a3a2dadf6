#pragma once
// The two per-user values that name the definition files, kept where the platform keeps
// per-user settings: the registry under Software\Borland\DBExpress on Windows,
// ~/.config/Borland/DBExpress.conf elsewhere.
#include "storedb/definition_paths.h"

namespace qor::window {

class SettingsDefinitionPaths : public storedb::DefinitionPaths {
public:
    storedb::UserValue userValue(std::string_view name) const override;
    std::string executableDir() const override;
};

}  // namespace qor::window
