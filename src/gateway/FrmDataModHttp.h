#pragma once
// Store side: the client of the head office's gateway (the server is tools/headoffice-gateway).
// The gateway data module: all head-office data reaches the program through OpenRemoteQuery.
#include <chrono>
#include <map>
#include <memory>
#include <string>

#include "dataset/dataset.h"
#include "text/dialogs.h"
#include "text/work_progress.h"

namespace qor::gateway {

class TDataModHttp {
public:
    // Reads httpset.ini in `executableDir` (section "set") and composes QueryUrl (https with
    // "tls=1", the certificate checked against "cafile" or the system's authorities); sends
    // nothing. `dumpDir` receives Result.txt. `timeoutMs` bounds the connect and every wait
    // for data (300000 in the program; tests pass less).
    TDataModHttp(std::string executableDir, std::string dumpDir, Dialogs& dialogs,
                 int timeoutMs = 300000);
    ~TDataModHttp();
    TDataModHttp(const TDataModHttp&) = delete;
    TDataModHttp& operator=(const TDataModHttp&) = delete;

    // Sends one statement (lines each followed by CR LF) and loads the reply into `target`.
    // Endings: the target filled, first row current; a transport failure: a plain message box
    // (QueryUrl + "錯誤的連線: " + the failure's text), then qor::SilentAbort, target
    // untouched; a reply beginning "<RESULT>": qor::Error with the whole reply, target
    // untouched; a reply that cannot be loaded: qor::Error with the whole reply, target
    // closed; an empty reply: target closed, normal return.
    // Transport failure texts: the status line as received (a status that is neither 2xx
    // nor a redirect, or a redirect without a Location); "Connection refused."; "Connect
    // timed out."; "Read timed out."; "Write timed out."; "Maximum line length exceeded.";
    // "Connection closed gracefully." (closed before the reply's head ended); "Invalid chunk
    // size."; "Invalid port number: <port>"; "Unsupported protocol: <name>" (a redirect
    // elsewhere than http or https); "Redirect from https to http refused: <Location>"; the
    // TLS failures of SocketConnection::connect
    // ("certificate verify failed (<reason>)", ...); Cannot create file "<dump path>".
    // <reason>; otherwise the system's own text.
    //
    // With a progress given (setProgress), the exchange and the reply dump run through its
    // runAside, so the window answers meanwhile; the exchange tells the reply's bytes as they
    // arrive (0 while it waits for the gateway), and a stop asked for ends the exchange at
    // once, a read that waits for data included: as a transport failure without its box
    // (qor::SilentAbort, target untouched, no reply dump). The target is loaded here, on the
    // caller's thread. A call made while another runs (from the window's events during the
    // exchange) fails with std::logic_error and sends nothing.
    void OpenRemoteQuery(ds::Dataset& target, const std::string& statement);

    // Where the exchange tells its progress and learns of a stop; nullptr (the default):
    // nobody, and no stop.
    void setProgress(WorkProgress* progress) { progress_ = progress; }

    const std::string& QueryUrl() const { return queryUrl_; }
    const std::string& GatewayHost() const { return host_; }
    const std::string& GatewayUserName() const { return userName_; }
    const std::string& GatewayPassword() const { return password_; }
    const std::string& GatewayDriver() const { return driver_; }
    const std::string& GatewayPort() const { return port_; }
    // Where Result.txt goes; the item check keeps its statement dump beside it.
    const std::string& dumpDir() const { return dumpDir_; }

    // How long the last OpenRemoteQuery spent on each step, for benchmarks and for looking
    // into a slow exchange. The transfer includes reading the packet's rows as they arrive.
    struct StepTimes {
        std::chrono::nanoseconds transfer{0}, dump{0}, load{0};
    };
    const StepTimes& lastStepTimes() const { return stepTimes_; }

private:
    struct Http;  // the HTTP client (IdHTTP1): connection, cookies
    std::string dumpDir_;
    Dialogs& dialogs_;
    std::string host_, userName_, password_, port_, driver_, queryUrl_;
    std::unique_ptr<Http> http_;
    WorkProgress* progress_ = nullptr;
    bool exchanging_ = false;
    StepTimes stepTimes_;
};

}  // namespace qor::gateway
