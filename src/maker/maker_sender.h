#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace zeilwerk {

// Types the export text into the Maker's open message dialog. Without a dialog nothing is
// sent; without the means to reach one, nothing is sent and the first send says why.
class MakerSender {
public:
    enum class Result {
        Sent,
        NotSent,     // no dialog open, or the bridge already known not to start: nothing to tell
        NoAnswer,    // the bridge or Wine did not answer in time and was stopped
        NotStarted,  // Wine could not start the bridge, the first time in a session: see problem()
    };
    virtual ~MakerSender() = default;
    // Returns when the text was typed, or when it is clear it was not.
    virtual Result send(const std::u16string& text) = 0;
    // After NotStarted: why, in Wine's own words where it gave any (UTF-8).
    virtual std::string problem() const { return {}; }
};

// On Windows the Maker's dialog is typed into directly; elsewhere through the bridge
// zeilwerk-maker.exe given, kept running under Wine beside the Maker.
std::unique_ptr<MakerSender> systemMakerSender(const std::filesystem::path& bridge);

// How long a running bridge may take to answer one text.
inline constexpr int makerAnswerTimeoutMs = 10'000;

}  // namespace zeilwerk
