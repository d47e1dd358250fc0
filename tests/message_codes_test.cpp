#include "core/message/message_codes.h"

#include "core/game/game_checks.h"
#include "core/game/game_message.h"
#include "core/message/spelling_words.h"
#include "core/platform/code_page.h"
#include "core/platform/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zeilwerk::test {
namespace {

// The tokens of a line in words: text in quotes, a code by name with its number.
std::string shownTokens(std::u16string_view line) {
    static const char* const names[] = {"text", "symbol", "colour", "speed", "name", "variable",
                                        "backslash", "half", "money", "wait", "longwait", "key",
                                        "noend", "instant", "instantend", "unknown", "unfinished"};
    std::string out;
    forEachMessageToken(line, [&](const MessageToken& t) {
        out += out.empty() ? "" : " ";
        if (t.kind == MessageToken::Kind::Text) {
            out += "\"" + toUtf8(line.substr(t.at, t.length)) + "\"";
            return;
        }
        out += names[static_cast<int>(t.kind)];
        if (t.kind == MessageToken::Kind::Symbol || t.bracket != MessageToken::Bracket::None)
            out += (t.bracket == MessageToken::Bracket::Open ? "…" : "=") +
                   (t.variable ? std::string("v") : std::to_string(t.number));
    });
    return out;
}

TEST(GameMessageCodes, SplitsALineIntoTextSymbolsAndCodes) {
    const struct {
        std::u16string line;
        std::string tokens;
    } rows[] = {
        {u"Hallo \\c[3]Welt\\C[0]", "\"Hallo \" colour=3 \"Welt\" colour=0"},
        {u"$A$z$ 5$", "symbol=0 symbol=51 \"$ 5$\""},
        {u"\\\\\\_\\$\\.\\|\\!\\^\\>\\<", "backslash half money wait longwait key noend instant instantend"},
        {u"\\q\\", "unknown unfinished"},
        {u"\\s5 \\N[\\V[3]]x", "speed \"5 \" name=v \"x\""},
        {u"\\c[\\v[3]x", "colour…v"},
        {u"\\n[3 offen", "name…3"},
        {u"\\c[12ab]\\c[99999999999]", "colour=12 colour=1000000000"},
        {u"\\c[1[2]]x", "colour=1 \"]x\""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(toUtf8(row.line));
        EXPECT_EQ(shownTokens(row.line), row.tokens);
    }
}

// Where the layout, the checks and the spelling once read a line each their own way, they
// now take the same codes: what the layout draws is what the spelling looks at.
TEST(GameMessageCodes, LayoutChecksAndSpellingReadTheSameCodes) {
    const std::map<int, std::u16string> heroes = {{1, u"Alex"}};
    const struct {
        std::u16string line;
        std::u16string drawn;
        std::vector<std::string> kinds;
        std::string words;
    } rows[] = {
        {u"\\c[1[2]]x", u"]x", {"unbekannter_code"}, "x@8"},
        {u"\\c[1[2]ab]cd", u"ab]cd", {"unbekannter_code"}, "ab@7|cd@10"},
        {u"\\nSchwert", u"Schwert", {"unbekannter_code"}, "Schwert@2"},
        {u"\\n[1]s Schwert", u"Alexs Schwert", {}, "Schwert@7"},
        {u"\\C[\\v[3]]Rot", u"Rot", {}, "Rot@9"},
        {u"\\c[\\v[3]Rot", u"", {"unbekannter_code"}, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(toUtf8(row.line));
        GameMessageText text;
        text.lines[0] = row.line;
        text.heroNames = &heroes;
        std::u16string drawn;
        for (const GamePiece& piece : layOutGameMessage(text, CodePage::system()))
            drawn += piece.code;
        EXPECT_EQ(drawn, row.drawn);

        GameMessage message;
        message.lines = {row.line};
        std::vector<Finding> findings;
        checkMessage(message, heroes, CodePage::system(), {}, findings);
        std::vector<std::string> kinds;
        for (const Finding& f : findings)
            kinds.push_back(findingKindId(f.kind));
        EXPECT_EQ(kinds, row.kinds);

        std::string words;
        for (const SpellingWord& w : spellingWords(row.line))
            words += (words.empty() ? "" : "|") + toUtf8(row.line.substr(w.at, w.length)) + "@" + std::to_string(w.at);
        EXPECT_EQ(words, row.words);
    }
}

}  // namespace
}  // namespace zeilwerk::test
