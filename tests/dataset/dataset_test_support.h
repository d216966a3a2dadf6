#pragma once
// What the engine tests share: declared fields made in one line, errors caught as text.
#include <string>

#include "dataset/field.h"
#include "error_text.h"
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

using qor::test::errorOf;

}  // namespace qor::ds::test
