// Reading, loading and writing a head-office product reply: 20,000 rows of the product
// record's 96 columns, with Traditional Chinese texts.
#include <benchmark/benchmark.h>

#include <pugixml.hpp>
#include <string>
#include <vector>

#include "dataset/dataset.h"
#include "dataset/packet.h"
#include "dataset/packet_reading.h"
#include "text/cp950.h"

using namespace qor::ds;

namespace {

constexpr int productRows = 20000;

struct ProductColumn {
    const char* name;
    char kind;  // s: text, f: float, i: integer
    int size;
};

// The product record's columns, in its order.
constexpr ProductColumn productColumns[] = {
    {"PROD_ID", 's', 20},      {"PROD_ID2", 's', 20},      {"PROD_BARCODE", 's', 20},
    {"PROD_NAME", 's', 50},    {"NOW_QTY", 'f', 0},        {"STD_COST", 'f', 0},
    {"SALE_PRICE", 'f', 0},    {"PSALE_PRICE", 'f', 0},    {"VIP_PRICE", 'f', 0},
    {"P_PRICE", 'f', 0},       {"CR_PRICE", 'f', 0},       {"PROVIDER_ID", 's', 10},
    {"PROVIDER_NAME", 's', 50}, {"PROD_SCALE", 's', 30},   {"PROD_SNAME", 's', 20},
    {"UNITNAME", 's', 10},     {"PACK1_QTY", 'f', 0},      {"PACK1", 's', 10},
    {"PACK1_BARCODE", 's', 20}, {"PACK2_QTY", 'f', 0},     {"PACK2", 's', 10},
    {"PACK2_BARCODE", 's', 20}, {"PUT_IT", 's', 10},       {"IN_PACK", 's', 10},
    {"SAL_PACK", 's', 10},     {"STOCK_QTY", 's', 5},      {"FIRST_COST", 'f', 0},
    {"AVG_COST", 'f', 0},      {"MAVG_COST", 'f', 0},      {"IN_TAG", 'i', 0},
    {"SAL_TAG", 'i', 0},       {"DEL_FLAG", 's', 5},       {"FLAG", 's', 10},
    {"HI_ITEMID", 's', 10},    {"MID_ITEMID", 's', 10},    {"PD_ITEMID", 's', 10},
    {"PD_ITEMNAME", 's', 20},  {"PD_CLASSID", 's', 5},     {"PD_CLASSNAME", 's', 10},
    {"CR_DATE", 's', 10},      {"PHOTO_PATH", 's', 200},   {"DESCRIPTION", 's', 200},
    {"SAFE_DAY", 'i', 0},      {"SAFE_QTY", 'i', 0},       {"BEFORE_QTY", 'f', 0},
    {"NEAR_INDATE", 's', 10},  {"NEAR_SALDATE", 's', 10},  {"ABC", 's', 5},
    {"PT_CLASS", 's', 2},      {"BILL_CLASS", 's', 1},     {"MAKE_POINT", 'i', 0},
    {"SHOW_QTY", 's', 5},      {"CHG_DATE", 's', 10},      {"CHG_USER", 's', 10},
    {"TAX_KIND", 's', 10},     {"BUY_CLASS", 's', 10},     {"MS", 's', 1},
    {"INI_DATE", 's', 10},     {"END_DATE", 's', 10},      {"PUT_ID", 's', 10},
    {"P_PU", 's', 1},          {"CHG_TIME", 's', 10},      {"PRN_CODE_YN", 's', 1},
    {"P_PU2", 's', 1},         {"MEM_DISCOUNT", 's', 1},   {"U_DIS", 'f', 0},
    {"HEAD_NO", 's', 20},      {"WEB_SHOW", 's', 1},       {"N_PRICE", 'f', 0},
    {"P_PRICE2", 'f', 0},      {"NET_COST", 'f', 0},       {"ADD_COST", 'f', 0},
    {"PUT_FACE", 'f', 0},      {"PUT_X", 'f', 0},          {"PUT_Y", 'f', 0},
    {"LEND_QTY", 'f', 0},      {"FREE_TAX", 'f', 0},       {"SEND_YN", 's', 1},
    {"DE_RATE", 'f', 0},       {"ERN_RATE", 'f', 0},       {"P_VALUE", 'f', 0},
    {"PROVIDER_ID2", 's', 10}, {"PROVIDER_NAME2", 's', 50}, {"HEA_TAX", 'f', 0},
    {"DEF_PROFIT", 'f', 0},    {"E_NAME", 's', 200},       {"PUBLISHER", 's', 50},
    {"AUTHOR", 's', 50},       {"RENDER", 's', 20},        {"TAX_ITEM_NO", 's', 10},
    {"TAX_ITEM_NAME", 's', 30}, {"POINT_YN", 's', 1},      {"PR_VALUE", 'f', 0},
    {"P_LTCOST", 'f', 0},      {"STK_PRN", 's', 1},        {"LOWER_PRICE", 'f', 0},
};
static_assert(std::size(productColumns) == 96);

// Chinese texts for the text columns, converted once.
struct Words {
    std::vector<std::string> goods, makers, units, kinds;
    Words() {
        for (const char* w : {"鳳梨酥", "豆腐乳", "烏龍茶", "牛肉麵", "芒果乾", "黑糖糕",
                              "許氏功夫茶", "蓋飯醬", "花生糖", "綠豆椪"})
            goods.push_back(qor::text::utf8ToCp950(w));
        for (const char* w : {"台灣食品股份有限公司", "育成商行", "院前企業社", "大同貿易"})
            makers.push_back(qor::text::utf8ToCp950(w));
        for (const char* w : {"盒", "包", "瓶", "罐", "箱"})
            units.push_back(qor::text::utf8ToCp950(w));
        for (const char* w : {"食品", "飲料", "雜貨", "冷凍"})
            kinds.push_back(qor::text::utf8ToCp950(w));
    }
};

std::string textValue(const Words& w, const ProductColumn& c, int row) {
    const std::string name = c.name;
    const std::string number = std::to_string(row);
    if (name == "PROD_ID" || name == "PROD_BARCODE" || name == "PACK1_BARCODE")
        return "471" + std::string(10 - number.size(), '0') + number;
    if (name == "PROD_NAME" || name == "PROD_SNAME")
        return w.goods[row % w.goods.size()] + w.goods[(row / 7) % w.goods.size()] + number;
    if (name == "PROVIDER_NAME" || name == "PROVIDER_NAME2" || name == "PUBLISHER")
        return w.makers[row % w.makers.size()];
    if (name == "UNITNAME" || name == "PACK1" || name == "PACK2" || name == "IN_PACK" ||
        name == "SAL_PACK")
        return w.units[row % w.units.size()];
    if (name == "PD_ITEMNAME" || name == "PD_CLASSNAME" || name == "TAX_ITEM_NAME")
        return w.kinds[row % w.kinds.size()];
    if (name == "DESCRIPTION")
        return w.goods[row % w.goods.size()] + w.makers[row % w.makers.size()] +
               w.units[row % w.units.size()];
    if (name == "CR_DATE" || name == "CHG_DATE" || name == "INI_DATE") return "2024/05/01";
    if (c.size == 1) return row % 2 ? "Y" : "N";
    return qor::text::cutToBytes("A" + number, static_cast<std::size_t>(c.size));
}

Table productTable() {
    const Words words;
    Table t;
    for (const ProductColumn& c : productColumns) {
        const FieldKind kind = c.kind == 's'   ? FieldKind::String
                               : c.kind == 'f' ? FieldKind::Float
                                               : FieldKind::Integer;
        t.columns.push_back({c.name, kind, c.size});
    }
    t.rows.reserve(productRows);
    for (int r = 0; r < productRows; ++r) {
        Row row;
        row.reserve(std::size(productColumns));
        for (const ProductColumn& c : productColumns) {
            if (c.kind == 's') row.emplace_back(textValue(words, c, r));
            else if (c.kind == 'f') row.emplace_back(static_cast<double>(r % 997) * 1.25 + 0.5);
            else row.emplace_back(static_cast<std::int64_t>(r % 30));
        }
        t.rows.push_back(std::move(row));
    }
    return t;
}

const std::string& productPacket() {
    static const std::string packet = writePacket(productTable());
    return packet;
}

void countWork(benchmark::State& state, std::size_t bytes) {
    state.SetItemsProcessed(state.iterations() * productRows);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes));
}

void BM_LoadPacketIntoDataset(benchmark::State& state) {
    const std::string& packet = productPacket();
    Dataset target("CDS_Source");
    for (auto _ : state) {
        loadPacket(target, packet);
        benchmark::DoNotOptimize(target.recordCount());
    }
    countWork(state, packet.size());
}

void BM_ReadPacket(benchmark::State& state) {
    const std::string& packet = productPacket();
    for (auto _ : state) {
        Table t = readPacket(packet);
        benchmark::DoNotOptimize(t.rows.data());
    }
    countWork(state, packet.size());
}

// The same reply through the XML parser, the way a packet outside the plain form is read.
void BM_ReadPacketThroughParser(benchmark::State& state) {
    const std::string& packet = productPacket();
    for (auto _ : state) {
        Table t = packet::readPacketThroughDocument(packet);
        benchmark::DoNotOptimize(t.rows.data());
    }
    countWork(state, packet.size());
}

void BM_PugixmlParseOnly(benchmark::State& state) {
    const std::string& packet = productPacket();
    for (auto _ : state) {
        pugi::xml_document doc;
        const pugi::xml_parse_result result = doc.load_buffer(packet.data(), packet.size());
        benchmark::DoNotOptimize(result.status);
    }
    countWork(state, packet.size());
}

void BM_WritePacket(benchmark::State& state) {
    const Table table = productTable();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string packet = writePacket(table);
        bytes = packet.size();
        benchmark::DoNotOptimize(packet.data());
    }
    countWork(state, bytes);
}

}  // namespace

BENCHMARK(BM_LoadPacketIntoDataset)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPacket)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPacketThroughParser)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PugixmlParseOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WritePacket)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
