#pragma once

#include <filesystem>
#include <memory>
#include <string>

namespace zeilwerk {

// Reads the text of the Maker's open message dialog, for "Mitlesen". A read may block (the
// bridge answers over a pipe), so it is made off the GUI thread, always from the same thread;
// the reader is made and destroyed anywhere, yet stop() runs on the reading thread first.
class MakerReader {
public:
    enum class Status {
        Read,
        NoDialog,    // no dialog open, or the bridge already known not to start
        NoAnswer,    // the bridge or Wine did not answer in time and was stopped
        NotStarted,  // Wine could not start the bridge, the first time: see problem()
    };
    struct Reading {
        Status status = Status::NoDialog;
        std::u16string text;  // with Read: the memo's text as the Maker holds it ("\r\n" between lines)
    };
    virtual ~MakerReader() = default;
    virtual Reading read() = 0;
    // After NotStarted: why, in Wine's own words where it gave any (UTF-8).
    virtual std::string problem() const { return {}; }
    // Lets go of what the reads hold (the bridge), on the reading thread.
    virtual void stop() {}
};

// On Windows the Maker's dialog is read directly; elsewhere through its own bridge process
// under Wine, beside the one that types.
std::unique_ptr<MakerReader> systemMakerReader(const std::filesystem::path& bridge);

#ifndef _WIN32
// The same through the given Wine program, its loaders in wineFolder, each answer awaited
// timeoutMs: for a Wine kept elsewhere, and for a stand-in of Wine.
std::unique_ptr<MakerReader> wineMakerReader(const std::filesystem::path& bridge, const std::filesystem::path& wine,
                                             const std::filesystem::path& wineFolder, int timeoutMs);
#endif

}  // namespace zeilwerk
