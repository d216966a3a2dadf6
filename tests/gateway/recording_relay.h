#pragma once
// RecordingRelay: a hop on 127.0.0.1 in front of a gateway that passes every byte both ways
// unchanged, whatever they are (TLS records included), and keeps a copy: what anyone on the
// path between a store and its head office would see.
//
//     RecordingRelay relay(gateway.port());   // httpset.ini names relay.port()
//     ...                                     // the store's calls
//     EXPECT_EQ(relay.bytes().find(password), std::string::npos);
//
// Connections are passed on one at a time, in the order they come.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace qor::gateway::testing {

class RecordingRelay {
public:
    explicit RecordingRelay(int gatewayPort);
    ~RecordingRelay();
    RecordingRelay(const RecordingRelay&) = delete;
    RecordingRelay& operator=(const RecordingRelay&) = delete;

    int port() const { return port_; }
    // Every byte passed on so far, in both directions, in the order it came.
    std::string bytes() const;

private:
    void serve();
    void pass(int store);

    int gatewayPort_;
    int port_ = 0;
    int listener_ = -1;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::string bytes_;
    std::thread thread_;
};

}  // namespace qor::gateway::testing
