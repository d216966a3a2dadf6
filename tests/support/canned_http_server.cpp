#include "canned_http_server.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/write.hpp>
#include <cctype>
#include <stdexcept>

namespace qor::test {

using boost::asio::ip::tcp;

struct CannedHttpServer::Sockets {
    boost::asio::io_context io;
    tcp::acceptor acceptor{io};
};

namespace {

const tcp::endpoint anyLoopbackPort(boost::asio::ip::address_v4::loopback(), 0);

std::size_t contentLength(const std::string& head) {
    const std::string key = "content-length:";
    std::string lower;
    for (char c : head) lower.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    auto at = lower.find(key);
    if (at == std::string::npos) return 0;
    return std::stoul(head.substr(at + key.size()));
}

// Reads the whole request (headers, then Content-Length bytes of body) before the reply goes
// out, so the client never meets a reset while it is still writing; false when the client
// leaves first.
bool readRequest(tcp::socket& client) {
    std::string request;
    char buffer[4096];
    std::size_t headEnd = std::string::npos;
    std::size_t wanted = 0;
    for (;;) {
        if (headEnd == std::string::npos) {
            headEnd = request.find("\r\n\r\n");
            if (headEnd != std::string::npos) wanted = headEnd + 4 + contentLength(request.substr(0, headEnd));
        }
        if (headEnd != std::string::npos && request.size() >= wanted) return true;
        boost::system::error_code error;
        std::size_t n = client.read_some(boost::asio::buffer(buffer), error);
        if (error || n == 0) return false;
        request.append(buffer, n);
    }
}

}  // namespace

CannedHttpServer::CannedHttpServer(std::string reply)
    : reply_(std::move(reply)), sockets_(std::make_unique<Sockets>()) {
    boost::system::error_code error;
    auto& acceptor = sockets_->acceptor;
    acceptor.open(anyLoopbackPort.protocol(), error);
    if (!error) acceptor.bind(anyLoopbackPort, error);
    if (!error) acceptor.listen(8, error);
    if (error) throw std::runtime_error("cannot listen: " + error.message());
    port_ = acceptor.local_endpoint().port();
    thread_ = std::thread([this] { serve(); });
}

CannedHttpServer::~CannedHttpServer() {
    stopping_ = true;
    // A connection of our own wakes the blocked accept, which then sees the stop.
    boost::system::error_code ignored;
    tcp::socket wake(sockets_->io);
    wake.connect(tcp::endpoint(boost::asio::ip::address_v4::loopback(),
                               static_cast<unsigned short>(port_)),
                 ignored);
    thread_.join();
}

std::string CannedHttpServer::okReply(const std::string& body) {
    return "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\n\r\n" + body;
}

void CannedHttpServer::serve() {
    for (;;) {
        boost::system::error_code error;
        tcp::socket client = sockets_->acceptor.accept(error);
        if (error || stopping_) return;
        if (!readRequest(client)) continue;
        ++requests_;
        boost::asio::write(client, boost::asio::buffer(reply_), error);
    }
}

int closedPort() {
    boost::asio::io_context io;
    tcp::acceptor acceptor(io, anyLoopbackPort);
    return acceptor.local_endpoint().port();
}

}  // namespace qor::test
