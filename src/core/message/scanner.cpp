#include "core/message/scanner.h"

#include "core/platform/code_page.h"
#include "core/platform/text.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace zeilwerk {
namespace {

enum State {
    PlainText,         // #0
    Backslash,         // #1
    CodeLetter,        // #2: "\c", "\s" or "\n"; "[" expected
    Declaration,       // #3: inside "[...]", looking for "\" or "]"
    InnerBackslash,    // #4
    InnerVar,          // #5: "\v" inside a declaration; "[" expected
    InnerVarOpen,      // #6
    InnerVarNumber,    // #7
    SkipToBracket,     // #8
    Var,               // #9: "\v" outside a declaration; "[" expected
    VarOpen,           // #10
};

bool isControlCharacter(char16_t c) {
    switch (c) {
    case u'$': case u'!': case u'.': case u'|': case u'>': case u'<': case u'^':
        return true;
    default:
        return false;
    }
}

// The trace messages, one per row of the state table.
constexpr std::u16string_view kPlainBackslash = u" ::#0:: k ist \\; springe zu #1";
constexpr std::u16string_view kPlainOther = u" ::#0:: k nicht erkannt ; k ausgegeben; springe zu #0";
constexpr std::u16string_view kEscapedBackslash = u" ::#1:: k ist \\\\; \\ ausgegeben; springe zu #0";
constexpr std::u16string_view kCodeLetter = u" ::#1:: k ist color,speed,name; springe zu #2";
constexpr std::u16string_view kVar = u" ::#1:: k ist var; springe zu #9";
constexpr std::u16string_view kControl = u" ::#1:: k ist Steuerzeichen; springe zu #0";
constexpr std::u16string_view kHalfSpace = u" ::#1:: k ist ein halbes Leerzeichen; zähler+1; springe zu #0";
constexpr std::u16string_view kHalfSpacePrinted = u" ::#1:: zähler >= 2; Leerzeichen ausgegeben; springe zu #0";
constexpr std::u16string_view kHidden = u" ::#1:: k nicht erkannt; nichts wird ausgegeben; springe zu #0";
constexpr std::u16string_view kOpenDeclaration = u" ::#2:: k ist öfnende Deklaration; springe zu #3";
constexpr std::u16string_view kLetterOther = u" ::#2:: k nicht erkannt; k wird ausgegeben; springe zu #0";
constexpr std::u16string_view kInnerDeclaration = u" ::#3:: k ist innere Deklaration; springe zu #4";
constexpr std::u16string_view kCloseDeclaration = u" ::#3:: k schließt die Deklaration; springe zu #0";
constexpr std::u16string_view kDeclarationOther = u" ::#3:: k nicht erkannt; suche weiter nach \\ oder ]";
constexpr std::u16string_view kInnerVar = u" ::#4:: k ist innere var; springe zu #5";
constexpr std::u16string_view kInnerCloseOuter = u" ::#4:: k schließt die äußere Deklaration; springe zu #0";
constexpr std::u16string_view kInnerOther = u" ::#4:: k nicht erkannt; springe zu #8";
constexpr std::u16string_view kInnerVarOpen = u" ::#5:: k öffnet innere var; springe zu #6";
constexpr std::u16string_view kInnerVarOther = u" ::#5:: k nicht erkannt; springe zu #3";
constexpr std::u16string_view kInnerVarEmptyClose = u" ::#6:: k schließt innere var; springe zu #3";
constexpr std::u16string_view kInnerVarOpenOther = u" ::#6:: k nicht erkannt; springe zu #7";
constexpr std::u16string_view kInnerNumberClose = u" ::#7:: k schließt innere var; springe zu #3";
constexpr std::u16string_view kInnerNumberOther = u" ::#7:: k nicht erkannt; suche weiter nach ]";
constexpr std::u16string_view kSkipClose = u" ::#8:: k schließt äußere Deklaration; springe zu #0";
constexpr std::u16string_view kSkipOther = u" ::#8:: k nicht erkannt; suche weiter nach ]";
constexpr std::u16string_view kVarOpen = u" ::#9:: k öffnet var Deklaration; springe zu #10";
constexpr std::u16string_view kVarEmpty = u" ::#9:: k ist leere var; gebe 0 aus; setze k--1; springe zu #0";
constexpr std::u16string_view kVarOpenEmpty = u" ::#10:: k ist leere var; gebe 0 aus; springe zu #0";
constexpr std::u16string_view kVarOpenOther = u" ::#10:: k nicht erkannt, springe zu #8";

struct Step {
    State next;
    std::u16string_view message;
    bool readAgain = false;
    std::u16string_view secondMessage = {};  // the "\_" that prints a space writes two lines
};

// One row of the state table for state and character c; appends to out what the row prints.
Step step(State state, char16_t c, int& halfSpaces, std::u16string& out) {
    switch (state) {
    case PlainText:
        if (c == u'\\')
            return {Backslash, kPlainBackslash};
        out += c;
        return {PlainText, kPlainOther};
    case Backslash:
        if (c == u'\\') {
            out += u'\\';
            return {PlainText, kEscapedBackslash};
        }
        if (const char16_t l = asciiLower(c); l == u'c' || l == u's' || l == u'n')
            return {CodeLetter, kCodeLetter};
        if (asciiLower(c) == u'v')
            return {Var, kVar};
        if (isControlCharacter(c))
            return {PlainText, kControl};
        if (c == u'_') {
            // Every second half space of the line prints one space.
            if (++halfSpaces >= 2) {
                halfSpaces -= 2;
                out += u' ';
                return {PlainText, kHalfSpace, false, kHalfSpacePrinted};
            }
            return {PlainText, kHalfSpace};
        }
        return {PlainText, kHidden};
    case CodeLetter:
        if (c == u'[')
            return {Declaration, kOpenDeclaration};
        out += c;
        return {PlainText, kLetterOther};
    case Declaration:
        if (c == u'\\')
            return {InnerBackslash, kInnerDeclaration};
        if (c == u']')
            return {PlainText, kCloseDeclaration};
        return {Declaration, kDeclarationOther};
    case InnerBackslash:
        if (asciiLower(c) == u'v')
            return {InnerVar, kInnerVar};
        if (c == u']')
            return {PlainText, kInnerCloseOuter};
        return {SkipToBracket, kInnerOther};
    case InnerVar:
        if (c == u'[')
            return {InnerVarOpen, kInnerVarOpen};
        return {Declaration, kInnerVarOther};
    case InnerVarOpen:
        if (c == u']')
            return {Declaration, kInnerVarEmptyClose};
        return {InnerVarNumber, kInnerVarOpenOther};
    case InnerVarNumber:
        if (c == u']')
            return {Declaration, kInnerNumberClose};
        return {InnerVarNumber, kInnerNumberOther};
    case SkipToBracket:
        if (c == u']')
            return {PlainText, kSkipClose};
        return {SkipToBracket, kSkipOther};
    case Var:
        if (c == u'[')
            return {VarOpen, kVarOpen};
        out += u'0';
        return {PlainText, kVarEmpty, true};
    case VarOpen:
        if (c == u']') {
            out += u'0';
            return {PlainText, kVarOpenEmpty};
        }
        return {SkipToBracket, kVarOpenOther};
    }
    return {PlainText, kPlainOther};
}

void appendTrace(TraceSink& trace, char16_t c, std::u16string_view message) {
    std::u16string line;
    line.reserve(1 + message.size());
    line += CodePage::system().survivor(c);
    line += message;
    trace.appendLine(line);
}

// The position of the next backslash at or after from, or size when there is none.
size_t nextBackslash(std::u16string_view line, size_t from) {
    const char16_t* p = line.data();
    const size_t size = line.size();
#ifdef __SSE2__
    const __m128i backslash = _mm_set1_epi16(u'\\');
    for (; from + 8 <= size; from += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + from));
        if (const int found = _mm_movemask_epi8(_mm_cmpeq_epi16(units, backslash)))
            return from + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(found))) / 2;
    }
#endif
    while (from < size && p[from] != u'\\')
        ++from;
    return from;
}

}  // namespace

std::u16string visibleText(std::u16string_view line, TraceSink* trace, std::vector<CodeMark>* codes) {
    std::u16string out;
    out.reserve(line.size());
    State state = PlainText;
    int halfSpaces = 0;
    // The colour or name code being read: its letter, and where its declaration starts.
    char16_t letter = 0;
    size_t opened = 0;
    for (size_t k = 0; k < line.size();) {
        if (state == PlainText && !trace) {
            // Plain text up to the next backslash prints as it is: one copy, not a step each.
            const size_t end = nextBackslash(line, k);
            out.append(line.data() + k, end - k);
            k = end;
            if (k == line.size())
                break;
        }
        const char16_t c = line[k];
        const bool tracing = trace && trace->tracing();
        if (state == PlainText && !tracing && c != u'\\') {
            // The same step, short: the switch is still asked once per character.
            out += c;
            ++k;
            continue;
        }
        const Step row = step(state, c, halfSpaces, out);
        if (codes) {
            if (state == Backslash && (asciiLower(c) == u'c' || asciiLower(c) == u'n'))
                letter = asciiLower(c);
            else if (state == CodeLetter && row.next == Declaration && letter)
                opened = k + 1;
            else if (row.next == PlainText) {
                // Inside a declaration only its closing bracket leads back to plain text.
                if (opened)
                    codes->push_back({letter, line.substr(opened, k - opened), out.size()});
                letter = 0;
                opened = 0;
            }
        }
        if (tracing) {
            appendTrace(*trace, c, row.message);
            if (!row.secondMessage.empty())
                appendTrace(*trace, c, row.secondMessage);
        }
        state = row.next;
        if (!row.readAgain)
            ++k;
    }
    return out;
}

}  // namespace zeilwerk
