// qor-query gateway "<statement>": sends one statement through the gateway client, exactly as
// the program does, and prints the rows.
#include <iostream>
#include <string>

#include "dataset/dataset.h"
#include "gateway/FrmDataModHttp.h"
#include "dump_folder.h"
#include "print_rows.h"
#include "storedb/definition_paths.h"
#include "text/cp950.h"
#include "text/dialogs.h"
#include "text/errors.h"

namespace {

// Message boxes become lines on stderr.
class StderrDialogs : public qor::Dialogs {
public:
    void showMessage(const std::string& text) override {
        std::cerr << qor::text::cp950ToUtf8(text) << '\n';
    }
    void showWarning(const std::string& text) override {
        std::cerr << "Warning: " << qor::text::cp950ToUtf8(text) << '\n';
    }
};

// The argument's lines (typed in UTF-8) as the program's statement text: CP950, each line
// followed by CR LF.
std::string statementText(const std::string& argument) {
    const std::string bytes = qor::text::utf8ToCp950(argument);
    std::string text;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        text += line + "\r\n";
        start = end + 1;
    }
    return text;
}

}  // namespace

int runGatewayQuery(const char* statement) {
    StderrDialogs dialogs;
    qor::gateway::TDataModHttp gateway(qor::storedb::currentExecutableDir(), dumpFolder(), dialogs);
    qor::ds::Dataset result("ClientDataSet1");
    try {
        gateway.OpenRemoteQuery(result, statementText(statement));
    } catch (const qor::SilentAbort&) {
        return 2;  // the transport failure is already on stderr
    } catch (const qor::Error& error) {
        std::cerr << qor::text::cp950ToUtf8(error.what()) << '\n';
        return 1;
    }
    if (result.active()) qor::query::printRows(result, std::cout);
    return 0;
}
