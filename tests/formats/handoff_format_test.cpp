#include "formats/handoff_format.h"

#include <gtest/gtest.h>

#include <string>

#include "formats/handoff_file.h"

namespace quorv {
namespace {

struct KeptCase {
    const char* what;
    std::string existing;
    std::size_t kept;
};

TEST(HandoffFormat, AnUnreadFileKeepsOnlyItsWholeEntries) {
    const KeptCase cases[] = {
        {"no file", "", 0},
        {"whole entries", "a\r\nb\r\n", 6},
        {"a broken last line goes", "a\r\nbroken", 3},
        {"nothing whole", "broken", 0},
        {"a lone CR at the end goes", "a\r\nb\r", 3},
        {"a zero byte hides what follows", std::string("a\r\nb\0c\r\nd\r\n", 10), 3},
        {"a zero byte first", std::string("\0a\r\n", 4), 0},
        {"empty entries are entries", "\r\n\r\n", 4},
        {"a CR LF inside the text counts up to its end", "a\rb\nc\r\nx", 7},
    };
    for (const KeptCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(HandoffKeptLength(c.existing), c.kept);
    }
}

// What the reader finds after a write behind an unread file: the unread
// entries, then the new ones, and nothing made of leftover bytes.
TEST(HandoffFormat, AppendingBehindAnUnreadFileLosesAndInventsNothing) {
    const std::string first = EncodeHandoff({"C:\\Photos\\a long name from before.jpg", "C:\\b.jpg"});
    const std::string damaged = first + "C:\\half writ";
    std::string added;
    AppendHandoffEntry(added, "C:\\new.jpg");
    const std::string file = damaged.substr(0, HandoffKeptLength(damaged)) + added;
    EXPECT_EQ(DecodeHandoff(file, *MakeUtf8CodePage()),
              (std::vector<std::string>{"C:\\Photos\\a long name from before.jpg", "C:\\b.jpg", "C:\\new.jpg"}));
}

}  // namespace
}  // namespace quorv
