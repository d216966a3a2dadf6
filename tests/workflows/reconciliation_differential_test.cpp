// The comparison of a download with the store asked every way (one look-up a question, the
// keys read once, the download's values asked in batches, the way chosen by size) over
// generated stores and downloads: quotes, trailing and leading blanks, Big5 text, letter case,
// empty and duplicate barcodes, codes equal to barcodes, values longer than their column,
// sales barcodes, unknown codes. Every way lists the same rows with every field the same,
// tells the import controls the same, and fails at the same row with the same text.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "canned_http_server.h"
#include "storedb/product_record.h"
#include "store_workflows.h"
#include "text/cp950.h"

namespace qor::test {
namespace {

struct Generated {
    unsigned seed;
    int storeProducts;
    int downloadRows;
    bool failing;  // a row the record refuses (a number field given text) half way
};
void PrintTo(const Generated& g, std::ostream* out) {
    *out << "seed " << g.seed << ", store " << g.storeProducts << ", download " << g.downloadRows;
}

std::string literal(const std::string& value) {
    std::string out = "'";
    for (char c : value) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

class Values {
public:
    explicit Values(unsigned seed) : random_(seed) {}

    // Barcodes and product codes: near misses of each other on purpose.
    std::string barcode() {
        static const std::vector<std::string> odd{
            "", "O'K", "o'k", "471 ", " 471", "471", QOR_BIG5("台灣一號"), QOR_BIG5("台灣一號") + " ",
            std::string(20, '9'), std::string(20, '9') + "1", std::string(25, '8'), "B7 ", "b7"};
        if (pick(4) == 0) return odd[pick(odd.size())];
        return "B" + std::to_string(pick(60));
    }
    // Category, attribute and supplier codes, some unknown, some longer than the field.
    std::string code() {
        static const std::vector<std::string> odd{
            "", "C'1", "c'1", "C1 ", QOR_BIG5("類一"), "0109099", "LONGERTHANTEN", "C2"};
        if (pick(3) == 0) return odd[pick(odd.size())];
        return "C" + std::to_string(pick(6));
    }
    std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random_); }

private:
    std::mt19937 random_;
};

// Products (codes unique as the database compares them), sales barcodes and the three code
// tables, each code table with trailing-blank and quoted codes.
std::string storeSql(Values& values, int products) {
    std::string sql;
    std::set<std::string> ids;
    for (int i = 0; ids.size() < std::size_t(products) && i < products * 4; ++i) {
        std::string id = i % 3 == 0 ? values.barcode() : "P" + std::to_string(i);
        if (id.size() > 20 || id.find_last_not_of(' ') == std::string::npos) continue;
        if (!ids.insert(id.substr(0, id.find_last_not_of(' ') + 1)).second) continue;
        const std::string barcode = values.pick(5) == 0 ? "NULL" : literal(values.barcode().substr(0, 20));
        sql += "INSERT INTO PRODUCT (PROD_ID, PROD_BARCODE) VALUES (" + literal(id) + ", " +
               barcode + ");\n";
        if (values.pick(6) == 0)
            sql += "INSERT INTO PROD_SALE (PROD_ID, SAL_BARCODE) VALUES (" + literal(id) + ", " +
                   literal("S" + values.barcode().substr(0, 19)) + ");\n";
        if (values.pick(8) == 0)  // a sales barcode that is a download's barcode
            sql += "INSERT INTO PROD_SALE (PROD_ID, SAL_BARCODE) VALUES (" + literal(id) + ", " +
                   literal(values.barcode().substr(0, 20)) + ");\n";
    }
    for (const char* table : {"PROD_ITEM", "PROD_CLASS", "PROVIDER"}) {
        std::set<std::string> codes;
        for (const std::string& code : std::vector<std::string>{"C0", "C1 ", "C'1", QOR_BIG5("類一"), "C3",
                                                             "0109099", "  "}) {
            const std::string key = code.substr(0, code.find_last_not_of(' ') + 1);
            if (std::string(table) == "PROD_CLASS" && code.size() > 5) continue;
            if (!codes.insert(key).second) continue;
            sql += std::string("INSERT INTO ") + table + " VALUES (" + literal(code) + ", " +
                   literal(std::string(table) + " of " + code) + ");\n";
        }
    }
    return sql;
}

// A download of `rows` rows in the product record's layout.
ds::Table download(Values& values, const Generated& g) {
    ds::Table table;
    for (const auto& field : storedb::productFields()) {
        const bool textDays = g.failing && std::string(field.name) == "SAFE_DAY";
        table.columns.push_back({field.name, textDays ? ds::FieldKind::String : field.kind,
                                 textDays ? 10 : (std::string(field.name) == "PROD_BARCODE" ? 30 : field.size),
                                 0, false, false});
    }
    for (int r = 0; r < g.downloadRows; ++r) {
        ds::Row row(table.columns.size());
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            const std::string name = table.columns[c].name;
            const bool failingRow = g.failing && r == g.downloadRows / 2;
            if (name == "PROD_BARCODE") row[c] = failingRow ? "NEW ONE" : values.barcode();
            else if (name == "PROVIDER_ID" || name == "PD_ITEMID" || name == "PD_CLASSID")
                row[c] = values.code();
            else if (name == "PROD_NAME") row[c] = QOR_BIG5("蘋果汁") + std::to_string(r);
            else if (name == "PSALE_PRICE" || name == "VIP_PRICE") row[c] = 10.0 + r;
            else if (name == "SAFE_DAY" && g.failing)
                row[c] = std::string(failingRow ? "x" : "7");
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

// What a comparison left: its failure, every listed row as shown, the state, where the
// download stands, and what the import controls were told.
struct Outcome {
    std::string failure;
    std::vector<std::vector<std::string>> listed;
    ds::DataSetState state{};
    int sourceRow = 0;
    std::vector<bool> controls;
};

class Differential : public ::testing::TestWithParam<Generated> {};

TEST_P(Differential, EveryWayOfAskingTheStoreListsTheSame) {
    const Generated& g = GetParam();
    Values values(g.seed);
    StoreWorkflows w(storeSql(values, g.storeProducts), closedPort());
    const ds::Table source = download(values, g);

    const auto compare = [&](workflows::StoreLookUps how) {
        Outcome out;
        w.products.setStoreLookUps(how);
        w.products.onImportControls = [&](bool lacking) { out.controls.push_back(lacking); };
        w.source.close();
        w.source.clearFields();
        w.source.openWith(source);
        try {
            w.products.listLacking(w.source, false);
        } catch (const std::exception& e) {
            out.failure = e.what();
        }
        ds::Dataset& products = w.objects.CDS_PRODUCT;
        for (int row = 0; row < products.rowCount(); ++row) {
            out.listed.emplace_back();
            for (int f = 0; f < products.fieldCount(); ++f)
                out.listed.back().push_back(products.displayTextAt(row, products.field(f)));
        }
        out.state = products.state();
        out.sourceRow = w.source.recNo();
        return out;
    };
    compare(workflows::StoreLookUps::ByRow);  // each run after it starts from a listed dataset
    const Outcome byRow = compare(workflows::StoreLookUps::ByRow);
    EXPECT_FALSE(byRow.listed.empty());
    EXPECT_EQ(!byRow.failure.empty(), g.failing) << byRow.failure;
    for (auto how : {workflows::StoreLookUps::ReadWhole, workflows::StoreLookUps::InBatches,
                     workflows::StoreLookUps::BySize}) {
        const Outcome other = compare(how);
        EXPECT_EQ(other.failure, byRow.failure) << "asked as " << int(how);
        EXPECT_EQ(other.listed, byRow.listed) << "asked as " << int(how);
        EXPECT_EQ(other.state, byRow.state) << "asked as " << int(how);
        EXPECT_EQ(other.sourceRow, byRow.sourceRow) << "asked as " << int(how);
        EXPECT_EQ(other.controls, byRow.controls) << "asked as " << int(how);
    }
}

INSTANTIATE_TEST_SUITE_P(Generated, Differential,
                         ::testing::Values(Generated{1, 300, 450, false},
                                           Generated{2, 40, 250, true},
                                           Generated{3, 1500, 120, false},
                                           Generated{4, 5, 30, false}));

}  // namespace
}  // namespace qor::test
