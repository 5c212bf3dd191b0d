// The translation of trivo-make's messages: placeholders, the language the environment asks for, and
// the in-place reading of compiled catalogues that the Windows program relies on.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "tools/support/mo_catalogue.h"
#include "tools/support/translation.h"

TEST(FillIn, PutsEachValueInItsPlaceInAnyOrder) {
    EXPECT_EQ(fillIn("{2} : {1}", "message", "trivo-make"), "trivo-make : message");
    EXPECT_EQ(fillIn("{1} is {2} bytes, {2} again", "a.jpg", 12), "a.jpg is 12 bytes, 12 again");
    // Places without a value, and braces that are no place, stay as written; a value is never read again.
    EXPECT_EQ(fillIn("{1} {3} {0} {x} {", "{2}", "two"), "{2} {3} {0} {x} {");
}

namespace {

std::map<std::string, std::string> g_environment;
const char* fakeValue(const char* name) {
    const auto found = g_environment.find(name);
    return found == g_environment.end() ? nullptr : found->second.c_str();
}
std::vector<std::string> wanted(const std::map<std::string, std::string>& environment) {
    g_environment = environment;
    return wantedLanguages(fakeValue);
}

}  // namespace

TEST(WantedLanguages, FollowTheVariablesAsGettextDoes) {
    typedef std::vector<std::string> Languages;
    EXPECT_EQ(wanted({{"LANG", "fr_FR.UTF-8"}}), (Languages{"fr_FR", "fr"}));
    EXPECT_EQ(wanted({{"LANG", "fr_BE.ISO-8859-15@euro"}}), (Languages{"fr_BE", "fr"}));
    EXPECT_EQ(wanted({{"LANG", "fr"}}), (Languages{"fr"}));
    // The first set of LC_ALL, LC_MESSAGES and LANG names the locale; LANGUAGE comes before it...
    EXPECT_EQ(wanted({{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_CA.UTF-8"}}), (Languages{"fr_CA", "fr"}));
    EXPECT_EQ(wanted({{"LANG", "en_GB.UTF-8"}, {"LC_ALL", "fr_CA"}, {"LC_MESSAGES", "de_DE"}}),
              (Languages{"fr_CA", "fr"}));
    EXPECT_EQ(wanted({{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "fr:en"}}), (Languages{"fr", "en", "de_DE", "de"}));
    // ...unless the locale is C or POSIX, which ask for the messages as written.
    EXPECT_EQ(wanted({{"LANG", "C"}, {"LANGUAGE", "fr"}}), Languages{});
    EXPECT_EQ(wanted({{"LC_ALL", "C.UTF-8"}, {"LANG", "fr_FR.UTF-8"}}), Languages{});
    EXPECT_EQ(wanted({{"LC_ALL", ""}, {"LANG", "POSIX"}}), Languages{});
    EXPECT_EQ(wanted({}), Languages{});
}

TEST(PluralFormIndex, EvaluatesTheRulesOfCatalogueHeaders) {
    EXPECT_EQ(pluralFormIndex("(n > 1)", 0), 0);
    EXPECT_EQ(pluralFormIndex("(n > 1)", 1), 0);
    EXPECT_EQ(pluralFormIndex("(n > 1)", 2), 1);
    EXPECT_EQ(pluralFormIndex("n != 1", 0), 1);
    // Polish: one, few (2-4 but not 12-14), many.
    const std::string polish = "(n==1 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2)";
    EXPECT_EQ(pluralFormIndex(polish, 1), 0);
    EXPECT_EQ(pluralFormIndex(polish, 22), 1);
    EXPECT_EQ(pluralFormIndex(polish, 12), 2);
    EXPECT_EQ(pluralFormIndex(polish, 5), 2);
    EXPECT_EQ(pluralFormIndex("!(n == 1)", 1), 0);
    EXPECT_EQ(pluralFormIndex("n / 0 + n % 0", 7), 0);  // no division by zero
    // A rule that cannot be read, or nests without end, gives no form.
    EXPECT_EQ(pluralFormIndex("n >", 2), -1);
    EXPECT_EQ(pluralFormIndex("(n > 1", 2), -1);
    EXPECT_EQ(pluralFormIndex("n > 1 junk", 2), -1);
    EXPECT_EQ(pluralFormIndex(std::string(100000, '(') + "n" + std::string(100000, ')'), 2), -1);
}

namespace {

std::vector<unsigned char> frenchCatalogue() {
    std::ifstream file(TRIVO_FRENCH_CATALOGUE, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(MoCatalogue, FindsMessagesAndPluralFormsOfTheFrenchCatalogue) {
    const std::vector<unsigned char> bytes = frenchCatalogue();
    MoCatalogue catalogue;
    ASSERT_TRUE(openMoCatalogue(bytes.data(), bytes.size(), &catalogue));
    EXPECT_EQ(catalogue.pluralRule, "(n > 1)");
    EXPECT_STREQ(moTranslation(catalogue, "error: {1}"), "erreur : {1}");
    EXPECT_STREQ(moTranslation(catalogue, "no command given"), "aucune commande donnée");
    EXPECT_EQ(moTranslation(catalogue, "a message nobody wrote"), nullptr);
    EXPECT_STREQ(moPluralTranslation(catalogue, "{1} error", 0), "{1} erreur");
    EXPECT_STREQ(moPluralTranslation(catalogue, "{1} error", 1), "{1} erreur");
    EXPECT_STREQ(moPluralTranslation(catalogue, "{1} error", 3), "{1} erreurs");
    EXPECT_EQ(moPluralTranslation(catalogue, "{1} mistake", 3), nullptr);
}

TEST(MoCatalogue, DamagedCataloguesGiveNoTranslationAndReadNothingOutside) {
    const std::vector<unsigned char> whole = frenchCatalogue();
    ASSERT_GT(whole.size(), 1000u);
    MoCatalogue catalogue;
    EXPECT_FALSE(openMoCatalogue(whole.data(), 27, &catalogue));
    std::vector<unsigned char> notMo = whole;
    notMo[0] ^= 0xFF;
    EXPECT_FALSE(openMoCatalogue(notMo.data(), notMo.size(), &catalogue));
    // Cut short: the tables lie beyond the end.
    EXPECT_FALSE(openMoCatalogue(whole.data(), 40, &catalogue));
    // Cut inside the strings: a message whose text lies past the end is not found, and none is read
    // there (the sanitizers' build would say so).
    const std::vector<unsigned char> cut(whole.begin(), whole.begin() + static_cast<long>(whole.size() / 2));
    ASSERT_TRUE(openMoCatalogue(cut.data(), cut.size(), &catalogue));
    int found = 0;
    for (const char* message : {"error: {1}", "no command given", "the web page's template is damaged", "then"}) {
        if (moTranslation(catalogue, message)) ++found;
    }
    EXPECT_LT(found, 4);
    // Lengths and offsets of the tables that run past the end (little-endian words).
    ASSERT_TRUE(openMoCatalogue(whole.data(), whole.size(), &catalogue));
    std::vector<unsigned char> longer = whole, farther = whole;
    for (uint32_t i = 0; i < catalogue.count; ++i) {
        longer[catalogue.originals + 8 * i + 3] = 0x7F;      // each message's length
        farther[catalogue.translations + 8 * i + 7] = 0x7F;  // each translation's offset
    }
    ASSERT_TRUE(openMoCatalogue(longer.data(), longer.size(), &catalogue));
    EXPECT_EQ(moTranslation(catalogue, "error: {1}"), nullptr);
    EXPECT_EQ(moPluralTranslation(catalogue, "{1} error", 2), nullptr);
    ASSERT_TRUE(openMoCatalogue(farther.data(), farther.size(), &catalogue));
    EXPECT_EQ(moTranslation(catalogue, "error: {1}"), nullptr);
    EXPECT_EQ(moPluralTranslation(catalogue, "{1} error", 2), nullptr);
}

TEST(UseLanguage, GivesTheStudioFrenchWhateverTheUsersLanguage) {
    setenv("LC_ALL", "C", 1);
    // The catalogues of this tree, found as the tree's own trivo-make finds them.
    startTranslation(TRIVO_BUILD_PROGRAM);
    EXPECT_STREQ(tr("error: {1}"), "error: {1}");
    useLanguage("fr");
    EXPECT_STREQ(tr("error: {1}"), "erreur : {1}");
    EXPECT_STREQ(ntr("{1} warning", "{1} warnings", 2), "{1} avertissements");
}
