#pragma once
// Supplier list: the head office's suppliers by code. Sorting by a column and the search as
// the staff type belong to the grid and the search edit that show this list.
#include <string>

#include "dataset/dataset.h"
#include "dataset/datasource.h"
#include "workflows/head_office.h"

namespace qor::workflows {

// Code, name, telephone and business number of every supplier, by code.
std::string supplierStatement();

class Suppliers {
public:
    explicit Suppliers(HeadOffice& headOffice) : headOffice_(headOffice) {}

    // The list into CDS_Fac; ends as OpenRemoteQuery does.
    void load();

    ds::Dataset CDS_Fac{"CDS_Fac"};
    ds::DataSource DS_Fac{"DS_Fac", &CDS_Fac};

private:
    HeadOffice& headOffice_;
};

}  // namespace qor::workflows
