#pragma once
// Products listed in the product dataset as a download lists them, over a store whose lists
// the editor offers; and the store read back as another program reads it.
#include <string>
#include <vector>

#include "dataset/dataset.h"
#include "storedb/definition_paths.h"

namespace qor::test {

// Categories A01 and A02, units BTL and PKG, product S001; a product coded "BAD" is refused
// by a trigger with the message "refused by the store".
std::string editorStoreRows();

struct ListedRow {
    std::string code;
    std::string category;  // empty: none
};

// Opens `products` (the product record) empty and lists the rows, each with both required
// prices and `name` as its PROD_NAME when one is given; the first is current.
void listProducts(ds::Dataset& products, const std::vector<ListedRow>& rows,
                  const std::string& name = {});

// The rows of `sql`, run on a connection of its own to the store `paths` name: it sees only
// what is committed.
std::vector<ds::Row> storeRowsOf(const storedb::DefinitionPaths& paths, const std::string& sql);

}  // namespace qor::test
