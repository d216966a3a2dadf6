#include "limited_http_server.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qor::headoffice {

void LimitedHttpServer::deepenListenQueue() { ::listen(svr_sock_, SOMAXCONN); }

bool LimitedHttpServer::process_and_close_socket(socket_t sock) {
    // Replies go out in pieces; without this the last small piece of each would wait for
    // the store's acknowledgement of the one before.
    int on = 1;
    ::setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);

    bool served = false;
    {
        RequestStream stream(sock, limits_);
        bool closed = false;
        served = process_request(stream, true, closed, nullptr);
    }
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
    return served;
}

}  // namespace qor::headoffice
