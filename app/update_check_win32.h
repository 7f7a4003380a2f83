#pragma once
// The online update's check on a thread of its own: asking a site that keeps
// silent takes up to the time-out, and the window stays responsive
// meanwhile (it shows the background-work cursor and takes the answer when
// the thread posts it).
#include <windows.h>

#include <memory>
#include <mutex>
#include <string>

#include "view/online_update.h"

namespace quorv::win {

class UpdateCheckThread {
public:
    // Asks address on a new thread and posts message to window once the
    // answer is in. False (and nothing posted) when no thread could be made.
    bool Start(const std::string& address, const ProgramVersion& installed, HWND window, UINT message);
    // A check is under way (started, its answer not yet taken).
    bool Busy() const { return job_ != nullptr; }
    // The answer once the message came: the check is over then. An answer
    // that is not in yet reads as no connection.
    UpdateCheck Take();
    // The window is going: the thread, still asking, posts nothing. It is
    // not waited for (it ends by itself within the time-out).
    void Abandon();
    ~UpdateCheckThread() { Abandon(); }

    struct Job {
        std::mutex lock;
        HWND window = nullptr;  // null once abandoned
        UINT message = 0;
        std::string address;
        ProgramVersion installed;
        bool done = false;
        UpdateCheck answer;
    };

private:
    std::shared_ptr<Job> job_;
};

}  // namespace quorv::win
