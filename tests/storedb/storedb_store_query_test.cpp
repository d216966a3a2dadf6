// qor-query store, run as its own process on a store database, finding the definition files
// through the per-user settings file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "shell_command.h"
#include "storedb_fixture.h"

namespace qor::storedb::testing {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class StoreQueryToolTest : public StoreDbTest {
protected:
    StoreQueryToolTest()
        : StoreDbTest("INSERT INTO PROD_ITEM VALUES ('A1', 'First');"
                      "INSERT INTO PROD_ITEM VALUES ('B2', NULL);") {}

    void SetUp() override {
        // Definition files elsewhere, named by the per-user settings; the driver by its bare
        // name, found beside qor-query.
        test::writeDbxFiles(folder() / "defs", db_.path());
        fs::create_directories(folder() / "config/Borland");
        std::ofstream conf(folder() / "config/Borland/DBExpress.conf");
        conf << "[General]\n"
             << "Connection%20Registry%20File=" << (folder() / "defs/dbxconnections.ini").string() << "\n"
             << "Driver%20Registry%20File=" << (folder() / "defs/dbxdrivers.ini").string() << "\n";
    }

    ToolRun run(const std::string& statement) {
        const fs::path errFile = folder() / "stderr.txt";
        std::string command =
            "env XDG_CONFIG_HOME=" + test::shellQuote((folder() / "config").string()) + " " +
            test::shellQuote(std::string(QOR_BIN_DIR) + "/qor-query") + " store " +
            test::shellQuote(statement) + " 2>" + test::shellQuote(errFile.string());
        ToolRun result;
        std::tie(result.exitCode, result.out) = test::runShellCommand(command);
        std::ifstream err(errFile);
        std::stringstream text;
        text << err.rdbuf();
        result.err = text.str();
        return result;
    }
};

TEST_F(StoreQueryToolTest, ASelectPrintsTabSeparatedRowsUnderTheColumnNames) {
    ToolRun r = run("SELECT PD_ITEMID, PD_ITEMNAME FROM PROD_ITEM ORDER BY PD_ITEMID");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "PD_ITEMID\tPD_ITEMNAME\nA1\tFirst\nB2\t\n");
}

TEST_F(StoreQueryToolTest, AnUpdatePrintsTheRowsChangedAndChineseComesBackAsUtf8) {
    ToolRun update = run("UPDATE PROD_ITEM SET PD_ITEMNAME = '生鮮商品'");
    EXPECT_EQ(update.exitCode, 0) << update.err;
    EXPECT_EQ(update.out, "2\n");

    ToolRun select = run("  select PD_ITEMNAME from PROD_ITEM where PD_ITEMID = 'B2'");
    EXPECT_EQ(select.exitCode, 0) << select.err;
    EXPECT_EQ(select.out, "PD_ITEMNAME\n生鮮商品\n");

    // The database holds it as code page 950: 4 characters, 8 bytes.
    ToolRun length = run("SELECT OCTET_LENGTH(PD_ITEMNAME) AS N FROM PROD_ITEM WHERE PD_ITEMID = 'A1'");
    EXPECT_EQ(length.out, "N\n8\n");
}

TEST_F(StoreQueryToolTest, AFailurePrintsItsMessageAndExitsWithOne) {
    ToolRun r = run("SELECT * FROM NO_SUCH_TABLE");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("NO_SUCH_TABLE"), std::string::npos) << r.err;

    fs::remove(folder() / "defs/dbxconnections.ini");
    ToolRun missing = run("SELECT * FROM PROD_ITEM");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "Driver/Connection Registry File '" +
                               (folder() / "defs/dbxconnections.ini").string() + "' not found\n");
}

}  // namespace
}  // namespace qor::storedb::testing
