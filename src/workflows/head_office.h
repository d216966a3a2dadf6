#pragma once
// The head office as the workflows reach it: one statement per request through the gateway
// module (TDataModHttp::OpenRemoteQuery), shown as a work of its own while the reply arrives.
// The window is made before the gateway module, so the module is handed over once it exists.
#include <string>

#include "dataset/dataset.h"
#include "gateway/FrmDataModHttp.h"
#include "text/work_progress.h"

namespace qor::workflows {

class HeadOffice {
public:
    // Requests tell `progress` (nullptr: nobody) and may be stopped there.
    explicit HeadOffice(WorkProgress* progress = nullptr) : progress_(progress) {}

    // From now on requests go through `module` (nullptr: none).
    void setGateway(gateway::TDataModHttp* module);
    // The module; std::logic_error "the gateway module is not set" before setGateway.
    gateway::TDataModHttp& gateway() const;

    // OpenRemoteQuery(target, statement), shown under `caption` counting the reply's bytes;
    // it ends as OpenRemoteQuery does.
    void ask(ds::Dataset& target, const std::string& statement, const std::string& caption);

    // Where the requests tell their progress: the workflows' own work reports there too.
    WorkProgress* progress() const { return progress_; }

private:
    gateway::TDataModHttp* gateway_ = nullptr;
    WorkProgress* progress_;
};

}  // namespace qor::workflows
