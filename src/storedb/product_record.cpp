#include "storedb/product_record.h"

#include <array>

#include "text/cp950.h"

namespace qor::storedb {

namespace {

constexpr auto S = ds::FieldKind::String;
constexpr auto F = ds::FieldKind::Float;
constexpr auto I = ds::FieldKind::Integer;

// Name, kind, size (text only), label, required, display format, edit mask. The order is
// the record's: the reconciliation copies in it and the import lists its columns in it.
constexpr std::array<ProductFieldSpec, 96> kProductFields{{
    {"PROD_ID", S, 20, "商品編號", true, "", ""},
    {"PROD_ID2", S, 20, "第二代碼", false, "", ""},
    {"PROD_BARCODE", S, 20, "商品條碼", false, "", ""},
    {"PROD_NAME", S, 50, "商品名稱", false, "", ""},
    {"NOW_QTY", F, 0, "現有數量", false, "", ""},
    {"STD_COST", F, 0, "標準成本", false, "", ""},
    {"SALE_PRICE", F, 0, "市價", false, "", ""},
    {"PSALE_PRICE", F, 0, "門市售價", true, "", ""},
    {"VIP_PRICE", F, 0, "會員售價", true, "", ""},
    {"P_PRICE", F, 0, "批價", false, "", ""},
    {"CR_PRICE", F, 0, "貸價", false, "", ""},
    {"PROVIDER_ID", S, 10, "廠商代號", false, "", ""},
    {"PROVIDER_NAME", S, 50, "廠商名稱", false, "", ""},
    {"PROD_SCALE", S, 30, "商品規格", false, "", ""},
    {"PROD_SNAME", S, 20, "商品簡稱", false, "", ""},
    {"UNITNAME", S, 10, "基本單位", false, "", ""},
    {"PACK1_QTY", F, 0, "內包數量", false, "", ""},
    {"PACK1", S, 10, "內包單位", false, "", ""},
    {"PACK1_BARCODE", S, 20, "內包條碼", false, "", ""},
    {"PACK2_QTY", F, 0, "外包數量", false, "", ""},
    {"PACK2", S, 10, "外包單位", false, "", ""},
    {"PACK2_BARCODE", S, 20, "外包條碼", false, "", ""},
    {"PUT_IT", S, 10, "儲位", false, "", ""},
    {"IN_PACK", S, 10, "進貨單位", false, "", ""},
    {"SAL_PACK", S, 10, "銷售單位", false, "", ""},
    {"STOCK_QTY", S, 5, "扣庫存量", false, "", ""},
    {"FIRST_COST", F, 0, "期初成本", false, "", ""},
    {"AVG_COST", F, 0, "平均成本", false, "#0.00", ""},
    {"MAVG_COST", F, 0, "月平均成本", false, "", ""},
    {"IN_TAG", I, 0, "進貨管制", false, "", ""},
    {"SAL_TAG", I, 0, "銷售管制", false, "", ""},
    {"DEL_FLAG", S, 5, "淘汰", false, "", ""},
    {"FLAG", S, 10, "", false, "", ""},
    {"HI_ITEMID", S, 10, "大類代號", false, "", ""},
    {"MID_ITEMID", S, 10, "中類代號", false, "", ""},
    {"PD_ITEMID", S, 10, "類別代號", false, "", ""},
    {"PD_ITEMNAME", S, 20, "類別名稱", false, "", ""},
    {"PD_CLASSID", S, 5, "屬性代號", false, "", ""},
    {"PD_CLASSNAME", S, 10, "屬性", false, "", ""},
    {"CR_DATE", S, 10, "建檔日期", false, "", ""},
    {"PHOTO_PATH", S, 200, "圖檔路逕", false, "", ""},
    {"DESCRIPTION", S, 200, "商品描述", false, "", ""},
    {"SAFE_DAY", I, 0, "安全天數", false, "", ""},
    {"SAFE_QTY", I, 0, "安全數量", false, "", ""},
    {"BEFORE_QTY", F, 0, "期初數量", false, "", ""},
    {"NEAR_INDATE", S, 10, "最近進貨日", false, "", ""},
    {"NEAR_SALDATE", S, 10, "最近銷售日", false, "", ""},
    {"ABC", S, 5, "分組", false, "", ""},
    {"PT_CLASS", S, 2, "盤點週期", false, "", ""},
    {"BILL_CLASS", S, 1, "適用卷別", false, "", ""},
    {"MAKE_POINT", I, 0, "製作位置", false, "", ""},
    {"SHOW_QTY", S, 5, "數量顯示", false, "", ""},
    {"CHG_DATE", S, 10, "異動日期", false, "", ""},
    {"CHG_USER", S, 10, "異動人員", false, "", ""},
    {"TAX_KIND", S, 10, "稅別", false, "", ""},
    {"BUY_CLASS", S, 10, "", false, "", ""},
    {"MS", S, 1, "", false, "", ""},
    {"INI_DATE", S, 10, "", false, "", ""},
    {"END_DATE", S, 10, "", false, "", ""},
    {"PUT_ID", S, 10, "", false, "", "!00-00-0;0;"},
    {"P_PU", S, 1, "", false, "", ""},
    {"CHG_TIME", S, 10, "", false, "", ""},
    {"PRN_CODE_YN", S, 1, "", false, "", ""},
    {"P_PU2", S, 1, "", false, "", ""},
    {"MEM_DISCOUNT", S, 1, "", false, "", ""},
    {"U_DIS", F, 0, "", false, "", ""},
    {"HEAD_NO", S, 20, "賣頭代號", false, "", ""},
    {"WEB_SHOW", S, 1, "WEB展示", false, "", ""},
    {"N_PRICE", F, 0, "一般價", false, "", ""},
    {"P_PRICE2", F, 0, "小批價", false, "", ""},
    {"NET_COST", F, 0, "淨成本", false, "", ""},
    {"ADD_COST", F, 0, "附加成本", false, "", ""},
    {"PUT_FACE", F, 0, "排面數", false, "", ""},
    {"PUT_X", F, 0, "層數", false, "", ""},
    {"PUT_Y", F, 0, "深數", false, "", ""},
    {"LEND_QTY", F, 0, "借貨數", false, "", ""},
    {"FREE_TAX", F, 0, "免稅額", false, "", ""},
    {"SEND_YN", S, 1, "寄賣", false, "", ""},
    {"DE_RATE", F, 0, "損耗率", false, "", ""},
    {"ERN_RATE", F, 0, "佣金比率", false, "", ""},
    {"P_VALUE", F, 0, "點數", false, "", ""},
    {"PROVIDER_ID2", S, 10, "", false, "", ""},
    {"PROVIDER_NAME2", S, 50, "", false, "", ""},
    {"HEA_TAX", F, 0, "健康捐", false, "", ""},
    {"DEF_PROFIT", F, 0, "預估獲利", false, "", ""},
    {"E_NAME", S, 200, "英文名稱", false, "", ""},
    {"PUBLISHER", S, 50, "出版公司", false, "", ""},
    {"AUTHOR", S, 50, "作者", false, "", ""},
    {"RENDER", S, 20, "譯者", false, "", ""},
    {"TAX_ITEM_NO", S, 10, "稅代號", false, "", ""},
    {"TAX_ITEM_NAME", S, 30, "稅名稱", false, "", ""},
    {"POINT_YN", S, 1, "點數累計", false, "", ""},
    {"PR_VALUE", F, 0, "分裝比例", false, "", ""},
    {"P_LTCOST", F, 0, "", false, "", ""},
    {"STK_PRN", S, 1, "存貨分類印", false, "", ""},
    {"LOWER_PRICE", F, 0, "最低售價", false, "", ""},
}};

}  // namespace

std::span<const ProductFieldSpec> productFields() { return kProductFields; }

void declareProductFields(ds::Dataset& dataset) {
    for (const auto& spec : kProductFields) {
        ds::FieldDef def;
        def.name = spec.name;
        def.kind = spec.kind;
        def.size = spec.kind == ds::FieldKind::String ? spec.size : 0;
        def.displayLabel = text::utf8ToCp950(spec.label);
        def.required = spec.required;
        def.displayFormat = spec.displayFormat;
        def.editMask = spec.editMask;
        dataset.declareField(def);
    }
}

void openProductEmpty(ds::Dataset& dataset) {
    dataset.close();
    dataset.setCommandText(std::string(kOpenProductEmptySql));
    dataset.open();
}

}  // namespace qor::storedb
