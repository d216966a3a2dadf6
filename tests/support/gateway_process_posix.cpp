#include "gateway_process.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "child_process.h"
#include "temp_database.h"

extern char** environ;

namespace fs = std::filesystem;

namespace qor::test {
namespace {

// Bounds for a gateway that never comes up or never goes down. They only keep a broken
// build from hanging the test run; a healthy gateway needs a small part of them.
constexpr auto kStartLimit = std::chrono::seconds(60);
constexpr auto kStopLimit = std::chrono::seconds(30);

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Reads the child's stdout until the "listening on <host>:<port>" line; 0 when the child
// closed it first or the limit passed.
int readListeningPort(int fd) {
    static const std::string marker = "listening on ";
    std::string output;
    const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 200) <= 0) continue;
        char buffer[256];
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0) return 0;
        output.append(buffer, static_cast<std::size_t>(n));
        std::size_t at = output.find(marker);
        std::size_t end = at == std::string::npos ? at : output.find('\n', at);
        if (end != std::string::npos) {
            std::string address = output.substr(at + marker.size(), end - at - marker.size());
            std::size_t colon = address.rfind(':');
            return colon == std::string::npos ? 0 : std::atoi(address.c_str() + colon + 1);
        }
    }
    return 0;
}

// One plain HTTP request; true when an HTTP status line comes back.
bool answersHttp(const std::string& host, int port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    ::inet_pton(AF_INET, host.c_str(), &address.sin_addr);
    bool ok = false;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        const std::string request = "GET /ready HTTP/1.0\r\n\r\n";
        if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) ==
            static_cast<ssize_t>(request.size())) {
            char buffer[16] = {};
            ssize_t n = ::recv(fd, buffer, 5, MSG_WAITALL);
            ok = n == 5 && std::string(buffer, 5) == "HTTP/";
        }
    }
    ::close(fd);
    return ok;
}

}  // namespace

GatewayProcess::GatewayProcess(const std::string& extraSql, GatewayAccount account,
                               std::vector<std::string> options)
    : account_(std::move(account)), options_(std::move(options)) {
    database_ = std::make_unique<TempDatabase>(
        std::vector<std::string>{"db/headoffice-schema.sql"}, extraSql, "HEADOFFICE.FDB");
    folder_ = database_->folder().string();
    databasePath_ = database_->path();
    clientDir_ = folder_ + "/client";
    logPath_ = folder_ + "/gateway.log";
    fs::create_directories(clientDir_);
    start(0);
}

GatewayProcess::~GatewayProcess() {
    if (running()) expectCleanEnd(stop());
}

void GatewayProcess::expectCleanEnd(int status) const {
    // Under the sanitizers a leak, a memory fault or undefined behaviour in the gateway shows
    // only in its exit status and its log.
    if (status != 0) ADD_FAILURE() << "qor-gateway ended with status " << status << ":\n" << log();
}

void GatewayProcess::start(int port) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("cannot make a pipe");

    // QOR_GATEWAY_PROGRAM names another build of qor-gateway, for comparing builds.
    const char* other = std::getenv("QOR_GATEWAY_PROGRAM");
    const std::string program =
        other && *other ? other : std::string(QOR_BIN_DIR) + "/qor-gateway";
    std::vector<std::string> args = {program,
                                     "--listen", host_,
                                     "--port", std::to_string(port),
                                     "--database", databasePath_,
                                     "--user", account_.userName,
                                     "--password", account_.password};
    args.insert(args.end(), options_.begin(), options_.end());
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, logPath_.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    pid_t pid = -1;
    int failed = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (failed != 0) {
        ::close(out[0]);
        throw std::runtime_error("cannot start " + program);
    }
    pid_ = pid;

    port_ = readListeningPort(out[0]);
    ::close(out[0]);
    bool ready = port_ > 0;
    const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
    while (ready && !answersHttp(host_, port_)) {
        if (std::chrono::steady_clock::now() > deadline) ready = false;
        else std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!ready) {
        stop();
        throw std::runtime_error("qor-gateway did not start:\n" + log());
    }
}

int GatewayProcess::stop() {
    if (pid_ <= 0) return -1;
    const int status = stopChild(pid_, kStopLimit);
    pid_ = -1;
    return status;
}

void GatewayProcess::runSql(const std::string& sql) {
    const int port = port_;
    expectCleanEnd(stop());
    database_->runSql(sql);
    start(port);
}

void GatewayProcess::writeHttpSet(const std::string& dir, const std::string& driver) const {
    std::ofstream out(dir + "/httpset.ini", std::ios::binary | std::ios::trunc);
    out << "[set]\r\n"
        << "host=" << host_ << "\r\n"
        << "user_name=" << account_.userName << "\r\n"
        << "password=" << account_.password << "\r\n"
        << "port=" << port_ << "\r\n"
        << "driver=" << driver << "\r\n";
    if (!out) throw std::runtime_error("cannot write " + dir + "/httpset.ini");
}

std::string GatewayProcess::log() const { return readWhole(logPath_); }

}  // namespace qor::test
