// qor-query gateway, run as the IT person runs it: a copy of the program in a folder with
// its own httpset.ini, against a running qor-gateway.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "gateway_process.h"
#include "text/cp950.h"

namespace fs = std::filesystem;

namespace {

struct CommandRun {
    int exitCode = -1;
    std::string out;  // stdout and stderr, in that order
};

// Runs the copied qor-query with one statement; stderr goes to a file read after stdout.
CommandRun runQuery(const fs::path& program, const std::string& statement) {
    const fs::path errFile = program.parent_path() / "stderr.txt";
    std::string command = "'" + program.string() + "' gateway \"" + statement + "\" 2>'" +
                          errFile.string() + "'";
    CommandRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) run.out.append(buffer, n);
    int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (FILE* err = fopen(errFile.c_str(), "rb")) {
        while (std::size_t n = fread(buffer, 1, sizeof buffer, err)) run.out.append(buffer, n);
        fclose(err);
    }
    return run;
}

class QueryCommand : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::path(gateway.folder()) / "qor-query-copy";
        fs::create_directories(folder);
        program = folder / "qor-query";
        fs::copy_file(fs::path(QOR_BIN_DIR) / "qor-query", program);
        gateway.writeHttpSet(folder.string());
        // Keeps the reply dump inside the test's folder.
        setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    }

    qor::test::GatewayProcess gateway{
        "INSERT INTO CUSTOMER (CUST_ID, CUST_NAME, PASS_WD) VALUES ('S001', '" +
        qor::text::utf8ToCp950("台北店") + "', '1234');"};
    fs::path folder;
    fs::path program;
};

TEST_F(QueryCommand, PrintsTheRowsTheGatewayAnswersWithBig5ShownAsUtf8) {
    CommandRun run = runQuery(program, "select cust_id, cust_name from customer");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "CUST_ID\tCUST_NAME\nS001\t台北店\n");
    EXPECT_TRUE(fs::exists(folder / "data" / "QorClient" / "Result.txt"));
}

TEST_F(QueryCommand, AnErrorReplyGoesToStderrWithExitOne) {
    CommandRun run = runQuery(program, "DELETE FROM CUSTOMER");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out.rfind("<RESULT>", 0), 0u) << run.out;
}

TEST_F(QueryCommand, AGatewayThatIsNotThereIsATransportFailureWithExitTwo) {
    gateway.stop();
    CommandRun run = runQuery(program, "SELECT CUST_ID FROM CUSTOMER");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.out.find("/oVat/ado/index.php" + std::string("錯誤的連線: ")), std::string::npos)
        << run.out;
}

}  // namespace
