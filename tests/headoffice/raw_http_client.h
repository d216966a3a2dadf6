#pragma once
// A bare TCP client for the gateway tests that need to misbehave: send part of a request,
// trickle it, or count how a reply arrives.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

namespace qor::headoffice::testing {

class RawHttpClient {
public:
    explicit RawHttpClient(int port) {
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        ::inet_pton(AF_INET, "127.0.0.1", &address.sin_addr);
        connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawHttpClient() { ::close(fd_); }
    RawHttpClient(const RawHttpClient&) = delete;
    RawHttpClient& operator=(const RawHttpClient&) = delete;

    bool connected() const { return connected_; }
    int fd() const { return fd_; }

    // False once the gateway has closed the connection (or reset it).
    bool send(const std::string& bytes) {
        return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
               static_cast<ssize_t>(bytes.size());
    }

    // Everything until the gateway closes, or until `most` has passed; `pieces` gets the
    // size of each read that brought data.
    std::string readToClose(std::chrono::seconds most = std::chrono::seconds(30),
                            std::vector<std::size_t>* pieces = nullptr) {
        std::string text;
        const auto deadline = std::chrono::steady_clock::now() + most;
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0) continue;
            char buffer[65536];
            const ssize_t got = ::recv(fd_, buffer, sizeof buffer, 0);
            if (got <= 0) {
                closedByPeer_ = true;
                break;
            }
            text.append(buffer, static_cast<std::size_t>(got));
            if (pieces) pieces->push_back(static_cast<std::size_t>(got));
        }
        return text;
    }

    // The gateway closed (or reset) the connection during readToClose().
    bool closedByPeer() const { return closedByPeer_; }

private:
    int fd_ = -1;
    bool connected_ = false;
    bool closedByPeer_ = false;
};

// A POST of the store's form to the gateway's path, with the built-in account.
inline std::string storeRequest(const std::string& sql) {
    const std::string boundary = "--------010124120000000";
    std::string body;
    for (auto [name, value] : std::vector<std::pair<std::string, std::string>>{
             {"user_name", "SYSDBA"}, {"password", "quillbarn"}, {"sql", sql}})
        body += "--" + boundary + "\r\nContent-Disposition: form-data; name=\"" + name +
                "\"\r\n\r\n" + value + "\r\n";
    body += "\r\n--" + boundary + "--\r\n";
    return "POST /oVat/ado/index.php?user_name=SYSDBA&password=quillbarn HTTP/1.0\r\n"
           "Content-Type: multipart/form-data; boundary=" + boundary + "\r\n"
           "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// What follows the head of a reply read whole.
inline std::string afterHead(const std::string& reply) {
    const std::size_t end = reply.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : reply.substr(end + 4);
}

}  // namespace qor::headoffice::testing
