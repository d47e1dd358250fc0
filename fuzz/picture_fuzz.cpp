#include "look/picture_file.h"

#include "core/platform/error.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

// The fuzzed bytes are a picture file, read as a bitmap and as a PNG: either a picture
// within the size limit comes out, or "Bitmap image is not valid"; nothing else.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    for (const char* format : {"bmp", "png"}) {
        try {
            const QImage image = zeilwerk::decodePicture(bytes, format);
            if (image.isNull() || image.format() != QImage::Format_RGB32 ||
                qint64(image.width()) * image.height() > zeilwerk::kMaxPicturePixels)
                std::abort();
        } catch (const zeilwerk::Error& e) {
            if (std::string_view(e.what()) != "Bitmap image is not valid")
                std::abort();
        }
    }
    return 0;
}
