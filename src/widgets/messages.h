#pragma once

#include "core/platform/error.h"
#include "core/version.h"

#include <QString>

#include <exception>
#include <utility>

class QWidget;

namespace zeilwerk {

inline const QString applicationTitle =
    QStringLiteral("Zeilwerk Version %1 %2")
        .arg(QString::fromLatin1(shortVersion().data(), static_cast<qsizetype>(shortVersion().size())),
             QString::fromLatin1(kVersionStage.data(), static_cast<qsizetype>(kVersionStage.size())));

// Everything the program tells the user passes through here, so tests can record it
// instead of blocking in a message box.
class Messages {
public:
    virtual ~Messages() = default;
    // The simple message box: the application title as caption, one OK button.
    virtual void show(const QString& text) = 0;
    // The application error box: stop icon, the error's text ending in a full stop.
    virtual void error(const QString& text) = 0;
};

// Message boxes on the screen, each running its own event loop until OK.
class BoxMessages : public Messages {
public:
    void show(const QString& text) override;
    void error(const QString& text) override;
};

// The text as the error box shows it: with a full stop added when it lacks one.
QString errorBoxText(const QString& text);

// Runs one event handler; an error it raises is shown and ends the event, the program runs on.
template <typename Handler>
void guarded(Messages& messages, Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& e) {
        messages.error(QString::fromUtf8(e.what()));
    }
}

}  // namespace zeilwerk
