#pragma once

#include <QString>

#include <string>

namespace zeilwerk {

// What the user is told when Wine could not start the bridge, by a send or by "Mitlesen".
inline QString bridgeNotStartedText(const std::string& problem) {
    return QStringLiteral("Wine konnte die Brücke zum Maker nicht starten:\n") + QString::fromStdString(problem);
}

}  // namespace zeilwerk
