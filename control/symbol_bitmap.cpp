#include "symbol_bitmap.h"

#include "exception.h"

#include <QPainter>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

bool IsBlack(const uchar* line, int x) {
    return ((line[x >> 3] >> (7 - (x & 7))) & 1) != 0;
}

// Sets the bits [from, to) of a scan line, most significant bit first.
void SetBits(uchar* line, qint64 from, qint64 to) {
    qint64 bit = from;
    for (; bit < to && bit % 8 != 0; ++bit)
        line[bit / 8] |= static_cast<uchar>(0x80u >> (bit % 8));
    const qint64 wholeBytes = (to - bit) / 8;
    std::memset(line + bit / 8, 0xFF, static_cast<size_t>(wholeBytes));
    for (bit += wholeBytes * 8; bit < to; ++bit)
        line[bit / 8] |= static_cast<uchar>(0x80u >> (bit % 8));
}

// Calls action(start, end) for every run of black pixels [start, end) of row y.
template <typename Action> void ForEachBlackRun(const QImage& symbol, int y, Action action) {
    const uchar* line = symbol.constScanLine(y);
    int x = 0;
    while (x < symbol.width()) {
        if (!IsBlack(line, x)) {
            ++x;
            continue;
        }
        const int start = x;
        while (x < symbol.width() && IsBlack(line, x))
            ++x;
        action(start, x);
    }
}

} // namespace

QImage NewMonoBitmap(int width, int height) {
    QImage bitmap(width, height, QImage::Format_Mono);
    if (bitmap.isNull()) return bitmap;
    bitmap.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    bitmap.fill(0);
    return bitmap;
}

QImage SymbolBitmapFromRows(const uint8_t* rowBits, int rowWidth, int rows) {
    QImage symbol = NewMonoBitmap(rowWidth, rows);
    const int bytesPerRow = rowWidth / 8 + (rowWidth % 8 != 0 ? 1 : 0);
    // The bits after RowWidth in a row's last byte are not modules.
    const uchar lastByteMask = static_cast<uchar>(0xFFu << ((8 - rowWidth % 8) % 8));
    for (int y = 0; y < rows; ++y) {
        uchar* line = symbol.scanLine(y);
        std::memcpy(line, rowBits + static_cast<size_t>(y) * bytesPerRow, bytesPerRow);
        line[bytesPerRow - 1] &= lastByteMask;
    }
    return symbol;
}

TScaledSize ScaledSymbolSize(const QImage& symbol, int dotSize, int lineHeight) {
    return {qint64{symbol.width()} * dotSize, qint64{symbol.height()} * lineHeight * dotSize};
}

QImage ScaleSymbolBitmap(const QImage& symbol, int dotSize, int lineHeight) {
    const TScaledSize size = ScaledSymbolSize(symbol, dotSize, lineHeight);
    if (size.Width == 0 || size.Height == 0) return QImage();
    constexpr qint64 maxSide = std::numeric_limits<int>::max();
    QImage scaled;
    if (size.Width <= maxSide && size.Height <= maxSide)
        scaled = NewMonoBitmap(static_cast<int>(size.Width), static_cast<int>(size.Height));
    if (scaled.isNull()) throw Exception("The export bitmap is too big");

    const int moduleHeight = static_cast<int>(size.Height / symbol.height());
    const size_t lineBytes = static_cast<size_t>(scaled.bytesPerLine());
    for (int y = 0; y < symbol.height(); ++y) {
        const int top = y * moduleHeight;
        uchar* first = scaled.scanLine(top);
        ForEachBlackRun(symbol, y, [&](int start, int end) {
            SetBits(first, qint64{start} * dotSize, qint64{end} * dotSize);
        });
        for (int row = 1; row < moduleHeight; ++row)
            std::memcpy(scaled.scanLine(top + row), first, lineBytes);
    }
    return scaled;
}

void DrawSymbolBitmap(QPainter& painter, const QImage& symbol, QPoint origin, int dotSize,
                      int lineHeight, const QRect& clip) {
    const qint64 moduleHeight = qint64{lineHeight} * dotSize;
    for (int y = 0; y < symbol.height(); ++y) {
        const qint64 top = std::max<qint64>(origin.y() + y * moduleHeight, clip.top());
        const qint64 bottom =
            std::min<qint64>(origin.y() + (y + 1) * moduleHeight, qint64{clip.bottom()} + 1);
        if (top >= bottom) continue;
        ForEachBlackRun(symbol, y, [&](int start, int end) {
            const qint64 left = std::max<qint64>(origin.x() + start * qint64{dotSize}, clip.left());
            const qint64 right =
                std::min<qint64>(origin.x() + end * qint64{dotSize}, qint64{clip.right()} + 1);
            if (left >= right) return;
            painter.fillRect(QRect(static_cast<int>(left), static_cast<int>(top),
                                   static_cast<int>(right - left), static_cast<int>(bottom - top)),
                             Qt::black);
        });
    }
}
