#include "program_fixture.h"

#include "app/window_placement.h"
#include "maker/maker_sender.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

namespace zeilwerk::test {
namespace {

class SettingsTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        writePictures();
        create();
        input->show();   // start-up: no optn.ini, so nothing loaded and the windows arranged
        messages.shown.clear();
    }
    std::string startupFile() const { return readFile(folder / "optn.ini"); }
    bool fileExists(const char* name) const { return std::filesystem::exists(folder / name); }
};

TEST_F(SettingsTest, AProfileNameOutsideTheProgramFolderIsNeitherSavedNorLoaded) {
    // The victim exists, so only the name's place can make the field red.
    const std::filesystem::path victim = folder.path().parent_path() / (folder.path().filename().string() + "-victim.rc");
    writeFile(victim, "echo harmless\n");
    const std::string outside[] = {"../" + victim.filename().string(), victim.string(),
                                   "sub/../../" + victim.filename().string()};
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    for (const std::string& name : outside) {
        options->ini_datei->setText(QString::fromStdString(name));
        EXPECT_EQ(options->ini_datei->palette().color(QPalette::Text), TForm2::invalidColour) << name;
        messages.shown.clear();
        QTest::mouseClick(options->ini_save, Qt::LeftButton);
        QTest::mouseClick(options->ini_load, Qt::LeftButton);
        ASSERT_EQ(messages.shown.size(), 2) << name;
        EXPECT_TRUE(messages.shown[0].startsWith("Die Sicherungsdatei muss im Programmordner liegen")) << name;
        EXPECT_EQ(messages.shown[1], messages.shown[0]);
    }
    std::filesystem::current_path(cwd);
    EXPECT_EQ(readFile(victim), "echo harmless\n");
    std::filesystem::remove(victim);

    // A sub-folder is inside: saved there and loaded back.
    std::filesystem::create_directory(folder / "profile");
    options->ini_datei->setText("profile/../profile/eigene.ini");
    QTest::mouseClick(options->ini_save, Qt::LeftButton);
    EXPECT_TRUE(std::filesystem::exists(folder / "profile" / "eigene.ini"));
    EXPECT_TRUE(messages.errors.isEmpty());
}

TEST_F(SettingsTest, ApplyWritesTheFourStartupKeysAndThePositionsWhenAsked) {
    QTest::mouseClick(options->confirm, Qt::LeftButton);
    EXPECT_TRUE(messages.errors.isEmpty());
    EXPECT_EQ(startupFile(), "[laden]\r\nauto=0\r\ndatei=standard.ini\r\n[fenster]\r\nauto=0\r\n[tool]\r\nhide=0\r\n");

    options->fenster_auto->setChecked(true);
    options->ini_auto->setChecked(true);
    options->confirmClick();
    const QRect i = input->frameGeometry(), o = options->frameGeometry(), p = preview->frameGeometry(),
                t = toolbar->frameGeometry();
    const std::string expected = "[laden]\r\nauto=1\r\ndatei=standard.ini\r\n[fenster]\r\nauto=1\r\n" +
                                 ("eingabe_top=" + std::to_string(i.y()) + "\r\neingabe_left=" + std::to_string(i.x())) +
                                 ("\r\noptn_top=" + std::to_string(o.y()) + "\r\noptn_left=" + std::to_string(o.x())) +
                                 ("\r\nvorschau_top=" + std::to_string(p.y()) + "\r\nvorschau_left=" + std::to_string(p.x())) +
                                 ("\r\ntool_top=" + std::to_string(t.y()) + "\r\ntool_left=" + std::to_string(t.x())) +
                                 "\r\n[tool]\r\nhide=0\r\n";
    EXPECT_EQ(startupFile(), expected);
    // Off again: the positions stay in the file.
    options->fenster_auto->setChecked(false);
    options->confirmClick();
    EXPECT_NE(startupFile().find("tool_left="), std::string::npos);
    EXPECT_NE(startupFile().find("[fenster]\r\nauto=0"), std::string::npos);
}

TEST_F(SettingsTest, ApplyCarriesEverySettingAcross) {
    options->vorschau_scale2x_set->setChecked(true);
    options->vorschau_plain_set->setChecked(true);
    options->vorschau_aktiv_set->setChecked(false);
    options->vorschau_schrift->setText("tahoma");
    options->eingabe_breite->setText("20");
    options->eingabe_hoehe->setText("20");
    options->Setausrichtung(options->text_rechts);
    options->text_face->setChecked(true);
    options->tool_horizontal->setChecked(false);
    options->confirmClick();
    EXPECT_TRUE(messages.errors.isEmpty());
    EXPECT_TRUE(options->vorschau_scale2x->isChecked());
    EXPECT_TRUE(options->vorschau_plain->isChecked());
    EXPECT_FALSE(options->vorschau_aktiv->isChecked());
    EXPECT_EQ(preview->size(), QSize(656, 176));
    EXPECT_EQ(preview->previewFont(), "tahoma");
    EXPECT_EQ(input->size(), QSize(135, 49));
    EXPECT_EQ(options->ausrichtung->text(), "2");
    EXPECT_EQ(options->laenge->text(), "38");
    EXPECT_EQ(toolbar->size(), QSize(58, 216));

    options->tool_hide->setChecked(true);
    options->confirmClick();
    EXPECT_FALSE(toolbar->isVisible());
    options->tool_hide->setChecked(false);
    options->confirmClick();
    EXPECT_TRUE(toolbar->isVisible());
    EXPECT_EQ(startupFile(), readFile(folder / "optn.ini"));   // applying twice writes the same
}

TEST_F(SettingsTest, ApplyStopsAtAConversionErrorKeepingTheStepsBefore) {
    options->eingabe_breite->setText("20");
    options->eingabe_hoehe->setText("hoch");
    messages.errors.clear();
    QTest::mouseClick(options->confirm, Qt::LeftButton);
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_EQ(messages.errors[0], "'hoch' is not a valid integer value.");
    EXPECT_EQ(input->GetText->width(), 86);
    EXPECT_FALSE(fileExists("optn.ini"));
}

TEST_F(SettingsTest, ApplyReportsAPictureThatCannotBeRead) {
    writeFile(folder / "kaputt.bmp", "BM nichts");
    options->vorschau_farbe->setText("kaputt.bmp");
    options->vorschau_scale2x_set->setChecked(true);
    QTest::mouseClick(options->confirm, Qt::LeftButton);
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_EQ(messages.errors[0], "Bitmap image is not valid.");
    EXPECT_EQ(preview->size(), QSize(656, 176));
    EXPECT_FALSE(fileExists("optn.ini"));
}

TEST_F(SettingsTest, StayOnTopKeepsTextPlaceAndPictures) {
    input->GetText->setPlainText("Hallo\nWelt");
    const QPoint where = input->pos();
    options->fenster_fgr->setChecked(true);
    options->confirmClick();
    for (QWidget* w : {static_cast<QWidget*>(input.get()), static_cast<QWidget*>(options.get()),
                       static_cast<QWidget*>(preview.get()), static_cast<QWidget*>(toolbar.get())}) {
        EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_TRUE(w->isVisible());
    }
    EXPECT_EQ(input->GetText->toPlainText(), "Hallo\nWelt");
    EXPECT_EQ(input->pos(), where);
    EXPECT_TRUE(preview->boxme.hasPicture());
    options->fenster_fgr->setChecked(false);
    options->confirmClick();
    EXPECT_FALSE(toolbar->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(toolbar->isVisible());
}

TEST_F(SettingsTest, SaveWritesTheTwentySixKeysInTableOrder) {
    writeFile(folder / "standard.ini", "[eigen]\r\nbleibt=ja\r\n");
    QTest::mouseClick(options->ini_save, Qt::LeftButton);
    EXPECT_EQ(messages.shown, QStringList({"Einstellungen erfolgreich gesichert."}));
    EXPECT_EQ(readFile(folder / "standard.ini"),
              "[eigen]\r\nbleibt=ja\r\n"
              "[vorschau]\r\naktiv=1\r\naktiv_set=1\r\nscale2x=0\r\nscale2x_set=0\r\ntextbox=txtbox.bmp\r\nx=1\r\ny=1\r\n"
              "farbe=txtclr.bmp\r\nplain=0\r\nplain_set=0\r\nschrift=MS Mincho\r\n"
              "[eingabe]\r\nbreite=100\r\nhoehe=100\r\nschrift=FixedSys\r\ngrad=8\r\n"
              "[text]\r\nlaenge=50\r\nlinks=1\r\nzentriert=0\r\nrechts=0\r\nausrichtung_set=0\r\nface=0\r\n"
              "[fenster]\r\nfgr=0\r\nauto=0\r\n[tool]\r\nhorizont=1\r\n[ini]\r\nauto=0\r\ndatei=standard.ini\r\n");
    EXPECT_EQ(options->ini_datei->palette().color(QPalette::Text), TForm2::validColour);
}

TEST_F(SettingsTest, SaveChangeAndLoadRestoresEverySetting) {
    options->vorschau_textbox_x->setText("7");
    options->eingabe_schrift->setText("Tahoma");
    options->Setausrichtung(options->text_zentriert);
    options->text_face->setChecked(true);
    options->ini_datei->setText("mein.ini");
    options->ini_saveClick();
    options->FormShow();
    options->ini_datei->setText("mein.ini");
    messages.shown.clear();
    QTest::mouseClick(options->ini_load, Qt::LeftButton);
    EXPECT_EQ(messages.shown, QStringList({"Einstellungen erfolgreich geladen."}));
    EXPECT_EQ(options->vorschau_textbox_x->text(), "7");
    EXPECT_EQ(options->eingabe_schrift->text(), "Tahoma");
    EXPECT_FALSE(options->text_zentriert->isEnabled());
    EXPECT_TRUE(options->text_links->isEnabled());
    EXPECT_EQ(options->ausrichtung->text(), "1");   // apply ran
    EXPECT_EQ(options->laenge->text(), "38");
    EXPECT_NE(startupFile().find("datei=mein.ini"), std::string::npos);
    EXPECT_TRUE(messages.errors.isEmpty());
}

TEST_F(SettingsTest, LoadReportsMissingFilesAndDoesNothingWithoutAName) {
    options->ini_datei->clear();
    options->ini_saveClick();
    EXPECT_FALSE(options->loadini(options->ini_load));
    EXPECT_TRUE(messages.shown.isEmpty());
    options->ini_datei->setText("fehlt.ini");
    EXPECT_FALSE(options->loadini(options->ini_load));
    EXPECT_EQ(messages.shown, QStringList({"Die angegebene Datei wurde nicht gefunden."}));
    // The name exists in the current folder but not beside the executable: still not found.
    TempDir elsewhere;
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere.path());
    writeFile(elsewhere / "nur-hier.ini", "[eingabe]\r\nbreite=50\r\n");
    options->ini_datei->setText("nur-hier.ini");
    EXPECT_FALSE(options->loadini(options->ini_load));
    std::filesystem::current_path(here);
    EXPECT_EQ(messages.shown.last(), "Die angegebene Datei wurde nicht gefunden.");
    EXPECT_EQ(options->eingabe_breite->text(), "100");
}

TEST_F(SettingsTest, AnEmptyProfileLoadsTheDefaults) {
    writeFile(folder / "leer.ini", "");
    options->eingabe_breite->setText("150");
    options->tool_horizontal->setChecked(false);
    options->ini_datei->setText("leer.ini");
    EXPECT_TRUE(options->loadini(options->ini_load));
    EXPECT_EQ(options->eingabe_breite->text(), "100");
    EXPECT_TRUE(options->tool_horizontal->isChecked());
    EXPECT_EQ(options->ini_datei->text(), "standard.ini");
}

TEST_F(SettingsTest, ALoadErrorKeepsWhatWasLoadedAndSkipsTheRest) {
    writeFile(folder / "kaputt.ini", "[vorschau]\r\naktiv_set=0\r\nx=abc\r\ny=5\r\n[eingabe]\r\nbreite=20\r\n");
    options->ini_datei->setText("kaputt.ini");
    EXPECT_FALSE(options->loadini(options->ini_load));
    EXPECT_EQ(messages.shown, QStringList({"Ein Fehler ist beim Laden aufgetreten."}));
    EXPECT_TRUE(messages.errors.isEmpty());
    EXPECT_FALSE(options->vorschau_aktiv_set->isChecked());
    EXPECT_EQ(options->vorschau_textbox_x->text(), "abc");
    EXPECT_EQ(options->vorschau_textbox_y->text(), "1");
    EXPECT_EQ(options->eingabe_breite->text(), "100");
    EXPECT_FALSE(fileExists("optn.ini"));   // apply did not run
    // Afterwards a conversion error is shown as usual again.
    options->eingabe_grad->setText("x");
    EXPECT_EQ(messages.errors.size(), 1);
}

TEST_F(SettingsTest, FlagsLoadByTheNumberRule) {
    writeFile(folder / "flags.ini", "[text]\r\nface=2\r\n[fenster]\r\nfgr=0x10\r\n[tool]\r\nhorizont=yes\r\n");
    options->tool_horizontal->setChecked(false);
    options->ini_datei->setText("flags.ini");
    EXPECT_TRUE(options->loadini(options->ini_load));
    EXPECT_TRUE(options->text_face->isChecked());
    EXPECT_TRUE(options->fenster_fgr->isChecked());
    EXPECT_TRUE(options->tool_horizontal->isChecked());
}

TEST_F(SettingsTest, SaveIntoAMissingFolderReportsTheFullPath) {
    options->ini_datei->setText("fehlt/profil.ini");
    QTest::mouseClick(options->ini_save, Qt::LeftButton);
    EXPECT_TRUE(messages.shown.isEmpty());
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_EQ(messages.errors[0].toStdString(), "Unable to write to " + (folder / "fehlt/profil.ini").string() + ".");
}

TEST_F(SettingsTest, ArrangePutsTheWindowsWhereTheArrangementSays) {
    input->move(5, 5);
    QTest::mouseClick(options->fenster_ausr, Qt::LeftButton);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize desktop = screen->virtualSize();
    const GroupState placed = groupState(windows);
    EXPECT_EQ(placed.rects, arrangedGroup(placed.sizes, QPoint(desktop.width() / 2, desktop.height() / 2),
                                          screen->availableGeometry()));
}

class StartupLoadTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        writePictures();
    }
};

TEST_F(StartupLoadTest, AMissingAutoProfileIsReportedAndStartUpGoesOn) {
    writeFile(folder / "optn.ini", "[laden]\r\nauto=1\r\ndatei=weg.ini\r\n");
    create();
    input->show();
    EXPECT_EQ(messages.shown, QStringList({"Die angegebene Datei wurde nicht gefunden."}));
    EXPECT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->previewFont(), "MS Mincho");
}

TEST_F(StartupLoadTest, AnAutoLoadedProfileStaysInForceAfterStartUp) {
    QImage box(320, 80, QImage::Format_RGB32);
    box.fill(qRgb(0, 90, 0));
    box.save(QString::fromStdString((folder / "gruen.bmp").string()), "BMP");
    writeFile(folder / "optn.ini", "[laden]\r\nauto=1\r\ndatei=profil.ini\r\n");
    writeFile(folder / "profil.ini",
              "[vorschau]\r\ntextbox=gruen.bmp\r\nx=5\r\ny=5\r\nschrift=Tahoma\r\n[fenster]\r\nauto=1\r\n");
    create();
    input->show();
    EXPECT_TRUE(messages.shown.isEmpty());   // no success message at start-up
    EXPECT_TRUE(messages.errors.isEmpty());
    EXPECT_EQ(preview->boxme.picture().pixel(10, 10), qRgb(0, 90, 0));
    EXPECT_EQ(preview->boxme.transparentColour(), qRgb(0, 90, 0));
    EXPECT_EQ(preview->previewFont(), "Tahoma");
    EXPECT_TRUE(options->fenster_auto->isChecked());
    // The load's apply wrote the positions the windows had then, the designed place give or take
    // the frame; start-up restored them, moved back onto this 800 pixels wide screen.
    const IniFile written(folder / "optn.ini");
    const int left = written.readNumber("fenster", "eingabe_left", 0);
    EXPECT_NEAR(left, 440, 4);
    const int screenRight = QGuiApplication::primaryScreen()->availableGeometry().right() + 1;
    EXPECT_EQ(input->frameGeometry().topLeft(), QPoint(std::min(left, screenRight - input->frameGeometry().width()),
                                                       written.readNumber("fenster", "eingabe_top", 0)));
}

TEST_F(StartupLoadTest, RememberedPositionsAndTheirDefaults) {
    writeFile(folder / "optn.ini", "[fenster]\r\nauto=1\r\neingabe_top=100\r\neingabe_left=50\r\ntool_left=-206\r\n");
    create();
    input->show();
    const QRect i = input->frameGeometry();
    EXPECT_EQ(i.topLeft(), QPoint(50, 100));
    // Right of the input window would reach past this 800 pixels wide screen: moved back onto it.
    const int screenRight = QGuiApplication::primaryScreen()->availableGeometry().right() + 1;
    EXPECT_EQ(options->frameGeometry().topLeft(),
              QPoint(std::min(50 + i.width() + 8, screenRight - options->frameGeometry().width()), 100));
    // The frame is known only once a window is shown: allow its width.
    EXPECT_NEAR(preview->frameGeometry().x(), 50 + i.width() - preview->frameGeometry().width(), 4);
    EXPECT_NEAR(preview->frameGeometry().y(), 100 + i.height() + 8, 4);
    // Off the screen, the toolbar's title bar is brought back onto it.
    EXPECT_EQ(toolbar->frameGeometry().topLeft(), QPoint(0, 100));
}

}  // namespace
}  // namespace zeilwerk::test

namespace zeilwerk::test {
namespace {

class IntoMakerTest : public SettingsTest {
protected:
    void SetUp() override {
        platform.maker = &sender;
        SettingsTest::SetUp();
    }
    RecordedSender sender;
};

TEST_F(IntoMakerTest, SendsTheFourLinesAsTypedWithTheirIndent) {
    input->GetText->setPlainText("Hallo\n\\c[2]Welt\n\n\nfünfte Zeile");
    options->ausrichtung->setText("1");
    QTest::mouseClick(options->text_maker, Qt::LeftButton);
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0], std::u16string(21, u' ') + u"Hallo\r" + std::u16string(19, u' ') + u"\\c[2]Welt\r\r\r");
    EXPECT_EQ(input->GetText->toPlainText(), "Hallo\n\\c[2]Welt\n\n\nfünfte Zeile");
}

TEST_F(IntoMakerTest, ReadsTheSettingsOnlyForLinesWithText) {
    options->vorschau_aktiv->setChecked(false);   // the preview would trip over the settings first
    options->ausrichtung->setText("links");
    options->laenge->setText("lang");
    input->GetText->setPlainText("");
    QTest::mouseClick(options->text_maker, Qt::LeftButton);
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0], u"\r\r\r\r");
    EXPECT_TRUE(messages.errors.isEmpty());

    input->GetText->setPlainText("Text");
    QTest::mouseClick(options->text_maker, Qt::LeftButton);
    EXPECT_EQ(sender.sent.size(), 1u);   // nothing sent
    EXPECT_EQ(messages.errors, QStringList({"'links' is not a valid integer value."}));

    options->ausrichtung->setText("0");   // left needs no line length
    QTest::mouseClick(options->text_maker, Qt::LeftButton);
    ASSERT_EQ(sender.sent.size(), 2u);
    EXPECT_EQ(sender.sent[1], u"Text\r\r\r\r");
}

}  // namespace
}  // namespace zeilwerk::test
