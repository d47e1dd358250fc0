#include "settings/ini_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

// The fuzzed bytes are an INI file; every key written must read back, and every
// other line must survive the write.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("zeilwerk-fuzz-" + std::to_string(::getpid()) + ".ini");
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;

    zeilwerk::IniFile ini(path);
    (void)ini.readFlag("vorschau", "aktiv", true);
    (void)ini.readNumber("fenster", "eingabe_top", 0);
    (void)ini.readText("ini", "datei", "standard.ini");

    ini.writeNumber("fenster", "eingabe_top", -206);
    ini.writeText("vorschau", "schrift", "MS Mincho");
    ini.writeFlag("laden", "auto", true);
    if (ini.readNumber("fenster", "eingabe_top", 0) != -206 ||
        ini.readText("vorschau", "schrift", "") != "MS Mincho" || !ini.readFlag("laden", "auto", false))
        std::abort();
    return 0;
}
