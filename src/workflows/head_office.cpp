#include "workflows/head_office.h"

#include <stdexcept>

namespace qor::workflows {

void HeadOffice::setGateway(gateway::TDataModHttp* module) {
    gateway_ = module;
    if (gateway_) gateway_->setProgress(progress_);
}

gateway::TDataModHttp& HeadOffice::gateway() const {
    if (gateway_ == nullptr) throw std::logic_error("the gateway module is not set");
    return *gateway_;
}

void HeadOffice::ask(ds::Dataset& target, const std::string& statement,
                     const std::string& caption) {
    gateway::TDataModHttp& module = gateway();
    const NamedWork shown(progress_, caption, ProgressUnit::Bytes);
    module.OpenRemoteQuery(target, statement);
}

}  // namespace qor::workflows
