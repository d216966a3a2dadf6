#pragma once
// Small POSIX pieces the fixtures that run programs and sockets share.
#include <netinet/in.h>
#include <sys/types.h>

#include <chrono>

namespace qor::test {

// Stops the child `pid` with SIGTERM, then SIGKILL when it has not ended within `grace`, and
// reaps it. Returns its exit status, -1 when it did not exit by itself.
int stopChild(pid_t pid, std::chrono::milliseconds grace);

// 127.0.0.1:`port` as a socket address.
sockaddr_in loopback(int port);

}  // namespace qor::test
