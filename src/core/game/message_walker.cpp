#include "core/game/message_walker.h"

#include "core/platform/code_page.h"

#include <algorithm>
#include <optional>

namespace zeilwerk {
namespace {

// Deeper branches than this are taken as this deep: no script nests so far, and a damaged
// one must not make us keep a path per level it claims.
constexpr std::uint32_t kDeepest = 64;
constexpr int kDeepestCall = 64;

// A setting of the face or the window and where in the branches it was made.
template <typename Value>
struct Setting {
    Value value{};
    std::vector<int> path;  // the block at each depth, outermost first
    bool uncertain = false;
    bool made = false;
};

struct Face {
    std::u16string name;
    int index = 0;
    bool right = false;
    bool mirrored = false;
};

struct Options {
    bool transparent = false;
    int position = 2;
    bool fixed = false;
    bool parallel = false;
};

// What a called common event leaves set when it ends.
struct Effect {
    Setting<Face> face;
    Setting<Options> options;
};

int parameter(const EventCommand& c, size_t i) {
    return i < c.parameters.size() ? c.parameters[i] : 0;
}

// Walks a command list and keeps, for each command, the branch blocks it sits in: a
// setting holds for a later command only when made in a block that encloses it.
class LookWalker {
public:
    LookWalker(const CodePage& page, const std::map<int, CommandList>& commonEvents,
               std::map<int, std::optional<Effect>>& effects, int depth = 0)
        : m_page(page), m_commonEvents(commonEvents), m_effects(effects), m_depth(depth) {}

    void step(const EventCommand& c) {
        const size_t depth = std::min(c.indent, kDeepest);
        if (m_path.size() > depth + 1)
            m_path.resize(depth + 1);
        while (m_path.size() < depth + 1)
            m_path.push_back(m_nextBlock++);
        if (c.code == kChangeFace) {
            m_face = {{m_page.decode(c.text), parameter(c, 0), parameter(c, 1) != 0, parameter(c, 2) != 0},
                      m_path, false, true};
        } else if (c.code == kMessageOptions) {
            m_options = {{parameter(c, 0) != 0, std::clamp(parameter(c, 1), 0, 2), parameter(c, 2) != 0,
                          parameter(c, 3) != 0},
                         m_path, false, true};
        } else if (c.code == kCallEvent && parameter(c, 0) == 0) {
            if (const Effect* effect = effectOf(parameter(c, 1))) {
                if (effect->face.made)
                    m_face = {effect->face.value, m_path, effect->face.uncertain, true};
                if (effect->options.made)
                    m_options = {effect->options.value, m_path, effect->options.uncertain, true};
            }
        }
    }

    MessageLook look() const {
        MessageLook look;
        if (m_face.made) {
            look.face = m_face.value.name;
            look.faceIndex = m_face.value.index;
            look.faceRight = m_face.value.right;
            look.faceMirrored = m_face.value.mirrored;
            look.faceUncertain = !holds(m_face);
        }
        if (m_options.made) {
            look.transparent = m_options.value.transparent;
            look.position = m_options.value.position;
            look.fixed = m_options.value.fixed;
            look.parallel = m_options.value.parallel;
            look.optionsUncertain = !holds(m_options);
        }
        return look;
    }

    // What the list leaves set at its end, as a called event hands it back.
    Effect effect() const {
        Effect out{m_face, m_options};
        out.face.uncertain = m_face.made && !holdsAtEnd(m_face);
        out.options.uncertain = m_options.made && !holdsAtEnd(m_options);
        return out;
    }

private:
    template <typename Value>
    bool holds(const Setting<Value>& s) const {
        return !s.uncertain && s.path.size() <= m_path.size() && std::equal(s.path.begin(), s.path.end(), m_path.begin());
    }

    template <typename Value>
    static bool holdsAtEnd(const Setting<Value>& s) {
        return !s.uncertain && s.path.size() == 1;
    }

    const Effect* effectOf(int id) {
        const auto known = m_effects.find(id);
        if (known != m_effects.end())
            return known->second ? &*known->second : nullptr;
        const auto list = m_commonEvents.find(id);
        // Calls nested deeper than any game's are not followed: the stack stays small.
        if (list == m_commonEvents.end() || m_depth >= kDeepestCall)
            return nullptr;
        // Marked while it is walked, so an event calling itself sets nothing more.
        m_effects[id] = std::nullopt;
        LookWalker inner(m_page, m_commonEvents, m_effects, m_depth + 1);
        CommandReader reader(list->second, "Ein allgemeines Ereignis ist beschädigt.");
        EventCommand c;
        while (reader.next(c))
            inner.step(c);
        return &*(m_effects[id] = inner.effect());
    }

    const CodePage& m_page;
    const std::map<int, CommandList>& m_commonEvents;
    std::map<int, std::optional<Effect>>& m_effects;
    int m_depth = 0;
    std::vector<int> m_path{0};
    int m_nextBlock = 1;
    Setting<Face> m_face;
    Setting<Options> m_options;
};

}  // namespace

void collectMessages(CommandList commands, const MessagePlace& where, const CodePage& page,
                     const std::map<int, CommandList>& commonEvents, std::vector<GameMessage>& out) {
    std::map<int, std::optional<Effect>> effects;
    LookWalker walker(page, commonEvents, effects);
    CommandReader reader(commands, "Eine Befehlsliste ist beschädigt.");
    EventCommand c;
    bool more = reader.next(c);
    for (int i = 0; more; ++i) {
        walker.step(c);
        if (c.code != kShowMessage) {
            more = reader.next(c);
            continue;
        }
        GameMessage message;
        message.place = where;
        message.place.command = i;
        message.look = walker.look();
        message.look.battle = where.kind == MessageKind::Battle;
        message.lines.push_back(page.decode(c.text));
        // The further lines are commands of their own, directly after the first.
        while ((more = reader.next(c)) && c.code == kMessageLine) {
            message.lines.push_back(page.decode(c.text));
            ++i;
        }
        out.push_back(std::move(message));
    }
}

}  // namespace zeilwerk
