#pragma once
// Shared pieces of the gateway tests: a gateway module over a temporary folder with
// httpset.ini, and readers for the parts of a recorded request.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "recording_dialogs.h"
#include "temp_folder.h"

namespace qor::gateway::testing {

using qor::test::RecordingDialogs;
using qor::test::TempFolder;

inline void writeFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// The boundary named in a request's Content-Type header.
inline std::string boundaryOf(const std::string& request) {
    auto at = request.find("boundary=");
    if (at == std::string::npos) return {};
    at += 9;
    return request.substr(at, request.find("\r\n", at) - at);
}

inline std::string requestLineOf(const std::string& request) {
    return request.substr(0, request.find("\r\n"));
}

inline std::string headOf(const std::string& request) {
    return request.substr(0, request.find("\r\n\r\n") + 4);
}

inline std::string bodyOf(const std::string& request) {
    auto at = request.find("\r\n\r\n");
    return at == std::string::npos ? std::string() : request.substr(at + 4);
}

// A header's value in a request; empty when absent.
inline std::string headerOf(const std::string& request, const std::string& name) {
    std::string head = headOf(request);
    auto at = head.find("\r\n" + name + ": ");
    if (at == std::string::npos) return {};
    at += name.size() + 4;
    return head.substr(at, head.find("\r\n", at) - at);
}

// The value of one form field of a request's multipart body, as a multipart reader sees it.
inline std::string formFieldOf(const std::string& request, const std::string& name) {
    const std::string body = bodyOf(request);
    const std::string delimiter = "\r\n--" + boundaryOf(request);
    const std::string start = "Content-Disposition: form-data; name=\"" + name + "\"\r\n\r\n";
    auto at = body.find(start);
    if (at == std::string::npos) return "<missing>";
    at += start.size();
    return body.substr(at, body.find(delimiter, at) - at);
}

}  // namespace qor::gateway::testing

#include <memory>

#include "dataset/dataset.h"
#include "gateway/FrmDataModHttp.h"
#include "text/cp950.h"
#include "text/errors.h"

namespace qor::gateway::testing {

// How one OpenRemoteQuery call ended.
struct Outcome {
    enum Kind { Returned, Failed, Aborted } kind;
    std::string text;  // the error's text when Failed
};

inline bool operator==(const Outcome& a, const Outcome& b) {
    return a.kind == b.kind && a.text == b.text;
}

inline std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    static const char* const names[] = {"Returned", "Failed", "Aborted"};
    return out << names[o.kind] << " \"" << o.text << "\"";
}

inline Outcome returned() { return {Outcome::Returned, {}}; }
inline Outcome failed(std::string text) { return {Outcome::Failed, std::move(text)}; }
inline Outcome aborted() { return {Outcome::Aborted, {}}; }

// A gateway module whose httpset.ini points at `port` on 127.0.0.1, with a dump folder and
// recorded message boxes, and a gateway-fed target dataset.
class GatewayClient {
public:
    explicit GatewayClient(unsigned short port, int timeoutMs = 10000,
                           const std::string& moreSettings = "") {
        writeFile(folder.file("httpset.ini"),
                  "[set]\r\nport=" + std::to_string(port) + "\r\n" + moreSettings);
        module = std::make_unique<TDataModHttp>(folder.path().string(), dumpDir(), dialogs, timeoutMs);
    }

    std::string dumpDir() const { return folder.file("dump"); }

    Outcome call(const std::string& statement = "select * from customer\r\n") {
        try {
            module->OpenRemoteQuery(target, statement);
            return returned();
        } catch (const Error& e) {
            return failed(e.what());
        } catch (const SilentAbort&) {
            return aborted();
        }
    }

    // The transport-failure message for a failure text.
    std::string failureMessage(const std::string& text) const {
        return module->QueryUrl() + text::utf8ToCp950("錯誤的連線: ") + text;
    }

    // Opens the target on one column and one row, to see whether a call touches it.
    void fillTarget() {
        ds::Table table;
        table.columns.push_back({"OLD", ds::FieldKind::String, 10});
        table.rows.push_back({std::string("kept")});
        target.openWith(table);
    }
    bool targetUntouched() {
        return target.active() && target.fieldCount() == 1 && target.recordCount() == 1 &&
               target.field(0).asString() == "kept";
    }

    TempFolder folder;
    RecordingDialogs dialogs;
    std::unique_ptr<TDataModHttp> module;
    ds::Dataset target{"ClientDataSet1"};
};

}  // namespace qor::gateway::testing
