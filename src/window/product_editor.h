#pragma once
// The product editor: Panel8's labels, edits, lookup combos, check boxes and radio groups,
// each bound to its field of the product record through DS_PRODUCT, in the form's tab order.
// Every control is spoken by its label's caption; a label stands left of its control and is
// its buddy. Panel8 is never disabled: the editor always takes input.
#include <QGroupBox>
#include <QLineEdit>

#include "storedb/store_objects.h"
#include "window/dbcontrols/DBCheckBox.h"
#include "window/dbcontrols/DBEdit.h"
#include "window/dbcontrols/DBRadioGroup.h"
#include "window/dbcontrols/wwDBLookupCombo.h"
#include "window/panel.h"
#include "window/window_dialogs.h"

namespace qor::window {

struct ProductEditor {
    // Panel8 inside `area` (Panel7), its controls over the store's DS_PRODUCT and lookup lists.
    ProductEditor(QWidget* area, WindowDialogs& dialogs, storedb::StoreObjects& store);

    Panel* Panel8;
    TDBEdit* DBEd_ProdID;        // PROD_ID
    TDBEdit* DBEdit2;            // PROD_ID2
    TDBEdit* DBEdit4;            // PROD_NAME
    TDBEdit* DBEdit6;            // PROD_SNAME
    TDBEdit* DBEdit5;            // PROD_SCALE
    TDBEdit* DBEdit3;            // PROD_BARCODE
    TwwDBLookupCombo* wwDBLookupCombo5;  // PD_ITEMID from CDS_PDITEM
    TDBEdit* DBEdit15;           // PD_ITEMNAME, name box
    TwwDBLookupCombo* wwDBLookupCombo8;  // PD_CLASSID from CDS_PDCLASS
    TDBEdit* DBEdit17;           // PD_CLASSNAME, name box
    TwwDBLookupCombo* wwDBLookupCombo1;  // PROVIDER_ID from CDS_Provider
    TDBEdit* DBEdit9;            // PROVIDER_NAME, name box
    TwwDBLookupCombo* wwDBLookupCombo2;  // UNITNAME: the code (UNIT_ID) of CDS_Unit
    TDBEdit* DBEdit11;           // N_PRICE
    TDBEdit* DBEdit10;           // SALE_PRICE
    TDBEdit* DBEdit18;           // P_PRICE
    TDBEdit* DBEdit_PPrice2;     // P_PRICE2
    TDBEdit* DBEdit_PsalePrice;  // PSALE_PRICE
    TDBEdit* DBEdit13;           // VIP_PRICE
    TDBEdit* DBEdit20;           // CR_PRICE
    QLineEdit* Edit1;            // "%", bound to nothing, does nothing
    TDBEdit* DBEdit21;           // FIRST_COST
    TDBEdit* DBEdit22;           // NET_COST
    TDBEdit* DBEdit23;           // ADD_COST
    TDBEdit* DBEdit24;           // STD_COST
    TDBEdit* DBEdit25;           // AVG_COST
    TDBEdit* DBEdit26;           // FREE_TAX
    TDBEdit* DBEdit27;           // U_DIS
    TDBRadioGroup* DBRadioGroup1;  // TAX_KIND
    TDBRadioGroup* DBRadioGroup2;  // BUY_CLASS
    QGroupBox* GroupBox1;          // the eight check boxes
    TDBCheckBox* DBCheckBox1;      // IN_TAG
    TDBCheckBox* DBCheckBox2;      // SAL_TAG
    TDBCheckBox* DBCheckBox3;      // DEL_FLAG
    TDBCheckBox* DBCheckBox4;      // P_PU, checked "0"
    TDBCheckBox* DBCheckBox5;      // P_PU2, checked "0"
    TDBCheckBox* DBCheckBox6;      // PRN_CODE_YN
    TDBCheckBox* DBCheckBox7;      // MEM_DISCOUNT
    TDBCheckBox* DBCheckBox8;      // WEB_SHOW
    TDBRadioGroup* DBRadioGroup3;  // STOCK_QTY
};

}  // namespace qor::window
