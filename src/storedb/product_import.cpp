#include "storedb/product_import.h"

#include "storedb/params.h"
#include "storedb/store_lookup.h"

namespace qor::storedb {

namespace {

// The column list and the parameter list of the import, from the fields in record order:
// names separated by ",", a blank after the last.
std::vector<std::string> insertStatement(ds::Dataset& products) {
    std::string columns, markers;
    for (int i = 0; i < products.fieldCount(); ++i) {
        const std::string& name = products.field(i).fieldName();
        const char* separator = i == 0 ? "" : ",";
        columns += separator + name;
        markers += separator + (":" + name);
    }
    return {"INSERT INTO PRODUCT (" + columns + " )", " VALUES (" + markers + " ) "};
}

// For each parameter of the statement, in order, the field of its name: found once, as the
// fields stay for the whole run.
std::vector<const ds::Field*> parameterFields(ds::Dataset& products,
                                              const std::vector<std::string>& lines) {
    ParamSet params;
    params.derive(lines[0] + "\r\n" + lines[1] + "\r\n");
    std::vector<const ds::Field*> fields;
    for (int i = 0; i < params.count(); ++i) fields.push_back(&products.fieldByName(params.at(i).name()));
    return fields;
}

}  // namespace

ProductImport::ProductImport(ds::Dataset& products, SqlQuery& query)
    : query_(query),
      insertLines_(insertStatement(products)),
      parameterFields_(parameterFields(products, insertLines_)),
      code_(&products.fieldByName("PROD_ID")),
      category_(&products.fieldByName("PD_ITEMID")) {}

ImportResult ProductImport::importCurrentRow() {
    const std::string code = code_->asString();
    // The category, and beside it the product of the code when the store has one: both
    // questions in one look-up whenever the category is there, as it mostly is.
    openLookUp(query_,
               {"SELECT i.PD_ITEMID, p.PROD_ID FROM PROD_ITEM i",
                " LEFT JOIN PRODUCT p ON p.PROD_ID = :PROD_ID",
                " WHERE i.PD_ITEMID = :PD_ITEMID"},
               {{"PROD_ID", code}, {"PD_ITEMID", category_->asString()}});
    if (!query_.isEmpty()) {
        if (!ds::isNull(query_.fieldValue("PROD_ID"))) return ImportResult::InStore;
        if (query_.fieldText("PD_ITEMID").empty()) return ImportResult::NoCategory;
        insertCurrentRow();
        return ImportResult::Written;
    }
    // No such category; a code the store has is passed over all the same.
    openLookUp(query_, {"SELECT PROD_ID FROM PRODUCT WHERE PROD_ID = :PROD_ID"}, code);
    return query_.isEmpty() ? ImportResult::NoCategory : ImportResult::InStore;
}

void ProductImport::insertCurrentRow() {
    query_.close();
    query_.clearSql();
    for (const std::string& line : insertLines_) query_.addLine(line);
    ParamSet& params = query_.params();
    for (int i = 0; i < params.count(); ++i) {
        setParamFromField(params.at(i), *parameterFields_[std::size_t(i)]);
    }
    query_.execSql();
}

}  // namespace qor::storedb
