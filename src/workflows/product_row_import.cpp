#include "workflows/product_row_import.h"

#include "storedb/params.h"
#include "workflows/store_products.h"

namespace qor::workflows {

using storedb::ParamSet;

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

ProductRowImport::ProductRowImport(ds::Dataset& products, storedb::SqlQuery& query)
    : query_(query),
      insertLines_(insertStatement(products)),
      parameterFields_(parameterFields(products, insertLines_)),
      code_(&products.fieldByName("PROD_ID")),
      category_(&products.fieldByName("PD_ITEMID")) {}

ImportResult ProductRowImport::importCurrentRow() {
    const ImportCheck check = checkImport(query_, code_->asString(), category_->asString());
    if (check.codeInStore) return ImportResult::InStore;
    if (!check.categoryKnown) return ImportResult::NoCategory;
    insertCurrentRow();
    return ImportResult::Written;
}

void ProductRowImport::insertCurrentRow() {
    query_.close();
    query_.clearSql();
    for (const std::string& line : insertLines_) query_.addLine(line);
    storedb::ParamSet& params = query_.params();
    for (int i = 0; i < params.count(); ++i) {
        storedb::setParamFromField(params.at(i), *parameterFields_[std::size_t(i)]);
    }
    query_.execSql();
}

}  // namespace qor::workflows
