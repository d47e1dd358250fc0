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

#ifndef _WIN32
// Why the bridge cannot start here, in German, found before Wine is asked: no Wine, no bridge
// built, or Debian's Wine without its 32-bit half (the bridge, like the Maker, is a 32-bit
// program). Empty when it may start. wineFolder holds Debian's loaders.
std::string bridgeStartProblem(const std::filesystem::path& bridge, bool wineFound,
                               const std::filesystem::path& wineFolder = "/usr/lib/wine");
#endif

// How long a running bridge may take to answer one text.
inline constexpr int makerAnswerTimeoutMs = 10'000;

}  // namespace zeilwerk
