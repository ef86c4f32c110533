#include "window_font.h"

#include <QFontDatabase>

QFont WindowFont(int pixelSize) {
    const QString designed = QStringLiteral("MS Sans Serif");
    QFont font = QFontDatabase::hasFamily(designed)
                     ? QFont(designed)
                     : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(pixelSize);
    return font;
}
