#pragma once
// A second thread for work done beside the caller's, always joined before
// it goes. Where the system gives no thread, nothing is started and the
// caller does the work itself.
#include <system_error>
#include <thread>
#include <utility>

namespace quorv {

class HelperThread {
public:
    HelperThread() = default;
    ~HelperThread() { Join(); }
    HelperThread(const HelperThread&) = delete;
    HelperThread& operator=(const HelperThread&) = delete;

    // Starts work on a thread of its own; false when no thread can be had.
    template <class Work>
    bool Start(Work&& work) {
        try {
            thread_ = std::thread(std::forward<Work>(work));
            return true;
        } catch (const std::system_error&) {
            return false;
        }
    }

    // Waits until the work has ended; nothing when none was started.
    void Join() {
        if (thread_.joinable()) thread_.join();
    }

private:
    std::thread thread_;
};

}  // namespace quorv
