#pragma once
// What the engine tests share: declared fields made in one line, errors caught as text.
#include <functional>
#include <string>

#include "dataset/field.h"
#include "text/errors.h"

namespace qor::ds::test {

inline FieldDef fieldDef(std::string name, FieldKind kind, int size = 0, std::string label = {}) {
    FieldDef d;
    d.name = std::move(name);
    d.kind = kind;
    d.size = size;
    d.displayLabel = std::move(label);
    return d;
}

// The text of the qor::Error the action raises, or "(no error)".
inline std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const qor::Error& e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace qor::ds::test
