#include "exception.h"
#include "pdf417.h"
#include "pdf417_barcode.h"
#include "pdf417_decoder.h"

#include <QApplication>
#include <QPainter>
#include <QWindow>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using trelvanic::test::DecodedSymbol;
using trelvanic::test::DecodePDF417Image;
using trelvanic::test::Hex;

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override { FApplication = std::make_unique<QApplication>(FArgc, FArgv); }
    void TearDown() override { FApplication.reset(); }

private:
    int FArgc = 1;
    char FName[8] = "control";
    char* FArgv[2] = {FName, nullptr};
    std::unique_ptr<QApplication> FApplication;
};

[[maybe_unused]] ::testing::Environment* const Qt =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

std::vector<uint8_t> Bytes(const QByteArray& text) {
    return {text.begin(), text.end()};
}

bool IsBlack(const QImage& image, int x, int y) {
    return (image.pixel(x, y) & 0xFFFFFF) == 0;
}

// Reads the symbol bitmap by its pixel colours, enlarged 3 x 9 with a quiet
// zone, as a scanner would see it printed.
DecodedSymbol DecodeSymbol(const QImage& symbol) {
    constexpr int dot = 3, rowHeight = 9, quiet = 2 * dot;
    const int width = symbol.width() * dot + 2 * quiet;
    const int height = symbol.height() * rowHeight + 2 * quiet;
    std::vector<uint8_t> grey(static_cast<size_t>(width) * height, 255);
    for (int y = 0; y < height - 2 * quiet; ++y)
        for (int x = 0; x < width - 2 * quiet; ++x)
            if (IsBlack(symbol, x / dot, y / rowHeight))
                grey[static_cast<size_t>(y + quiet) * width + x + quiet] = 0;
    return DecodePDF417Image(grey.data(), width, height, width);
}

// What the control must show: white, and the symbol's modules as blocks of
// dot x (lineHeight x dot) pixels from origin on.
QImage ExpectedPicture(QSize size, const QImage& symbol, QPoint origin, int dot, int lineHeight) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const int mx = (x - origin.x()) / dot;
            const int my = (y - origin.y()) / (dot * lineHeight);
            if (x >= origin.x() && y >= origin.y() && mx < symbol.width() && my < symbol.height() &&
                IsBlack(symbol, mx, my))
                picture.setPixel(x, y, qRgb(0, 0, 0));
        }
    return picture;
}

// Reports the first differing pixel, which says more than a bare false.
::testing::AssertionResult SamePixels(const QImage& actual, const QImage& expected) {
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure()
               << "size " << actual.width() << "x" << actual.height() << ", expected "
               << expected.width() << "x" << expected.height();
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if ((actual.pixel(x, y) & 0xFFFFFF) != (expected.pixel(x, y) & 0xFFFFFF))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") differs";
    return ::testing::AssertionSuccess();
}

// Paints the control as it stands, on a red ground that any unpainted pixel shows.
QImage Render(TPDF417Barcode& barcode) {
    QImage picture(barcode.size(), QImage::Format_RGB32);
    picture.fill(Qt::red);
    barcode.render(&picture);
    return picture;
}

TEST(PDF417BarcodeTest, FreshControlShowsPDF417Barcode) {
    TPDF417Barcode barcode;

    ASSERT_EQ(barcode.Lines()->Count(), 1);
    EXPECT_EQ(barcode.Lines()->Strings(0), "PDF417 BARCODE");
    EXPECT_TRUE(barcode.AutoSize());
    EXPECT_EQ(barcode.ErrorLevel(), 3);
    EXPECT_EQ(barcode.Options(), TPDF417Options{poAutoErrorLevel});
    EXPECT_EQ(barcode.FixedColumn(), 0);
    EXPECT_EQ(barcode.FixedRow(), 0);
    EXPECT_EQ(barcode.LineHeight(), 3);
    EXPECT_EQ(barcode.DotSize(), 1);

    const QImage& symbol = barcode.SymbolBitmap();
    EXPECT_EQ(symbol.format(), QImage::Format_Mono);
    EXPECT_EQ(symbol.size(), QSize(86, 17));
    const DecodedSymbol decoded = DecodeSymbol(symbol);
    ASSERT_TRUE(decoded.Ok) << decoded.Error;
    EXPECT_EQ(Hex(decoded.Bytes), Hex(Bytes("PDF417 BARCODE")));
}

// Every module of the bitmap is the engine's bit: black for a set bit, in
// row order, most significant bit first.
TEST(PDF417BarcodeTest, SymbolBitmapIsTheEnginesRows) {
    TPDF417Barcode barcode;
    const QByteArray text = "PDF417 BARCODE";
    TPDF417Param param{};
    PDF417InitParam(&param);
    param.Data = reinterpret_cast<const uint8_t*>(text.constData());
    param.DataLength = static_cast<int32_t>(text.size());
    param.Flags = efAutoErrorLevel;
    PDF417Encode(&param);
    ASSERT_EQ(param.ErrorCode, ecSuccess);

    const QImage& symbol = barcode.SymbolBitmap();
    ASSERT_EQ(symbol.size(), QSize(param.RowWidth, param.Rows));
    const int bytesPerRow = (param.RowWidth + 7) / 8;
    for (int y = 0; y < param.Rows; ++y)
        for (int x = 0; x < param.RowWidth; ++x) {
            const bool bar = (param.RowBits[y * bytesPerRow + x / 8] >> (7 - x % 8)) & 1;
            ASSERT_EQ(IsBlack(symbol, x, y), bar) << "module (" << x << ", " << y << ")";
        }
    PDF417FreeParam(&param);
}

// The options and level become the engine's flags. "PDF417 BARCODE" is 9 data
// codewords; the automatic level for it is 2.
TEST(PDF417BarcodeTest, OptionsShapeTheSymbol) {
    struct Case {
        const char* Name;
        TPDF417Options Options;
        int ErrorLevel, FixedColumn, FixedRow;
        QSize Symbol;
    };
    const Case cases[] = {
        // The main window's settings: level 3 in 7 columns, 25 codewords in 7 x 4.
        {"main window", {poFixedColumn}, 3, 7, 0, {188, 4}},
        {"automatic level", {poAutoErrorLevel, poFixedColumn}, 3, 7, 0, {188, 3}},
        {"level 5", {poFixedColumn}, 5, 7, 0, {188, 11}},
        {"fixed rows", {poAutoErrorLevel, poFixedRow}, 3, 0, 3, {171, 3}},
        {"fixed rectangle", {poAutoErrorLevel, poFixedColumn, poFixedRow}, 3, 10, 10, {239, 10}},
        {"automatic shape ignores the fixed values", {poAutoErrorLevel}, 3, 7, 20, {86, 17}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TPDF417Barcode barcode;
        barcode.SetFixedColumn(c.FixedColumn);
        barcode.SetFixedRow(c.FixedRow);
        barcode.SetErrorLevel(c.ErrorLevel);
        barcode.SetOptions(c.Options);

        EXPECT_EQ(barcode.SymbolBitmap().size(), c.Symbol);
        const DecodedSymbol decoded = DecodeSymbol(barcode.SymbolBitmap());
        ASSERT_TRUE(decoded.Ok) << decoded.Error;
        EXPECT_EQ(Hex(decoded.Bytes), Hex(Bytes("PDF417 BARCODE")));
    }
}

// A form loader writes the published properties by name after construction.
TEST(PDF417BarcodeTest, PublishedPropertiesWriteThroughTheirWriters) {
    TPDF417Barcode barcode;
    ASSERT_TRUE(barcode.setProperty("Options", QVariant::fromValue(TPDF417Options{poFixedColumn})));
    ASSERT_TRUE(barcode.setProperty("FixedColumn", 7));
    ASSERT_TRUE(barcode.setProperty("LineHeight", 2));
    ASSERT_TRUE(barcode.setProperty("DotSize", 0));
    ASSERT_TRUE(barcode.setProperty("AutoSize", false));

    EXPECT_EQ(barcode.SymbolBitmap().size(), QSize(188, 4));
    EXPECT_EQ(barcode.GetExportBitmap().size(), QSize(188, 8));
    EXPECT_EQ(barcode.property("DotSize").toInt(), 1);
    EXPECT_EQ(barcode.property("Options").value<TPDF417Options>(), TPDF417Options{poFixedColumn});
    EXPECT_EQ(barcode.property("Lines").value<TStringList*>(), barcode.Lines());
}

TEST(PDF417BarcodeTest, FixedColumnWrittenWithoutItsOptionWaitsForTheNextEncoding) {
    TPDF417Barcode barcode;
    barcode.SetFixedColumn(7);
    EXPECT_EQ(barcode.SymbolBitmap().size(), QSize(86, 17));
    barcode.SetOptions({poFixedColumn});
    EXPECT_EQ(barcode.SymbolBitmap().size(), QSize(188, 4));
}

TEST(PDF417BarcodeTest, LinesAreJoinedWithCrLfAndEncodedWhole) {
    struct Case {
        const char* Name;
        QList<QByteArray> Lines;
        QByteArray Encoded;
    };
    const Case cases[] = {
        {"two lines", {"A", "B"}, "A\r\nB"},
        {"two empty lines", {"", ""}, "\r\n"},
        {"empty last line", {"A", ""}, "A\r\n"},
        {"zero byte inside", {QByteArray("AB\0CD", 5)}, QByteArray("AB\0CD", 5)},
        {"zero first byte", {QByteArray("\0X", 2)}, QByteArray("\0X", 2)},
        {"GBK record", {"GB0626-2005^\xB9\xAB\xCE\xC4^|"}, "GB0626-2005^\xB9\xAB\xCE\xC4^|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TPDF417Barcode barcode;
        TStringList lines;
        for (const QByteArray& line : c.Lines)
            lines.Add(line);
        barcode.SetLines(lines);

        const DecodedSymbol decoded = DecodeSymbol(barcode.SymbolBitmap());
        ASSERT_TRUE(decoded.Ok) << decoded.Error;
        EXPECT_EQ(Hex(decoded.Bytes), Hex(Bytes(c.Encoded)));
    }
}

TEST(PDF417BarcodeTest, EmptyTextLeavesNoSymbolAndPaintsWhite) {
    const std::pair<const char*, std::function<void(TStringList&)>> cases[] = {
        {"no lines", [](TStringList& lines) { lines.Clear(); }},
        {"one empty line",
         [](TStringList& lines) {
             lines.Clear();
             lines.Add("");
         }},
    };
    for (const auto& [name, empty] : cases) {
        SCOPED_TRACE(name);
        TPDF417Barcode barcode;
        barcode.resize(40, 30);
        empty(*barcode.Lines());

        EXPECT_TRUE(barcode.SymbolBitmap().isNull());
        EXPECT_EQ(barcode.GetExportBitmap().size(), QSize(0, 0));
        const QImage painted = Render(barcode);
        EXPECT_EQ(barcode.size(), QSize(40, 30)) << "AutoSize has nothing to size to";
        EXPECT_TRUE(SamePixels(painted, ExpectedPicture({40, 30}, QImage(), {}, 1, 1)));
    }
}

TEST(PDF417BarcodeTest, ExportBitmapIsTheSymbolScaled) {
    struct Case {
        int DotSize, LineHeight;
        QSize Export;
    };
    const Case cases[] = {
        {1, 3, {86, 51}}, {2, 3, {172, 102}}, {3, 1, {258, 51}}, {1, 1, {86, 17}}};
    TPDF417Barcode barcode;
    barcode.resize(5, 5);
    const QImage symbol = barcode.SymbolBitmap();
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "DotSize " << c.DotSize << " LineHeight " << c.LineHeight);
        barcode.SetDotSize(c.DotSize);
        barcode.SetLineHeight(c.LineHeight);

        const QImage& exported = barcode.GetExportBitmap();
        EXPECT_EQ(exported.format(), QImage::Format_Mono);
        EXPECT_TRUE(SamePixels(exported,
                               ExpectedPicture(c.Export, symbol, {0, 0}, c.DotSize, c.LineHeight)));
        EXPECT_EQ(barcode.size(), QSize(5, 5)) << "the export leaves the control alone";
    }
}

TEST(PDF417BarcodeTest, ExportTooLargeToHoldIsRefused) {
    TPDF417Barcode barcode;
    barcode.SetAutoSize(false);
    barcode.resize(50, 50);
    barcode.SetDotSize(INT_MAX);

    try {
        barcode.GetExportBitmap();
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "The export bitmap is too big");
    }
    // On screen the visible corner is still drawn: the first module is a bar.
    const QImage painted = Render(barcode);
    EXPECT_TRUE(IsBlack(painted, 0, 0));
    EXPECT_TRUE(IsBlack(painted, 49, 49));
}

TEST(PDF417BarcodeTest, PropertyWritesClampSilently) {
    struct Case {
        const char* Property;
        void (TPDF417Barcode::*Set)(int);
        int (TPDF417Barcode::*Get)() const;
        int Written, Stored;
    };
    const Case cases[] = {
        {"ErrorLevel", &TPDF417Barcode::SetErrorLevel, &TPDF417Barcode::ErrorLevel, 9, 0},
        {"ErrorLevel", &TPDF417Barcode::SetErrorLevel, &TPDF417Barcode::ErrorLevel, -1, 0},
        {"ErrorLevel", &TPDF417Barcode::SetErrorLevel, &TPDF417Barcode::ErrorLevel, 8, 8},
        {"LineHeight", &TPDF417Barcode::SetLineHeight, &TPDF417Barcode::LineHeight, 0, 3},
        {"LineHeight", &TPDF417Barcode::SetLineHeight, &TPDF417Barcode::LineHeight, 11, 3},
        {"LineHeight", &TPDF417Barcode::SetLineHeight, &TPDF417Barcode::LineHeight, 10, 10},
        {"LineHeight", &TPDF417Barcode::SetLineHeight, &TPDF417Barcode::LineHeight, 1, 1},
        {"DotSize", &TPDF417Barcode::SetDotSize, &TPDF417Barcode::DotSize, 0, 1},
        {"DotSize", &TPDF417Barcode::SetDotSize, &TPDF417Barcode::DotSize, -4, 1},
        {"DotSize", &TPDF417Barcode::SetDotSize, &TPDF417Barcode::DotSize, 2, 2},
        {"FixedColumn", &TPDF417Barcode::SetFixedColumn, &TPDF417Barcode::FixedColumn, -5, 0},
        {"FixedColumn", &TPDF417Barcode::SetFixedColumn, &TPDF417Barcode::FixedColumn, 40, 40},
        {"FixedRow", &TPDF417Barcode::SetFixedRow, &TPDF417Barcode::FixedRow, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.Property << " " << c.Written);
        TPDF417Barcode barcode;
        (barcode.*c.Set)(c.Written);
        EXPECT_EQ((barcode.*c.Get)(), c.Stored);
    }
}

// Counts paint events of a widget.
class PaintCounter : public QObject {
public:
    int Paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++Paints;
        return QObject::eventFilter(watched, event);
    }
};

// Delivers the pending update requests; the control is shown, so each
// requested repaint arrives as a paint event.
void DeliverPaints() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

TEST(PDF417BarcodeTest, WritesRegenerateOrOnlyRepaint) {
    struct Case {
        const char* Name;
        TPDF417Options Options;
        std::function<void(TPDF417Barcode&)> Write;
        int Encodings;
        bool Repaints;
    };
    const Case cases[] = {
        {"ErrorLevel under the automatic level",
         {poAutoErrorLevel},
         [](auto& b) { b.SetErrorLevel(5); },
         1,
         true},
        {"Options", {poAutoErrorLevel}, [](auto& b) { b.SetOptions({}); }, 1, true},
        {"FixedColumn with poFixedColumn",
         {poFixedColumn},
         [](auto& b) { b.SetFixedColumn(4); },
         1,
         true},
        {"FixedColumn without it", {poFixedRow}, [](auto& b) { b.SetFixedColumn(4); }, 0, false},
        {"FixedRow with poFixedRow", {poFixedRow}, [](auto& b) { b.SetFixedRow(6); }, 1, true},
        {"FixedRow without it", {poFixedColumn}, [](auto& b) { b.SetFixedRow(6); }, 0, false},
        {"LineHeight", {}, [](auto& b) { b.SetLineHeight(2); }, 0, true},
        {"DotSize", {}, [](auto& b) { b.SetDotSize(2); }, 0, true},
        {"AutoSize True", {}, [](auto& b) { b.SetAutoSize(true); }, 0, true},
        {"AutoSize False", {}, [](auto& b) { b.SetAutoSize(false); }, 0, false},
        {"Lines add", {}, [](auto& b) { b.Lines()->Add("more"); }, 1, true},
        {"Lines clear", {}, [](auto& b) { b.Lines()->Clear(); }, 1, true},
        {"SetLines of three lines",
         {},
         [](auto& b) {
             TStringList lines;
             for (const char* line : {"1", "2", "3"})
                 lines.Add(line);
             b.SetLines(lines);
         },
         1,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        QWidget window;
        window.resize(300, 200);
        auto* barcode = new TPDF417Barcode(&window);
        barcode->SetAutoSize(false);
        barcode->setGeometry(10, 10, 200, 100);
        barcode->SetOptions(c.Options);
        window.show();
        DeliverPaints();
        ASSERT_TRUE(window.windowHandle()->isExposed());

        int encodings = 0;
        QObject::connect(barcode, &TPDF417Barcode::Regenerated, [&] { ++encodings; });
        PaintCounter counter;
        barcode->installEventFilter(&counter);

        c.Write(*barcode);
        DeliverPaints();

        EXPECT_EQ(encodings, c.Encodings);
        EXPECT_EQ(counter.Paints > 0, c.Repaints) << counter.Paints << " paints";
    }
}

TEST(PDF417BarcodeTest, TextTooBigKeepsThePreviousSymbol) {
    QByteArray binary(1200, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>(i * 37 + 11);
    const std::pair<const char*, QByteArray> cases[] = {
        {"more than 5420 bytes", QByteArray(5421, 'A')},
        {"more than 926 codewords", binary},
    };
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name);
        QWidget window;
        auto* barcode = new TPDF417Barcode(&window);
        window.show();
        DeliverPaints();
        const QImage before = barcode->SymbolBitmap().copy();
        int encodings = 0;
        QObject::connect(barcode, &TPDF417Barcode::Regenerated, [&] { ++encodings; });
        PaintCounter counter;
        barcode->installEventFilter(&counter);

        try {
            barcode->Lines()->Add(text);
            FAIL() << "no exception";
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), "The text is too big");
        }
        DeliverPaints();

        EXPECT_EQ(barcode->Lines()->Count(), 2) << "the line stays in Lines";
        EXPECT_EQ(barcode->SymbolBitmap(), before);
        EXPECT_EQ(encodings, 0);
        EXPECT_EQ(counter.Paints, 0);
    }
}

TEST(PDF417BarcodeTest, SymbolIsCentredOnlyWhenTheControlIsLargerBothWays) {
    // DotSize 2 and LineHeight 2 scale the 86 x 17 symbol to 172 x 68.
    struct Case {
        QSize Control;
        QPoint Origin;
    };
    const Case cases[] = {
        {{200, 100}, {14, 16}}, {{201, 101}, {14, 16}}, {{172, 100}, {0, 0}},
        {{200, 68}, {0, 0}},    {{300, 50}, {0, 0}},    {{100, 40}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.Control.width() << " x " << c.Control.height());
        TPDF417Barcode barcode;
        barcode.SetAutoSize(false);
        barcode.SetDotSize(2);
        barcode.SetLineHeight(2);
        barcode.resize(c.Control);

        const QImage painted = Render(barcode);
        EXPECT_EQ(barcode.size(), c.Control);
        EXPECT_TRUE(SamePixels(painted,
                               ExpectedPicture(c.Control, barcode.SymbolBitmap(), c.Origin, 2, 2)));
    }
}

TEST(PDF417BarcodeTest, AutoSizeSizesTheControlToTheSymbolOnPaint) {
    TPDF417Barcode barcode;
    barcode.SetDotSize(2);
    barcode.resize(300, 300);

    Render(barcode);
    ASSERT_EQ(barcode.size(), QSize(172, 102));
    EXPECT_TRUE(SamePixels(Render(barcode),
                           ExpectedPicture({172, 102}, barcode.SymbolBitmap(), {0, 0}, 2, 3)));

    barcode.SetAutoSize(false);
    barcode.SetDotSize(1);
    Render(barcode);
    EXPECT_EQ(barcode.size(), QSize(172, 102)) << "AutoSize False leaves the size alone";
}

} // namespace
