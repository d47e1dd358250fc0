#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace zeilwerk {

// Types the export text into the Maker's open message dialog. Without a dialog, or
// without the means to reach one, nothing is sent.
class MakerSender {
public:
    enum class Result {
        Sent,
        NotSent,    // no dialog open, or no Wine or bridge: nothing to tell the user
        NoAnswer,   // the bridge or Wine did not answer in time and was stopped
    };
    virtual ~MakerSender() = default;
    // Returns when the text was typed, or when it is clear it was not.
    virtual Result send(const std::u16string& text) = 0;
};

// On Windows the Maker's dialog is typed into directly; elsewhere through the bridge
// zeilwerk-maker.exe given, kept running under Wine beside the Maker.
std::unique_ptr<MakerSender> systemMakerSender(const std::filesystem::path& bridge);

// How long a running bridge may take to answer one text.
inline constexpr int makerAnswerTimeoutMs = 10'000;

}  // namespace zeilwerk
