#include "core/message/scanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zeilwerk {
namespace {

class RecordingSink : public TraceSink {
public:
    bool tracing() const override {
        ++asked;
        return on && (stopAfter < 0 || static_cast<int>(lines.size()) < stopAfter);
    }
    void appendLine(const std::u16string& line) override { lines.push_back(line); }

    bool on = true;
    int stopAfter = -1;  // tracing goes off once this many lines are written
    mutable int asked = 0;
    std::vector<std::u16string> lines;
};

struct ScanCase {
    std::u16string_view line;
    std::u16string_view visible;
};

class ScannerResult : public testing::TestWithParam<ScanCase> {};

TEST_P(ScannerResult, VisibleText) {
    const ScanCase c = GetParam();
    EXPECT_EQ(visibleText(c.line), c.visible);
    // Tracing only watches; it never changes the result.
    RecordingSink sink;
    EXPECT_EQ(visibleText(c.line, &sink), c.visible);
}

INSTANTIATE_TEST_SUITE_P(Codes, ScannerResult, testing::Values(
    ScanCase{u"\\c[2]Hallo\\v[3] \\\\x", u"Hallo \\x"},
    ScanCase{u"\\c[\\v[12]]rot", u"rot"},
    ScanCase{u"\\s[5]schnell\\|\\.\\!", u"schnell"},
    ScanCase{u"\\$\\^\\>\\<", u""},
    ScanCase{u"\\n[1]: Hallo", u": Hallo"},
    ScanCase{u"\\v[]", u"0"},
    ScanCase{u"\\v[7]", u""},
    ScanCase{u"Wert: \\vX", u"Wert: 0X"},
    ScanCase{u"\\vv[2]", u"0v[2]"},
    ScanCase{u"Wert: \\v", u"Wert: "},
    ScanCase{u"\\v[", u""},
    ScanCase{u"a\\_b\\_c\\_d\\_e", u"ab cd e"},
    ScanCase{u"a\\_\\_\\_b", u"a b"},
    ScanCase{u"\\_", u""},
    ScanCase{u"\\_x\\c[1]\\_", u"x "},  // the counter survives other codes
    ScanCase{u"ende\\", u"ende"},
    ScanCase{u"ende\\\\", u"ende\\"},
    ScanCase{u"\\C[2]x", u"x"},  // the code letters in either case
    ScanCase{u"\\V[63]/1000", u"/1000"},
    ScanCase{u"\\C[\\V[3]]rot\\S[12]!", u"rot!"},
    ScanCase{u"\\N[1]: \\V[]\\Vx", u": 00x"},
    ScanCase{u"\\Q\\X[1]", u"[1]"},
    ScanCase{u"\\cX", u"X"},
    ScanCase{u"\\c", u""},
    ScanCase{u"\\c[3", u""},
    ScanCase{u"\\c[12", u""},
    ScanCase{u"\\c[\\x]y", u"y"},
    ScanCase{u"\\c[\\]y", u"y"},
    ScanCase{u"\\c[\\vx]y", u"y"},
    ScanCase{u"\\c[\\v[]]y", u"y"},
    ScanCase{u"\\c[\\v]y", u""},            // "\v" then "]" goes back to #3; "y" is skipped
    ScanCase{u"\\s[\\v[3]x]y", u"y"},
    ScanCase{u"\\v[\\v[3]]z", u"]z"},
    ScanCase{u"\\c[1\\c[2]]z", u"]z"},
    ScanCase{u"\\v[1x]ok", u"ok"},
    ScanCase{u"\\v\\v[]", u"00"},          // the read-again "\" starts a new code
    ScanCase{u"Grüße, 日本\\c[1]!", u"Grüße, 日本!"},
    ScanCase{u"", u""}));

std::vector<std::u16string> traceOf(std::u16string_view line) {
    RecordingSink sink;
    visibleText(line, &sink);
    return sink.lines;
}

TEST(ScannerTrace, ColourCode) {
    EXPECT_EQ(traceOf(u"\\c[2]Hi"), (std::vector<std::u16string>{
        u"\\ ::#0:: k ist \\; springe zu #1",
        u"c ::#1:: k ist color,speed,name; springe zu #2",
        u"[ ::#2:: k ist öfnende Deklaration; springe zu #3",
        u"2 ::#3:: k nicht erkannt; suche weiter nach \\ oder ]",
        u"] ::#3:: k schließt die Deklaration; springe zu #0",
        u"H ::#0:: k nicht erkannt ; k ausgegeben; springe zu #0",
        u"i ::#0:: k nicht erkannt ; k ausgegeben; springe zu #0",
    }));
}

TEST(ScannerTrace, EmptyVariableReadsTheCharacterAgain) {
    EXPECT_EQ(traceOf(u"x\\vy"), (std::vector<std::u16string>{
        u"x ::#0:: k nicht erkannt ; k ausgegeben; springe zu #0",
        u"\\ ::#0:: k ist \\; springe zu #1",
        u"v ::#1:: k ist var; springe zu #9",
        u"y ::#9:: k ist leere var; gebe 0 aus; setze k--1; springe zu #0",
        u"y ::#0:: k nicht erkannt ; k ausgegeben; springe zu #0",
    }));
}

TEST(ScannerTrace, SecondHalfSpaceWritesTwoLines) {
    EXPECT_EQ(traceOf(u"\\_\\_"), (std::vector<std::u16string>{
        u"\\ ::#0:: k ist \\; springe zu #1",
        u"_ ::#1:: k ist ein halbes Leerzeichen; zähler+1; springe zu #0",
        u"\\ ::#0:: k ist \\; springe zu #1",
        u"_ ::#1:: k ist ein halbes Leerzeichen; zähler+1; springe zu #0",
        u"_ ::#1:: zähler >= 2; Leerzeichen ausgegeben; springe zu #0",
    }));
}

// Every row's own message, keyed by the line that reaches it last.
TEST(ScannerTrace, EveryRowHasItsMessage) {
    const struct {
        std::u16string_view line;
        std::u16string_view last;
    } rows[] = {
        {u"\\\\", u"\\ ::#1:: k ist \\\\; \\ ausgegeben; springe zu #0"},
        {u"\\v", u"v ::#1:: k ist var; springe zu #9"},
        {u"\\V", u"V ::#1:: k ist var; springe zu #9"},
        {u"\\S", u"S ::#1:: k ist color,speed,name; springe zu #2"},
        {u"\\n[\\V", u"V ::#4:: k ist innere var; springe zu #5"},
        {u"\\^", u"^ ::#1:: k ist Steuerzeichen; springe zu #0"},
        {u"\\Q", u"Q ::#1:: k nicht erkannt; nichts wird ausgegeben; springe zu #0"},
        {u"\\sQ", u"Q ::#2:: k nicht erkannt; k wird ausgegeben; springe zu #0"},
        {u"\\n[\\", u"\\ ::#3:: k ist innere Deklaration; springe zu #4"},
        {u"\\n[\\v", u"v ::#4:: k ist innere var; springe zu #5"},
        {u"\\n[\\]", u"] ::#4:: k schließt die äußere Deklaration; springe zu #0"},
        {u"\\n[\\q", u"q ::#4:: k nicht erkannt; springe zu #8"},
        {u"\\n[\\v[", u"[ ::#5:: k öffnet innere var; springe zu #6"},
        {u"\\n[\\vq", u"q ::#5:: k nicht erkannt; springe zu #3"},
        {u"\\n[\\v[]", u"] ::#6:: k schließt innere var; springe zu #3"},
        {u"\\n[\\v[4", u"4 ::#6:: k nicht erkannt; springe zu #7"},
        {u"\\n[\\v[45", u"5 ::#7:: k nicht erkannt; suche weiter nach ]"},
        {u"\\n[\\v[4]", u"] ::#7:: k schließt innere var; springe zu #3"},
        {u"\\n[\\qa", u"a ::#8:: k nicht erkannt; suche weiter nach ]"},
        {u"\\n[\\q]", u"] ::#8:: k schließt äußere Deklaration; springe zu #0"},
        {u"\\v[", u"[ ::#9:: k öffnet var Deklaration; springe zu #10"},
        {u"\\v[]", u"] ::#10:: k ist leere var; gebe 0 aus; springe zu #0"},
        {u"\\v[3", u"3 ::#10:: k nicht erkannt, springe zu #8"},
    };
    for (const auto& row : rows) {
        const auto lines = traceOf(row.line);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), row.last) << std::string(row.line.begin(), row.line.end());
    }
}

TEST(ScannerTrace, CharacterAsItSurvivesTheCodePage) {
    const auto lines = traceOf(u"ä日€");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].substr(0, 2), u"ä ");
    EXPECT_EQ(lines[1].substr(0, 2), u"? ");
    EXPECT_EQ(lines[2].substr(0, 2), u"€ ");
    // A surrogate pair is two code units, two steps, two "?".
    EXPECT_EQ(traceOf(u"\U0001F600").size(), 2u);
    EXPECT_EQ(traceOf(u"\U0001F600")[1][0], u'?');
}

TEST(ScannerTrace, SwitchIsAskedAtEveryStep) {
    RecordingSink sink;
    sink.stopAfter = 2;
    EXPECT_EQ(visibleText(u"abcd", &sink), u"abcd");
    EXPECT_EQ(sink.lines.size(), 2u);
    EXPECT_EQ(sink.asked, 4);
}

TEST(ScannerTrace, EmptyLineAndSwitchOffWriteNothing) {
    RecordingSink sink;
    visibleText(u"", &sink);
    EXPECT_TRUE(sink.lines.empty());
    sink.on = false;
    visibleText(u"\\c[1]x", &sink);
    EXPECT_TRUE(sink.lines.empty());
}

}  // namespace
}  // namespace zeilwerk

namespace zeilwerk {
namespace {

// The colour and name codes, with what their brackets hold and where they take effect.
TEST(ScannerCodes, ColourAndNameCodesAreListedInLineOrder) {
    struct Case {
        std::u16string line;
        std::u16string visible;
        std::vector<CodeMark> codes;
    };
    const std::u16string lines[] = {u"a\\c[3]b\\n[12]c", u"\\c[\\v[7]]x", u"\\s[5]\\n[]\\v[2]", u"\\cq\\c[\\x]y",
                                    u"\\c[\\]z", u"\\C[4]\\N[2]"};
    const Case cases[] = {
        {lines[0], u"abc", {{u'c', u"3", 1}, {u'n', u"12", 2}}},
        {lines[1], u"x", {{u'c', u"\\v[7]", 0}}},
        {lines[2], u"", {{u'n', u"", 0}}},  // \s is no colour or name; \v[2] is no code with a declaration
        {lines[3], u"qy", {{u'c', u"\\x", 1}}},
        {lines[4], u"z", {{u'c', u"\\", 0}}},
        {lines[5], u"", {{u'c', u"4", 0}, {u'n', u"2", 0}}},
    };
    for (const Case& c : cases) {
        std::vector<CodeMark> codes;
        EXPECT_EQ(visibleText(c.line, nullptr, &codes), c.visible);
        EXPECT_EQ(codes, c.codes) << std::string(c.line.begin(), c.line.end());
    }
}

}  // namespace
}  // namespace zeilwerk
