#pragma once
// The import of a listed product into the store's PRODUCT table: one INSERT whose columns and
// typed parameters are the fields of the product record, in record order.
//
//     ProductImport import(CDS_PRODUCT, SQLQuery1);
//     switch (import.importCurrentRow()) { ... }
#include <string>
#include <vector>

#include "dataset/dataset.h"
#include "storedb/query.h"

namespace qor::storedb {

enum class ImportResult {
    Written,     // the row is in the store now
    InStore,     // the store has a product of that code already: nothing written
    NoCategory,  // the category is empty or not in PROD_ITEM: nothing written
};

class ProductImport {
public:
    // The statement is made here from the fields of `products` (their list must stay while
    // this lives); `query` runs the look-ups and the insert, on its connection as it stands:
    // on its own (committed by itself) or inside a transaction the caller started.
    ProductImport(ds::Dataset& products, SqlQuery& query);

    // The current row of `products`, its values as the fields hold them now (the caller has
    // had typed text stored: Dataset::updateRecord):
    //   1. a product of its code (PROD_ID) in the store: InStore;
    //   2. its category (PD_ITEMID) empty or not in PROD_ITEM: NoCategory;
    //   3. INSERT INTO PRODUCT (<every field, in order>) VALUES (<a parameter each>), each
    //      parameter typed by its field's kind and valued from the field's text
    //      (setParamFromFieldText): a field without a value gives 0 or the empty text, so
    //      no column is written NULL.
    // Steps 1 and 2 are one look-up, the code and the category bound as parameters. The row and its state are left as they
    // are. A database error is raised with its text; that insert wrote nothing.
    ImportResult importCurrentRow();

    // "INSERT INTO PRODUCT (<names>,... )" and " VALUES (:<names>,... ) ".
    const std::vector<std::string>& insertLines() const { return insertLines_; }

private:
    void insertCurrentRow();

    SqlQuery& query_;
    std::vector<std::string> insertLines_;
    std::vector<const ds::Field*> parameterFields_;  // the field of each parameter, in order
    ds::Field* code_;
    ds::Field* category_;
};

}  // namespace qor::storedb
