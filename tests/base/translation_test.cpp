#include <gtest/gtest.h>

#include <clocale>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>

#include "base/language.h"
#include "base/message_catalogue.h"
#include "base/translate.h"

using namespace pd;
using namespace std::string_literals;

namespace {

// A catalogue's bytes laid out as msgfmt lays them (little-endian, no hash
// table): `messages` by original, "" being the header.
std::string catalogueBytes(const std::map<std::string, std::string>& messages) {
    const std::uint32_t n = std::uint32_t(messages.size()), originals = 28, translations = 28 + 8 * n;
    std::string out(28 + 16 * n, '\0');
    const auto put = [&out](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out[at + i] = char(v >> (8 * i));
    };
    put(0, 0x950412de), put(8, n), put(12, originals), put(16, translations);
    std::uint32_t i = 0;
    for (const auto& [original, translation] : messages) {
        for (const auto& [table, text] : {std::pair{originals, original}, std::pair{translations, translation}})
            put(table + 8 * i, std::uint32_t(text.size())), put(table + 8 * i + 4, std::uint32_t(out.size())),
                out += text + '\0';
        ++i;
    }
    return out;
}

std::string withRule(const std::string& rule) {
    return catalogueBytes({{"", "Plural-Forms: nplurals=3; plural=" + rule + ";\n"}, {"a\0b"s, "x\0y\0z"s}});
}

// Serbian's forms of a count, as school grammar gives them.
const std::pair<unsigned long, const char*> triangles[] = {
    {1, "1 trougao"},    {2, "2 trougla"},    {5, "5 trouglova"},   {11, "11 trouglova"}, {12, "12 trouglova"},
    {21, "21 trougao"},  {22, "22 trougla"},  {25, "25 trouglova"}, {101, "101 trougao"}};

class Translation : public ::testing::Test {
protected:
    void TearDown() override {
        setenv("LANG", lang.c_str(), 1);
        chooseLanguage("en");
    }
    const std::string lang = getenv("LANG") ? getenv("LANG") : "C";
};

TEST_F(Translation, SerbianCountsTakeTheirThreeFormsNativelyAndInThePage) {
    // A machine without the sr_RS locale still speaks what LANG asks for.
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANGUAGE"}) unsetenv(name);
    setenv("LANG", "sr_RS.UTF-8", 1);
    ASSERT_EQ(*chooseLanguage(""), "sr");
    EXPECT_STREQ(trn("{1} triangle", "{1} triangles", 21), "{1} троугао");
    // Numbers keep their point in a locale there is.
    setenv("LANG", "C.UTF-8", 1);
    ASSERT_TRUE(chooseLanguage("sr@latin"));
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "C");
    std::ifstream in(PD_LOCALE_DIR "/sr@latin/LC_MESSAGES/duals-explorer.mo", std::ios::binary);
    const Result<MessageCatalogue> page = MessageCatalogue::read({std::istreambuf_iterator<char>(in), {}});
    ASSERT_TRUE(page) << page.error().text();
    for (const auto& [n, expected] : triangles) {
        EXPECT_EQ(fill(trn("{1} triangle", "{1} triangles", n), {std::to_string(n)}), expected);
        EXPECT_EQ(fill(page->findPlural("{1} triangle", n), {std::to_string(n)}), expected);
    }
    ASSERT_TRUE(chooseLanguage("en"));
    EXPECT_STREQ(trn("{1} triangle", "{1} triangles", 21), "{1} triangles");
    const Result<std::string> refused = chooseLanguage("sr_RS");
    ASSERT_FALSE(refused);
    EXPECT_NE(refused.error().text().find("en, sr or sr@latin"), std::string::npos);
}

TEST(Language, TheEnvironmentIsReadAsGettextReadsIt) {
    const struct {
        const char *language, *lcAll, *lcMessages, *lang, *expected;
    } cases[] = {
        {nullptr, nullptr, nullptr, "sr_RS.UTF-8", "sr"},
        {nullptr, nullptr, nullptr, "sr_RS.UTF-8@latin", "sr@latin"},
        {"sr@latin", nullptr, nullptr, nullptr, "sr@latin"},
        {"de:sr_RS@latin:sr", "", "", "en_GB.UTF-8", "sr@latin"},  // the first known of the list
        {"", "", "sr_ME", "en_US.UTF-8", "sr"},                   // LC_MESSAGES before LANG
        {nullptr, "en_US.UTF-8", "sr_RS", nullptr, "en"},          // LC_ALL before both
        {"sr", "C", nullptr, "sr_RS", "en"},                       // the C locale keeps English
        {"de", nullptr, nullptr, "fr_FR.UTF-8", "en"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(environmentLanguage(c.language, c.lcAll, c.lcMessages, c.lang), c.expected)
            << (c.language ? c.language : "-") << " " << (c.lcMessages ? c.lcMessages : "-");
}

TEST(MessageCatalogue, PluralRulesFollowCsPrecedence) {
    const struct {
        const char* rule;
        unsigned long n, form;
    } cases[] = {
        {"n==0 ? 0 : n==1 ? 1 : 2", 0, 0}, {"n==0 ? 0 : n==1 ? 1 : 2", 1, 1}, {"n==0 ? 0 : n==1 ? 1 : 2", 7, 2},
        {"!(n > 1) + 1", 1, 2},           {"n == 1 || n == 2 && n == 3", 1, 1}, {"2 + 3 * n % 4", 3, 3},
        {"(n%100 - n%10) / 10 >= 1", 5, 0}, {"n/0 + n%0", 9, 0},
    };
    for (const auto& c : cases) {
        const Result<MessageCatalogue> catalogue = MessageCatalogue::read(withRule(c.rule));
        ASSERT_TRUE(catalogue) << c.rule;
        EXPECT_EQ(catalogue->pluralForm(c.n), c.form) << c.rule << " at " << c.n;
    }
    const Result<MessageCatalogue> english = MessageCatalogue::read(catalogueBytes({{"a\0b"s, "x\0y"s}}));
    ASSERT_TRUE(english);
    EXPECT_STREQ(english->findPlural("a", 2), "y");
    EXPECT_EQ(english->find("b"), nullptr);
}

TEST(MessageCatalogue, RefusesWhatIsNotACatalogueOrLiesOutsideIt) {
    const std::string good = withRule("n != 1");
    const auto put = [](std::string bytes, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = char(v >> (8 * i));
        return bytes;
    };
    const struct {
        std::string bytes;
        const char* told;
    } cases[] = {
        {"", "magic number"},
        {good.substr(0, 14), "cut short"},
        {put(good, 0, 0x950412df), "magic number"},
        {put(good, 8, 0x7fffffff), "more messages"},
        {put(good, 16, std::uint32_t(good.size())), "outside"},      // the translations' table
        {put(good, 32, std::uint32_t(good.size())), "outside"},      // the header's place
        {put(good, 28, std::uint32_t(good.size())), "outside"},      // its length
        {good.substr(0, good.size() - 1) + "z", "outside"},          // no NUL at the end
        {withRule("n %"), "does not parse"},
        {withRule("(n == 1"), "does not parse"},
        {withRule(std::string(200, '(') + "n" + std::string(200, ')')), "does not parse"},
        {withRule("n" + [] { std::string s; for (int i = 0; i < 2000; ++i) s += "+n"; return s; }()), "does not parse"},
    };
    for (const auto& c : cases) {
        const Result<MessageCatalogue> read = MessageCatalogue::read(c.bytes);
        ASSERT_FALSE(read) << c.told;
        EXPECT_NE(read.error().text().find(c.told), std::string::npos) << read.error().text();
    }
}

}  // namespace
