#pragma once
// Every store-database object the main window owns, made and wired once: two connections,
// four queries, six provider chains and two data sources. Nothing opens at creation.
#include "dataset/dataset.h"
#include "dataset/datasource.h"
#include "storedb/connection.h"
#include "storedb/definition_paths.h"
#include "storedb/provider.h"
#include "storedb/query.h"

namespace qor::storedb {

struct StoreObjects {
    explicit StoreObjects(const DefinitionPaths& paths);
    StoreObjects(const StoreObjects&) = delete;
    StoreObjects& operator=(const StoreObjects&) = delete;

    SqlConnection SQLConnection1;
    SqlConnection SQLConnection2;

    SqlQuery SQLQuery1;  // look-ups and the product insert
    SqlQuery SQLQuery2;  // the look-up of the product dataset's state change
    SqlQuery SQL_M;      // promotion master insert (SQLConnection2)
    SqlQuery SQL_S;      // promotion item inserts (SQLConnection2)

    SqlQuery SQL_Product;
    SqlQuery SQL_PDITEM;
    SqlQuery SQL_Provider;
    SqlQuery SQL_PDCLASS;
    SqlQuery SQL_Unit;
    SqlQuery SQL_PSaleMaster;

    Provider DSP_Product;
    Provider DSP_PDITEM;
    Provider DSP_Provider;
    Provider DSP_PDCLASS;
    Provider DSP_UNIT;
    Provider DSP_PSaleMaster;

    ds::Dataset CDS_PRODUCT;      // the product record, 1000 rows per fetch
    ds::Dataset CDS_PDITEM;
    ds::Dataset CDS_Provider;
    ds::Dataset CDS_PDCLASS;
    ds::Dataset CDS_Unit;
    ds::Dataset CDS_PsaleMaster;  // no field list: the columns of what it is opened with

    ds::DataSource DS_PRODUCT;
    ds::DataSource DS_PSaleMaster;
};

}  // namespace qor::storedb
