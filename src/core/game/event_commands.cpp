#include "core/game/event_commands.h"

namespace zeilwerk {

CommandReader::CommandReader(CommandList list, const char* failure) : m_reader(list, failure) {}

bool CommandReader::next(EventCommand& c) {
    if (m_reader.atEnd())
        return false;
    c.code = m_reader.number();
    c.indent = m_reader.number();
    c.text = m_reader.bytes(m_reader.number());
    const std::uint32_t count = m_reader.number();
    c.parameters.clear();
    for (std::uint32_t i = 0; i < count; ++i)
        c.parameters.push_back(static_cast<std::int32_t>(m_reader.number()));
    return true;
}

CommandList checkedCommands(std::string_view data, const char* failure) {
    CommandReader reader(data, failure);
    EventCommand c;
    while (reader.next(c)) {
    }
    return data;
}

std::vector<EventPage> readEventPages(LcfReader pages, std::uint32_t commandsId) {
    std::vector<EventPage> out;
    pages.elements([&](int id) {
        EventPage page{id, {}};
        pages.chunks([&](std::uint32_t chunk, std::string_view data) {
            if (chunk == commandsId)
                page.commands = checkedCommands(data, pages.failure());
        });
        out.push_back(std::move(page));
    });
    return out;
}

}  // namespace zeilwerk
