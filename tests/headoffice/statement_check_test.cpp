// Which statements the gateway runs: one SELECT, as stores send it or typed by hand.
#include <gtest/gtest.h>

#include "statement_check.h"

using qor::headoffice::checkStatement;

TEST(StatementCheck, AcceptsOneSelectAndRunsItWithoutSurroundingBlanks) {
    // The store client's form field: one line, a blank at its end, then CR LF.
    auto checked = checkStatement("SELECT A.* FROM PRODUCT A  WHERE A.STOCK_QTY = 'N'  \r\n");
    ASSERT_TRUE(checked.accepted);
    EXPECT_EQ(checked.statement, "SELECT A.* FROM PRODUCT A  WHERE A.STOCK_QTY = 'N'");

    EXPECT_TRUE(checkStatement(" \t\r\nselect * from CUSTOMER").accepted);
    EXPECT_TRUE(checkStatement("SELECT*FROM PROVIDER").accepted);
    EXPECT_EQ(checkStatement("SELECT 1 FROM RDB$DATABASE ; \r\n").statement,
              "SELECT 1 FROM RDB$DATABASE");
}

TEST(StatementCheck, RefusesEverythingThatIsNotASelect) {
    for (const char* sql : {"", "  \r\n", "DELETE FROM CUSTOMER", "UPDATE PRODUCT SET PROD_NAME = ''",
                            "SELECTED FROM X", "EXECUTE BLOCK AS BEGIN END",
                            "/* SELECT */ DELETE FROM CUSTOMER", "WITH X AS (SELECT 1 FROM Y) SELECT * FROM X"}) {
        auto checked = checkStatement(sql);
        EXPECT_FALSE(checked.accepted) << sql;
        EXPECT_FALSE(checked.refusal.empty()) << sql;
    }
}

TEST(StatementCheck, RefusesASecondStatementButNotASemicolonInsideQuotesOrComments) {
    EXPECT_FALSE(checkStatement("SELECT 1 FROM RDB$DATABASE; DELETE FROM CUSTOMER").accepted);
    EXPECT_FALSE(checkStatement("SELECT 1 FROM RDB$DATABASE;;").accepted);

    EXPECT_TRUE(checkStatement("SELECT * FROM PRODUCT WHERE PROD_NAME = 'A;B'").accepted);
    EXPECT_TRUE(checkStatement("SELECT * FROM PRODUCT WHERE PROD_NAME = 'it''s; fine'").accepted);
    EXPECT_TRUE(checkStatement("SELECT \"A;B\" FROM T").accepted);
    EXPECT_TRUE(checkStatement("SELECT 1 /* ; */ FROM T").accepted);
    EXPECT_TRUE(checkStatement("SELECT 1 FROM T -- ; not a separator\n WHERE 1 = 1").accepted);
    // Big5 text in a literal: the second byte of 許 is "\" and of 四 is "|".
    EXPECT_TRUE(checkStatement("SELECT * FROM CUSTOMER WHERE CUST_NAME = '\xB3\x5C\xA5\x7C'").accepted);
}
