#include "core/game/map_unit.h"
#include "core/game/message_splice.h"
#include "core/game/message_walker.h"

#include "core/platform/code_page.h"
#include "core/platform/error.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <string_view>
#include <utility>

namespace {

using namespace zeilwerk;

std::vector<GameMessage> messagesOf(std::string_view map, bool& unique) {
    std::vector<GameMessage> out;
    std::set<std::pair<int, int>> pages;
    unique = true;
    for (const MapEvent& event : readMapUnit(map))
        for (const EventPage& p : event.pages) {
            unique = pages.insert({event.id, p.id}).second && unique;
            collectMessages(p.commands, {MessageKind::Map, 1, event.id, p.id, 0}, CodePage::system(), {}, out);
        }
    return out;
}

}  // namespace

// The fuzzed bytes are a map. Where it reads, each message written back unchanged gives the
// same bytes, and a change reads back as the change with every other message as it was;
// the writer itself never fails but with the program's own error.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view map(reinterpret_cast<const char*>(data), size);
    bool unique = false;
    std::vector<GameMessage> before;
    try {
        before = messagesOf(map, unique);
    } catch (const Error&) {
        return 0;
    }
    // Two events or pages of one ID, or a chunk twice, leave a place ambiguous; the write
    // set's reading back refuses those files, so only the writer's safety is asked here.
    for (size_t i = 0; i < before.size() && i < 8; ++i) {
        const GameMessage& m = before[i];
        const std::string checksum = messageChecksum(m.lines);
        std::vector<std::u16string> changed = m.lines;
        changed.back() += u" neu";
        if (changed.size() < kMostMessageLines)
            changed.push_back(u"Zeile");
        try {
            const Splice same = spliceMessages(map, {{m.place, checksum, m.lines}}, CodePage::system());
            const Splice other = spliceMessages(map, {{m.place, checksum, changed}}, CodePage::system());
            if (!unique)
                continue;
            if (same.bytes != map)
                __builtin_trap();
            if (other.outcomes[0].state != ChangeState::Written)
                continue;  // a character of the page the fuzzer made that does not go back, or a moved list
            bool stillUnique = false;
            std::vector<GameMessage> after = messagesOf(other.bytes, stillUnique);
            if (after.size() != before.size())
                __builtin_trap();
            for (size_t k = 0; k < after.size(); ++k)
                if (after[k].lines != (k == i ? changed : before[k].lines))
                    __builtin_trap();
        } catch (const Error&) {
        }
    }
    return 0;
}
