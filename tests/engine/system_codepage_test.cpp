// Rules through the real Windows code page when the system's ANSI code page
// is 932 (the second run of this executable under Wine sets it). Skipped in
// every other run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

#include "system/system.h"
#include "tests/engine/engine_fixture.h"

namespace quorv::test {
namespace {

const std::string kHyo = "\x95\x5C";

bool AnsiIs932() {
#ifdef _WIN32
    return GetACP() == 932;
#else
    return false;
#endif
}

std::string Apply(const std::string& path, const std::string& rule) {
    EngineSetup setup;
    EngineContext ctx = setup.Context('\\');
    ctx.codePage = &SystemCodePage();
    return ApplyRules(ctx, path, 1, {rule});
}

TEST(SystemCodePage932, IsReallyInForceWhenAskedFor) {
    const char* asked = std::getenv("QUORV_CODEPAGE");
    if (!asked || std::strcmp(asked, "932") != 0) GTEST_SKIP() << "not the code page 932 run";
    EXPECT_TRUE(AnsiIs932());
}

TEST(SystemCodePage932, PathSplitReplaceAndRemove) {
    if (!AnsiIs932()) GTEST_SKIP() << "the ANSI code page is not 932";
    const CodePage& cp = SystemCodePage();
    EXPECT_EQ(cp.CharLength(kHyo, 0), 2u);
    EXPECT_EQ(Apply("C:\\dir\\" + kHyo + ".txt", "FILENAME PREFIX \"x\""), "C:\\dir\\x" + kHyo + ".txt");
    EXPECT_EQ(Apply("C:\\" + kHyo + "\\a.txt", "FILENAME UPPERCASE all"), "C:\\" + kHyo + "\\A.txt");
    EXPECT_EQ(Apply("C:\\d\\" + kHyo + "a", "FILENAME REPLACE \"\\\" with \"-\""), "C:\\d\\" + kHyo + "a");
    EXPECT_EQ(Apply("C:\\d\\" + kHyo + "a", "FILENAME REPLACE \"\\a\" with \"-\""), "C:\\d\\" + kHyo + "a");
    EXPECT_EQ(Apply("C:\\d\\" + kHyo + "a", "FILENAME REPLACE \"a\" with \"b\""), "C:\\d\\" + kHyo + "b");
    EXPECT_EQ(Apply("C:\\d\\" + kHyo + "ab", "FILENAME REMOVE left length:1"), "C:\\d\\ab");
    EXPECT_EQ(Apply("C:\\d\\ab" + kHyo, "FILENAME REMOVE right length:1"), "C:\\d\\ab");
    EXPECT_EQ(Apply("C:\\d\\" + kHyo + "ab", "FILENAME UPPERCASE all"), "C:\\d\\" + kHyo + "AB");
    EXPECT_EQ(Apply("C:\\d\\\x83\x61" "a", "FILENAME UPPERCASE all"), "C:\\d\\\x83\x61" "A");
}

}  // namespace
}  // namespace quorv::test
