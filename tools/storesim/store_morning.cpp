#include "store_morning.h"

#include <chrono>
#include <exception>

#include "gateway/FrmDataModHttp.h"
#include "store_statements.h"
#include "text/dialogs.h"
#include "text/errors.h"

namespace qor::storesim {
namespace {

// The gateway module's message boxes: a transport failure's text is kept as the fault.
class KeptDialogs : public Dialogs {
public:
    void showMessage(const std::string& text) override { last = text; }
    void showWarning(const std::string& text) override { last = text; }
    std::string last;
};

}  // namespace

struct StoreLane::Program {
    Program(const MorningSettings& settings, const std::string& dumpDir)
        : http(settings.clientDir, dumpDir, dialogs, settings.timeoutMs) {}

    KeptDialogs dialogs;
    gateway::TDataModHttp http;
    ds::Dataset ClientDataSet1{"ClientDataSet1"}, CDS_Cust{"CDS_Cust"}, CDS_Source{"CDS_Source"},
        CDS_PSaleSub{"CDS_PSaleSub"}, CDS_Fac{"CDS_Fac"};
};

StoreLane::StoreLane(const MorningSettings& settings, const std::string& dumpDir,
                     ExpectedReplies& expected)
    : settings_(settings), dumpDir_(dumpDir), expected_(expected),
      program_(std::make_unique<Program>(settings, dumpDir)) {}

StoreLane::~StoreLane() = default;

void StoreLane::ask(Step step, ds::Dataset& target, const std::string& statement) {
    StepFigures& figures = figures_[static_cast<std::size_t>(step)];
    std::string fault;
    const auto started = std::chrono::steady_clock::now();
    try {
        program_->http.OpenRemoteQuery(target, statement);
    } catch (const SilentAbort&) {
        fault = program_->dialogs.last;
    } catch (const std::exception& e) {
        fault = e.what();
    }
    figures.milliseconds.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started)
            .count());
    if (fault.empty()) {
        try {
            fault = expected_.check(statement, target, dumpDir_ + "/Result.txt");
        } catch (const std::exception& e) {
            fault = std::string("the head office's rows cannot be read: ") + e.what();
        }
    }
    if (fault.empty()) return;
    ++figures.failures;
    if (figures.faults.size() < 5) figures.faults.push_back(fault);
}

void StoreLane::playMorning(const StoreAccount& store) {
    Program& p = *program_;
    const std::string signIn = signInStatement(store.code, store.password);
    ask(Step::SignIn, p.ClientDataSet1, signIn);
    ask(Step::SignIn, p.CDS_Cust, signIn);

    ask(Step::Products, p.CDS_Source, changedProductsStatement(settings_.days));

    const std::string list = promotionListStatement();
    ask(Step::Promotions, p.CDS_Source, list);
    for (const std::string& id : expected_.masterIds(list))
        ask(Step::PromotionItems, p.CDS_PSaleSub, promotionItemsStatement(id));

    ask(Step::Suppliers, p.CDS_Fac, supplierStatement());
}

}  // namespace qor::storesim
