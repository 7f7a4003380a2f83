#pragma once
// A tiny HTTP server on 127.0.0.1 for the tests of the online update: it
// runs on a thread of the test, on a port the system chooses, and answers
// every request with one fixed answer, or never (it takes the connection
// and keeps silent, as a site that does not answer).
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quorv::test {

class LocalHttpServer {
public:
    enum class Mode {
        Answer,  // "HTTP/1.1 <status>" with the body, then the connection closes
        Silent,  // takes the request and says nothing until the server goes
    };
    explicit LocalHttpServer(std::string body, int status = 200, Mode mode = Mode::Answer);
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    bool ok() const { return listening_ != ~0ull; }
    int port() const { return port_; }
    // "http://127.0.0.1:<port>" + path.
    std::string Address(const std::string& path) const;
    // The request lines received so far ("GET /x HTTP/1.1").
    std::vector<std::string> Requests() const;

    // A port of 127.0.0.1 on which nothing listens (one that was free a
    // moment ago): a connection there is refused.
    static int ClosedPort();

private:
    void Serve();

    std::string body_;
    int status_;
    Mode mode_;
    unsigned long long listening_ = ~0ull;  // the listening socket
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

}  // namespace quorv::test
