#include "core/platform/code_page_converter.h"

#include <cerrno>
#include <iconv.h>

namespace zeilwerk {

struct Converter::State {
    iconv_t cd;
    bool incomplete = false;
};

Converter::Converter(const char* to, const char* from) : m(new State{iconv_open(to, from)}) {}

Converter::~Converter() {
    if (valid())
        iconv_close(m->cd);
}

bool Converter::valid() const {
    return m->cd != reinterpret_cast<iconv_t>(-1);
}

int Converter::convert(const char* in, size_t inLength, char* out, size_t outSize) {
    m->incomplete = false;
    iconv(m->cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in);
    char* dst = out;
    size_t left = inLength;
    size_t room = outSize;
    if (iconv(m->cd, &src, &left, &dst, &room) == static_cast<size_t>(-1) || left != 0) {
        m->incomplete = errno == EINVAL;
        return -1;
    }
    if (iconv(m->cd, nullptr, nullptr, &dst, &room) == static_cast<size_t>(-1))
        return -1;
    return static_cast<int>(dst - out);
}

bool Converter::incomplete() const {
    return m->incomplete;
}

}  // namespace zeilwerk
