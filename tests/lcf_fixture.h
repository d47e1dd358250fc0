#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zeilwerk::test {

// Our own small writer of the Maker's formats: numbers in 7-bit groups, most significant
// first, and chunks of ID, size and data.
inline std::string lcfNumber(std::uint32_t value) {
    std::string groups(1, static_cast<char>(value & 0x7F));
    for (value >>= 7; value; value >>= 7)
        groups.insert(groups.begin(), static_cast<char>(0x80 | (value & 0x7F)));
    return groups;
}

inline std::string lcfChunk(std::uint32_t id, const std::string& data) {
    return lcfNumber(id) + lcfNumber(static_cast<std::uint32_t>(data.size())) + data;
}

inline std::string lcfHeader(const std::string& magic) {
    return lcfNumber(static_cast<std::uint32_t>(magic.size())) + magic;
}

struct Hero {
    int id;
    std::string name;
};

// A database with the heroes, and a System chunk naming the System graphic when one is given;
// after follows the rest (the common events, the troops).
inline std::string gameDatabase(const std::vector<Hero>& heroes, const std::string& before = "",
                                const std::string& systemGraphic = "", bool tiled = false,
                                const std::string& after = "") {
    std::string list = lcfNumber(static_cast<std::uint32_t>(heroes.size()));
    for (const Hero& h : heroes)
        list += lcfNumber(static_cast<std::uint32_t>(h.id)) + lcfChunk(0x02, "Titel") + lcfChunk(0x01, h.name) +
                lcfChunk(0x03, "Figur") + lcfNumber(0);
    std::string out = lcfHeader("LcfDataBase") + before + lcfChunk(0x0B, list) + lcfChunk(0x0C, "anderes");
    if (!systemGraphic.empty())
        out += lcfChunk(0x16, lcfChunk(0x0B, "Boot") + lcfChunk(0x13, systemGraphic) +
                                  lcfChunk(0x47, lcfNumber(tiled ? 1 : 0)) + lcfChunk(0x48, lcfNumber(0)) + lcfNumber(0));
    return out + after;
}

// RPG Maker 2003's battle settings chunk: the battle mode and whether the System graphic's
// window is drawn semi-transparent; goes after the System chunk.
inline std::string battleSettings(int mode, int seeThrough) {
    return lcfChunk(0x1D, lcfChunk(0x02, lcfNumber(1)) + lcfChunk(0x07, lcfNumber(std::uint32_t(mode))) +
                              lcfChunk(0x18, lcfNumber(std::uint32_t(seeThrough))) + lcfNumber(0));
}

// An event command: code, indent, string, parameters (negative ones as the 32 bits they are).
struct LcfCommand {
    std::uint32_t code;
    std::uint32_t indent = 0;
    std::string text;
    std::vector<std::int32_t> parameters;
};

inline LcfCommand showMessage(const std::string& text, std::uint32_t indent = 0) { return {10110, indent, text, {}}; }
inline LcfCommand messageLine(const std::string& text, std::uint32_t indent = 0) { return {20110, indent, text, {}}; }
inline LcfCommand changeFace(const std::string& set, int index, bool right = false, std::uint32_t indent = 0) {
    return {10130, indent, set, {index, right ? 1 : 0, 0}};
}
inline LcfCommand windowOptions(int position, std::uint32_t indent = 0) { return {10120, indent, "", {0, position, 0, 0}}; }
inline LcfCommand callCommon(int id, std::uint32_t indent = 0) { return {12330, indent, "", {0, id, 0}}; }

// The list as the Maker ends it: with a command 0.
inline std::string commandList(const std::vector<LcfCommand>& commands) {
    std::string out;
    for (const LcfCommand& c : commands) {
        out += lcfNumber(c.code) + lcfNumber(c.indent) + lcfNumber(static_cast<std::uint32_t>(c.text.size())) + c.text +
               lcfNumber(static_cast<std::uint32_t>(c.parameters.size()));
        for (std::int32_t p : c.parameters)
            out += lcfNumber(static_cast<std::uint32_t>(p));
    }
    return out + lcfNumber(0) + lcfNumber(0) + lcfNumber(0) + lcfNumber(0);
}

struct LcfPage {
    int id;
    std::vector<LcfCommand> commands;
};

// Pages with their list in a size chunk and a command chunk, as map events and troops keep them.
inline std::string pageArray(const std::vector<LcfPage>& pages, std::uint32_t sizeId, std::uint32_t listId) {
    std::string out = lcfNumber(static_cast<std::uint32_t>(pages.size()));
    for (const LcfPage& p : pages) {
        const std::string list = commandList(p.commands);
        out += lcfNumber(static_cast<std::uint32_t>(p.id)) + lcfChunk(0x02, lcfChunk(0x01, lcfNumber(0)) + lcfNumber(0)) +
               lcfChunk(sizeId, lcfNumber(static_cast<std::uint32_t>(list.size()))) + lcfChunk(listId, list) + lcfNumber(0);
    }
    return out;
}

struct LcfEvent {
    int id;
    std::string name;
    std::vector<LcfPage> pages;
};

inline std::string mapUnit(const std::vector<LcfEvent>& events) {
    std::string array = lcfNumber(static_cast<std::uint32_t>(events.size()));
    for (const LcfEvent& e : events)
        array += lcfNumber(static_cast<std::uint32_t>(e.id)) + lcfChunk(0x01, e.name) + lcfChunk(0x02, lcfNumber(3)) +
                 lcfChunk(0x05, pageArray(e.pages, 0x33, 0x34)) + lcfNumber(0);
    return lcfHeader("LcfMapUnit") + lcfChunk(0x01, lcfNumber(1)) + lcfChunk(0x47, std::string(4, '\0')) +
           lcfChunk(0x51, array) + lcfChunk(0x5B, lcfNumber(2));
}

struct TreeMap {
    int id;
    std::string name;
    int parent = 0;
};

// The tree: the game's own entry 0, the maps, the order they show in, then more we skip.
inline std::string mapTree(const std::vector<TreeMap>& maps, const std::vector<int>& order) {
    std::string out = lcfHeader("LcfMapTree") + lcfNumber(static_cast<std::uint32_t>(maps.size() + 1)) + lcfNumber(0) +
                      lcfChunk(0x01, "Spiel") + lcfNumber(0);
    for (const TreeMap& m : maps)
        out += lcfNumber(static_cast<std::uint32_t>(m.id)) + lcfChunk(0x01, m.name) +
               lcfChunk(0x02, lcfNumber(static_cast<std::uint32_t>(m.parent))) + lcfChunk(0x04, lcfNumber(1)) +
               lcfNumber(0);
    out += lcfNumber(static_cast<std::uint32_t>(order.size()));
    for (int id : order)
        out += lcfNumber(static_cast<std::uint32_t>(id));
    return out + lcfNumber(1) + lcfChunk(0x01, lcfNumber(1)) + lcfNumber(0);
}

struct Common {
    int id;
    std::string name;
    std::vector<LcfCommand> commands;
};

inline std::string commonEvents(const std::vector<Common>& events) {
    std::string array = lcfNumber(static_cast<std::uint32_t>(events.size()));
    for (const Common& e : events) {
        const std::string list = commandList(e.commands);
        array += lcfNumber(static_cast<std::uint32_t>(e.id)) + lcfChunk(0x01, e.name) + lcfChunk(0x0B, lcfNumber(5)) +
                 lcfChunk(0x15, lcfNumber(static_cast<std::uint32_t>(list.size()))) + lcfChunk(0x16, list) + lcfNumber(0);
    }
    return lcfChunk(0x19, array);
}

struct TroopPages {
    int id;
    std::string name;
    std::vector<LcfPage> pages;
};

inline std::string troops(const std::vector<TroopPages>& list) {
    std::string array = lcfNumber(static_cast<std::uint32_t>(list.size()));
    for (const TroopPages& t : list)
        array += lcfNumber(static_cast<std::uint32_t>(t.id)) + lcfChunk(0x01, t.name) +
                 lcfChunk(0x0B, pageArray(t.pages, 0x0B, 0x0C)) + lcfNumber(0);
    return lcfChunk(0x0F, array);
}

}  // namespace zeilwerk::test
