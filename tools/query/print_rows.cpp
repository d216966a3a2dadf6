#include "print_rows.h"

#include "text/cp950.h"

namespace qor::query {

void printRows(ds::Dataset& dataset, std::ostream& out) {
    const int count = dataset.fieldCount();
    for (int i = 0; i < count; ++i)
        out << (i ? "\t" : "") << text::cp950ToUtf8(dataset.field(i).fieldName());
    out << '\n';
    for (dataset.first(); !dataset.eof(); dataset.next()) {
        for (int i = 0; i < count; ++i)
            out << (i ? "\t" : "") << text::cp950ToUtf8(dataset.field(i).asString());
        out << '\n';
    }
}

}  // namespace qor::query
