#pragma once

#include <cstddef>
#include <memory>

namespace zeilwerk {

// Conversion between one 8-bit code page and UTF-16LE, named as iconv names them
// ("WINDOWS-1252", "CP932", "UTF-16LE"): iconv on POSIX systems, the system's own
// functions on Windows.
class Converter {
public:
    Converter(const char* to, const char* from);
    ~Converter();
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const;
    // Converts all of in, or nothing; returns the bytes written or -1.
    int convert(const char* in, size_t inLength, char* out, size_t outSize);
    // Whether the last convert failed only for want of more bytes: a lead byte alone.
    bool incomplete() const;

private:
    struct State;
    std::unique_ptr<State> m;
};

}  // namespace zeilwerk
