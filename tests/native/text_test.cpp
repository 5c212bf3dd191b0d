// The text helpers of trivo-make's messages: the "did you mean" hint.
#include <gtest/gtest.h>

#include "tools/support/text.h"

TEST(ClosestName, SuggestsWithinTwoEditsAndNothingFarther) {
    const std::vector<std::string> keys = {"kind", "title", "author", "answer", "answer2", "answer_picture"};
    EXPECT_EQ(closestName("auteur", keys), "author");    // two letters replaced
    EXPECT_EQ(closestName("anwser2", keys), "answer2");  // two neighbours swapped
    EXPECT_EQ(closestName("Titel", keys), "title");      // case ignored, a swap
    EXPECT_EQ(closestName("answer_pictures", keys), "answer_picture");
    EXPECT_EQ(closestName("colour", keys), "");          // nothing close
    EXPECT_EQ(closestName("ab", keys), "");              // too short to guess from
    EXPECT_EQ(closestName("chek", {"new", "check", "build", "dump"}), "check");
    EXPECT_EQ(closestName("", keys), "");
}

TEST(LastLines, KeepsTheLastLinesThatSaySomething) {
    typedef std::vector<std::string> Lines;
    EXPECT_EQ(lastLines("one\ntwo\r\n\r\nthree\n\n", 2), (Lines{"two", "three"}));
    EXPECT_EQ(lastLines("only, with no line end", 5), Lines{"only, with no line end"});
    EXPECT_EQ(lastLines("\n\r\n", 1), Lines{});
    EXPECT_EQ(lastLines("a\nb\nc", 0), Lines{});
}
