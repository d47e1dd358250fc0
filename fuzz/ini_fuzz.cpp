#include "core/settings/ini_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>
#include <unistd.h>

// The fuzzed bytes are an INI file; every key written must read back, and every
// other line must survive the write.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("zeilwerk-fuzz-" + std::to_string(::getpid()) + ".ini");
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;

    zeilwerk::IniFile ini(path);
    // Names taken from the bytes themselves, so sections and keys of the input are met;
    // the indexed reads must agree with one plain pass over the text.
    std::vector<std::string> names = {"vorschau", "aktiv", "ini"};
    std::string name;
    for (const char c : bytes.substr(0, 256)) {
        if (names.size() == 10)
            break;
        if (c == '[' || c == ']' || c == '=' || c == '\n') {
            names.push_back(name);
            name.clear();
        } else {
            name += c;
        }
    }
    for (const std::string& section : names)
        for (const std::string& key : names) {
            const std::string expected = zeilwerk::findIniValue(bytes, section, key).value_or("\x01");
            if (ini.readText(section, key, "\x01") != expected.substr(0, 2047))
                std::abort();
        }

    ini.writeNumber("fenster", "eingabe_top", -206);
    ini.writeText("vorschau", "schrift", "MS Mincho");
    ini.writeFlag("laden", "auto", true);
    if (ini.readNumber("fenster", "eingabe_top", 0) != -206 ||
        ini.readText("vorschau", "schrift", "") != "MS Mincho" || !ini.readFlag("laden", "auto", false))
        std::abort();
    return 0;
}
