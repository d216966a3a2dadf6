#include "window/product_editor.h"

#include <QLayout>
#include <QLineEdit>
#include <array>
#include <string>
#include <vector>

#include "text/cp950.h"
#include "window/widget_placing.h"

namespace qor::window {

namespace {

using Form = ProductEditor;

constexpr int kControlHeight = 21;
constexpr int kLabelHeight = 13;
constexpr int kLabelDrop = 4;     // a label's top below its control's
constexpr int kCheckWidth = 74;   // the check boxes of GroupBox1, left to right
constexpr int kCheckStep = 75;
const QColor kNameBoxColor(182, 207, 190);

// Captions and spoken names are UTF-8 here and become code page 950 as they are set.
std::string big5(const char* utf8) { return text::utf8ToCp950(utf8); }

struct EditPlace {
    TDBEdit* Form::*control;
    const char* name;
    const char* field;
    QRect at;
    const char* spoken;  // the label's caption; a name box: its row's caption and 名稱
    bool nameBox;
};

constexpr EditPlace kEdits[] = {
    {&Form::DBEd_ProdID, "DBEd_ProdID", "PROD_ID", {80, 6, 153, 21}, "商品編號", false},
    {&Form::DBEdit2, "DBEdit2", "PROD_ID2", {367, 6, 147, 21}, "第二代碼", false},
    {&Form::DBEdit4, "DBEdit4", "PROD_NAME", {80, 29, 337, 21}, "商品名稱", false},
    {&Form::DBEdit6, "DBEdit6", "PROD_SNAME", {493, 30, 192, 21}, "商品簡稱", false},
    {&Form::DBEdit5, "DBEdit5", "PROD_SCALE", {80, 53, 257, 21}, "商品規格", false},
    {&Form::DBEdit3, "DBEdit3", "PROD_BARCODE", {493, 53, 176, 21}, "國際條碼", false},
    {&Form::DBEdit15, "DBEdit15", "PD_ITEMNAME", {156, 76, 188, 21}, "商品類別名稱", true},
    {&Form::DBEdit17, "DBEdit17", "PD_CLASSNAME", {568, 76, 181, 21}, "屬性代號名稱", true},
    {&Form::DBEdit9, "DBEdit9", "PROVIDER_NAME", {191, 98, 204, 21}, "廠商編號名稱", true},
    {&Form::DBEdit11, "DBEdit11", "N_PRICE", {80, 122, 80, 21}, "一般售價", false},
    {&Form::DBEdit10, "DBEdit10", "SALE_PRICE", {232, 122, 80, 21}, "建議售價", false},
    {&Form::DBEdit18, "DBEdit18", "P_PRICE", {397, 122, 80, 21}, "大批價", false},
    {&Form::DBEdit_PPrice2, "DBEdit_PPrice2", "P_PRICE2", {549, 122, 81, 21}, "小批價", false},
    {&Form::DBEdit_PsalePrice, "DBEdit_PsalePrice", "PSALE_PRICE", {80, 144, 80, 21}, "門市售價",
     false},
    {&Form::DBEdit13, "DBEdit13", "VIP_PRICE", {232, 144, 80, 21}, "會員售價", false},
    {&Form::DBEdit20, "DBEdit20", "CR_PRICE", {397, 144, 80, 21}, "貸價", false},
    {&Form::DBEdit21, "DBEdit21", "FIRST_COST", {80, 167, 80, 21}, "期初成本", false},
    {&Form::DBEdit22, "DBEdit22", "NET_COST", {232, 167, 81, 21}, "淨成本", false},
    {&Form::DBEdit23, "DBEdit23", "ADD_COST", {397, 167, 80, 21}, "附加費用", false},
    {&Form::DBEdit24, "DBEdit24", "STD_COST", {549, 166, 82, 21}, "標準成本", false},
    {&Form::DBEdit25, "DBEdit25", "AVG_COST", {80, 189, 80, 21}, "平均成本", false},
    {&Form::DBEdit26, "DBEdit26", "FREE_TAX", {232, 189, 80, 21}, "免稅額", false},
    {&Form::DBEdit27, "DBEdit27", "U_DIS", {397, 188, 80, 21}, "單品折扣", false},
};

struct LookupPlace {
    TwwDBLookupCombo* Form::*control;
    const char* name;
    const char* field;
    QRect at;
    const char* spoken;
    ds::Dataset storedb::StoreObjects::*table;
    const char* keyField;
    struct Column {
        const char* field;
        int width;
        const char* title;
    } columns[2];
};

constexpr LookupPlace kLookups[] = {
    {&Form::wwDBLookupCombo5, "wwDBLookupCombo5", "PD_ITEMID", {80, 75, 76, 21}, "商品類別",
     &storedb::StoreObjects::CDS_PDITEM, "PD_ITEMID",
     {{"PD_ITEMID", 10, "類別代號"}, {"PD_ITEMNAME", 20, "類別名稱"}}},
    {&Form::wwDBLookupCombo8, "wwDBLookupCombo8", "PD_CLASSID", {493, 76, 76, 21}, "屬性代號",
     &storedb::StoreObjects::CDS_PDCLASS, "PD_CLASSID",
     {{"PD_CLASSID", 10, "屬性代號"}, {"PD_CLASSNAME", 20, "屬性名稱"}}},
    {&Form::wwDBLookupCombo1, "wwDBLookupCombo1", "PROVIDER_ID", {80, 98, 111, 21}, "廠商編號",
     &storedb::StoreObjects::CDS_Provider, "PROVIDER_ID",
     {{"PROVIDER_ID", 10, "廠商代號"}, {"PROVIDER_NAME", 50, "廠商名稱"}}},
    // The unit's code goes into the product's UNITNAME.
    {&Form::wwDBLookupCombo2, "wwDBLookupCombo2", "UNITNAME", {493, 99, 77, 21}, "基本單位",
     &storedb::StoreObjects::CDS_Unit, "UNIT_ID",
     {{"UNIT_ID", 10, "單位"}, {"UNITNAME", 10, "單位說明"}}},
};

// Label3 .. Label27: each left of its control, whose name it gives to screen readers.
struct LabelPlace {
    const char* name;
    const char* caption;
    int left;
    const char* control;
};

constexpr LabelPlace kLabels[] = {
    {"Label3", "商品編號", 16, "DBEd_ProdID"},      {"Label4", "第二代碼", 311, "DBEdit2"},
    {"Label5", "商品名稱", 16, "DBEdit4"},          {"Label6", "商品簡稱", 437, "DBEdit6"},
    {"Label7", "商品規格", 16, "DBEdit5"},          {"Label8", "國際條碼", 437, "DBEdit3"},
    {"Label9", "商品類別", 16, "wwDBLookupCombo5"}, {"Label10", "屬性代號", 437, "wwDBLookupCombo8"},
    {"Label11", "廠商編號", 16, "wwDBLookupCombo1"}, {"Label12", "基本單位", 437, "wwDBLookupCombo2"},
    {"Label13", "一般售價", 16, "DBEdit11"},        {"Label14", "建議售價", 176, "DBEdit10"},
    {"Label15", "大批價", 341, "DBEdit18"},         {"Label16", "小批價", 493, "DBEdit_PPrice2"},
    {"Label17", "門市售價", 16, "DBEdit_PsalePrice"}, {"Label18", "會員售價", 176, "DBEdit13"},
    {"Label19", "貸價", 341, "DBEdit20"},           {"Label20", "毛利率", 493, "Edit1"},
    {"Label21", "期初成本", 16, "DBEdit21"},        {"Label22", "淨成本", 176, "DBEdit22"},
    {"Label23", "附加費用", 341, "DBEdit23"},       {"Label24", "標準成本", 493, "DBEdit24"},
    {"Label25", "平均成本", 16, "DBEdit25"},        {"Label26", "免稅額", 176, "DBEdit26"},
    {"Label27", "單品折扣", 341, "DBEdit27"},
};

struct CheckPlace {
    TDBCheckBox* Form::*control;
    const char* name;
    const char* caption;
    const char* field;
    const char* checked;
    const char* unchecked;
};

constexpr CheckPlace kChecks[] = {
    {&Form::DBCheckBox1, "DBCheckBox1", "停止進貨", "IN_TAG", "1", "0"},
    {&Form::DBCheckBox2, "DBCheckBox2", "停止銷貨", "SAL_TAG", "1", "0"},
    {&Form::DBCheckBox3, "DBCheckBox3", "淘汰", "DEL_FLAG", "True", "False"},
    {&Form::DBCheckBox4, "DBCheckBox4", "浮動價格", "P_PU", "0", "1"},  // checked is "0"
    {&Form::DBCheckBox5, "DBCheckBox5", "浮動成本", "P_PU2", "0", "1"},  // checked is "0"
    {&Form::DBCheckBox6, "DBCheckBox6", "印製條碼", "PRN_CODE_YN", "Y", "N"},
    {&Form::DBCheckBox7, "DBCheckBox7", "會員續折", "MEM_DISCOUNT", "Y", "N"},
    {&Form::DBCheckBox8, "DBCheckBox8", "網頁展示", "WEB_SHOW", "Y", "N"},
};

struct RadioPlace {
    TDBRadioGroup* Form::*control;
    const char* name;
    const char* caption;
    const char* field;
    QRect at;
    int columns;
    std::array<std::array<const char*, 2>, 3> items;  // caption, value; unused ones null
};

constexpr RadioPlace kRadios[] = {
    {&Form::DBRadioGroup1, "DBRadioGroup1", "稅別", "TAX_KIND", {643, 103, 111, 41}, 2,
     {{{"應稅", "應稅"}, {"免稅", "免稅"}, {nullptr, nullptr}}}},
    {&Form::DBRadioGroup2, "DBRadioGroup2", "採購方式", "BUY_CLASS", {643, 147, 112, 41}, 3,
     {{{"聯", "U"}, {"自", "S"}, {"皆可", "US"}}}},
    {&Form::DBRadioGroup3, "DBRadioGroup3", "扣庫存", "STOCK_QTY", {16, 210, 79, 36}, 2,
     {{{"是", "Y"}, {"否", "N"}, {nullptr, nullptr}}}},
};

// The table's tab order; a group takes its buttons in turn, the name boxes no tab stop.
constexpr const char* kTabOrder[] = {
    "DBEd_ProdID",      "DBEdit2",          "DBEdit4",       "DBEdit6",   "DBEdit5",
    "DBEdit3",          "wwDBLookupCombo5", "DBEdit15",      "wwDBLookupCombo8",
    "DBEdit17",         "wwDBLookupCombo1", "DBEdit9",       "wwDBLookupCombo2",
    "DBEdit11",         "DBEdit10",         "DBEdit18",      "DBEdit_PPrice2",
    "DBEdit_PsalePrice", "DBEdit13",        "DBEdit20",      "Edit1",     "DBEdit21",
    "DBEdit22",         "DBEdit23",         "DBEdit24",      "DBEdit25",  "DBEdit26",
    "DBEdit27",         "DBRadioGroup1",    "DBRadioGroup2", "GroupBox1", "DBRadioGroup3",
};

void spokenAs(QWidget* control, const char* utf8) {
    control->setAccessibleName(QString::fromUtf8(utf8));
}

void placeEdits(Form& form, WindowDialogs& dialogs, ds::DataSource& products) {
    for (const EditPlace& place : kEdits) {
        auto* edit = new TDBEdit(dialogs, form.Panel8);
        edit->setObjectName(QString::fromLatin1(place.name));
        edit->setGeometry(place.at);
        spokenAs(edit, place.spoken);
        if (place.nameBox) edit->setNameBox(kNameBoxColor);
        edit->setDataSource(&products);
        edit->setDataField(place.field);
        form.*place.control = edit;
    }
    // 毛利率: a plain edit bound to nothing.
    form.Edit1 = placeWidget<QLineEdit>(form.Panel8, "Edit1", {549, 144, 82, kControlHeight});
    form.Edit1->setText(QStringLiteral("%"));
    spokenAs(form.Edit1, "毛利率");
}

void placeLookups(Form& form, WindowDialogs& dialogs, storedb::StoreObjects& store) {
    for (const LookupPlace& place : kLookups) {
        auto* combo = new TwwDBLookupCombo(dialogs, form.Panel8);
        combo->setObjectName(QString::fromLatin1(place.name));
        combo->setGeometry(place.at);
        spokenAs(combo, place.spoken);
        combo->setDataSource(&store.DS_PRODUCT);
        combo->setDataField(place.field);
        combo->setLookupTable(&(store.*place.table));
        combo->setLookupField(place.keyField);
        std::vector<LookupColumn> columns;
        for (const auto& c : place.columns) columns.push_back({c.field, c.width, big5(c.title)});
        combo->setColumns(std::move(columns));
        form.*place.control = combo;
    }
}

void placeLabels(Form& form) {
    for (const LabelPlace& place : kLabels) {
        auto* control = form.Panel8->findChild<QWidget*>(QString::fromLatin1(place.control));
        const QRect at = control->geometry();
        QLabel* label = placeLabel(form.Panel8, place.name, big5(place.caption),
                                   {place.left, at.top() + kLabelDrop, at.left() - 4 - place.left,
                                    kLabelHeight});
        label->setBuddy(control);
    }
}

void placeCheckBoxes(Form& form, WindowDialogs& dialogs, ds::DataSource& products) {
    form.GroupBox1 = placeWidget<QGroupBox>(form.Panel8, "GroupBox1", {98, 207, 611, 36});
    form.GroupBox1->setAccessibleName(QString::fromUtf8("商品旗標"));
    int left = 8;
    for (const CheckPlace& place : kChecks) {
        auto* box = new TDBCheckBox(dialogs, form.GroupBox1);
        box->setObjectName(QString::fromLatin1(place.name));
        box->setGeometry(left, 12, kCheckWidth, 17);
        box->setCaption(big5(place.caption));
        box->setValueChecked(place.checked);
        box->setValueUnchecked(place.unchecked);
        box->setDataSource(&products);
        box->setDataField(place.field);
        form.*place.control = box;
        left += kCheckStep;
    }
}

void placeRadioGroups(Form& form, WindowDialogs& dialogs, ds::DataSource& products) {
    for (const RadioPlace& place : kRadios) {
        auto* group = new TDBRadioGroup(dialogs, form.Panel8);
        group->setObjectName(QString::fromLatin1(place.name));
        group->setGeometry(place.at);
        group->setCaption(big5(place.caption));
        group->setColumns(place.columns);
        // The form's groups are sized for a smaller title than this style draws: the
        // buttons take all the room inside the frame.
        if (QLayout* inside = group->layout()) inside->setContentsMargins(2, 0, 2, 0);
        std::vector<RadioItem> items;
        for (const auto& [caption, value] : place.items)
            if (caption) items.push_back({big5(caption), big5(value)});
        group->setItems(std::move(items));
        group->setDataSource(&products);
        group->setDataField(place.field);
        form.*place.control = group;
    }
}

// Every control that takes the focus by the Tab key, in order: a radio group gives its
// buttons, GroupBox1 its check boxes.
std::vector<QWidget*> tabStops(Form& form) {
    std::vector<QWidget*> stops;
    for (const char* name : kTabOrder) {
        auto* control = form.Panel8->findChild<QWidget*>(QString::fromLatin1(name));
        if (auto* group = qobject_cast<QGroupBox*>(control)) {
            for (QWidget* child : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (child->focusPolicy() & Qt::TabFocus) stops.push_back(child);
        } else {
            stops.push_back(control);
        }
    }
    return stops;
}

}  // namespace

ProductEditor::ProductEditor(QWidget* area, WindowDialogs& dialogs, storedb::StoreObjects& store) {
    Panel8 = new Panel(QStringLiteral("Panel8"), area);
    Panel8->setColor(QColor(255, 255, 128));
    placeEdits(*this, dialogs, store.DS_PRODUCT);
    placeLookups(*this, dialogs, store);
    placeCheckBoxes(*this, dialogs, store.DS_PRODUCT);
    placeRadioGroups(*this, dialogs, store.DS_PRODUCT);
    placeLabels(*this);
    const std::vector<QWidget*> stops = tabStops(*this);
    for (std::size_t i = 1; i < stops.size(); ++i) QWidget::setTabOrder(stops[i - 1], stops[i]);
}

}  // namespace qor::window
