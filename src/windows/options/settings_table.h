#pragma once

#include "core/settings/ini_file.h"
#include "core/settings/settings.h"

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

// A setting of the profile bound to the option window's control that shows it.
struct SettingRow {
    const Setting* setting;
    Control control;
};

// The rows of settings::kProfile, kGame, kFlow and kMaker, in their order, each with its control:
// the defaults, save, load and the checks all walk them.
std::vector<SettingRow> profileRows(TForm2& o);
std::vector<SettingRow> gameRows(TForm2& o);
std::vector<SettingRow> flowRows(TForm2& o);
std::vector<SettingRow> makerRows(TForm2& o);

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
