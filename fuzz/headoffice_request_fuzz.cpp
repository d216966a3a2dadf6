// Requests to the head-office gateway, as bytes on its connection: the HTTP library takes
// the request apart as the running gateway's does, and every POST then meets the gateway's
// own readers: the account in the query string and the form, the form's "sql" field, and
// the one-SELECT check. The bytes also go to the query-string reader as a request target.
#include <httplib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "account_check.h"
#include "property_check.h"
#include "request_fields.h"
#include "statement_check.h"

namespace {

using namespace qor::headoffice;

// The connection: reads hand out the input, writes (the reply) are dropped.
class BytesStream : public httplib::Stream {
public:
    explicit BytesStream(std::string_view bytes) : bytes_(bytes) {}
    bool is_readable() const override { return true; }
    bool is_writable() const override { return true; }
    ssize_t read(char* ptr, size_t size) override {
        const std::size_t n = std::min(size, bytes_.size());
        std::memcpy(ptr, bytes_.data(), n);
        bytes_.remove_prefix(n);
        return static_cast<ssize_t>(n);
    }
    ssize_t write(const char*, size_t size) override { return static_cast<ssize_t>(size); }
    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        ip = "127.0.0.1";
        port = 50000;
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        ip = "127.0.0.1";
        port = 8080;
    }
    socket_t socket() const override { return 0; }

private:
    std::string_view bytes_;
};

void checkQueryValues(std::string_view target, std::string_view name) {
    for (const QueryValue& v : queryValues(target, name)) {
        QOR_FUZZ_EXPECT(v.decoded == percentDecoded(v.raw));
        QOR_FUZZ_EXPECT(v.decoded.size() <= v.raw.size());
        QOR_FUZZ_EXPECT(target.find(v.raw) != std::string_view::npos);
    }
}

void answer(const httplib::Request& request, httplib::Response& response) {
    checkQueryValues(request.target, "user_name");
    checkQueryValues(request.target, "password");
    const bool accepted = accountMatches(request, Account{"SYSDBA", "quillbarn"});
    std::string reply = accepted ? "account" : "no account";
    for (const char* name : {"user_name", "password", "sql"}) {
        if (auto value = formField(request, name)) reply += " " + std::string(name);
    }
    if (auto sql = formField(request, "sql")) {
        const CheckedStatement checked = checkStatement(*sql);
        QOR_FUZZ_EXPECT(checked.accepted != !checked.refusal.empty());
    }
    response.set_content(reply, "text/plain");
}

// The library's request handling is reached through its protected entry for one connection.
class BytesServer : public httplib::Server {
public:
    BytesServer() {
        set_payload_max_length(16 * 1024 * 1024);
        Post(".*", answer);
    }
    void serve(std::string_view bytes) {
        BytesStream stream(bytes);
        bool closed = false;
        process_request(stream, true, closed, nullptr);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static BytesServer server;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    server.serve(bytes);
    checkQueryValues(bytes, "user_name");
    checkQueryValues(bytes, "sql");
    return 0;
}
