#include "system/web_fetch_win32.h"

#include <windows.h>
#include <winhttp.h>

#include <string>

#include "platform/raii_win32.h"
#include "system/text_win32.h"

namespace quorv {
namespace {

// The functions of winhttp.dll the fetch calls, found by name.
struct WinHttp {
    decltype(&::WinHttpOpen) open = nullptr;
    decltype(&::WinHttpSetTimeouts) setTimeouts = nullptr;
    decltype(&::WinHttpSetOption) setOption = nullptr;
    decltype(&::WinHttpConnect) connect = nullptr;
    decltype(&::WinHttpOpenRequest) openRequest = nullptr;
    decltype(&::WinHttpSendRequest) sendRequest = nullptr;
    decltype(&::WinHttpReceiveResponse) receiveResponse = nullptr;
    decltype(&::WinHttpQueryHeaders) queryHeaders = nullptr;
    decltype(&::WinHttpReadData) readData = nullptr;
    decltype(&::WinHttpCloseHandle) closeHandle = nullptr;

    win::ModuleHandle module;

    bool Load() {
        module.reset(::LoadLibraryExW(L"winhttp.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
        if (!module) return false;
        return Find(open, "WinHttpOpen") && Find(setTimeouts, "WinHttpSetTimeouts") &&
               Find(setOption, "WinHttpSetOption") &&
               Find(connect, "WinHttpConnect") && Find(openRequest, "WinHttpOpenRequest") &&
               Find(sendRequest, "WinHttpSendRequest") && Find(receiveResponse, "WinHttpReceiveResponse") &&
               Find(queryHeaders, "WinHttpQueryHeaders") && Find(readData, "WinHttpReadData") &&
               Find(closeHandle, "WinHttpCloseHandle");
    }

    template <class F>
    bool Find(F& function, const char* name) {
        function = reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module.get(), name)));
        return function != nullptr;
    }
};

// One WinHTTP handle, closed through the loaded library.
class Internet {
public:
    Internet(const WinHttp& http, HINTERNET handle) : http_(http), handle_(handle) {}
    ~Internet() {
        if (handle_) http_.closeHandle(handle_);
    }
    Internet(const Internet&) = delete;
    Internet& operator=(const Internet&) = delete;
    HINTERNET get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

private:
    const WinHttp& http_;
    HINTERNET handle_;
};

}  // namespace

FetchedFile FetchWebFile(const WebAddress& address, int timeoutMs, std::size_t limit) {
    FetchedFile fetched;
    WinHttp http;
    if (!http.Load()) return fetched;
    const Internet session(http, http.open(L"Quorvane 2", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                           WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session || !http.setTimeouts(session.get(), timeoutMs, timeoutMs, timeoutMs, timeoutMs)) return fetched;
    const std::wstring host = win::WideFromNarrow(address.host);
    const Internet connection(
        http, http.connect(session.get(), host.c_str(), static_cast<INTERNET_PORT>(address.port), 0));
    if (!connection) return fetched;
    const std::wstring path = win::WideFromNarrow(address.path);
    const Internet request(http, http.openRequest(connection.get(), L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                                  WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                  address.secure ? WINHTTP_FLAG_SECURE : 0));
    if (!request) return fetched;
    // The wait for the answer's headers has a time-out of its own (90 s
    // unless set), which not every WinHTTP takes from the receive time-out.
    DWORD responseTimeout = static_cast<DWORD>(timeoutMs);
    http.setOption(request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseTimeout, sizeof responseTimeout);
    // Every step waits at most the time-outs set above.
    if (!http.sendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !http.receiveResponse(request.get(), nullptr))
        return fetched;
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!http.queryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX) ||
        status != 200)
        return fetched;
    std::string body;
    char chunk[1024];
    for (;;) {
        DWORD got = 0;
        if (!http.readData(request.get(), chunk, sizeof chunk, &got)) return fetched;
        if (got == 0) break;
        body.append(chunk, got);
        if (body.size() > limit) return fetched;
    }
    fetched.ok = true;
    fetched.body = std::move(body);
    return fetched;
}

}  // namespace quorv
