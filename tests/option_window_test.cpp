#include "program_fixture.h"

#include "widgets/hints.h"
#include "windows/options/settings_table.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <functional>
#include <vector>
#include <QToolButton>

#include <filesystem>

namespace zeilwerk::test {
namespace {

class OptionWindowTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        writeFile(folder / "txtbox.bmp", "BM");
        writeFile(folder / "txtclr.bmp", "BM");
        create();
    }
    QColor colourOf(QLineEdit* f) const { return f->palette().color(QPalette::Text); }
    bool green(QLineEdit* f) const { return colourOf(f) == TForm2::validColour; }
    bool red(QLineEdit* f) const { return colourOf(f) == TForm2::invalidColour; }
};

TEST_F(OptionWindowTest, CreationSetsEveryDefault) {
    TForm2& o = *options;
    EXPECT_EQ(o.windowTitle(), "Optionen");
    EXPECT_EQ(o.size(), QSize(318, 238));
    EXPECT_EQ(o.tabs->currentIndex(), 3);
    QStringList tabs;
    for (int i = 0; i < o.tabs->count(); ++i)
        tabs << o.tabs->tabText(i);
    EXPECT_EQ(tabs, QStringList({"Vorschau", "Eingabe", "Text", "Allgemein", "Debugger", "Spiel"}));

    // Every declared setting is bound, in file order, and its control shows the declared default.
    const auto walk = [&](const std::vector<SettingRow>& rows, const auto& declared) {
        ASSERT_EQ(rows.size(), declared.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].setting, declared[i]) << "row " << i;
            EXPECT_EQ(savedRow(rows[i]).value, declared[i]->fallback) << declared[i]->section << "/" << declared[i]->key;
        }
    };
    walk(profileRows(o), settings::kProfile);
    walk(gameRows(o), settings::kGame);
    walk(flowRows(o), settings::kFlow);
    walk(makerRows(o), settings::kMaker);
    EXPECT_EQ(o.laenge->text(), "50");
    EXPECT_EQ(o.ausrichtung->text(), "0");
    EXPECT_FALSE(o.text_links->isEnabled());
    EXPECT_TRUE(o.text_zentriert->isEnabled());
    EXPECT_TRUE(o.text_rechts->isEnabled());
    for (QCheckBox* hidden : {o.vorschau_aktiv, o.vorschau_plain, o.vorschau_scale2x, o.spiel_aktiv})
        EXPECT_TRUE(hidden->isHidden());
    EXPECT_TRUE(messages.errors.isEmpty());
}

TEST_F(OptionWindowTest, DefaultInstallationShowsEveryFieldGreenButTheMissingProfile) {
    TForm2& o = *options;
    for (QLineEdit* f : {o.vorschau_textbox_datei, o.vorschau_farbe, o.vorschau_schrift, o.eingabe_schrift,
                         o.vorschau_textbox_x, o.vorschau_textbox_y, o.eingabe_breite, o.eingabe_hoehe,
                         o.eingabe_grad})
        EXPECT_TRUE(green(f)) << f->text().toStdString();
    EXPECT_TRUE(red(o.ini_datei));
    writeFile(folder / "standard.ini", "");
    o.ini_datei->setText("x");
    o.ini_datei->setText("standard.ini");
    EXPECT_TRUE(green(o.ini_datei));
}

TEST_F(OptionWindowTest, ResetRestoresDefaultsButLeavesToolHideAndTheTrace) {
    TForm2& o = *options;
    o.vorschau_aktiv->setChecked(false);
    o.eingabe_breite->setText("150");
    o.ausrichtung->setText("2");
    o.laenge->setText("38");
    o.Setausrichtung(o.text_rechts);
    o.tool_hide->setChecked(true);
    o.debug_check->setChecked(true);
    o.appendLine(u"Zeile");
    QTest::mouseClick(o.reset, Qt::LeftButton);
    EXPECT_TRUE(o.vorschau_aktiv->isChecked());
    EXPECT_EQ(o.eingabe_breite->text(), "100");
    EXPECT_EQ(o.ausrichtung->text(), "0");
    EXPECT_EQ(o.laenge->text(), "50");
    EXPECT_FALSE(o.text_links->isEnabled());
    EXPECT_TRUE(o.text_rechts->isEnabled());
    EXPECT_TRUE(o.tool_hide->isChecked());
    EXPECT_TRUE(o.debug_check->isChecked());
    EXPECT_EQ(o.debug->toPlainText(), "Zeile");
}

struct NumberCase {
    const char* field;
    const char* text;
    bool valid;
};

TEST_F(OptionWindowTest, NumberFieldsColourByTheirBounds) {
    TForm2& o = *options;
    const std::map<std::string, QLineEdit*> fields = {
        {"x", o.vorschau_textbox_x},   {"y", o.vorschau_textbox_y},    {"breite", o.eingabe_breite},
        {"hoehe", o.eingabe_hoehe},    {"grad", o.eingabe_grad},
    };
    const NumberCase cases[] = {
        {"x", "320", true},    {"x", "321", false},   {"x", "-5", true},      {"x", "", false},
        {"y", "80", true},     {"y", "81", false},    {"y", "0", true},
        {"breite", "19", false}, {"breite", "20", true}, {"breite", "99999", false},
        {"hoehe", "19", false},  {"hoehe", "20", true},  {"hoehe", "999", false},
        {"grad", "0", false},    {"grad", "1", true},   {"grad", "", false},
    };
    for (const NumberCase& c : cases) {
        QLineEdit* f = fields.at(c.field);
        f->setText("5");
        f->setText("50");
        f->setText(c.text);
        EXPECT_EQ(green(f), c.valid) << c.field << " = '" << c.text << "'";
        EXPECT_EQ(red(f), !c.valid) << c.field << " = '" << c.text << "'";
    }
    EXPECT_TRUE(messages.errors.isEmpty());
}

// "Breite von \v" is green exactly where the checks take it; elsewhere they count 8.
TEST_F(OptionWindowTest, TheWidthOfVIsGreenWhereTheChecksTakeIt) {
    const struct {
        const char* text;
        bool valid;
        int counted;
    } cases[] = {
        {"1", true, 1}, {"99", true, 99}, {"100", false, 8}, {"0", false, 8}, {"-3", false, 8},
        {" 12", true, 12}, {"$10", true, 16}, {"", false, 8},
    };
    for (const auto& c : cases) {
        options->spiel_variablenbreite->setText("5");
        options->spiel_variablenbreite->setText(c.text);
        EXPECT_EQ(green(options->spiel_variablenbreite), c.valid) << "'" << c.text << "'";
        EXPECT_EQ(options->checkSettings().variableCharacters, c.counted) << "'" << c.text << "'";
    }
}

TEST_F(OptionWindowTest, TypingIntoTheXFieldColoursAtEveryDigit) {
    QLineEdit* x = options->vorschau_textbox_x;
    x->clear();
    QTest::keyClicks(x, "32");
    EXPECT_TRUE(green(x));
    QTest::keyClicks(x, "1");
    EXPECT_TRUE(red(x));
    QTest::keyClick(x, Qt::Key_Backspace);
    EXPECT_EQ(x->text(), "32");
    EXPECT_TRUE(green(x));
    x->clear();
    EXPECT_TRUE(red(x));
}

TEST_F(OptionWindowTest, KeyFilterPassesDigitsCommaAndFullStopOnly) {
    QLineEdit* y = options->vorschau_textbox_y;
    y->clear();
    QTest::keyClicks(y, "1a-b 2\t");
    EXPECT_EQ(y->text(), "12");
    EXPECT_TRUE(messages.errors.isEmpty());
    // A field without the filter takes everything.
    QLineEdit* w = options->eingabe_breite;
    w->clear();
    QTest::keyClicks(w, "2a");
    EXPECT_EQ(w->text(), "2a");
}

TEST_F(OptionWindowTest, EditingKeysAndShortcutsWorkInTheFilteredFields) {
    struct KeyCase {
        const char* what;
        std::function<void(QLineEdit*)> keys;
        const char* expected;
    };
    const std::vector<KeyCase> cases = {
        {"Delete at the start", [](QLineEdit* f) { QTest::keyClick(f, Qt::Key_Home); QTest::keyClick(f, Qt::Key_Delete); }, "34"},
        {"arrows move the caret",
         [](QLineEdit* f) {
             QTest::keyClick(f, Qt::Key_End);
             QTest::keyClick(f, Qt::Key_Left);
             QTest::keyClicks(f, "9");
         },
         "2394"},
        {"select all, cut, paste twice",
         [](QLineEdit* f) {
             QTest::keyClick(f, Qt::Key_A, Qt::ControlModifier);
             QTest::keyClick(f, Qt::Key_X, Qt::ControlModifier);
             QTest::keyClick(f, Qt::Key_V, Qt::ControlModifier);
             QTest::keyClick(f, Qt::Key_V, Qt::ControlModifier);
         },
         "234234"},
        {"undo", [](QLineEdit* f) { QTest::keyClicks(f, "5"); QTest::keyClick(f, Qt::Key_Z, Qt::ControlModifier); }, "234"},
    };
    for (QLineEdit* field : {options->vorschau_textbox_x, options->vorschau_textbox_y}) {
        for (const KeyCase& c : cases) {
            field->setText("234");
            field->setFocus();
            field->setCursorPosition(3);
            c.keys(field);
            EXPECT_EQ(field->text(), c.expected) << c.what;
        }
    }
    EXPECT_TRUE(messages.errors.isEmpty());
}

TEST_F(OptionWindowTest, ACommaInTheXFieldShowsTheConversionErrorAndKeepsTheColour) {
    QLineEdit* x = options->vorschau_textbox_x;
    x->clear();
    ASSERT_TRUE(red(x));
    QTest::keyClicks(x, ",");
    EXPECT_EQ(x->text(), ",");
    EXPECT_TRUE(red(x));
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_EQ(messages.errors[0], "',' is not a valid integer value.");

    x->setText("7");
    ASSERT_TRUE(green(x));
    x->setText("7 ");
    EXPECT_TRUE(green(x));   // the colour of the last check stays
    EXPECT_EQ(messages.errors.last(), "'7 ' is not a valid integer value.");
}

TEST_F(OptionWindowTest, ErrorsDuringAProfileLoadGoToTheLoader) {
    TForm2& o = *options;
    writeFile(folder / "zahlen.ini", "[eingabe]\r\nhoehe=hoch\r\ngrad=zwei\r\n");
    o.ini_datei->setText("zahlen.ini");
    EXPECT_FALSE(o.loadini(o.ini_load));
    EXPECT_TRUE(messages.errors.isEmpty());
    EXPECT_EQ(messages.shown, QStringList({"Ein Fehler ist beim Laden aufgetreten."}));
    EXPECT_EQ(o.eingabe_hoehe->text(), "hoch");  // the first that fails ends the load
    EXPECT_EQ(o.eingabe_grad->text(), "8");
}

TEST_F(OptionWindowTest, FileFieldsTestThePathTheyWillOpen) {
    TForm2& o = *options;
    // Started from another folder, the files beside the executable still count.
    const auto here = std::filesystem::current_path();
    TempDir elsewhere;
    std::filesystem::current_path(elsewhere.path());
    writeFile(elsewhere / "only-here.bmp", "BM");
    o.vorschau_farbe->setText("only-here.bmp");
    EXPECT_TRUE(red(o.vorschau_farbe));
    o.vorschau_farbe->setText("txtclr.bmp");
    EXPECT_TRUE(green(o.vorschau_farbe));
    o.vorschau_farbe->setText(QString::fromStdString((elsewhere / "only-here.bmp").string()));
    EXPECT_TRUE(green(o.vorschau_farbe));
    std::filesystem::current_path(here);

    std::filesystem::create_directory(folder / "ordner.bmp");
    o.vorschau_textbox_datei->setText("ordner.bmp");
    EXPECT_TRUE(red(o.vorschau_textbox_datei));
    o.vorschau_textbox_datei->clear();
    EXPECT_TRUE(red(o.vorschau_textbox_datei));
}

TEST_F(OptionWindowTest, FontFieldsMatchInstalledFamiliesInAnyCase) {
    TForm2& o = *options;
    const std::pair<const char*, bool> cases[] = {
        {"fixedsys", true}, {"FIXEDSYS", true}, {"Tahoma", true}, {"ms mincho", true},
        {"default", true},  {"Keine Schrift", false}, {"", false},
    };
    for (auto [name, valid] : cases) {
        o.eingabe_schrift->setText("?");
        o.eingabe_schrift->setText(name);
        EXPECT_EQ(green(o.eingabe_schrift), valid) << name;
        EXPECT_EQ(red(o.eingabe_schrift), !valid) << name;
    }
}

TEST_F(OptionWindowTest, AlignmentButtonsAreOneOfThree) {
    TForm2& o = *options;
    QTest::mouseClick(o.text_zentriert, Qt::LeftButton);
    EXPECT_TRUE(o.text_links->isEnabled());
    EXPECT_FALSE(o.text_zentriert->isEnabled());
    EXPECT_TRUE(o.text_rechts->isEnabled());
    EXPECT_EQ(o.ausrichtung->text(), "0");   // only apply derives it
    QTest::mouseClick(o.text_zentriert, Qt::LeftButton);  // disabled: no effect
    QTest::mouseClick(o.text_rechts, Qt::LeftButton);
    EXPECT_TRUE(o.text_zentriert->isEnabled());
    EXPECT_FALSE(o.text_rechts->isEnabled());
}

TEST_F(OptionWindowTest, EnterInATextFieldOpensTheAboutBox) {
    QTest::keyClick(options->eingabe_breite, Qt::Key_Return);
    QTest::keyClick(options->vorschau_textbox_x, Qt::Key_Enter);
    ASSERT_EQ(messages.shown.size(), 2);
    const QStringList lines = messages.shown[0].split(u'\n');
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], "Zeilwerk");
    EXPECT_EQ(lines[1], "Version 2.0.0.3 alpha");
    EXPECT_EQ(lines[3], "Für den RPG Maker 2000 & 2003");
    EXPECT_EQ(lines[4], "");
    EXPECT_EQ(lines[5], "Solltest du Ideen, Beschwerden haben oder ein Kommentar abgeben wollen, so bitte an:");
    EXPECT_EQ(options->eingabe_breite->text(), "100");
    QTest::mouseClick(options->info, Qt::LeftButton);
    EXPECT_EQ(messages.shown.size(), 3);
}

TEST_F(OptionWindowTest, TheDebuggerTabIsTheTraceLog) {
    TForm2& o = *options;
    EXPECT_FALSE(o.tracing());
    o.debug_check->setChecked(true);
    EXPECT_TRUE(o.tracing());
    o.appendLine(u"erste Zeile");
    o.appendLine(u"zweite Zeile äöü");
    EXPECT_EQ(o.debug->toPlainText(), "erste Zeile\nzweite Zeile äöü");
    QTest::mouseClick(o.BitBtn4, Qt::LeftButton);
    EXPECT_EQ(o.debug->toPlainText(), "");
}

TEST_F(OptionWindowTest, ControlsSitWhereDesigned) {
    TForm2& o = *options;
    const std::pair<QWidget*, QRect> places[] = {
        {o.tabs, {8, 8, 305, 193}},           {o.reset, {8, 208, 105, 25}},
        {o.confirm, {168, 208, 105, 25}},     {o.info, {280, 208, 33, 25}},
        {o.vorschau_textbox_x, {8, 32, 25, 21}}, {o.text_zentriert, {44, 16, 47, 49}},
        {o.text_maker, {8, 128, 137, 33}},    {o.ini_datei, {8, 88, 121, 21}},
        {o.debug, {8, 32, 281, 129}},         {o.BitBtn4, {152, 0, 137, 25}},
    };
    for (auto [w, r] : places)
        EXPECT_EQ(w->geometry(), r) << w->metaObject()->className();
    EXPECT_EQ(hintOf(o.ini_save), "Sichert alle Einstellungen in der angegebenen INI-Datei.");
}

}  // namespace
}  // namespace zeilwerk::test
