#pragma once
// The online update's decisions, without the network: what the version file
// on the maker's site says, how two versions compare, the program's own
// version from its version resource, which address is asked, and which of
// the three answers the user gets. The window fetches the file through the
// seam below (WinHTTP on Windows) and shows the answer.
//
// The version file is one line of text: the newest version, one or more
// blanks, and the address of the download page, for example
//   2.1.0 https://quorvane.org/download/
// A line end after it, and blanks around it, are allowed; nothing else is.
#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace quorv {

// The name of the version file on the maker's site.
inline constexpr const char* kVersionFileName = "quorv2-version.txt";
// How long each step of the fetch (name lookup, connection, sending,
// receiving) may take: a site that does not answer gives up after a few
// seconds, under the wait cursor.
inline constexpr int kUpdateTimeoutMs = 5000;
// A version file is one short line: a longer answer is not one.
inline constexpr std::size_t kVersionFileLimit = 4096;

// A version of four numbers, major to revision, as a version resource holds it.
struct ProgramVersion {
    std::array<unsigned, 4> parts{};
    bool operator==(const ProgramVersion& o) const { return parts == o.parts; }
    bool operator!=(const ProgramVersion& o) const { return parts != o.parts; }
};

// "2", "2.1", "2.1.0" or "2.1.0.7": one to four decimal numbers of at most
// 65535 joined by dots; missing parts are 0. False for anything else.
bool ParseVersion(std::string_view text, ProgramVersion& out);
// Below zero when a is older than b, zero when equal, above zero when newer.
int CompareVersions(const ProgramVersion& a, const ProgramVersion& b);
// "2.1.0" (major, minor and build), with ".revision" when that is not 0.
std::string VersionText(const ProgramVersion& v);

// The fixed file information of a version resource (the bytes of RT_VERSION
// as the program's image holds them): its file version. False when the
// bytes hold no fixed file information.
bool VersionOfResource(std::string_view resource, ProgramVersion& out);

// What the version file says.
struct VersionFile {
    ProgramVersion version;
    std::string downloadPage;  // an https address
};
// False for anything but one line of a version and an https address
// (a page of the site's own, an error page, an empty or cut answer).
bool ParseVersionFile(std::string_view bytes, VersionFile& out);

// An http or https address split into its parts.
struct WebAddress {
    bool secure = true;  // https
    std::string host;    // without brackets for an IPv6 literal
    int port = 443;
    std::string path = "/";  // with the query, beginning with '/'
};
// "http://host[:port][/path]" or "https://...": false for any other form.
bool ParseWebAddress(std::string_view text, WebAddress& out);
// The host is this computer: 127.x.x.x, "localhost" or "::1".
bool IsLoopback(const WebAddress& address);

// The address the update asks: the maker's, unless a test address is given
// that names this computer (a test starts its own small server there; an
// address anywhere else is never taken, so the setting cannot send users to
// another site).
std::string UpdateAddress(const std::string& makersAddress, const std::string& testAddress);

// The seam to the network: the body of a GET of the address when the server
// answered 200, within the time limit and the size limit.
struct FetchedFile {
    bool ok = false;   // connected, answered 200 and the body came whole
    std::string body;  // at most kVersionFileLimit bytes
};
using FetchFile = std::function<FetchedFile(const WebAddress& address)>;

// The three answers.
enum class UpdateAnswer {
    Newer,         // a newer version: ask whether to open the download page and close
    Newest,        // the installed version is the newest (or newer than the site's)
    NoConnection,  // no connection, no answer in time, or an answer that is no version file
};
struct UpdateCheck {
    UpdateAnswer answer = UpdateAnswer::NoConnection;
    VersionFile latest;   // when Newer or Newest
    std::string message;  // the question (Newer) or the message to show
};
// Asks the address through fetch and compares with the installed version.
UpdateCheck CheckForUpdate(const std::string& address, const ProgramVersion& installed, const FetchFile& fetch);

// The texts of the answers.
std::string NewerVersionQuestion(const ProgramVersion& latest, const ProgramVersion& installed);
std::string NewestVersionMessage(const ProgramVersion& installed);
extern const char kNoConnectionMessage[];

}  // namespace quorv
