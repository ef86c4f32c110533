#include "pdf417_barcode.h"

#include "exception.h"
#include "pdf417.h"
#include "symbol_bitmap.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <memory>

namespace {

constexpr int DefaultLineHeight = 3;
constexpr int MaxLineHeight = 10;

QByteArray JoinLines(const TStringList& lines) {
    QByteArray text;
    for (int i = 0; i < lines.Count(); ++i) {
        if (i > 0) text += "\r\n";
        text += lines.Strings(i);
    }
    return text;
}

uint32_t ShapeFlags(TPDF417Options options) {
    const bool columns = options.Contains(poFixedColumn);
    const bool rows = options.Contains(poFixedRow);
    if (columns && rows) return efFixedRectangle;
    if (columns) return efFixedColumns;
    if (rows) return efFixedRows;
    return 0;
}

} // namespace

TPDF417Barcode::TPDF417Barcode(QWidget* owner) : QWidget(owner) {
    // Paint covers the whole client area itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    FLines.Add("PDF417 BARCODE");
    // Bound after the first line so that the constructor encodes only once.
    FLines.SetOnChange([this] { Regenerate(); });
    Regenerate();
}

void TPDF417Barcode::SetLines(const TStringList& lines) {
    FLines.Assign(lines);
}

void TPDF417Barcode::SetErrorLevel(int value) {
    FErrorLevel = value >= 0 && value <= PDF417MaxErrorLevelValue ? value : 0;
    Regenerate();
}

void TPDF417Barcode::SetAutoSize(bool value) {
    FAutoSize = value;
    if (value) update();
}

void TPDF417Barcode::SetOptions(TPDF417Options value) {
    FOptions = value;
    Regenerate();
}

void TPDF417Barcode::SetFixedColumn(int value) {
    FFixedColumn = std::max(value, 0);
    if (FOptions.Contains(poFixedColumn)) Regenerate();
}

void TPDF417Barcode::SetFixedRow(int value) {
    FFixedRow = std::max(value, 0);
    if (FOptions.Contains(poFixedRow)) Regenerate();
}

void TPDF417Barcode::SetLineHeight(int value) {
    FLineHeight = value >= 1 && value <= MaxLineHeight ? value : DefaultLineHeight;
    update();
}

void TPDF417Barcode::SetDotSize(int value) {
    FDotSize = std::max(value, 1);
    update();
}

const QImage& TPDF417Barcode::GetExportBitmap() {
    FExportBitmap = ScaleSymbolBitmap(FSymbol, FDotSize, FLineHeight);
    return FExportBitmap;
}

void TPDF417Barcode::Regenerate() {
    const QByteArray text = JoinLines(FLines);
    if (text.isEmpty()) {
        FSymbol = QImage();
        update();
        emit Regenerated();
        return;
    }
    // Checked here as well as in the engine, because DataLength is 32-bit.
    if (text.size() > PDF417MaxDataLength) throw Exception(TextTooBigMessage);

    TPDF417Param param{};
    PDF417InitParam(&param);
    const std::unique_ptr<TPDF417Param, void (*)(TPDF417Param*)> release(&param, PDF417FreeParam);
    // The real length, not the zero-terminated default: a zero byte inside
    // the text must be encoded, not end it.
    param.Data = reinterpret_cast<const uint8_t*>(text.constData());
    param.DataLength = static_cast<int32_t>(text.size());
    if (FOptions.Contains(poAutoErrorLevel)) {
        param.Flags |= efAutoErrorLevel;
    } else {
        param.Flags |= efUseErrorLevel;
        param.ErrorLevel = FErrorLevel;
    }
    param.Columns = FFixedColumn;
    param.Rows = FFixedRow;
    param.Flags |= ShapeFlags(FOptions);

    PDF417Encode(&param);
    if (param.ErrorCode == ecTextTooLong) throw Exception(TextTooBigMessage);
    // The control never hands over raw codewords, so no other code is expected;
    // should one come, the previous symbol stays.
    if (param.ErrorCode != ecSuccess) return;

    FSymbol = SymbolBitmapFromRows(param.RowBits, param.RowWidth, param.Rows);
    update();
    emit Regenerated();
}

void TPDF417Barcode::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (FSymbol.isNull()) return;

    const TScaledSize size = ScaledSymbolSize(FSymbol, FDotSize, FLineHeight);
    if (FAutoSize) {
        resize(static_cast<int>(std::min<qint64>(size.Width, QWIDGETSIZE_MAX)),
               static_cast<int>(std::min<qint64>(size.Height, QWIDGETSIZE_MAX)));
    }
    // Centred only when the control is larger in both directions.
    QPoint origin(0, 0);
    if (size.Width < width() && size.Height < height()) {
        origin = QPoint(static_cast<int>((width() - size.Width) / 2),
                        static_cast<int>((height() - size.Height) / 2));
    }
    DrawSymbolBitmap(painter, FSymbol, origin, FDotSize, FLineHeight, event->rect() & rect());
}
