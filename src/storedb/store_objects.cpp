#include "storedb/store_objects.h"

#include "storedb/lookup_datasets.h"
#include "storedb/product_record.h"

namespace qor::storedb {

namespace {

// Both connections name the "Tendro" section, so these two built-in paths serve only until
// the first connect loads that section.
constexpr const char* kDatabase1 = "127.0.0.1:D:\\Tendro\\Data\\Data15\\POSDATA.GDB";
constexpr const char* kDatabase2 = "127.0.0.1:d:\\Tendro\\Data\\Data45\\POSDATA.GDB";

}  // namespace

StoreObjects::StoreObjects(const DefinitionPaths& paths)
    : SQLConnection1("SQLConnection1", paths, kDatabase1),
      SQLConnection2("SQLConnection2", paths, kDatabase2),
      SQLQuery1("SQLQuery1", SQLConnection1),
      SQLQuery2("SQLQuery2", SQLConnection1),
      SQL_M("SQL_M", SQLConnection2),
      SQL_S("SQL_S", SQLConnection2),
      SQL_Product("SQL_Product", SQLConnection1),
      SQL_PDITEM("SQL_PDITEM", SQLConnection1),
      SQL_Provider("SQL_Provider", SQLConnection1),
      SQL_PDCLASS("SQL_PDCLASS", SQLConnection1),
      SQL_Unit("SQL_Unit", SQLConnection1),
      SQL_PSaleMaster("SQL_PSaleMaster", SQLConnection1),
      DSP_Product("DSP_Product", SQL_Product),
      DSP_PDITEM("DSP_PDITEM", SQL_PDITEM),
      DSP_Provider("DSP_Provider", SQL_Provider),
      DSP_PDCLASS("DSP_PDCLASS", SQL_PDCLASS),
      DSP_UNIT("DSP_UNIT", SQL_Unit),
      DSP_PSaleMaster("DSP_PSaleMaster", SQL_PSaleMaster),
      CDS_PRODUCT("CDS_PRODUCT"),
      CDS_PDITEM("CDS_PDITEM"),
      CDS_Provider("CDS_Provider"),
      CDS_PDCLASS("CDS_PDCLASS"),
      CDS_Unit("CDS_Unit"),
      CDS_PsaleMaster("CDS_PsaleMaster"),
      DS_PRODUCT("DS_PRODUCT", &CDS_PRODUCT),
      DS_PSaleMaster("DS_PSaleMaster", &CDS_PsaleMaster) {
    SQL_Product.addLine("select First 1000 skip 0 * from PRODUCT");
    SQL_Product.addLine("order by PROD_ID");
    SQL_PDITEM.addLine("select PD_ITEMID, PD_ITEMNAME from PROD_ITEM");
    SQL_PDITEM.addLine("ORDER BY PD_ITEMID");
    SQL_Provider.addLine("select PROVIDER_ID, PROVIDER_NAME from PROVIDER");
    SQL_Provider.addLine("order by Provider_id");
    SQL_PDCLASS.addLine("select PD_CLASSID, PD_CLASSNAME from PROD_CLASS");
    SQL_Unit.addLine("select * from PROD_UNIT");

    declareProductFields(CDS_PRODUCT);
    CDS_PRODUCT.setProvider(&DSP_Product);
    CDS_PRODUCT.setPacketRecords(1000);

    declarePdItemFields(CDS_PDITEM);
    CDS_PDITEM.setProvider(&DSP_PDITEM);
    declareProviderFields(CDS_Provider);
    CDS_Provider.setProvider(&DSP_Provider);
    declarePdClassFields(CDS_PDCLASS);
    CDS_PDCLASS.setProvider(&DSP_PDCLASS);
    declareUnitFields(CDS_Unit);
    CDS_Unit.setProvider(&DSP_UNIT);

    CDS_PsaleMaster.setProvider(&DSP_PSaleMaster);
}

}  // namespace qor::storedb
