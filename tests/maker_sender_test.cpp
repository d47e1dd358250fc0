#include "maker/maker_sender.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

namespace zeilwerk {
namespace {

// What the first send says before Wine is asked, for the Wine set-ups users have.
TEST(BridgeStartProblem, NamesWhatIsMissingAndHowToGetIt) {
    struct Case {
        const char* name;
        bool wine, bridge, wine64Loader, wine32Loader;
        const char* says;  // empty: nothing to say, the bridge is started
    };
    const Case cases[] = {
        {"no Wine at all", false, true, true, true, "„wine“ ist nicht installiert"},
        {"built without the 32-bit compiler", true, false, true, true, "g++-mingw-w64-i686-win32"},
        {"Debian's Wine without its 32-bit half", true, true, true, false, "apt-get install wine32:i386"},
        {"Debian's Wine, both halves", true, true, true, true, ""},
        {"a Wine laid out otherwise (no loaders in the folder)", true, true, false, false, ""},
    };
    for (const Case& c : cases) {
        test::TempDir dir;
        const auto bridge = dir.path() / "zeilwerk-maker.exe";
        if (c.bridge)
            test::writeFile(bridge, "MZ");
        if (c.wine64Loader)
            test::writeFile(dir.path() / "wine64", "");
        if (c.wine32Loader)
            test::writeFile(dir.path() / "wine", "");
        const std::string said = bridgeStartProblem(bridge, c.wine, dir.path());
        if (*c.says == 0)
            EXPECT_EQ(said, "") << c.name;
        else
            EXPECT_NE(said.find(c.says), std::string::npos) << c.name << ": " << said;
    }
}

}  // namespace
}  // namespace zeilwerk
