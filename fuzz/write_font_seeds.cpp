// Writes the font reader's seeds with the tests' own writers, so no font file of any other
// origin is kept: an FNT 3.0 font, the same family in an NE .fon file, and an executable
// with a bitmap resource.
#include "font_fixture.h"

#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(argv[1]) / "fonts_fuzz";
    fs::create_directories(folder);
    using namespace zeilwerk::test;
    const auto ink = [](int code, int x, int y) { return (x + y + code) % 3 == 0; };
    const auto write = [&](const char* name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    };
    write("own.fnt", fntFile(0x300, "Probe", 6, 'A', 'C', [](int code) { return code == 'C' ? 9 : 6; }, ink));
    write("own.fon", fonFile(fntFile("Probe", 6, ink, 6, 'A', 'C')));
    write("own.exe", peFile({{u"EXFONT", dibFile(8, 2, [](int x, int y) { return x == y; })}}));
    return 0;
}
