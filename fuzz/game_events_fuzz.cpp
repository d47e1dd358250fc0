#include "core/game/game_checks.h"
#include "core/game/game_database.h"
#include "core/game/map_tree.h"
#include "core/game/map_unit.h"
#include "core/game/message_walker.h"

#include "core/platform/code_page.h"
#include "core/platform/error.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

// The fuzzed bytes are a map tree, a map and a database at once: each reads, or is refused
// with the program's own error; what reads is walked for its messages and checked.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zeilwerk;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const CodePage& page = CodePage::system();
    std::vector<GameMessage> messages;
    try {
        (void)readMapTree(bytes);
    } catch (const Error&) {
    }
    try {
        for (const MapEvent& event : readMapUnit(bytes))
            for (const EventPage& p : event.pages)
                collectMessages(p.commands, {MessageKind::Map, 1, event.id, p.id, 0}, page, {}, messages);
    } catch (const Error&) {
    }
    try {
        DatabaseEvents events;
        (void)readGameDatabase(bytes, &events);
        std::map<int, CommandList> lists;
        for (const CommonEvent& e : events.commonEvents)
            lists.emplace(e.id, e.commands);
        for (const CommonEvent& e : events.commonEvents)
            collectMessages(e.commands, {MessageKind::Common, e.id, 0, 0, 0}, page, lists, messages);
    } catch (const Error&) {
    }
    std::vector<Finding> findings;
    for (const GameMessage& m : messages)
        checkMessage(m, {}, page, {}, findings);
    return 0;
}
