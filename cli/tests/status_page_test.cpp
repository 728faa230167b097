// The status page as the service sends it: marked with its language, its
// static words in that language, the catalog's words for the script, and
// data that cannot end the script elements.
#include <gtest/gtest.h>

#include "base/terminal_text.h"
#include "base/ui_words.h"
#include "report/record_report.h"
#include "serve/page_words.h"
#include "serve/status_page.h"

namespace tb58mon {
namespace {

constexpr std::string_view kFleet = R"({"language":"JP","printers":[]})";

// The text of <script id="ID" type="application/json">...</script>.
std::string ScriptText(const std::string& page, const std::string& id) {
    const std::string open = "<script id=\"" + id + "\" type=\"application/json\">";
    const size_t from = page.find(open);
    if (from == std::string::npos) return {};
    const size_t start = from + open.size();
    return page.substr(start, page.find("</script>", start) - start);
}

TEST(StatusPage, IsInTheLanguageAsked) {
    const std::string page = StatusPageHtml(kFleet, "JP");
    EXPECT_NE(page.find("<html lang=\"ja\">"), std::string::npos);
    EXPECT_NE(page.find("<title>プリンター一覧 - tb58mon</title>"), std::string::npos);
    EXPECT_NE(page.find("<h1>プリンター一覧</h1>"), std::string::npos);
    EXPECT_NE(page.find("<h2>過去24時間</h2>"), std::string::npos);
    EXPECT_EQ(page.find("Printer fleet"), std::string::npos);
    for (const char* place : {"@TAG@", "@TITLE@", "@LANGUAGE@", "@LAST_24_HOURS@", "@WORDS@"}) {
        EXPECT_EQ(page.find(place), std::string::npos) << place;
    }

    const std::string german = StatusPageHtml(kFleet, "de");
    EXPECT_NE(german.find("<html lang=\"de\">"), std::string::npos);
    EXPECT_NE(german.find("<label class=\"lang\">Sprache <select"), std::string::npos);
    EXPECT_NE(StatusPageHtml(kFleet, "PT").find("<html lang=\"pt-BR\">"), std::string::npos);
}

TEST(StatusPage, CarriesEveryWordOfItsLanguage) {
    for (std::string_view lang : LanguageCodes()) {
        const std::string page = StatusPageHtml(kFleet, lang);
        const Json words = Json::parse(ScriptText(page, "words"));
        EXPECT_EQ(words["language"], std::string(lang));
        EXPECT_EQ(words["tag"], std::string(LanguageTag(lang)));
        for (size_t i = 0; i < static_cast<size_t>(WordId::kCount); ++i) {
            const auto id = static_cast<WordId>(i);
            EXPECT_EQ(words["words"][std::string(WordKey(id))], std::string(UiWord(id, lang))) << WordKey(id);
        }
        const std::pair<const char*, ReplyWordKind> tables[] = {
            {"media", ReplyWordKind::kMedia}, {"bin_states", ReplyWordKind::kBinState}, {"paper_sizes", ReplyWordKind::kPaperSize}};
        for (const auto& [table, kind] : tables) {
            EXPECT_EQ(words[table].size(), KnownReplyWords(kind).size()) << table;
            for (std::string_view word : KnownReplyWords(kind)) {
                EXPECT_EQ(words[table][std::string(word)], ReplyWordText(kind, word, lang)) << word;
            }
        }
        ASSERT_EQ(words["languages"].size(), LanguageCodes().size());
        EXPECT_EQ(words["languages"][1]["name"], "日本語");
    }
    // A language the service does not offer never reaches the page; the
    // words fall back to English all the same.
    EXPECT_EQ(*PageWordsJson("xx"), *PageWordsJson("EN"));
}

TEST(StatusPage, DataCannotEndItsScript) {
    const std::string hostile =
        R"({"language":"EN","printers":[{"name":"p","short":"</script><script>alert(1)</script><!--"}]})";
    const std::string page = StatusPageHtml(hostile, "EN");
    EXPECT_EQ(page.find("</script><script>alert"), std::string::npos);
    const Json fleet = Json::parse(ScriptText(page, "fleet-data"));
    EXPECT_EQ(fleet["printers"][0]["short"], "</script><script>alert(1)</script><!--");
    // The words come before the data, which the script reads after both.
    EXPECT_LT(page.find("id=\"words\""), page.find("id=\"fleet-data\""));
}

}  // namespace
}  // namespace tb58mon
