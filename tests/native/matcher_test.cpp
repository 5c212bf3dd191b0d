// The answer matcher: verdict ladder, normalisation and the three measures behind it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "checking/matcher.h"

namespace {

struct VerdictCase {
    const char* expected;
    const char* typed;
    const char* verdict;
};

void expectVerdicts(const VerdictCase* cases, int count) {
    for (int i = 0; i < count; ++i) {
        EXPECT_STREQ(cases[i].verdict, matchAnswer(cases[i].expected, cases[i].typed))
            << "expected \"" << cases[i].expected << "\", typed \"" << cases[i].typed << "\"";
    }
}

std::string trimmed(const char* text) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s", text);
    trimSpaces(buffer);
    return buffer;
}

}  // namespace

TEST(MatcherVerdicts, WordsAreSpelledExactly) {
    EXPECT_STREQ("?", VERDICT_UNJUDGED);
    EXPECT_STREQ("BRAVO", VERDICT_RIGHT);
    EXPECT_STREQ("Anagramme", VERDICT_ANAGRAM);
    EXPECT_STREQ("Quasiment", VERDICT_ONE_EDIT);
    EXPECT_STREQ("Presque", VERDICT_TWO_EDITS);
    EXPECT_STREQ("Trop long", VERDICT_TOO_LONG);
    EXPECT_STREQ("Trop court", VERDICT_TOO_SHORT);
    EXPECT_STREQ("pas loin", VERDICT_NEARLY_HALF);
    EXPECT_STREQ("yade lid\xE9" "e", VERDICT_SIMILAR);
    EXPECT_STREQ("FAUX", VERDICT_WRONG);
}

TEST(MatcherVerdicts, NormalisationAndCloseAnswers) {
    const VerdictCase cases[] = {
        {"Paris", "  paris  ", "BRAVO"},
        {"Paris", "", "?"},
        {"Paris", "     ", "?"},
        {"amor", "ROMA", "Anagramme"},
        {"PARIS", "PARSI", "Anagramme"},  // distance 2, but the anagram rung comes first
        {"PARIS", "PARI", "Quasiment"},
        {"PARIS", "PAR", "Presque"},
        {"\xC9T\xC9", "\xE9t\xE9", "Presque"},  // t folds, the accented letters do not
        {"Paris ", "Paris", "Quasiment"},         // expected answers are not trimmed
        {"Paris", "Paris   ", "BRAVO"},
        {"Paris", "\tParis", "Quasiment"},         // only 0x20 is trimmed
        {"", "A", "Quasiment"},
        {"", "AB", "Presque"},
        {"", "ABC", "FAUX"},
    };
    expectVerdicts(cases, sizeof cases / sizeof cases[0]);
}

TEST(MatcherVerdicts, ContainmentRungs) {
    const VerdictCase cases[] = {
        {"TOUR EIFFEL", "LA TOUR EIFFEL", "Trop long"},
        {"TOUR EIFFEL", "TOUR EIF", "Trop court"},   // 72.7 %
        {"TOUR EIFFEL", "TOUR E", "pas loin"},       // 54.5 %
        {"TOUR EIFFEL", "TOUR", "FAUX"},             // 36.4 %
        {"ABCDEFGHIJ", "ABCDEFGH", "Presque"},       // 80 %, but two edits win first
        {"ABCDEFGHIJ", "ABCDEFG", "pas loin"},       // exactly 70 %
        {"ABCDEFGHIJ", "ABCDE", "FAUX"},             // exactly 50 %
        {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNO", "Trop court"},  // 75 %
        {"NAPOLEON", "NAPO", "FAUX"},                // expected answer of at most 9 characters
        {"ABCDEFGHI", "ABCDEF", "FAUX"},             // 9 characters, 66 %: still too short to count
        {"ABAC", "ABABACX", "FAUX"},                 // the scan misses the true start
        {"ABAC", "XABACYZ", "Trop long"},
        {"ABCDEFGHIJKLMNOPQRST", "KLMNOPQRST", "FAUX"},  // a piece never reaches similarity
    };
    expectVerdicts(cases, sizeof cases / sizeof cases[0]);
}

TEST(MatcherVerdicts, SimilarityRung) {
    const VerdictCase cases[] = {
        {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMXYZ", "yade lid\xE9" "e"},  // 81.25 %
        {"ABCDEFGHIJKLMNO", "ABCDEFGHIJKLXYZ", "FAUX"},              // exactly 80 %
        {"ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLM", "Trop court"},           // contained, not similar
        {"ABCDEFGHIJKLMNOP", "XBCDEFGHIJKLMNOPYZ", "yade lid\xE9" "e"},  // longer typed, L = 18
        {"ABCDEFGHIJKLMNOPQ", "XYCDEFGHIJKLMNOP", "yade lid\xE9" "e"},   // shorter typed, L = 17
        {"ABCDEFGHIJKLMNOPQRST", "XYZDEFGHIJKLMNOPQRS", "FAUX"},       // d = 4, L = 20: exactly 80 %
        {"CHAT", "CHIEN", "FAUX"},
    };
    expectVerdicts(cases, sizeof cases / sizeof cases[0]);
}

TEST(MatcherVerdicts, InputsLeftUnchangedAndNullIsEmpty) {
    char expected[] = "tour eiffel";
    char typed[] = "  la tour eiffel ";
    EXPECT_STREQ("Trop long", matchAnswer(expected, typed));
    EXPECT_STREQ("tour eiffel", expected);
    EXPECT_STREQ("  la tour eiffel ", typed);

    EXPECT_STREQ("?", matchAnswer("Paris", nullptr));
    EXPECT_STREQ("Quasiment", matchAnswer(nullptr, "A"));
    EXPECT_STREQ("?", matchAnswer(nullptr, nullptr));
}

TEST(MatcherVerdicts, LongInputsAreJudgedOnTheirFirst259Characters) {
    const std::string a259(259, 'a');
    const std::string upper259(259, 'A');
    EXPECT_STREQ("BRAVO", matchAnswer(upper259.c_str(), a259.c_str()));
    // Extra bytes past 259 are not seen, on either side.
    EXPECT_STREQ("BRAVO", matchAnswer(upper259.c_str(), (a259 + "XYZ").c_str()));
    EXPECT_STREQ("BRAVO", matchAnswer((upper259 + "Q").c_str(), a259.c_str()));
    std::string b259 = upper259;
    b259[0] = 'B';
    b259[258] = 'C';
    EXPECT_STREQ("Presque", matchAnswer(upper259.c_str(), b259.c_str()));
    EXPECT_STREQ("FAUX", matchAnswer(upper259.c_str(), std::string(259, 'Z').c_str()));
    EXPECT_EQ(259, editDistance(upper259.c_str(), std::string(259, 'Z').c_str()));
    EXPECT_EQ(259, editDistance(std::string(300, 'A').c_str(), ""));
    EXPECT_EQ(2, containment(std::string(300, 'A').c_str(), std::string(400, 'A').c_str()));
}

TEST(MatcherNormalisation, TrimSpaces) {
    EXPECT_EQ("Paris", trimmed("  Paris  "));
    EXPECT_EQ("la tour  eiffel", trimmed(" la tour  eiffel "));
    EXPECT_EQ("\tParis\t", trimmed(" \tParis\t "));
    EXPECT_EQ("", trimmed("    "));
    EXPECT_EQ("", trimmed(" "));
    EXPECT_EQ("", trimmed(""));
    EXPECT_EQ("A", trimmed("A "));
    EXPECT_EQ("A", trimmed(" A"));
    trimSpaces(nullptr);  // must not crash
}

TEST(MatcherNormalisation, UpperAsciiAndSortLetters) {
    char text[] = "az AZ \xE9\xC9 09 {`@[";
    upperAscii(text);
    EXPECT_STREQ("AZ AZ \xE9\xC9 09 {`@[", text);

    char letters[] = "ROMA";
    sortLetters(letters);
    EXPECT_STREQ("AMOR", letters);
    char bytes[] = "\xE9z\x01" "A";  // bytes above 0x7F sort last, as unsigned values
    sortLetters(bytes);
    EXPECT_STREQ("\x01" "Az\xE9", bytes);
    char one[] = "Q";
    sortLetters(one);
    EXPECT_STREQ("Q", one);
    char empty[] = "";
    sortLetters(empty);
    EXPECT_STREQ("", empty);
}

TEST(MatcherMeasures, EditDistance) {
    EXPECT_EQ(0, editDistance("", ""));
    EXPECT_EQ(3, editDistance("", "ABC"));
    EXPECT_EQ(4, editDistance("ABCD", ""));
    EXPECT_EQ(3, editDistance("ABC", nullptr));
    EXPECT_EQ(0, editDistance("PARIS", "PARIS"));
    EXPECT_EQ(1, editDistance("PARIS", "PARI"));
    EXPECT_EQ(2, editDistance("PARIS", "PARSI"));
    EXPECT_EQ(3, editDistance("KITTEN", "SITTING"));
    EXPECT_EQ(3, editDistance("SITTING", "KITTEN"));
    EXPECT_EQ(7, editDistance("FLAW", "LAWNMOWER"));
    EXPECT_EQ(7, editDistance("LAWNMOWER", "FLAW"));
    EXPECT_EQ(2, editDistance("FLAW", "LAWN"));
    EXPECT_EQ(1, editDistance("e", "E"));  // bytes compared exactly
}

TEST(MatcherMeasures, ContainmentSignsAndScan) {
    EXPECT_EQ(2, containment("TOUR EIFFEL", "LA TOUR EIFFEL"));
    EXPECT_EQ(-2, containment("TOUR EIFFEL", "TOUR"));
    EXPECT_EQ(0, containment("TOUR EIFFEL", "TOUT"));
    EXPECT_EQ(0, containment("ABAC", "ABABACX"));
    EXPECT_EQ(2, containment("ABAC", "XABACYZ"));
    EXPECT_EQ(-2, containment("XABACYZ", "ABAC"));
    EXPECT_EQ(0, containment("ABABACX", "ABAC"));
    EXPECT_EQ(2, containment("AB", "AAB"));     // the byte that differed is tried as the next start
    EXPECT_EQ(0, containment("ABC", "ABD"));    // equal lengths: only identical texts could match
    EXPECT_EQ(0, containment("ABC", "XYZAB"));  // the end of t cuts the comparison short
    EXPECT_EQ(1, containment("", "ABC"));
    EXPECT_EQ(1, containment("", ""));
    EXPECT_EQ(-1, containment("ABC", ""));
    EXPECT_EQ(-1, containment("ABC", nullptr));
}
