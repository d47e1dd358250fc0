// Writes the seeds of the font reader, the game files' reader and the message writer with the
// tests' own writers, so no font or game file of any other origin is kept: an FNT 3.0 font, the
// same family in an NE .fon file, an executable with a bitmap resource, one with a version
// resource, a database of RPG Maker 2003 with its battle settings, and a map of our own.
#include "font_fixture.h"
#include "lcf_fixture.h"

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
    write("version.exe", peFileOfVersion(1, 1, 0, 0));
    const fs::path games = fs::path(argv[1]) / "game_files_fuzz";
    fs::create_directories(games);
    std::ofstream(games / "2003.ldb", std::ios::binary)
        << gameDatabase({{1, "Alex"}}, "", "Stil", false,
                        lcfChunk(0x1D, lcfChunk(0x07, lcfNumber(0)) + lcfChunk(0x18, lcfNumber(1)) + lcfNumber(0)));
    // A map for the message writer, with messages inside branches and beside other commands.
    const fs::path maps = fs::path(argv[1]) / "message_writer_fuzz";
    fs::create_directories(maps);
    std::ofstream(maps / "own.lmu", std::ios::binary)
        << mapUnit({{1, "A", {{1, {showMessage("Hallo"), messageLine("Welt"), {12010, 0, "", {0, 1}},
                                   showMessage("Zweig", 1), {22011, 0, "", {}}, changeFace("F", 2), showMessage("Ende")}},
                              {2, {showMessage("Zwei")}}}},
                    {4, "B", {{1, {windowOptions(1), showMessage("Vier"), messageLine(""), messageLine("x")}}}}});
    return 0;
}
