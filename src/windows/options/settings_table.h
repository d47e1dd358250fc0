#pragma once

#include "core/settings/ini_file.h"

#include <variant>
#include <vector>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QObject;

namespace zeilwerk {

class TForm2;

// A check box as a flag; an alignment button as the flag "selected" (disabled).
struct Selected {
    QAbstractButton* button;
};
using Control = std::variant<QCheckBox*, QLineEdit*, QLabel*, Selected, QComboBox*>;

// How a field's text is checked while typed and after a load.
enum class Check { None, File, Number, Whole, Message };

// One setting of the profile: where it is kept, its control, its default.
struct SettingRow {
    const char* section;
    const char* key;
    Control control;
    const char* fallback;  // "1"/"0" for flags, an index for a choice
    Check check = Check::None;
};

// The 26 keys of the settings profile in file order: the defaults, save, load and the
// checks all walk it.
std::vector<SettingRow> profileRows(TForm2& o);
// The game's look, kept in its own section after the others only when it is set, so a
// profile without it stays as it always was.
std::vector<SettingRow> gameRows(TForm2& o);

// The control as a Qt object, to block its signals.
QObject* controlObject(const Control& control);
// The control set to the row's default.
void setDefault(const SettingRow& row);
// The control's value as the row is written.
IniEntry savedRow(const SettingRow& row);
// The control set from the file, or to the default where the file lacks the key.
void loadRow(const IniFile& file, const SettingRow& row);
// Whether the file has any of the rows' keys.
bool holdsAny(const IniFile& file, const std::vector<SettingRow>& rows);

}  // namespace zeilwerk
