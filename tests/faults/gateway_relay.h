#pragma once
// GatewayRelay: a hop on 127.0.0.1 between the program and a real head-office gateway. It
// passes each request on and the gateway's reply back, unless a fault is queued for the
// connection: then that connection gets the fault instead. So one gateway module meets a
// misbehaving gateway and then, on its next call, the good one behind the same address.
//
//     qor::test::GatewayProcess gateway(rows);
//     GatewayRelay relay(gateway.port());          // httpset.ini names relay.port()
//     relay.inject(GatewayRelay::stall());         // the next connection never gets an answer
//     ...                                          // later connections are passed on
//
// Connections are served one at a time, in the order they come.
#include <atomic>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

namespace qor::test {

class GatewayRelay {
public:
    struct Fault {
        enum class Kind {
            Answer,    // the request read, `bytes` written in place of the gateway's reply
            CutReply,  // the gateway's reply up to `cutAt(reply)` bytes, then the close
            Stall,     // the request read, no answer until the client closes
        } kind;
        std::string bytes;
        std::function<std::size_t(const std::string& reply)> cutAt;
    };
    static Fault answer(std::string bytes) { return {Fault::Kind::Answer, std::move(bytes), {}}; }
    static Fault cutReply(std::function<std::size_t(const std::string&)> at) {
        return {Fault::Kind::CutReply, {}, std::move(at)};
    }
    static Fault stall() { return {Fault::Kind::Stall, {}, {}}; }

    // Listens on a free port of 127.0.0.1 and passes requests on to the gateway's port there.
    explicit GatewayRelay(int gatewayPort);
    ~GatewayRelay();
    GatewayRelay(const GatewayRelay&) = delete;
    GatewayRelay& operator=(const GatewayRelay&) = delete;

    int port() const { return port_; }

    // The next `connections` connections get `fault`, after any queued before.
    void inject(const Fault& fault, int connections = 1);
    // Stops listening: a connect to port() is refused until listenAgain().
    void refuse();
    void listenAgain();

    // Connections accepted so far.
    int connections() const { return accepted_.load(); }

private:
    void serve();
    void handle(int client);

    int gatewayPort_;
    int port_ = 0;
    int listener_ = -1;
    std::atomic<bool> stopping_{false};
    std::atomic<int> accepted_{0};
    std::mutex mutex_;
    std::deque<Fault> faults_;
    std::thread thread_;
};

}  // namespace qor::test
