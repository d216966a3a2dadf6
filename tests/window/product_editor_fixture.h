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

#include "listed_products.h"
#include "recording_dialogs.h"
#include "storedb/product_record.h"
#include "storedb/query.h"
#include "temp_database.h"
#include "text/cp950.h"
#include "window/FrmQorClient.h"

namespace qor::window::test {

using qor::test::ListedRow;

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

    void list(const std::vector<ListedRow>& rows) {
        qor::test::listProducts(products(), rows);
        QApplication::processEvents();
    }

    // Selects what the control holds and types over it, leaving the focus in it.
    void typeInto(QWidget* control, const char* typed) {
        control->setFocus();
        QTest::keyClick(control, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(control, typed);
    }

    void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

    std::vector<ds::Row> storeRows(const std::string& sql) { return qor::test::storeRowsOf(paths, sql); }

    ds::Dataset& products() { return form->store().CDS_PRODUCT; }
    ds::Field& field(const char* name) { return products().fieldByName(name); }
    void text(const char* name, const std::string& value) { field(name).setText(value); }

    qor::test::TempDatabase db{qor::test::editorStoreRows()};
    storedb::FixedDefinitionPaths paths{QOR_BIN_DIR};
    RecordingDialogs dialogs;
    std::unique_ptr<TFormQorClient> form;
};

}  // namespace qor::window::test
