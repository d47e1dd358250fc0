#include "look/game_picture.h"

#include "core/platform/file_io.h"
#include "look/picture_file.h"
#include "look/xyz_picture.h"
#include "platform/paths.h"

namespace fs = std::filesystem;

namespace zeilwerk {

QRgb engineColour(QRgb colour) {
    const auto widen5 = [](int v) { return (v >> 3) * 8 + (v >> 3) / 4; };
    const auto widen6 = [](int v) { return (v >> 2) * 4 + (v >> 2) / 16; };
    return qRgba(widen5(qRed(colour)), widen6(qGreen(colour)), widen5(qBlue(colour)), qAlpha(colour));
}

QImage inEngineColours(QImage picture) {
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            row[x] = engineColour(row[x]);
    }
    return picture;
}

QImage withFirstColourUndrawn(QImage picture) {
    if (picture.format() == QImage::Format_Indexed8 || picture.format() == QImage::Format_Mono ||
        picture.format() == QImage::Format_MonoLSB) {
        QList<QRgb> table = picture.colorTable();
        if (!table.isEmpty())
            table[0] &= 0x00FFFFFF;
        picture.setColorTable(table);
    }
    return picture.convertToFormat(QImage::Format_ARGB32);
}

QImage readGamePictureAsStored(const fs::path& path) {
    const bool xyz = textFromPath(path.extension()).compare(QLatin1String(".xyz"), Qt::CaseInsensitive) == 0;
    return withFirstColourUndrawn(xyz ? decodeXyz(QByteArray::fromStdString(readRegularFile(path, kMaxPicturePixels + (1 << 20))))
                                      : readPictureAsStored(path));
}

QImage readGamePicture(const fs::path& path) {
    return inEngineColours(readGamePictureAsStored(path));
}

}  // namespace zeilwerk
