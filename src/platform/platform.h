#pragma once

#include <filesystem>

namespace zeilwerk {

class FontList;
class MakerReader;
class MakerSender;
class Messages;

// What the windows need of the machine, handed to each at creation.
struct Platform {
    Messages* messages = nullptr;
    const FontList* fonts = nullptr;
    MakerSender* maker = nullptr;              // types the export into the Maker's dialog
    MakerReader* makerReader = nullptr;        // reads the Maker's dialog for "Mitlesen"
    std::filesystem::path settingsFolder;     // where optn.ini, the profile and the pictures live
    std::filesystem::path dataFolder;         // the installed pictures, taken when the folder above has none
    std::filesystem::path programFolder;      // the program's own folder, with the fonts it brings
};

}  // namespace zeilwerk
