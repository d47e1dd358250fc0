#include "core/game/game_fonts.h"
#include "core/maker/export_text.h"
#include "core/platform/code_page.h"
#include "core/platform/number.h"
#include "core/settings/ini_file.h"
#include "core/settings/settings.h"
#include "core/settings/startup_keys.h"
#include "look/fonts.h"
#include "look/game_file_lookup.h"
#include "look/game_look.h"
#include "maker/maker_sender.h"
#include "platform/paths.h"
#include "platform/qt_text.h"
#include "spelling/game_speller.h"
#include "spelling/word_list.h"
#include "widgets/messages.h"
#include "windows/input/input_checks.h"
#include "windows/input/input_window.h"
#include "windows/messages/messages_window.h"
#include "windows/options/option_window.h"
#include "windows/preview/preview_window.h"
#include "windows/toolbar/toolbar_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QToolButton>

#include <algorithm>

namespace zeilwerk {
namespace {

std::int32_t number(const QLineEdit* field) {
    const QString text = field->text();
    return strToInt(toU16(text));
}

}  // namespace

void TForm2::confirmClick() {
    TForm1& input = *m_windows.input;
    TForm3& preview = *m_windows.preview;
    TForm4& toolbar = *m_windows.toolbar;
    // Resized windows settle, as a group, before their positions are written.
    const auto change = [&] {
        vorschau_aktiv->setChecked(vorschau_aktiv_set->isChecked());
        vorschau_scale2x->setChecked(vorschau_scale2x_set->isChecked());
        preview.setPreviewScale(vorschau_scale2x->isChecked());
        applyPreviewAssets();
        input.setInputWidth(eingabe_breite->text());
        input.setInputHeight(eingabe_hoehe->text());
        input.setInputFontName(eingabe_schrift->text());
        input.setInputFontSize(eingabe_grad->text());

        if (!text_links->isEnabled())
            ausrichtung->setText(QStringLiteral("0"));
        else if (!text_zentriert->isEnabled())
            ausrichtung->setText(QStringLiteral("1"));
        else if (!text_rechts->isEnabled())
            ausrichtung->setText(QStringLiteral("2"));
        laenge->setText(text_face->isChecked() ? QStringLiteral("38") : QStringLiteral("50"));

        for (ToolWindow* w : {static_cast<ToolWindow*>(&input), static_cast<ToolWindow*>(this),
                              static_cast<ToolWindow*>(&preview), static_cast<ToolWindow*>(&toolbar)})
            w->setStayOnTop(fenster_fgr->isChecked());
        if (m_windows.messages)
            m_windows.messages->setStayOnTop(fenster_fgr->isChecked());
        toolbar.setHorizontal(tool_horizontal->isChecked());
    };
    if (m_windows.group.settleAround)
        m_windows.group.settleAround(change);
    else
        change();

    std::vector<IniEntry> startup = {
        {kLoadAtStart.section, kLoadAtStart.key, iniFlag(ini_auto->isChecked())},
        {kProfileFile.section, kProfileFile.key, toIni(ini_datei->text())},
        {kRememberPositions.section, kRememberPositions.key, iniFlag(fenster_auto->isChecked())},
        {kHideToolbar.section, kHideToolbar.key, iniFlag(tool_hide->isChecked())},
    };
    if (fenster_auto->isChecked() && m_windows.group.appendPositions)
        m_windows.group.appendPositions(startup);
    makeSettingsFolder(m_platform.settingsFolder);
    IniFile(m_platform.settingsFolder / kStartupFile).write(startup);

    toolbar.setVisible(!tool_hide->isChecked());
    applyGameLook();
    input.GetTextChange();
}

void TForm2::applyGameLook() {
    TForm3& preview = *m_windows.preview;
    spiel_aktiv->setChecked(spiel_aktiv_set->isChecked());
    spiel_schrift->setText(QStringLiteral("Schrift: –"));
    std::optional<GameLook> look;
    if (spiel_aktiv->isChecked()) {
        // What cannot be read is told once, here: a missing database leaves the Maker's
        // preview, anything else our own stand-in for that part of the look.
        std::vector<QString> problems;
        try {
            const std::filesystem::path game = inFolder(m_platform.settingsFolder, spiel_ordner->text());
            look = loadGameLook(game, spiel_system->text(), defaultFontPlaces(m_platform.programFolder), &problems);
            applyMessageOptions(*look, game, gameMessageOptions(), &problems);
            spiel_schrift->setText(QStringLiteral("Schrift: ") + look->fontName);
        } catch (const std::exception& e) {
            problems.push_back(QString::fromUtf8(e.what()));
        }
        if (!problems.empty())
            m_platform.messages->show(QStringList(problems.begin(), problems.end()).join(u'\n'));
    }
    preview.setGameLook(std::move(look));
    applyInputChecks();
}

CheckSettings TForm2::checkSettings() const {
    CheckSettings settings;
    if (const std::optional<int> n = variableCharactersOf(toU16(spiel_variablenbreite->text())))
        settings.variableCharacters = *n;
    return settings;
}

void TForm2::applyInputChecks() {
    InputChecks& checks = *m_windows.input->checks;
    if (const GameLook* shown = m_windows.preview->gameLook())
        checks.setGame(InputChecks::Game{shown->heroNames, shown->faceOnLeft, checkSettings()});
    else
        checks.setGame(std::nullopt);

    // Opening a dictionary takes a moment: done again only when it or the game changed. A
    // dictionary not found leaves the field red and the lines without underlines.
    const QString name = spiel_woerterbuch->text();
    const std::filesystem::path folder = inFolder(m_platform.settingsFolder, spiel_ordner->text());
    const bool isGame = !spiel_ordner->text().isEmpty() && holdsGameDatabase(folder);
    const std::filesystem::path game = isGame ? folder : std::filesystem::path();
    if (m_spellingOpened && m_spellingOpened->first == name && m_spellingOpened->second == game)
        return;
    m_spellingOpened.emplace(name, game);
    const std::filesystem::path wordList = isGame ? wordListPath(m_platform.settingsFolder, game) : std::filesystem::path();
    GameSpeller opened = openGameSpeller(name.toStdString(), dictionaryFolders(m_platform.programFolder), wordList);
    if (!opened.speller && !opened.missing)
        m_platform.messages->show(QString::fromUtf8(opened.problem));
    checks.setSpeller(std::move(opened.speller), wordList, game);
}

// Apply's steps 4 to 8: the text box picture, its transparent colour, the colour picture,
// the plain flag and the preview font, each only when its setting passes its test.
void TForm2::applyPreviewAssets() {
    TForm3& preview = *m_windows.preview;
    const auto& folder = m_platform.settingsFolder;
    const auto& data = m_platform.dataFolder;
    if (pictureExists(folder, data, vorschau_textbox_datei->text()))
        preview.loadTextBoxPicture(picturePath(folder, data, vorschau_textbox_datei->text()));
    if (!vorschau_textbox_x->text().isEmpty() && settings::vorschauX.inRange(number(vorschau_textbox_x)) &&
        !vorschau_textbox_y->text().isEmpty() && settings::vorschauY.inRange(number(vorschau_textbox_y)))
        preview.pickTransparentColour(number(vorschau_textbox_x), number(vorschau_textbox_y));
    if (pictureExists(folder, data, vorschau_farbe->text()))
        preview.loadColourPicture(picturePath(folder, data, vorschau_farbe->text()));
    vorschau_plain->setChecked(vorschau_plain_set->isChecked());
    if (m_platform.fonts->contains(vorschau_schrift->text()))
        preview.setPreviewFont(vorschau_schrift->text());
}

void TForm2::intomaker() {
    const TForm1& input = *m_windows.input;
    const std::array<std::u16string, 4> lines = {input.line(0), input.line(1), input.line(2), input.line(3)};
    // The settings are read only for a line that has text, as the indent needs them.
    const ExportShape shape = exportShape(lines, toU16(ausrichtung->text()), toU16(laenge->text()));
    const std::u16string text = buildExportText(lines, shape.alignment, shape.lineLength);
    if (!m_platform.maker)
        return;
    MakerSender::Result result;
    {
        // A send waits for the Maker; the first one may wait for Wine to set itself up.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        result = m_platform.maker->send(text);
    }
    if (result == MakerSender::Result::NoAnswer)
        m_platform.messages->show(QStringLiteral(
            "Der Text ist nicht beim Maker angekommen: Wine hat nicht innerhalb von 10 Sekunden geantwortet "
            "und wurde beendet. Beim nächsten Senden wird es neu gestartet."));
    if (result == MakerSender::Result::NotStarted)
        m_platform.messages->show(QStringLiteral("Wine konnte die Brücke zum Maker nicht starten:\n") +
                                  QString::fromStdString(m_platform.maker->problem()));
}

void TForm2::SpeedButton3Click() {
    if (m_windows.group.arrange)
        m_windows.group.arrange();
}

}  // namespace zeilwerk
