#include "maker/maker_sender.h"

#include "maker/win32_send.h"

namespace zeilwerk {
namespace {

class Win32Sender : public MakerSender {
public:
    Result send(const std::u16string& text) override {
        return sendToMakerDialog(text) ? Result::Sent : Result::NotSent;
    }
};

}  // namespace

// The Maker's dialog is typed into directly; there is no bridge to start.
std::unique_ptr<MakerSender> systemMakerSender(const std::filesystem::path&) {
    return std::make_unique<Win32Sender>();
}

}  // namespace zeilwerk
