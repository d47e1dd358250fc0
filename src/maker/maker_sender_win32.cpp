#include "maker/maker_sender.h"

#include "maker/maker_reader.h"
#include "maker/win32_send.h"

namespace zeilwerk {
namespace {

class Win32Sender : public MakerSender {
public:
    Result send(const std::u16string& text) override {
        return sendToMakerDialog(text) ? Result::Sent : Result::NotSent;
    }
};

class Win32Reader : public MakerReader {
public:
    Reading read() override {
        Reading reading;
        reading.status = readMakerDialog(reading.text) ? Status::Read : Status::NoDialog;
        return reading;
    }
};

}  // namespace

// The Maker's dialog is typed into and read directly; there is no bridge to start.
std::unique_ptr<MakerSender> systemMakerSender(const std::filesystem::path&) {
    return std::make_unique<Win32Sender>();
}

std::unique_ptr<MakerReader> systemMakerReader(const std::filesystem::path&) {
    return std::make_unique<Win32Reader>();
}

}  // namespace zeilwerk
