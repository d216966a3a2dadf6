#pragma once
// A store look-up: a read statement that asks for the rows whose column equals a value (a
// barcode, a code), on SQLQuery1 or SQLQuery2. The value is bound at every ":NAME" marker,
// never written between quotes, so a quote in it can neither break the statement nor change
// what it asks, and one prepared statement serves every value.
//
//     openLookUp(SQLQuery1, {"SELECT * FROM PROD_ITEM WHERE PD_ITEMID = :PD_ITEMID"}, code);
//     if (!SQLQuery1.isEmpty()) name = SQLQuery1.fieldText("PD_ITEMNAME");
#include <initializer_list>
#include <string_view>

#include "storedb/query.h"

namespace qor::storedb {

// Closes the query, clears its statement, gives it the lines, binds every marker to `value`
// as text and opens it. Every marker must stand in an equality with a text column: a value
// longer than that column, trailing blanks aside, equals none of its values, so that marker
// is bound to NULL and its condition holds for no row (bound as text, the database would
// refuse the statement). Fails with the store database's text.
void openLookUp(SqlQuery& query, std::initializer_list<std::string_view> lines,
                std::string_view value);

// The same for a statement that asks for several values: each marker is bound to the value
// given for its name (without regard to case). A marker named by none fails with
// "Parameter '<name>' not found".
//
//     openLookUp(SQLQuery1, {"SELECT ... WHERE PROD_ID = :PROD_ID", "... PD_ITEMID = :PD_ITEMID"},
//                {{"PROD_ID", code}, {"PD_ITEMID", category}});
struct LookUpValue {
    std::string_view marker;
    std::string_view value;
};
void openLookUp(SqlQuery& query, std::initializer_list<std::string_view> lines,
                std::initializer_list<LookUpValue> values);

}  // namespace qor::storedb
