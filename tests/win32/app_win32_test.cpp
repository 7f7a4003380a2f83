// The program's seams to the system that its end-to-end cases cannot time
// or vary: the online update's fetch through WinHTTP against a server on
// this computer (answers, refusals, a site that keeps silent), the check's
// own thread and its message to the window, and the paths
// of dropped file-drop data (any length, any script: this executable runs
// with the program's manifest, UTF-8 as its narrow text).
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/file_drop_target_win32.h"
#include "app/update_check_win32.h"
#include "platform/raii_win32.h"
#include "system/text_win32.h"
#include "system/web_fetch_win32.h"
#include "tests/support/http_server_win32.h"
#include "tests/support/messages_win32.h"
#include "view/online_update.h"

namespace quorv {
namespace {

WebAddress At(const test::LocalHttpServer& server, const std::string& path) {
    WebAddress address;
    EXPECT_TRUE(ParseWebAddress(server.Address(path), address));
    return address;
}

TEST(WebFetch, TheBodyOfAnAnswer200WithinTheLimit) {
    const std::string file = "2.1.0 https://quorvane.org/download/\r\n";
    test::LocalHttpServer server(file);
    ASSERT_TRUE(server.ok());
    const FetchedFile fetched = FetchWebFile(At(server, "/quorv2-version.txt"), 5000, kVersionFileLimit);
    EXPECT_TRUE(fetched.ok);
    EXPECT_EQ(fetched.body, file);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0], "GET /quorv2-version.txt HTTP/1.1");
    // The whole check through the real fetch: a newer version.
    ProgramVersion installed;
    installed.parts = {2, 0, 0, 0};
    const UpdateCheck check = CheckForUpdate(server.Address("/quorv2-version.txt"), installed, [](const WebAddress& w) {
        return FetchWebFile(w, 5000, kVersionFileLimit);
    });
    EXPECT_EQ(check.answer, UpdateAnswer::Newer);
}

TEST(WebFetch, NoFileWhenRefusedMissingTooLongOrSilent) {
    test::LocalHttpServer missing("not here", 404);
    ASSERT_TRUE(missing.ok());
    EXPECT_FALSE(FetchWebFile(At(missing, "/v.txt"), 5000, kVersionFileLimit).ok);
    test::LocalHttpServer huge(std::string(kVersionFileLimit + 1, 'x'));
    ASSERT_TRUE(huge.ok());
    EXPECT_FALSE(FetchWebFile(At(huge, "/v.txt"), 5000, kVersionFileLimit).ok);

    WebAddress closed;
    ASSERT_TRUE(ParseWebAddress("http://127.0.0.1:" + std::to_string(test::LocalHttpServer::ClosedPort()) + "/v.txt",
                                closed));
    EXPECT_FALSE(FetchWebFile(closed, 5000, kVersionFileLimit).ok);

    // A site that takes the request and never answers (until the server
    // goes, after the fetch): given up after the time-out.
    test::LocalHttpServer silent("", 200, test::LocalHttpServer::Mode::Silent);
    ASSERT_TRUE(silent.ok());
    EXPECT_FALSE(FetchWebFile(At(silent, "/v.txt"), 1000, kVersionFileLimit).ok);
    EXPECT_EQ(silent.Requests().size(), 1u);
}

// The check on a thread of its own: the answer comes to the window as a
// posted message, one check at a time; a window that went before the
// answer gets none.
constexpr UINT kAnswered = WM_APP + 7;
int g_answers = 0;  // the messages the window below got

LRESULT CALLBACK CountAnswers(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kAnswered) ++g_answers;
    return ::DefWindowProcA(window, message, wParam, lParam);
}

TEST(UpdateCheckThread, TheAnswerComesAsAMessageUnlessTheWindowWent) {
    WNDCLASSA type{};
    type.lpfnWndProc = &CountAnswers;
    type.hInstance = ::GetModuleHandleA(nullptr);
    type.lpszClassName = "QuorvTestAnswers";
    ::RegisterClassA(&type);
    const win::WindowHandle window(
        ::CreateWindowExA(0, type.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, type.hInstance, nullptr));
    ASSERT_TRUE(window);
    g_answers = 0;
    int taken = 0;
    const auto answered = [&] {
        if (g_answers == taken) return false;
        ++taken;
        return true;
    };
    ProgramVersion installed;
    installed.parts = {2, 0, 0, 0};

    test::LocalHttpServer server("9.0 https://quorvane.org/download/\n");
    ASSERT_TRUE(server.ok());
    win::UpdateCheckThread check;
    EXPECT_FALSE(check.Busy());
    ASSERT_TRUE(check.Start(server.Address("/v.txt"), installed, window.get(), kAnswered));
    EXPECT_TRUE(check.Busy());
    EXPECT_FALSE(check.Start(server.Address("/v.txt"), installed, window.get(), kAnswered));  // one at a time
    ASSERT_TRUE(test::WaitFor(answered));
    const UpdateCheck answer = check.Take();
    EXPECT_FALSE(check.Busy());
    EXPECT_EQ(answer.answer, UpdateAnswer::Newer);
    EXPECT_EQ(answer.latest.downloadPage, "https://quorvane.org/download/");
    EXPECT_EQ(server.Requests().size(), 1u);

    // Abandoned while the site keeps silent; the site then goes, and the
    // thread ends with no connection: nothing is posted.
    {
        test::LocalHttpServer silent("", 200, test::LocalHttpServer::Mode::Silent);
        ASSERT_TRUE(silent.ok());
        ASSERT_TRUE(check.Start(silent.Address("/v.txt"), installed, window.get(), kAnswered));
        ASSERT_TRUE(test::WaitFor([&] { return silent.Requests().size() == 1; }));
        check.Abandon();
        EXPECT_FALSE(check.Busy());
    }
    EXPECT_FALSE(test::WaitFor(answered, 3000));
    // A new check after it is answered as ever.
    ASSERT_TRUE(check.Start(server.Address("/v.txt"), installed, window.get(), kAnswered));
    ASSERT_TRUE(test::WaitFor(answered));
    EXPECT_EQ(check.Take().answer, UpdateAnswer::Newer);
}

// File-drop data as the file manager hands it over: DROPFILES, then the
// paths in UTF-16, each ended by a zero, and one more zero.
HGLOBAL DropData(const std::vector<std::wstring>& paths) {
    std::wstring all;
    for (const std::wstring& p : paths) all += p + L'\0';
    all += L'\0';
    const std::size_t size = sizeof(DROPFILES) + all.size() * sizeof(wchar_t);
    HGLOBAL global = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* bytes = static_cast<char*>(::GlobalLock(global));
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = TRUE;
    std::memcpy(bytes, &header, sizeof header);
    std::memcpy(bytes + sizeof header, all.data(), all.size() * sizeof(wchar_t));
    ::GlobalUnlock(global);
    return global;
}

TEST(DroppedFiles, PathsOfAnyLengthAndScript) {
    ASSERT_EQ(::GetACP(), static_cast<UINT>(CP_UTF8)) << "the manifest's UTF-8 code page is not in force";
    const std::wstring longPath = L"C:\\" + std::wstring(120, L'a') + L"\\" + std::wstring(120, L'b') + L"\\" +
                                  std::wstring(120, L'c') + L".jpg";
    const std::vector<std::wstring> paths = {L"C:\\photos\\\x5199\x771F_\x8868.jpg", longPath,
                                             L"C:\\party \xD83C\xDF89\\folder"};
    HGLOBAL global = DropData(paths);
    ASSERT_TRUE(global);
    auto* drop = static_cast<HDROP>(::GlobalLock(global));
    const std::vector<std::string> got = win::DroppedPaths(drop);
    ::GlobalUnlock(global);
    ::GlobalFree(global);
    ASSERT_EQ(got.size(), paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) EXPECT_EQ(win::WideFromNarrow(got[i]), paths[i]) << i;
    EXPECT_GT(got[1].size(), static_cast<std::size_t>(MAX_PATH));
}

}  // namespace
}  // namespace quorv
