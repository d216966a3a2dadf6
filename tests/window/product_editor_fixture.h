#pragma once
// The window over a store database file, its product tab shown, with rows listed in the
// product dataset as a download lists them; and a second connection that reads the store
// as another program would (it sees only what is committed).
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "recording_dialogs.h"
#include "storedb/product_record.h"
#include "storedb/query.h"
#include "temp_database.h"
#include "text/cp950.h"
#include "window/FrmQorClient.h"

namespace qor::window::test {

// Categories A01 and A02, units BTL and PKG, product S001; a product coded "BAD" is refused
// by a trigger with the message "refused by the store".
inline std::string editorStoreRows() {
    return "INSERT INTO PROD_ITEM VALUES ('A01', 'Drinks');\n"
           "INSERT INTO PROD_ITEM VALUES ('A02', 'Snacks');\n"
           "INSERT INTO PROD_UNIT VALUES ('BTL', 'Bottle');\n"
           "INSERT INTO PROD_UNIT VALUES ('PKG', 'Package');\n"
           "INSERT INTO PRODUCT (PROD_ID, PROD_NAME) VALUES ('S001', 'Kept');\n"
           "CREATE EXCEPTION E_REFUSED 'refused by the store';\n"
           "SET TERM ^ ;\n"
           "CREATE TRIGGER PRODUCT_REFUSED FOR PRODUCT BEFORE INSERT AS BEGIN\n"
           "  IF (NEW.PROD_ID = 'BAD') THEN EXCEPTION E_REFUSED;\n"
           "END^\n"
           "SET TERM ; ^\n";
}

struct ListedRow {
    std::string code;
    std::string category;  // empty: none
};

class ProductEditor : public ::testing::Test {
protected:
    ProductEditor() {
        qor::test::writeDbxFiles(db.folder(), db.path());
        qor::test::useDbxFilesIn(paths, db.folder());
        form = std::make_unique<TFormQorClient>(dialogs, nullptr, &paths);
        form->workArea().Panel3->show();
        form->SwitchTabs(TabSwitch::ProductButton);
        form->show();
        QApplication::setActiveWindow(form.get());
    }

    // Opens the product dataset empty and lists the rows, each with both required prices.
    void list(const std::vector<ListedRow>& rows) {
        storedb::openProductEmpty(products());
        for (const ListedRow& row : rows) {
            products().append();
            text("PROD_ID", row.code);
            text("PD_ITEMID", row.category);
            text("PSALE_PRICE", "49");
            text("VIP_PRICE", "45");
            products().post();
        }
        products().first();
        QApplication::processEvents();
    }

    // Selects what the control holds and types over it, leaving the focus in it.
    void typeInto(QWidget* control, const char* typed) {
        control->setFocus();
        QTest::keyClick(control, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(control, typed);
    }

    void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

    // Rows of a statement run on a connection of its own, as another program reads the store.
    std::vector<ds::Row> storeRows(const std::string& sql) {
        storedb::SqlConnection reader("Reader", paths);
        storedb::SqlQuery query("Query", reader);
        query.setSql(sql);
        return query.openTable().rows;
    }
    ds::Dataset& products() { return form->store().CDS_PRODUCT; }
    ds::Field& field(const char* name) { return products().fieldByName(name); }
    void text(const char* name, const std::string& value) { field(name).setText(value); }

    qor::test::TempDatabase db{editorStoreRows()};
    storedb::FixedDefinitionPaths paths{QOR_BIN_DIR};
    RecordingDialogs dialogs;
    std::unique_ptr<TFormQorClient> form;
};

}  // namespace qor::window::test
