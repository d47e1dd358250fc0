#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace zeilwerk {

// Types the export text into the Maker's open message dialog. Without a dialog, or
// without the means to reach one, nothing is sent and nothing is shown.
class MakerSender {
public:
    virtual ~MakerSender() = default;
    virtual void send(const std::u16string& text) = 0;
};

// On Windows the Maker's dialog is typed into directly; elsewhere through the bridge
// zeilwerk-maker.exe beside the executable, run under Wine beside the Maker.
std::unique_ptr<MakerSender> systemMakerSender(const std::filesystem::path& executableFolder);

}  // namespace zeilwerk
