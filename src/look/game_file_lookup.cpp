#include "look/game_file_lookup.h"

#include "core/platform/file_io.h"

#include <system_error>

namespace fs = std::filesystem;

namespace zeilwerk {

bool holdsGameDatabase(const fs::path& folder) {
    std::error_code error;
    const std::optional<fs::path> database = findIgnoringCase(folder, "RPG_RT.ldb");
    return database && fs::is_regular_file(*database, error);
}

std::optional<fs::path> findGameGraphic(const fs::path& gameFolder, const char* folderName, const QString& typed) {
    QString name = typed;
    for (const char* extension : {".png", ".bmp", ".xyz"})
        if (name.endsWith(QLatin1String(extension), Qt::CaseInsensitive))
            name.chop(4);
    if (name.isEmpty())
        return std::nullopt;
    const std::optional<fs::path> folder = findIgnoringCase(gameFolder, folderName);
    if (!folder)
        return std::nullopt;
    for (const char* extension : {".png", ".bmp", ".xyz"})
        if (std::optional<fs::path> file = findIgnoringCase(*folder, (name + QLatin1String(extension)).toStdString()))
            return file;
    return std::nullopt;
}

std::optional<fs::path> findSystemGraphic(const fs::path& gameFolder, const QString& name) {
    return findGameGraphic(gameFolder, "System", name);
}

std::optional<fs::path> findBackground(const fs::path& gameFolder, const QString& name) {
    if (std::optional<fs::path> picture = findGameGraphic(gameFolder, "Picture", name))
        return picture;
    return findGameGraphic(gameFolder, "Panorama", name);
}

}  // namespace zeilwerk
