// What the option window's fields say, read as the other windows and the checks take it.
#include "windows/options/option_window.h"

#include "core/platform/number.h"
#include "platform/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>

namespace zeilwerk {

GameMessageOptions TForm2::gameMessageOptions() const {
    GameMessageOptions o;
    o.face = toU16(spiel_gesicht->text());
    o.faceIndex = std::clamp(spiel_gesicht_nr->text().toInt(), settings::spielGesichtNr.minimum,
                             settings::spielGesichtNr.maximum);
    o.faceRight = spiel_gesicht_rechts->isChecked();
    o.faceMirrored = spiel_gesicht_gespiegelt->isChecked();
    o.transparent = spiel_transparent->isChecked();
    o.position = spiel_position->currentIndex();
    o.background = spiel_hintergrund->text();
    bool ok = false;
    if (const int x = spiel_hintergrund_x->text().toInt(&ok); ok)
        o.backgroundX = x;
    if (const int y = spiel_hintergrund_y->text().toInt(&ok); ok)
        o.backgroundY = y;
    o.wholeScreen = spiel_bildschirm->isChecked();
    o.battle = m_battleMessage;
    return o;
}

void TForm2::setMessageLook(const MessageOptions& look) {
    spiel_gesicht->setText(QString::fromStdU16String(look.face));
    spiel_gesicht_nr->setText(QString::number(look.faceIndex));
    spiel_gesicht_rechts->setChecked(look.faceRight);
    spiel_gesicht_gespiegelt->setChecked(look.faceMirrored);
    spiel_transparent->setChecked(look.transparent);
    spiel_position->setCurrentIndex(look.position);
    m_battleMessage = look.battle;
}

std::optional<std::int32_t> TForm2::sampleVariable() const {
    try {
        return strToInt(toU16(spiel_variable->text()));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

RenderSettings TForm2::renderSettings() const {
    RenderSettings settings;
    settings.active = vorschau_aktiv->isChecked();
    settings.plain = vorschau_plain->isChecked();
    settings.scale2x = vorschau_scale2x->isChecked();
    settings.lineLength = laenge->text();
    settings.alignment = ausrichtung->text();
    settings.variable = sampleVariable().value_or(0);
    return settings;
}

bool TForm2::tracing() const {
    return debug_check->isChecked();
}

void TForm2::appendLine(const std::u16string& line) {
    debug->appendPlainText(fromU16(line));
}

CheckSettings TForm2::checkSettings() const {
    CheckSettings settings;
    if (const std::optional<int> n = variableCharactersOf(toU16(spiel_variablenbreite->text())))
        settings.variableCharacters = *n;
    return settings;
}

}  // namespace zeilwerk
