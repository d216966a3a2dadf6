#pragma once
// Store sign-in: the head office is asked for the customer row whose code and identification
// code are the ones typed; a store found is greeted by name.
//
//     signIn.ask(storeCode, password);   // the two requests
//     memo.clear();
//     workArea.setVisible(signIn.answer());
#include <string>

#include "dataset/dataset.h"
#include "text/dialogs.h"
#include "workflows/head_office.h"

namespace qor::workflows {

// The statement, the typed codes as quoted literals with every quote doubled, so that what
// is typed can neither break nor change it. Nothing is trimmed.
std::string signInStatement(const std::string& storeCode, const std::string& password);

class SignIn {
public:
    SignIn(HeadOffice& headOffice, Dialogs& dialogs) : headOffice_(headOffice), dialogs_(dialogs) {}

    // The statement goes out twice on purpose: ClientDataSet1 and CDS_Cust both hold the
    // reply. Ends as OpenRemoteQuery does, at the first request that fails.
    void ask(const std::string& storeCode, const std::string& password);

    // After ask: a store found is greeted with a plain box, its CUST_NAME followed by
    // "您好!!", and true comes back; none gets the warning "代號或識別碼錯誤..!" and false.
    // An empty first reply left ClientDataSet1 closed: fails with
    //     ClientDataSet1: Cannot perform this operation on a closed dataset
    bool answer();

    // The last sign-in's rows, twice; nothing else reads them.
    ds::Dataset ClientDataSet1{"ClientDataSet1"};
    ds::Dataset CDS_Cust{"CDS_Cust"};

private:
    HeadOffice& headOffice_;
    Dialogs& dialogs_;
};

}  // namespace qor::workflows
