#pragma once

#include "core/game/message_splice.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace zeilwerk {

class CodePage;

struct WriteReport {
    std::vector<ChangeOutcome> outcomes;  // one per change, in order
    std::vector<std::string> files;       // the game's files replaced, by name
    int written = 0;                      // messages written
    std::filesystem::path backup;         // this write set's backup; empty when nothing was written
};

// Writes changed messages into the game in folder, as one write set: every file it changes is
// first copied into settingsFolder/sicherungen/<game>/<date-time>/, then written beside itself,
// read back and checked (it parses, its messages are the intended ones) and renamed into place.
// A file that cannot be written (read-only, held by another program) throws Error (German)
// before anything is changed; a replace that fails puts the files already replaced back.
// Temporary files a killed write left in the folder are removed first.
WriteReport writeMessages(const std::filesystem::path& folder, const std::filesystem::path& settingsFolder,
                          const std::vector<MessageChange>& changes, const CodePage& page);

struct UndoReport {
    std::filesystem::path backup;        // the write set undone, or found
    std::vector<std::string> restored;   // files put back
    std::vector<std::string> changedSince;  // files someone changed after the write
    bool done = false;                   // false: changed since, and not forced; nothing put back
};

// Puts back the files of the game's last write set that was not undone. A file changed since
// the write stops it unless evenIfChanged, which keeps the changed file beside the backup
// first. Throws Error (German) when there is no write set to undo or a file cannot be written.
UndoReport undoLastWrite(const std::filesystem::path& folder, const std::filesystem::path& settingsFolder,
                         bool evenIfChanged);

// The folder that holds the game's backups: settingsFolder/sicherungen/<folder name>-<hash>.
std::filesystem::path backupFolder(const std::filesystem::path& folder, const std::filesystem::path& settingsFolder);

}  // namespace zeilwerk
