#pragma once
// The import of one listed product into the store's PRODUCT table: one INSERT whose columns
// and typed parameters are the fields of the product record, in record order.
//
//     ProductRowImport import(CDS_PRODUCT, SQLQuery1);
//     switch (import.importCurrentRow()) { ... }
#include <string>
#include <vector>

#include "dataset/dataset.h"
#include "storedb/query.h"

namespace qor::workflows {

enum class ImportResult {
    Written,     // the row is in the store now
    InStore,     // the store has a product of that code already: nothing written
    NoCategory,  // the category is empty or not in PROD_ITEM: nothing written
};

class ProductRowImport {
public:
    // The statement is made here from the fields of `products` (their list must stay while
    // this lives); `query` runs the look-ups and the insert, on its connection as it stands:
    // on its own (committed by itself) or inside a transaction the caller started.
    ProductRowImport(ds::Dataset& products, storedb::SqlQuery& query);

    // The current row of `products`, its values as the fields hold them now (the caller has
    // had typed text stored: Dataset::updateRecord):
    //   1. a product of its code (PROD_ID) in the store: InStore;
    //   2. its category (PD_ITEMID) empty or not in PROD_ITEM: NoCategory;
    //   3. INSERT INTO PRODUCT (<every field, in order>) VALUES (<a parameter each>), each
    //      parameter typed by its field's kind and valued from the field's text
    //      (setParamFromFieldText): a field without a value gives 0 or the empty text, so
    //      no column is written NULL.
    // Steps 1 and 2 ask the store as checkImport does. The row and its state are left as
    // they are. A database error is raised with its text; that insert wrote nothing.
    ImportResult importCurrentRow();

    // "INSERT INTO PRODUCT (<names>,... )" and " VALUES (:<names>,... ) ".
    const std::vector<std::string>& insertLines() const { return insertLines_; }

private:
    void insertCurrentRow();

    storedb::SqlQuery& query_;
    std::vector<std::string> insertLines_;
    std::vector<const ds::Field*> parameterFields_;  // the field of each parameter, in order
    ds::Field* code_;
    ds::Field* category_;
};

}  // namespace qor::workflows
