#include "builder/rule_file.h"
#include "system/system.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorv {
namespace {

TEST(RuleFile, EmptyListIsTwoZeroBytesAndLoadsEmpty) {
    EXPECT_EQ(EncodeRuleFile({}), std::string(2, '\0'));
    std::vector<std::string> rules{"old"};
    EXPECT_EQ(DecodeRuleFile(std::string(2, '\0'), SystemCodePage(), rules), FileError::None);
    EXPECT_TRUE(rules.empty());
}

TEST(RuleFile, DamagedFileGivesNoRules) {
    std::string bytes = EncodeRuleFile({"FILENAME PREFIX a", "FILENAME SUFFIX b"});
    bytes.pop_back();
    std::vector<std::string> rules;
    EXPECT_EQ(DecodeRuleFile(bytes, SystemCodePage(), rules), FileError::EndOfFile);
    EXPECT_TRUE(rules.empty());
    EXPECT_EQ(DecodeRuleFile("", SystemCodePage(), rules), FileError::EndOfFile);
}

TEST(RuleFile, FileTitles) {
    const std::pair<const char*, const char*> cases[] = {
        {"Web photos.qvr", "Web photos"}, {"a.b.qvr", "a.b"}, {"plain", "plain"},
        {".qvr", ""},                     {"x.", "x"},        {"Set 1.QVR", "Set 1"},
    };
    for (const auto& c : cases) EXPECT_EQ(FileTitle(c.first), c.second) << c.first;
}

TEST(RuleFile, FavouritePaths) {
    EXPECT_EQ(FavouritesFolder("D:\\Tools\\"), "D:\\Tools\\favorite");
    EXPECT_EQ(FavouritePath("D:\\Tools\\", '\\', "Web photos"), "D:\\Tools\\favorite\\Web photos.qvr");
    EXPECT_EQ(FavouritePath("/opt/q/", '/', "a.b"), "/opt/q/favorite/a.b.qvr");
}

}  // namespace
}  // namespace quorv
