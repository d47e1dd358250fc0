#pragma once

#include <optional>
#include <ostream>

namespace zeilwerk {

// The program without windows: "--liste ORDNER" writes every message of a game with its
// place, "--pruefen ORDNER" every finding of the checks; "--format text|csv" and
// "--variablenbreite N" (how wide "\v[n]" is counted) go with either; "--rechtschreibung"
// adds the spelling to the checks, with "--woerterbuch NAME" (de_DE) and the game's word
// list from the settings folder. "--umbrechen DATEI" flows a conversation's UTF-8 text into
// the game's boxes and prints them ("--spiel ORDNER" for the heroes' names, "--gesicht",
// "--sprecher", "--gleichmaessig"); 1 when a line had to stand over-long. Returns the exit status: 0 nothing found, 1 findings or
// skipped files, 2 a folder, dictionary or arguments that cannot be used; nothing when the
// arguments are not for the command line.
// Whether the arguments ask for the program without windows.
bool isCommandLine(int argc, const char* const* argv);
std::optional<int> runCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace zeilwerk
