#include "core/settings/ini_file.h"
#include "platform/paths.h"
#include "widgets/messages.h"
#include "windows/options/option_window.h"
#include "windows/options/settings_table.h"

#include <QPushButton>
#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>
#include <vector>

namespace zeilwerk {
namespace {

const QString outsideTheFolder = QStringLiteral(
    "Die Sicherungsdatei muss im Programmordner liegen: bitte einen Namen ohne Laufwerk, ohne "
    "führenden Schrägstrich und ohne \"..\" angeben.");
}  // namespace

void TForm2::ini_saveClick() {
    const QString name = ini_datei->text();
    if (name.isEmpty())
        return;
    // A profile name that leaves the folder would let a profile write into any file.
    if (!staysInFolder(name)) {
        m_platform.messages->show(outsideTheFolder);
        return;
    }
    makeSettingsFolder(m_platform.settingsFolder);
    IniFile profile(inFolder(m_platform.settingsFolder, name));
    std::vector<IniEntry> entries;
    for (const SettingRow& k : profileRows(*this))
        entries.push_back(savedRow(k));
    // Written when set, and when the file has them already: values left there would load again.
    for (const std::vector<SettingRow>& section : {gameRows(*this), flowRows(*this), makerRows(*this)}) {
        const bool set = std::any_of(section.begin(), section.end(),
                                     [](const SettingRow& k) { return savedRow(k).value != k.setting->fallback; });
        if (set || holdsAny(profile, section))
            for (const SettingRow& k : section)
                entries.push_back(savedRow(k));
    }
    profile.write(entries);
    Fileexistence(ini_datei);
    m_platform.messages->show(QStringLiteral("Einstellungen erfolgreich gesichert."));
}

bool TForm2::loadini(QObject* sender) {
    const QString name = ini_datei->text();
    if (name.isEmpty())
        return false;
    if (!staysInFolder(name)) {
        m_platform.messages->show(outsideTheFolder);
        return false;
    }
    // Tested at the very path that is read, so a missing file is never a silent load of defaults.
    if (!fileExistsIn(m_platform.settingsFolder, name)) {
        m_platform.messages->show(QStringLiteral("Die angegebene Datei wurde nicht gefunden."));
        return false;
    }
    const IniFile profile(inFolder(m_platform.settingsFolder, name));
    std::vector<SettingRow> rows = profileRows(*this);
    for (const std::vector<SettingRow>& section : {gameRows(*this), flowRows(*this), makerRows(*this)})
        rows.insert(rows.end(), section.begin(), section.end());
    try {
        // Each key is read without its field's signals and checked right after: the first
        // check that fails ends the load, the keys after it stay as they were.
        for (const SettingRow& k : rows) {
            {
                const QSignalBlocker quiet(controlObject(k.control));
                loadRow(profile, k);
            }
            checkRow(k);
        }
        confirmClick();
    } catch (const std::exception&) {
        m_platform.messages->show(QStringLiteral("Ein Fehler ist beim Laden aufgetreten."));
        return false;
    }
    // Start-up loads quietly; the button says how it went.
    if (sender == static_cast<QObject*>(ini_load))
        m_platform.messages->show(QStringLiteral("Einstellungen erfolgreich geladen."));
    return true;
}

}  // namespace zeilwerk
