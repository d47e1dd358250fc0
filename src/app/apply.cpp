#include "app/apply.h"

#include "app/window_placement.h"
#include "core/game/game_fonts.h"
#include "core/game/text_flow.h"
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
#include "maker/maker_texts.h"
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
#include "windows/windows.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

Controller::Controller(const Windows& windows, const Platform& platform) : m_windows(windows), m_platform(platform) {}

void Controller::apply() {
    TForm2& o = *m_windows.options;
    TForm1& input = *m_windows.input;
    TForm3& preview = *m_windows.preview;
    TForm4& toolbar = *m_windows.toolbar;
    const GroupState before = groupState(m_windows);
    o.vorschau_aktiv->setChecked(o.vorschau_aktiv_set->isChecked());
    o.vorschau_scale2x->setChecked(o.vorschau_scale2x_set->isChecked());
    preview.setPreviewScale(o.vorschau_scale2x->isChecked());
    applyPreviewAssets();
    input.setInputWidth(o.eingabe_breite->text());
    input.setInputHeight(o.eingabe_hoehe->text());
    input.setInputFontName(o.eingabe_schrift->text());
    input.setInputFontSize(o.eingabe_grad->text());

    if (!o.text_links->isEnabled())
        o.ausrichtung->setText(QStringLiteral("0"));
    else if (!o.text_zentriert->isEnabled())
        o.ausrichtung->setText(QStringLiteral("1"));
    else if (!o.text_rechts->isEnabled())
        o.ausrichtung->setText(QStringLiteral("2"));
    o.laenge->setText(o.text_face->isChecked() ? QStringLiteral("38") : QStringLiteral("50"));

    for (ToolWindow* w : {static_cast<ToolWindow*>(&input), static_cast<ToolWindow*>(&o),
                          static_cast<ToolWindow*>(&preview), static_cast<ToolWindow*>(&toolbar)})
        w->setStayOnTop(o.fenster_fgr->isChecked());
    if (m_windows.messages)
        m_windows.messages->setStayOnTop(o.fenster_fgr->isChecked());
    // Resized windows settle, as a group, before their positions are written.
    toolbar.setHorizontal(o.tool_horizontal->isChecked());
    settleWindows(m_windows, before);

    std::vector<IniEntry> startup = {
        {kLoadAtStart.section, kLoadAtStart.key, iniFlag(o.ini_auto->isChecked())},
        {kProfileFile.section, kProfileFile.key, toIni(o.ini_datei->text())},
        {kRememberPositions.section, kRememberPositions.key, iniFlag(o.fenster_auto->isChecked())},
        {kHideToolbar.section, kHideToolbar.key, iniFlag(o.tool_hide->isChecked())},
    };
    if (o.fenster_auto->isChecked())
        appendPositions(m_windows, startup);
    makeSettingsFolder(m_platform.settingsFolder);
    IniFile(m_platform.settingsFolder / kStartupFile).write(startup);

    toolbar.setVisible(!o.tool_hide->isChecked());
    applyGameLook();
    input.GetTextChange();
}

void Controller::applyGameLook() {
    TForm2& o = *m_windows.options;
    TForm3& preview = *m_windows.preview;
    o.spiel_aktiv->setChecked(o.spiel_aktiv_set->isChecked());
    o.spiel_schrift->setText(QStringLiteral("Schrift: –"));
    o.spiel_fenster->setText(QStringLiteral("Fenster: –"));
    std::optional<GameLook> look;
    if (o.spiel_aktiv->isChecked()) {
        // What cannot be read is told once, here: a missing database leaves the Maker's
        // preview, anything else our own stand-in for that part of the look.
        std::vector<QString> problems;
        try {
            const std::filesystem::path game = inFolder(m_platform.settingsFolder, o.spiel_ordner->text());
            look = loadGameLook(game, o.spiel_system->text(), defaultFontPlaces(m_platform.programFolder), &problems);
            applyMessageOptions(*look, game, o.gameMessageOptions(), &problems);
            o.spiel_schrift->setText(QStringLiteral("Schrift: ") + look->fontName);
            o.spiel_fenster->setText(look->windowName);
        } catch (const std::exception& e) {
            problems.push_back(QString::fromUtf8(e.what()));
        }
        if (!problems.empty())
            m_platform.messages->show(QStringList(problems.begin(), problems.end()).join(u'\n'));
    }
    preview.setGameLook(std::move(look));
    applyInputChecks();
    applyFlow();
    applyFollow();
}

void Controller::applyFlow() {
    const TForm2& o = *m_windows.options;
    FlowOptions options;
    options.speakerLine = o.fliesstext_sprecher->isChecked();
    options.balanced = o.fliesstext_gleichmaessig->isChecked();
    const GameLook* look = m_windows.preview->gameLook();
    LineMeasure measure = look ? LineMeasure::gamePixels(namesForChecks(look->heroNames, CodePage::system()),
                                                         o.checkSettings(), CodePage::system())
                               : LineMeasure::characters();
    const FaceSide face = !look || look->face.isNull() ? FaceSide::None
                          : look->faceOnLeft           ? FaceSide::Left
                                                       : FaceSide::Right;
    options.room = lineRoom(measure, face, strToInt(toU16(o.laenge->text())));
    m_windows.input->setFlow(o.fliesstext->isChecked(), options, std::move(measure));
}

void Controller::applyFollow() {
    TForm2& o = *m_windows.options;
    m_windows.input->setFollowing(o.text_mitlesen->isChecked());
    // What is read from the dialog would be typed into it a second time.
    o.text_maker->setEnabled(!m_windows.input->following());
}

void Controller::applyInputChecks() {
    TForm2& o = *m_windows.options;
    InputChecks& checks = *m_windows.input->checks;
    if (const GameLook* shown = m_windows.preview->gameLook()) {
        CheckSettings settings = o.checkSettings();
        addLookToChecks(*shown, settings);
        checks.setGame(InputChecks::Game{shown->heroNames, !shown->face.isNull(), settings});
    }
    else
        checks.setGame(std::nullopt);

    // Opening a dictionary takes a moment: done again only when it or the game changed. A
    // dictionary not found leaves the field red and the lines without underlines.
    const QString name = o.spiel_woerterbuch->text();
    const std::filesystem::path folder = inFolder(m_platform.settingsFolder, o.spiel_ordner->text());
    const bool isGame = !o.spiel_ordner->text().isEmpty() && holdsGameDatabase(folder);
    const std::filesystem::path game = isGame ? folder : std::filesystem::path();
    if (m_spellingOpened && m_spellingOpened->first == name && m_spellingOpened->second == game)
        return;
    m_spellingOpened.emplace(name, game);
    const std::filesystem::path wordList = isGame ? wordListPath(m_platform.settingsFolder, game) : std::filesystem::path();
    GameSpeller opened = openGameSpeller(name.toStdString(), dictionaryFolders(m_platform.programFolder), wordList);
    if (!opened.speller && !opened.missing)
        m_platform.messages->show(QString::fromUtf8(opened.problem));
    checks.setSpeller(std::move(opened.speller), wordList, game);
    checks.readGameWords(game);
}

// Apply's steps 4 to 8: the text box picture, its transparent colour, the colour picture,
// the plain flag and the preview font, each only when its setting passes its test.
void Controller::applyPreviewAssets() {
    TForm2& o = *m_windows.options;
    TForm3& preview = *m_windows.preview;
    const auto& folder = m_platform.settingsFolder;
    const auto& data = m_platform.dataFolder;
    if (pictureExists(folder, data, o.vorschau_textbox_datei->text()))
        preview.loadTextBoxPicture(picturePath(folder, data, o.vorschau_textbox_datei->text()));
    if (!o.vorschau_textbox_x->text().isEmpty() && settings::vorschauX.inRange(number(o.vorschau_textbox_x)) &&
        !o.vorschau_textbox_y->text().isEmpty() && settings::vorschauY.inRange(number(o.vorschau_textbox_y)))
        preview.pickTransparentColour(number(o.vorschau_textbox_x), number(o.vorschau_textbox_y));
    if (pictureExists(folder, data, o.vorschau_farbe->text()))
        preview.loadColourPicture(picturePath(folder, data, o.vorschau_farbe->text()));
    o.vorschau_plain->setChecked(o.vorschau_plain_set->isChecked());
    if (m_platform.fonts->contains(o.vorschau_schrift->text()))
        preview.setPreviewFont(o.vorschau_schrift->text());
}

void Controller::send() {
    const TForm2& o = *m_windows.options;
    const TForm1& input = *m_windows.input;
    // With flowing text the box shown.
    const std::array<std::u16string, 4> lines = {input.line(0), input.line(1), input.line(2), input.line(3)};
    // The settings are read only for a line that has text, as the indent needs them.
    const ExportShape shape = exportShape(lines, toU16(o.ausrichtung->text()), toU16(o.laenge->text()));
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
    // The maker opens the next message dialog for the next box.
    if (result == MakerSender::Result::Sent && m_windows.input->flowing())
        m_windows.input->stepBox(1);
    if (result == MakerSender::Result::NoAnswer)
        m_platform.messages->show(QStringLiteral(
            "Der Text ist nicht beim Maker angekommen: Wine hat nicht innerhalb von 10 Sekunden geantwortet "
            "und wurde beendet. Beim nächsten Senden wird es neu gestartet."));
    if (result == MakerSender::Result::NotStarted)
        m_platform.messages->show(bridgeNotStartedText(m_platform.maker->problem()));
}

}  // namespace zeilwerk
