// A graphic control that shows the PDF417 symbol of its text. Whenever the
// text or an encoding option changes it encodes the text again; painting and
// export only scale the kept symbol.
#pragma once

#include "pdf417_options.h"
#include "string_list.h"

#include <QImage>
#include <QWidget>

// The message of the exception raised when the text does not fit one symbol.
inline constexpr char TextTooBigMessage[] = "The text is too big";

class TPDF417Barcode : public QWidget {
    Q_OBJECT
    Q_PROPERTY(TStringList* Lines READ Lines)
    Q_PROPERTY(int ErrorLevel READ ErrorLevel WRITE SetErrorLevel)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(TPDF417Options Options READ Options WRITE SetOptions)
    Q_PROPERTY(int FixedColumn READ FixedColumn WRITE SetFixedColumn)
    Q_PROPERTY(int FixedRow READ FixedRow WRITE SetFixedRow)
    Q_PROPERTY(int LineHeight READ LineHeight WRITE SetLineHeight)
    Q_PROPERTY(int DotSize READ DotSize WRITE SetDotSize)

public:
    // Starts with the one line "PDF417 BARCODE" and its symbol.
    explicit TPDF417Barcode(QWidget* owner = nullptr);

    // Every change of the lines encodes again; "The text is too big" from
    // that encoding reaches the caller of the change as Exception.
    TStringList* Lines() { return &FLines; }
    void SetLines(const TStringList& lines);

    // Used unless Options holds poAutoErrorLevel. Outside 0..8 it is stored as 0.
    int ErrorLevel() const { return FErrorLevel; }
    void SetErrorLevel(int value);

    // When on, painting sizes the control to the scaled symbol.
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);

    TPDF417Options Options() const { return FOptions; }
    void SetOptions(TPDF417Options value);

    // Negative values are stored as 0.
    int FixedColumn() const { return FFixedColumn; }
    void SetFixedColumn(int value);
    int FixedRow() const { return FFixedRow; }
    void SetFixedRow(int value);

    // A module's height in module widths, 1..10; other values are stored as 3.
    int LineHeight() const { return FLineHeight; }
    void SetLineHeight(int value);

    // A module's width in pixels; below 1 it is stored as 1.
    int DotSize() const { return FDotSize; }
    void SetDotSize(int value);

    // The symbol scaled by DotSize across and LineHeight x DotSize down, with
    // no margin; 0 x 0 when there is no symbol. Owned by the control and valid
    // until the next call or the control's destruction. Throws Exception when
    // the scaled picture is too large to hold.
    const QImage& GetExportBitmap();

    // One pixel per module and per row, black for a bar; 0 x 0 for no text.
    const QImage& SymbolBitmap() const { return FSymbol; }

signals:
    // The symbol bitmap was replaced: after an encoding that succeeded, or
    // emptied for an empty text.
    void Regenerated();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Encodes the joined lines into the symbol bitmap. Throws Exception("The
    // text is too big") and keeps the previous symbol when the text does not fit.
    void Regenerate();

    TStringList FLines;
    int FErrorLevel = 3;
    bool FAutoSize = true;
    TPDF417Options FOptions{poAutoErrorLevel};
    int FFixedColumn = 0;
    int FFixedRow = 0;
    int FLineHeight = 3;
    int FDotSize = 1;
    QImage FSymbol;
    QImage FExportBitmap;
};
