// The window owns the store-database objects closed, and finds the definition files through
// the per-user settings "Borland"/"DBExpress" as the program does.
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "recording_dialogs.h"
#include "temp_database.h"
#include "text/errors.h"
#include "window/FrmQorClient.h"

namespace qor::window {
namespace {

class StoreSettings : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(config.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    }
    void TearDown() override {
        QSettings(QSettings::NativeFormat, QSettings::UserScope, "Borland", "DBExpress").clear();
    }
    void setUserValue(const char* name, const QVariant& value) {
        QSettings settings(QSettings::NativeFormat, QSettings::UserScope, "Borland", "DBExpress");
        settings.setValue(name, value);
        settings.sync();
    }

    QTemporaryDir config;
    test::RecordingDialogs dialogs;
};

TEST_F(StoreSettings, ConnectionsFindTheDefinitionFilesNamedInTheUserSettings) {
    qor::test::TempDatabase db;
    QTemporaryDir definitions;
    qor::test::writeDbxFiles(definitions.path().toStdString(), db.path());
    setUserValue("Connection Registry File", definitions.filePath("dbxconnections.ini"));
    setUserValue("Driver Registry File", definitions.filePath("dbxdrivers.ini"));

    TFormQorClient form(dialogs);
    auto& store = form.store();
    EXPECT_FALSE(store.SQLConnection1.connected());
    EXPECT_FALSE(store.SQLConnection2.connected());
    EXPECT_FALSE(store.CDS_PRODUCT.active());

    store.SQLQuery1.close();
    store.SQLQuery1.clearSql();
    store.SQLQuery1.addLine("SELECT COUNT(*) AS N FROM PRODUCT");
    store.SQLQuery1.open();
    EXPECT_EQ(store.SQLQuery1.fieldText("N"), "0");
    EXPECT_TRUE(store.SQLConnection1.connected());
}

TEST_F(StoreSettings, AValueThatIsNoTextLeavesNoFileToFind) {
    setUserValue("Connection Registry File", QStringList{"a", "b"});
    TFormQorClient form(dialogs);
    try {
        form.store().SQLConnection1.open();
        FAIL() << "connected without a definition file";
    } catch (const qor::Error& e) {
        EXPECT_STREQ(e.what(), "Driver/Connection Registry File '' not found");
    }
}

}  // namespace
}  // namespace qor::window
