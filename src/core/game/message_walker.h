#pragma once

#include "core/game/event_commands.h"
#include "core/game/message_options.h"

#include <map>
#include <string>
#include <vector>

namespace zeilwerk {

class CodePage;

enum class MessageKind { Map, Common, Battle };

struct MessagePlace {
    MessageKind kind = MessageKind::Map;
    int source = 0;   // map number, common event ID or troop ID
    int event = 0;    // map events only
    int page = 0;     // map event and troop pages
    int command = 0;  // the Show Message command's index in its list, from 0
};

// What the message window looks like when the message shows: the last settings before it.
struct MessageLook : MessageOptions {
    bool faceUncertain = false;  // set in a branch, or by a branch of a called event
    bool fixed = false;
    bool parallel = false;
    bool optionsUncertain = false;
};

struct GameMessage {
    MessagePlace place;
    std::vector<std::u16string> lines;  // as typed
    MessageLook look;
};

// The messages of a command list, with the look each is shown in; common events are looked
// up for the faces and options a called one sets.
void collectMessages(CommandList commands, const MessagePlace& where, const CodePage& page,
                     const std::map<int, CommandList>& commonEvents, std::vector<GameMessage>& out);

}  // namespace zeilwerk
