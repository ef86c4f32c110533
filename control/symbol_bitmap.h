// The symbol as a 1-bit picture: built from the engine's packed bit rows and
// scaled by whole pixels, with no smoothing, for the screen and for export.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QtGlobal>

#include <cstdint>

class QPainter;

// Colour index 0 is white and 1 is black, so an engine row byte (a set bit a
// bar) is a scan-line byte as it stands. The picture starts white.
QImage NewMonoBitmap(int width, int height);

// One pixel per module, one pixel row per symbol row.
QImage SymbolBitmapFromRows(const uint8_t* rowBits, int rowWidth, int rows);

// Each module dotSize pixels wide and lineHeight x dotSize pixels high; in
// 64 bits because a large dot size overflows int.
struct TScaledSize {
    qint64 Width;
    qint64 Height;
};
TScaledSize ScaledSymbolSize(const QImage& symbol, int dotSize, int lineHeight);

// The symbol enlarged to ScaledSymbolSize. Throws Exception when a picture of
// that size cannot be held.
QImage ScaleSymbolBitmap(const QImage& symbol, int dotSize, int lineHeight);

// Paints the symbol's black modules at that scale with its top-left corner at
// origin; only what falls inside clip is drawn.
void DrawSymbolBitmap(QPainter& painter, const QImage& symbol, QPoint origin, int dotSize,
                      int lineHeight, const QRect& clip);
