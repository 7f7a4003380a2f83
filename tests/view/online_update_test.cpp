// The online update's decisions: versions, the version file, the version
// resource, addresses and the three answers, with the network faked.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "view/online_update.h"

namespace quorv {
namespace {

ProgramVersion V(unsigned a, unsigned b = 0, unsigned c = 0, unsigned d = 0) {
    ProgramVersion v;
    v.parts = {a, b, c, d};
    return v;
}

TEST(OnlineUpdate, VersionsParseCompareAndPrint) {
    struct Row {
        const char* text;
        bool ok;
        ProgramVersion version;
    };
    const Row rows[] = {
        {"2", true, V(2)},
        {"2.1", true, V(2, 1)},
        {"2.1.0", true, V(2, 1)},
        {"2.1.3.7", true, V(2, 1, 3, 7)},
        {"65535.0", true, V(65535)},
        {"65536", false, {}},
        {"2.1.0.0.1", false, {}},
        {"2..1", false, {}},
        {"2.", false, {}},
        {".2", false, {}},
        {"", false, {}},
        {"v2.1", false, {}},
        {"2.1 ", false, {}},
        {"-1", false, {}},
    };
    for (const Row& row : rows) {
        ProgramVersion v = V(9, 9, 9, 9);
        EXPECT_EQ(ParseVersion(row.text, v), row.ok) << row.text;
        if (row.ok) {
            EXPECT_EQ(v, row.version) << row.text;
        } else {
            EXPECT_EQ(v, V(9, 9, 9, 9)) << row.text;  // untouched
        }
    }
    // Each part counts before the ones after it, numerically.
    EXPECT_LT(CompareVersions(V(2, 0, 0), V(2, 0, 1)), 0);
    EXPECT_LT(CompareVersions(V(2, 9), V(2, 10)), 0);
    EXPECT_GT(CompareVersions(V(3), V(2, 99, 99, 99)), 0);
    EXPECT_GT(CompareVersions(V(2, 0, 0, 1), V(2)), 0);
    EXPECT_EQ(CompareVersions(V(2, 1), V(2, 1, 0, 0)), 0);
    EXPECT_EQ(VersionText(V(2)), "2.0.0");
    EXPECT_EQ(VersionText(V(2, 10, 3)), "2.10.3");
    EXPECT_EQ(VersionText(V(2, 1, 0, 4)), "2.1.0.4");
}

TEST(OnlineUpdate, TheVersionFileIsOneLineOfAVersionAndAnHttpsPage) {
    struct Row {
        const char* bytes;
        bool ok;
        ProgramVersion version;
        const char* page;
    };
    const Row rows[] = {
        {"2.1.0 https://quorvane.org/download/", true, V(2, 1), "https://quorvane.org/download/"},
        {"2.1.0 https://quorvane.org/download/\r\n", true, V(2, 1), "https://quorvane.org/download/"},
        {"\xEF\xBB\xBF" "3 https://quorvane.org/d?x=1\n", true, V(3), "https://quorvane.org/d?x=1"},
        {"  2.0.1 \t https://quorvane.org/  ", true, V(2, 0, 1), "https://quorvane.org/"},
        {"2.1.0 http://quorvane.org/download/", false, {}, ""},  // never a plain page
        {"2.1.0", false, {}, ""},
        {"https://quorvane.org/download/", false, {}, ""},
        {"2.1.0 https://quorvane.org/a b", false, {}, ""},
        {"2.1.0 https://quorvane.org/\r\nmore", false, {}, ""},
        {"<html><body>Not found</body></html>", false, {}, ""},
        {"", false, {}, ""},
        {"2.1.0 ftp://quorvane.org/", false, {}, ""},
        {"two https://quorvane.org/", false, {}, ""},
    };
    for (const Row& row : rows) {
        VersionFile file;
        EXPECT_EQ(ParseVersionFile(row.bytes, file), row.ok) << row.bytes;
        if (!row.ok) continue;
        EXPECT_EQ(file.version, row.version) << row.bytes;
        EXPECT_EQ(file.downloadPage, row.page) << row.bytes;
    }
    // A long answer is no version file, whatever it begins with.
    VersionFile file;
    EXPECT_FALSE(ParseVersionFile("2.1.0 https://quorvane.org/" + std::string(kVersionFileLimit, ' '), file));
}

// The bytes of a version resource as a resource compiler writes them.
std::string VersionResource(unsigned ms, unsigned ls, const std::u16string& key = u"VS_VERSION_INFO") {
    std::string bytes(6, '\0');
    for (char16_t c : key + u'\0') {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    while (bytes.size() % 4) bytes += '\0';
    const auto put32 = [&bytes](unsigned v) {
        for (int i = 0; i < 4; ++i) bytes += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put32(0xFEEF04BDu);
    put32(0x00010000u);
    put32(ms);
    put32(ls);
    for (int i = 0; i < 9; ++i) put32(0);
    bytes[0] = static_cast<char>(bytes.size() & 0xFF);
    bytes[1] = static_cast<char>(bytes.size() >> 8);
    bytes[2] = 52;
    return bytes;
}

TEST(OnlineUpdate, TheProgramsVersionComesFromItsVersionResource) {
    ProgramVersion v;
    ASSERT_TRUE(VersionOfResource(VersionResource(0x00020001u, 0x00030004u), v));
    EXPECT_EQ(v, V(2, 1, 3, 4));
    std::string broken = VersionResource(0x00020000u, 0);
    broken[40] = 0;  // no signature
    EXPECT_FALSE(VersionOfResource(broken, v));
    EXPECT_FALSE(VersionOfResource(VersionResource(0x00020000u, 0, u"VS_VERSION_INFX"), v));
    EXPECT_FALSE(VersionOfResource(VersionResource(0x00020000u, 0).substr(0, 60), v));
    EXPECT_FALSE(VersionOfResource("", v));
}

TEST(OnlineUpdate, AddressesAndTheTestAddressOnlyOnThisComputer) {
    WebAddress a;
    ASSERT_TRUE(ParseWebAddress("https://quorvane.org/quorv2-version.txt", a));
    EXPECT_TRUE(a.secure);
    EXPECT_EQ(a.host, "quorvane.org");
    EXPECT_EQ(a.port, 443);
    EXPECT_EQ(a.path, "/quorv2-version.txt");
    ASSERT_TRUE(ParseWebAddress("http://127.0.0.1:8123/v.txt?a=1#part", a));
    EXPECT_FALSE(a.secure);
    EXPECT_EQ(a.host, "127.0.0.1");
    EXPECT_EQ(a.port, 8123);
    EXPECT_EQ(a.path, "/v.txt?a=1");
    ASSERT_TRUE(ParseWebAddress("HTTP://[::1]:81", a));
    EXPECT_EQ(a.host, "::1");
    EXPECT_EQ(a.port, 81);
    EXPECT_EQ(a.path, "/");
    for (const char* bad : {"quorvane.org/x", "ftp://x/", "http://", "http://:80/", "http://x:0/", "http://x:99999/",
                            "http://x:/", "http://user@x/", "http://[::1/", "http://a b/"})
        EXPECT_FALSE(ParseWebAddress(bad, a)) << bad;

    const std::string makers = "https://quorvane.org/quorv2-version.txt";
    struct Row {
        const char* test;
        bool taken;
    };
    const Row rows[] = {
        {"", false},
        {"http://127.0.0.1:8123/v.txt", true},
        {"http://127.1.2.3/v.txt", true},
        {"http://localhost:9/v.txt", true},
        {"http://[::1]:9/v.txt", true},
        {"http://quorvane.example/v.txt", false},
        {"http://127.0.0.1.example.com/v.txt", false},
        {"http://128.0.0.1/v.txt", false},
        {"http://127.0.0.256/v.txt", false},
        {"http://127.0.0/v.txt", false},
        {"not an address", false},
    };
    for (const Row& row : rows) EXPECT_EQ(UpdateAddress(makers, row.test), row.taken ? row.test : makers) << row.test;
}

TEST(OnlineUpdate, TheThreeAnswers) {
    const ProgramVersion installed = V(2, 0, 0);
    const std::string address = "http://127.0.0.1:8123/quorv2-version.txt";
    struct Row {
        bool ok;
        const char* body;
        UpdateAnswer answer;
    };
    const Row rows[] = {
        {true, "2.1.0 https://quorvane.org/download/\r\n", UpdateAnswer::Newer},
        {true, "2.0.0.1 https://quorvane.org/download/", UpdateAnswer::Newer},
        {true, "2.0.0 https://quorvane.org/download/", UpdateAnswer::Newest},
        {true, "1.9 https://quorvane.org/download/", UpdateAnswer::Newest},
        {true, "<html>moved</html>", UpdateAnswer::NoConnection},
        {false, "", UpdateAnswer::NoConnection},
    };
    for (const Row& row : rows) {
        std::vector<WebAddress> asked;
        const UpdateCheck check = CheckForUpdate(address, installed, [&](const WebAddress& where) {
            asked.push_back(where);
            return FetchedFile{row.ok, row.body};
        });
        EXPECT_EQ(check.answer, row.answer) << row.body;
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].port, 8123);
        EXPECT_EQ(asked[0].path, "/quorv2-version.txt");
        switch (row.answer) {
        case UpdateAnswer::Newer:
            EXPECT_EQ(check.latest.downloadPage, "https://quorvane.org/download/");
            EXPECT_EQ(check.message, NewerVersionQuestion(check.latest.version, installed));
            break;
        case UpdateAnswer::Newest:
            EXPECT_EQ(check.message, "You have the newest version of Quorvane 2 (version 2.0.0).");
            break;
        case UpdateAnswer::NoConnection:
            EXPECT_EQ(check.message, kNoConnectionMessage);
            break;
        }
    }
    EXPECT_EQ(NewerVersionQuestion(V(2, 1), installed),
              "Quorvane 2 version 2.1.0 is available (this is version 2.0.0).\r\n"
              "Do you want to open the download page and close Quorvane 2?");
    // An address that cannot be asked is no connection, and nothing is fetched.
    bool fetched = false;
    const UpdateCheck none = CheckForUpdate("nowhere", installed, [&](const WebAddress&) {
        fetched = true;
        return FetchedFile{};
    });
    EXPECT_EQ(none.answer, UpdateAnswer::NoConnection);
    EXPECT_FALSE(fetched);
}

}  // namespace
}  // namespace quorv
