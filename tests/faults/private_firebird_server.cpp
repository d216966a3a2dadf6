#include "private_firebird_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

#include "child_process.h"
#include "text/builtin_account.h"

extern char** environ;

namespace fs = std::filesystem;

namespace qor::test {
namespace {

constexpr const char* kServerProgram = "/usr/sbin/firebird";
// A bound for a server that never comes up; a healthy one needs a small part of it.
constexpr auto kStartLimit = std::chrono::seconds(60);
// Firebird 3 now and then hangs in its shutdown while attachments are open; an administrator's
// stop script then kills it, and so does stop().
constexpr auto kShutdownGrace = std::chrono::seconds(5);

std::string commandOutput(const std::string& command) {
    std::string output;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return output;
    std::array<char, 4096> buffer{};
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(command + " failed:\n" + output);
    return output;
}

// A folder of the installed Firebird as fb_config names it ("--msgdir", "--intldir").
std::string installedFolder(const char* option) {
    std::string folder = commandOutput(std::string("fb_config ") + option);
    while (!folder.empty() && (folder.back() == '\n' || folder.back() == ' ')) folder.pop_back();
    return folder;
}

int freePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopback(0);
    socklen_t size = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        throw std::runtime_error("no free port");
    ::close(fd);
    return ntohs(address.sin_port);
}

bool accepts(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_in address = loopback(port);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

std::string readWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

bool PrivateFirebirdServer::available() { return ::access(kServerProgram, X_OK) == 0; }

PrivateFirebirdServer::PrivateFirebirdServer()
    : root_(folder_.file("root")), lockDir_(folder_.file("lock")), port_(freePort()) {
    fs::create_directories(root_);
    fs::create_directories(lockDir_);
    const std::string securityDatabase = folder_.file("security3.fdb");
    std::ofstream(root_ + "/firebird.conf")
        << "RemoteServicePort = " << port_ << "\n"
        << "RemoteBindAddress = 127.0.0.1\n"
        << "SecurityDatabase = " << securityDatabase << "\n"
        << "UdfAccess = None\n";
    // The server looks for its messages and character sets under its root folder.
    fs::create_symlink(fs::path(installedFolder("--msgdir")) / "firebird.msg",
                       fs::path(root_) / "firebird.msg");
    fs::create_directory_symlink(installedFolder("--intldir"), fs::path(root_) / "intl");
    // Made embedded under this root, so the user goes into this server's security database.
    runIsql("CREATE DATABASE '" + securityDatabase + "';\n"
            "CREATE USER " + std::string(text::kBuiltinUserName) + " PASSWORD '" +
            std::string(text::kBuiltinPassword) + "' USING PLUGIN Srp;\nCOMMIT;\n");
    start();
}

PrivateFirebirdServer::~PrivateFirebirdServer() {
    try {
        stop();
    } catch (...) {
    }
}

std::string PrivateFirebirdServer::address(const std::string& path) const {
    return "127.0.0.1/" + std::to_string(port_) + ":" + path;
}

void PrivateFirebirdServer::runIsql(const std::string& script) const {
    const std::string file = folder_.file("setup.sql");
    std::ofstream(file) << script;
    commandOutput("env -u ISC_USER -u ISC_PASSWORD FIREBIRD=" + shellQuote(root_) +
                  " FIREBIRD_LOCK=" + shellQuote(lockDir_) + " isql-fb -q -b -user SYSDBA -i " +
                  shellQuote(file));
}

void PrivateFirebirdServer::start() {
    if (running()) return;
    std::vector<std::string> environment = {"FIREBIRD=" + root_, "FIREBIRD_LOCK=" + lockDir_};
    for (char** variable = environ; *variable; ++variable) {
        const std::string entry = *variable;
        if (!entry.starts_with("FIREBIRD=") && !entry.starts_with("FIREBIRD_LOCK="))
            environment.push_back(entry);
    }
    std::vector<char*> envp;
    for (std::string& entry : environment) envp.push_back(entry.data());
    envp.push_back(nullptr);
    std::string program = kServerProgram;
    char* argv[] = {program.data(), nullptr};

    // Forked rather than spawned, so that the server ends with the test process whatever
    // ends it: a crashed test leaves no server behind.
    const std::string log = folder_.file("server.log");
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("cannot fork");
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (in < 0 || out < 0) ::_exit(127);
        ::dup2(in, STDIN_FILENO);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(out, STDERR_FILENO);
        ::execve(kServerProgram, argv, envp.data());
        ::_exit(127);
    }
    pid_ = pid;

    const auto deadline = std::chrono::steady_clock::now() + kStartLimit;
    while (!accepts(port_)) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error("the Firebird server ended at start:\n" + readWhole(log));
        }
        if (std::chrono::steady_clock::now() > deadline) {
            stop();
            throw std::runtime_error("the Firebird server does not listen:\n" + readWhole(log));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void PrivateFirebirdServer::stop() {
    if (!running()) return;
    stopChild(pid_, kShutdownGrace);
    pid_ = -1;
}

}  // namespace qor::test
