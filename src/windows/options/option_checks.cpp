// The option window's fields checked as they are typed and after a load: green where the value
// will be taken, red where it will not.
#include "windows/options/option_window.h"

#include "core/platform/number.h"
#include "look/fonts.h"
#include "look/game_file_lookup.h"
#include "look/game_look.h"
#include "look/game_picture.h"
#include "platform/paths.h"
#include "platform/qt_text.h"
#include "spelling/speller.h"
#include "widgets/hints.h"
#include "widgets/messages.h"
#include "windows/options/face_picker.h"
#include "windows/options/settings_table.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <cstdint>
#include <limits>

namespace zeilwerk {
namespace {

// A size field's hint names the largest value that fits while a larger one stands in it; its
// own hint comes back with a value that fits. True when the hint changed.
bool hintScreenLimit(QLineEdit* field, int largest, bool tooLarge) {
    if (!field->property("zeilwerkOwnHint").isValid())
        field->setProperty("zeilwerkOwnHint", hintOf(field));
    const QString hint = tooLarge ? QStringLiteral("Höchstens %1 % passen auf den Bildschirm.").arg(largest)
                                  : field->property("zeilwerkOwnHint").toString();
    if (hint == hintOf(field))
        return false;
    setHint(field, hint);
    return true;
}

}  // namespace

void TForm2::checkMessageFields() {
    const std::filesystem::path game = inFolder(m_platform.settingsFolder, spiel_ordner->text());
    const bool folderValid = !spiel_ordner->text().isEmpty() && holdsGameDatabase(game);
    const auto number = [](const QLineEdit* f, int low, int high) {
        bool ok = false;
        const int n = f->text().toInt(&ok);
        return ok && n >= low && n <= high;
    };
    const std::optional<std::filesystem::path> faceSet = findGameGraphic(game, "FaceSet", spiel_gesicht->text());
    colour(spiel_gesicht, spiel_gesicht->text().isEmpty() ? folderValid : faceSet.has_value());
    colour(spiel_gesicht_nr, number(spiel_gesicht_nr, settings::spielGesichtNr.minimum, settings::spielGesichtNr.maximum));
    colour(spiel_hintergrund, spiel_hintergrund->text().isEmpty() ? folderValid
                                                                   : findBackground(game, spiel_hintergrund->text()).has_value());
    colour(spiel_hintergrund_x, number(spiel_hintergrund_x, -100000, 100000));
    colour(spiel_hintergrund_y, number(spiel_hintergrund_y, -100000, 100000));
    QImage set;
    if (faceSet) {
        try {
            set = readGamePictureAsStored(*faceSet);
        } catch (const std::exception&) {
            // A FaceSet that cannot be read shows an empty picker; apply says why.
        }
    }
    spiel_gesicht_wahl->setFaceSet(set);
    if (number(spiel_gesicht_nr, settings::spielGesichtNr.minimum, settings::spielGesichtNr.maximum))
        spiel_gesicht_wahl->setChosen(spiel_gesicht_nr->text().toInt());
}

void TForm2::checkRow(const SettingRow& row) {
    QLineEdit* const* field = std::get_if<QLineEdit*>(&row.control);
    if (!field)
        return;
    switch (row.setting->check) {
    case Check::None: break;
    case Check::File: Fileexistence(*field); break;
    case Check::Number: picsizecheck(*field); break;
    case Check::Whole: colour(*field, sampleVariable().has_value()); break;
    case Check::Message: checkMessageFields(); break;
    }
}

void TForm2::colour(QLineEdit* field, bool valid) {
    QPalette p = field->palette();
    p.setColor(QPalette::Text, valid ? validColour : invalidColour);
    field->setPalette(p);
}

void TForm2::Fileexistence(QLineEdit* field) {
    const QString text = field->text();
    const bool isFont = field == vorschau_schrift || field == eingabe_schrift;
    if (field == spiel_woerterbuch) {
        colour(field, text.isEmpty() || findDictionary(text.toStdString(), dictionaryFolders(m_platform.programFolder)).has_value());
        return;
    }
    if (field == spiel_ordner || field == spiel_system) {
        const std::filesystem::path game = inFolder(m_platform.settingsFolder, spiel_ordner->text());
        const bool folderValid = !spiel_ordner->text().isEmpty() && holdsGameDatabase(game);
        colour(field, field == spiel_ordner ? folderValid
                      : text.isEmpty()      ? folderValid
                                            : findSystemGraphic(game, text).has_value());
        return;
    }
    const bool valid = isFont               ? !text.isEmpty() && m_platform.fonts->contains(text)
                       : field == ini_datei ? staysInFolder(text) && fileExistsIn(m_platform.settingsFolder, text)
                                            : pictureExists(m_platform.settingsFolder, m_platform.dataFolder, text);
    colour(field, valid);
}

void TForm2::picsizecheck(QLineEdit* field) {
    const QString text = field->text();
    bool valid = false;
    if (!text.isEmpty()) {
        const std::int32_t n = strToInt(toU16(text));
        const Setting* setting = settingOf(field);
        valid = setting && setting->inRange(n);
        if (field == eingabe_breite || field == eingabe_hoehe) {
            const WindowGroup& group = m_windows.group;
            const int largest = group.largestInputPercent ? group.largestInputPercent(field == eingabe_breite)
                                                          : std::numeric_limits<std::int32_t>::max();
            valid = valid && n <= largest;
            // Told at once while too large; the field's own hint back only where the limit showed.
            const QString before = hintOf(field);
            if (hintScreenLimit(field, largest, n > largest) && (n > largest || (group.helpText && group.helpText() == before)))
                puthelpline(field);
        }
    }
    colour(field, valid);
}

const Setting* TForm2::settingOf(const QLineEdit* field) {
    for (const std::vector<SettingRow>& rows : {profileRows(*this), gameRows(*this)})
        for (const SettingRow& row : rows)
            if (const auto* f = std::get_if<QLineEdit*>(&row.control); f && *f == field)
                return row.setting;
    return nullptr;
}

void TForm2::validateNumber(QLineEdit* field) {
    guarded(*m_platform.messages, [&] { picsizecheck(field); });
}

}  // namespace zeilwerk
