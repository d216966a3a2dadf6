// qor-query gateway "<statement>": sends one statement through the gateway client, exactly as
// the program does, and prints the rows.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "dataset/dataset.h"
#include "gateway/FrmDataModHttp.h"
#include "print_rows.h"
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

std::string executableFolder() {
    std::error_code error;
    auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : self.parent_path().string();
}

// The program's per-user data folder, where the reply dump goes.
std::string dataFolder() {
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
        return std::string(data) + "/QorClient";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/share/QorClient";
}

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
    qor::gateway::TDataModHttp gateway(executableFolder(), dataFolder(), dialogs);
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
