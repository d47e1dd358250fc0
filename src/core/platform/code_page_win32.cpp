#include "core/platform/code_page_converter.h"

#include <windows.h>

#include <string_view>

namespace zeilwerk {
namespace {

// The page's number from its name, "WINDOWS-1252" or "CP932"; 0 for any other.
UINT pageNumber(std::string_view name) {
    for (std::string_view prefix : {"WINDOWS-", "CP"})
        if (name.starts_with(prefix)) {
            UINT n = 0;
            for (char c : name.substr(prefix.size())) {
                if (c < '0' || c > '9')
                    return 0;
                n = n * 10 + static_cast<UINT>(c - '0');
            }
            return n;
        }
    return 0;
}

}  // namespace

// One side is always UTF-16LE.
struct Converter::State {
    bool toPage;
    UINT page;
    bool incomplete = false;
};

Converter::Converter(const char* to, const char* from) {
    const bool toPage = std::string_view(from) == "UTF-16LE";
    m.reset(new State{toPage, pageNumber(toPage ? to : from)});
}

Converter::~Converter() = default;

bool Converter::valid() const {
    return m->page != 0 && IsValidCodePage(m->page);
}

int Converter::convert(const char* in, size_t inLength, char* out, size_t outSize) {
    m->incomplete = false;
    if (m->toPage) {
        BOOL usedDefault = FALSE;
        const int n = WideCharToMultiByte(m->page, WC_NO_BEST_FIT_CHARS, reinterpret_cast<const wchar_t*>(in),
                                          static_cast<int>(inLength / 2), out, static_cast<int>(outSize), nullptr,
                                          &usedDefault);
        return n > 0 && !usedDefault ? n : -1;
    }
    const int n = MultiByteToWideChar(m->page, MB_ERR_INVALID_CHARS, in, static_cast<int>(inLength),
                                      reinterpret_cast<wchar_t*>(out), static_cast<int>(outSize / 2));
    if (n <= 0) {
        m->incomplete = inLength == 1 && IsDBCSLeadByteEx(m->page, static_cast<BYTE>(in[0]));
        return -1;
    }
    return 2 * n;
}

bool Converter::incomplete() const {
    return m->incomplete;
}

}  // namespace zeilwerk
