#include "core/game/text_flow.h"
#include "core/platform/code_page.h"
#include "core/platform/text.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

// What must hold for any text file: boxes of one to four lines, in the text's order, a line
// wider than the room only when marked, and even lines never in more boxes than full ones.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zeilwerk;
    if (size < 1)
        return 0;
    const std::u16string text = fromUtf8(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    const int room = 12 + data[0] % 300;
    LineMeasure measure = LineMeasure::gamePixels({{1, u"Ortwin"}}, {}, CodePage::system());
    const bool speaker = data[0] & 1;
    const std::vector<FlowBox> greedy = flowText(text, measure, {room, speaker, false});
    const std::vector<FlowBox> even = flowText(text, measure, {room, speaker, true});
    if (even.size() > greedy.size())
        std::abort();
    for (const std::vector<FlowBox>* boxes : {&greedy, &even})
        for (std::size_t b = 0; b < boxes->size(); ++b) {
            const FlowBox& box = (*boxes)[b];
            if (box.lines.empty() || box.lines.size() > kBoxLines || box.start > text.size() ||
                (b && box.start < (*boxes)[b - 1].start))
                std::abort();
            for (std::size_t i = 0; i < box.lines.size(); ++i) {
                const bool marked = std::find(box.overlong.begin(), box.overlong.end(), static_cast<int>(i)) != box.overlong.end();
                if (!marked && measure.extent(box.lines[i]).right > room)
                    std::abort();
            }
        }
    LineMeasure characters = LineMeasure::characters();
    flowText(text, characters, {room % 60 + 1, speaker, true});
    return 0;
}
