#include "dataset/display_text.h"

#include "dataset/display_format.h"
#include "dataset/edit_mask.h"
#include "dataset/value_text.h"

namespace qor::ds {

std::string displayTextOf(const FieldDef& def, const Value& value) {
    if (isNull(value)) return {};
    if (!def.editMask.empty() && def.kind == FieldKind::String) {
        if (const auto* s = std::get_if<std::string>(&value))
            return s->empty() ? std::string() : EditMask::parse(def.editMask).apply(*s);
    }
    if (!def.displayFormat.empty() && isNumeric(def.kind)) {
        if (const auto* i = std::get_if<std::int64_t>(&value))
            return formatNumber(double(*i), def.displayFormat);
        if (const auto* d = std::get_if<double>(&value)) return formatNumber(*d, def.displayFormat);
    }
    return valueToText(value);
}

}  // namespace qor::ds
