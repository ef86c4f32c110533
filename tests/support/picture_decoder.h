// Reads a symbol picture (the clipboard's, or one embedded in a document) as
// a scanner would see it printed: enlarged three times, on white with a quiet
// zone.
#pragma once

#include "pdf417_decoder.h"

#include <QImage>
#include <QPainter>

namespace trelvanic::test {

inline DecodedSymbol DecodePDF417Picture(const QImage& picture) {
    constexpr int scale = 3, quiet = 6 * scale;
    QImage grey(picture.width() * scale + 2 * quiet, picture.height() * scale + 2 * quiet,
                QImage::Format_Grayscale8);
    grey.fill(Qt::white);
    QPainter painter(&grey);
    painter.drawImage(QRect(quiet, quiet, picture.width() * scale, picture.height() * scale),
                      picture);
    painter.end();
    return DecodePDF417Image(grey.constBits(), grey.width(), grey.height(),
                             static_cast<int>(grey.bytesPerLine()));
}

} // namespace trelvanic::test
