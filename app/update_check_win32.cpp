#include "app/update_check_win32.h"

#include "platform/raii_win32.h"
#include "system/system_access.h"
#include "system/web_fetch_win32.h"

namespace quorv::win {
namespace {

DWORD WINAPI CheckThread(void* parameter) {
    // The thread owns one share of the job, so it outlives an abandoning window.
    const std::unique_ptr<std::shared_ptr<UpdateCheckThread::Job>> held(
        static_cast<std::shared_ptr<UpdateCheckThread::Job>*>(parameter));
    UpdateCheckThread::Job& job = **held;
    UpdateCheck answer;
    answer.message = kNoConnectionMessage;
    try {
        answer = CheckForUpdate(job.address, job.installed, [](const WebAddress& where) {
            return FetchWebFile(where, kUpdateTimeoutMs, kVersionFileLimit);
        });
    } catch (...) {
        WriteErrorLog("The online update failed.");
    }
    const std::lock_guard<std::mutex> hold(job.lock);
    job.answer = std::move(answer);
    job.done = true;
    if (job.window) ::PostMessageA(job.window, job.message, 0, 0);
    return 0;
}

}  // namespace

bool UpdateCheckThread::Start(const std::string& address, const ProgramVersion& installed, HWND window, UINT message) {
    if (job_) return false;
    auto job = std::make_shared<Job>();
    job->window = window;
    job->message = message;
    job->address = address;
    job->installed = installed;
    auto share = std::make_unique<std::shared_ptr<Job>>(job);
    const ThreadHandle thread(::CreateThread(nullptr, 0, &CheckThread, share.get(), 0, nullptr));
    if (!thread) return false;
    share.release();  // the thread's now
    job_ = std::move(job);
    return true;
}

UpdateCheck UpdateCheckThread::Take() {
    UpdateCheck answer;
    answer.message = kNoConnectionMessage;
    if (!job_) return answer;
    {
        const std::lock_guard<std::mutex> hold(job_->lock);
        if (job_->done) answer = job_->answer;
    }
    job_.reset();
    return answer;
}

void UpdateCheckThread::Abandon() {
    if (!job_) return;
    {
        const std::lock_guard<std::mutex> hold(job_->lock);
        job_->window = nullptr;
    }
    job_.reset();
}

}  // namespace quorv::win
