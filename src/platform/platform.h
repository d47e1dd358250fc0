#pragma once

#include <filesystem>

namespace zeilwerk {

class FontList;
class Messages;

// What the windows need of the machine, handed to each at creation.
struct Platform {
    Messages* messages = nullptr;
    const FontList* fonts = nullptr;
    std::filesystem::path executableFolder;   // where optn.ini, the profile and the pictures live
};

}  // namespace zeilwerk
