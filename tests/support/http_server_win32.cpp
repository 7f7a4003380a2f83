#include "tests/support/http_server_win32.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace quorv::test {
namespace {

// Winsock for the life of the program (once is enough for every server).
bool StartWinsock() {
    static const bool started = [] {
        WSADATA data{};
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

// A socket bound to 127.0.0.1 on a port the system chooses.
SOCKET BoundSocket(int& port) {
    if (!StartWinsock()) return INVALID_SOCKET;
    const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) return s;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int length = sizeof address;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::closesocket(s);
        return INVALID_SOCKET;
    }
    port = ntohs(address.sin_port);
    return s;
}

// Waits up to ms for the socket to become readable.
bool Readable(SOCKET s, int ms) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval wait{ms / 1000, (ms % 1000) * 1000};
    return ::select(0, &set, nullptr, nullptr, &wait) > 0;
}

const char* Reason(int status) {
    switch (status) {
    case 200: return "OK";
    case 404: return "Not Found";
    default: return "Status";
    }
}

}  // namespace

LocalHttpServer::LocalHttpServer(std::string body, int status, Mode mode)
    : body_(std::move(body)), status_(status), mode_(mode) {
    const SOCKET s = BoundSocket(port_);
    if (s == INVALID_SOCKET) return;
    if (::listen(s, 4) != 0) {
        ::closesocket(s);
        return;
    }
    listening_ = static_cast<unsigned long long>(s);
    thread_ = std::thread([this] { Serve(); });
}

LocalHttpServer::~LocalHttpServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (ok()) ::closesocket(static_cast<SOCKET>(listening_));
}

std::string LocalHttpServer::Address(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> LocalHttpServer::Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

int LocalHttpServer::ClosedPort() {
    int port = 0;
    const SOCKET s = BoundSocket(port);
    if (s != INVALID_SOCKET) ::closesocket(s);
    return port;
}

void LocalHttpServer::Serve() {
    const SOCKET listening = static_cast<SOCKET>(listening_);
    std::vector<SOCKET> held;  // connections a silent server keeps open
    while (!stop_) {
        if (!Readable(listening, 50)) continue;
        const SOCKET client = ::accept(listening, nullptr, nullptr);
        if (client == INVALID_SOCKET) continue;
        // The request: up to its empty line (a GET has no body).
        std::string request;
        char chunk[1024];
        while (!stop_ && request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
            if (!Readable(client, 50)) continue;
            const int got = ::recv(client, chunk, sizeof chunk, 0);
            if (got <= 0) break;
            request.append(chunk, static_cast<std::size_t>(got));
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            requests_.push_back(request.substr(0, request.find("\r\n")));
        }
        if (mode_ == Mode::Silent) {
            held.push_back(client);
            continue;
        }
        const std::string answer = "HTTP/1.1 " + std::to_string(status_) + " " + Reason(status_) +
                                   "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body_.size()) +
                                   "\r\nConnection: close\r\n\r\n" + body_;
        std::size_t sent = 0;
        while (sent < answer.size()) {
            const int n = ::send(client, answer.data() + sent, static_cast<int>(answer.size() - sent), 0);
            if (n <= 0) break;
            sent += static_cast<std::size_t>(n);
        }
        ::shutdown(client, SD_SEND);
        ::closesocket(client);
    }
    for (SOCKET s : held) ::closesocket(s);
}

}  // namespace quorv::test
