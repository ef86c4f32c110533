#include "cli_runner.h"
#include "document_record.h"
#include "gbk_codec.h"
#include "pdf417.h"
#include "pdf417_decoder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using trelvanic::test::CliResult;
using trelvanic::test::DecodedSymbol;
using trelvanic::test::RunCli;

const std::string Acceptance = "PDF417 BARCODE";

std::string Repeated(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i)
        result += text;
    return result;
}

std::map<std::string, std::string> InfoItems(const std::string& info) {
    std::map<std::string, std::string> items;
    size_t start = 0;
    while (start < info.size()) {
        const size_t end = info.find('\n', start);
        const std::string line = info.substr(start, end - start);
        const size_t space = line.find(' ');
        // Row lines repeat their key; keep them all, in order, under "row".
        std::string& value = items[line.substr(0, space)];
        value += (value.empty() ? "" : " ") + line.substr(space + 1);
        start = end == std::string::npos ? info.size() : end + 1;
    }
    return items;
}

// The engine called directly: what the tool must report for the same input.
struct EngineResult {
    std::string Info;
    int Rows = 0, Columns = 0, Level = 0;
};

EngineResult EncodeDirectly(const std::string& data, uint32_t flags, int32_t columns = 0,
                            int32_t rows = 0, int32_t level = 0, double aspect = 0.5,
                            double rowHeightRatio = 3.0) {
    TPDF417Param param{};
    PDF417InitParam(&param);
    param.Data = reinterpret_cast<const uint8_t*>(data.data());
    param.DataLength = static_cast<int32_t>(data.size());
    param.Flags = flags;
    param.Columns = columns;
    param.Rows = rows;
    param.ErrorLevel = level;
    param.AspectRatio = aspect;
    param.RowHeightRatio = rowHeightRatio;
    PDF417Encode(&param);
    EngineResult result{"error " + std::to_string(param.ErrorCode) + "\n", param.Rows,
                        param.Columns, param.ErrorLevel};
    if (param.ErrorCode != 0) return result;
    result.Info += "rows " + std::to_string(param.Rows) + "\ncolumns " +
                   std::to_string(param.Columns) + "\nlevel " + std::to_string(param.ErrorLevel) +
                   "\ndata_length " + std::to_string(param.DataLength) + "\nrow_width " +
                   std::to_string(param.RowWidth) + "\ncodewords";
    for (int i = 0; i < param.Rows * param.Columns; ++i)
        result.Info += " " + std::to_string(param.Codewords[i]);
    result.Info += "\n";
    const int bytesPerRow = param.RowBitsSize / param.Rows;
    for (int row = 0; row < param.Rows; ++row) {
        std::vector<uint8_t> bytes(param.RowBits + row * bytesPerRow,
                                   param.RowBits + (row + 1) * bytesPerRow);
        std::string hex = trelvanic::test::Hex(bytes);
        std::erase(hex, ' ');
        result.Info += "row " + hex + "\n";
    }
    PDF417FreeParam(&param);
    return result;
}

TEST(CliEncode, ReportsTheSymbolOfEveryInputKind) {
    QTemporaryDir dir;
    const std::string file = dir.filePath("input.txt").toStdString();
    {
        QFile f(QString::fromStdString(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Acceptance.data(), static_cast<qint64>(Acceptance.size()));
    }
    const EngineResult expected = EncodeDirectly(Acceptance, 0);
    ASSERT_EQ(expected.Rows, 17);
    ASSERT_EQ(expected.Columns, 1);
    ASSERT_EQ(expected.Level, 2);

    const struct {
        const char* Name;
        std::vector<std::string> Args;
        std::string Input;
    } cases[] = {
        {"standard input", {"encode"}, Acceptance},
        {"dash", {"encode", "-"}, Acceptance},
        {"file", {"encode", file}, ""},
        {"text", {"encode", "--text", Acceptance}, ""},
        {"format info", {"encode", "--format=info", "--text=" + Acceptance}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const CliResult result = RunCli(c.Args, c.Input);
        ASSERT_EQ(result.ExitCode, 0) << result.Err;
        EXPECT_EQ(result.Out, expected.Info);
    }
}

// Bytes the shell and text modes like to change: zero bytes, CR, LF, and
// bytes above 0x7F must reach the engine as they are.
TEST(CliEncode, TakesInputBytesAsTheyAre) {
    const std::string data("a\0b\r\n\xCE\xDE\n\r\xFF", 10);
    const CliResult result = RunCli({"encode"}, data);
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out, EncodeDirectly(data, 0).Info);
    EXPECT_EQ(InfoItems(result.Out)["data_length"], "10");
}

TEST(CliEncode, OptionsReachTheEngine) {
    const std::string record = BuildDocumentRecord({});
    struct Case {
        std::vector<std::string> Args;
        uint32_t Flags;
        int32_t Columns, Rows, Level;
        double Aspect = 0.5, RowHeightRatio = 3.0;
    };
    const Case cases[] = {
        {{"--shape", "columns", "--columns", "7", "--level", "3"},
         efFixedColumns | efUseErrorLevel,
         7,
         0,
         3},
        {{"--columns=7", "--level=3"}, efFixedColumns | efUseErrorLevel, 7, 0, 3},
        {{"--shape=rows", "--rows=10"}, efFixedRows, 0, 10, 0},
        {{"--rows", "10"}, efFixedRows, 0, 10, 0},
        {{"--columns", "10", "--rows", "20"}, efFixedRectangle, 10, 20, 0},
        {{"--shape", "rectangle", "--columns", "5", "--rows", "5"}, efFixedRectangle, 5, 5, 0},
        {{"--shape", "auto", "--columns", "9"}, 0, 9, 0, 0},
        {{"--aspect", "0.25"}, 0, 0, 0, 0, 0.25},
        {{"--aspect=2", "--row-height-ratio=6"}, 0, 0, 0, 0, 2.0, 6.0},
        {{"--level", "0"}, efUseErrorLevel, 0, 0, 0},
        {{"--invert"}, efInvertBitmap, 0, 0, 0},
        {{"--flags", "2", "--shape", "auto", "--columns", "4"}, efFixedColumns, 4, 0, 0},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"encode"};
        args.insert(args.end(), c.Args.begin(), c.Args.end());
        SCOPED_TRACE(testing::PrintToString(args));
        const CliResult result = RunCli(args, record);
        ASSERT_EQ(result.ExitCode, 0) << result.Err;
        EXPECT_EQ(result.Out, EncodeDirectly(record, c.Flags, c.Columns, c.Rows, c.Level, c.Aspect,
                                             c.RowHeightRatio)
                                  .Info);
    }

    const auto items = InfoItems(
        RunCli({"encode", "--shape", "columns", "--columns", "7", "--level", "3"}, Acceptance).Out);
    EXPECT_EQ(items.at("columns"), "7");
    EXPECT_EQ(items.at("rows"), "4");
    EXPECT_EQ(items.at("level"), "3");
}

TEST(CliEncode, RawCodewords) {
    CliResult result = RunCli({"encode", "--raw", " 3\t900\n900 "});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const auto items = InfoItems(result.Out);
    EXPECT_EQ(items.at("data_length"), "0");
    EXPECT_EQ(items.at("codewords").substr(0, 10), "3 900 900 ");
}

// What a user meets on each kind of mistake: the exit code and one line.
TEST(CliEncode, RefusesBadInputWithItsExitCode) {
    QTemporaryDir dir;
    const std::string missing = dir.filePath("missing.txt").toStdString();
    const std::string help = " See \"trelvanic-cli encode --help\".\n";
    struct Case {
        std::vector<std::string> Args;
        std::string Input;
        int ExitCode;
        std::string Err; // the whole of standard error
    };
    const Case cases[] = {
        // The engine's errors.
        {{"encode"}, std::string(5421, 'A'), 3, "trelvanic-cli: The text is too big\n"},
        {{"encode", "--text", std::string(5421, 'A')},
         "",
         3,
         "trelvanic-cli: The text is too big\n"},
        {{"encode"},
         std::string(1200, '\xFF'),
         3,
         "trelvanic-cli: The text is too big\n"}, // > 926 codewords
        {{"encode", "--raw", "3 1"},
         "",
         4,
         "trelvanic-cli: The raw codewords were refused: give 1 to 926 codewords, the first equal "
         "to their "
         "number, each from 0 to 928.\n"},
        {{"encode", "--raw", ""},
         "",
         4,
         "trelvanic-cli: The raw codewords were refused: give 1 to 926 codewords, the first equal "
         "to their "
         "number, each from 0 to 928.\n"},
        {{"encode", "--raw", "2 x"},
         "",
         4,
         "trelvanic-cli: The raw codeword \"x\" (codeword 2) is not a whole number.\n"},
        {{"encode", "--raw", "2 1.5"},
         "",
         4,
         "trelvanic-cli: The raw codeword \"1.5\" (codeword 2) is not a whole number.\n"},
        {{"encode", "--raw", "2 929"},
         "",
         4,
         "trelvanic-cli: The raw codeword 929 (codeword 2) is outside 0 to 928.\n"},
        {{"encode", "--raw", "-1"},
         "",
         4,
         "trelvanic-cli: The raw codeword -1 (codeword 1) is outside 0 to 928.\n"},
        {{"encode", "--raw", "927" + Repeated(" 1", 926)},
         "",
         4,
         "trelvanic-cli: The raw codewords were refused: give 1 to 926 codewords, the first equal "
         "to their "
         "number, each from 0 to 928.\n"},
        {{"encode", "--raw", "1" + Repeated(" 1", 928)},
         "",
         4,
         "trelvanic-cli: More than 928 raw codewords were given.\n"},
        // Input and output.
        {{"encode", missing},
         "",
         1,
         "trelvanic-cli: Cannot read \"" + missing + "\": No such file or directory.\n"},
        {{"encode", dir.path().toStdString()},
         "",
         1,
         "trelvanic-cli: Cannot read \"" + dir.path().toStdString() + "\": Is a directory.\n"},
        // The command line.
        {{"encode", "--colour"}, "", 2, "trelvanic-cli: Unknown option \"--colour\"." + help},
        {{"encode", "--columns"},
         "",
         2,
         "trelvanic-cli: The option \"--columns\" needs a value." + help},
        {{"encode", "--columns", "seven"},
         "",
         2,
         "trelvanic-cli: The option \"--columns\" needs a whole number from 1 to 30, not "
         "\"seven\"." +
             help},
        {{"encode", "--rows=91"},
         "",
         2,
         "trelvanic-cli: The option \"--rows\" needs a whole number from 3 to 90, not \"91\"." +
             help},
        {{"encode", "--level", "9"},
         "",
         2,
         "trelvanic-cli: The option \"--level\" needs a whole number from 0 to 8, not \"9\"." +
             help},
        {{"encode", "--aspect", "nan"},
         "",
         2,
         "trelvanic-cli: The option \"--aspect\" needs a number, not \"nan\"." + help},
        {{"encode", "--dot-size", "0"},
         "",
         2,
         "trelvanic-cli: The option \"--dot-size\" needs a whole number from 1 to 1000, not "
         "\"0\"." +
             help},
        {{"encode", "--text", "a", "--raw", "1"},
         "",
         2,
         "trelvanic-cli: Give one input: a file (or - for standard input), --text or --raw." +
             help},
        {{"encode", "-", "--text", "a"},
         "",
         2,
         "trelvanic-cli: Give one input: a file (or - for standard input), --text or --raw." +
             help},
        {{"encode", "a", "b"}, "", 2, "trelvanic-cli: Give one input file, not 2." + help},
        {{"encode", "--shape", "round"},
         "",
         2,
         "trelvanic-cli: The option \"--shape\" takes auto, columns, rows or rectangle, not "
         "\"round\"." +
             help},
        {{"encode", "--shape", "rectangle", "--rows", "5"},
         "",
         2,
         "trelvanic-cli: The shape \"rectangle\" needs --columns and --rows." + help},
        {{"encode", "--format", "gif"},
         "",
         2,
         "trelvanic-cli: The option \"--format\" takes info, png, svg or pbm, not \"gif\"." + help},
        {{"encode", "--format", "png", "--dot-size", "200"},
         Acceptance,
         2,
         "trelvanic-cli: The picture would be 18000 x 11000 pixels, more than 16384 on a side. "
         "Choose a smaller "
         "--dot-size, --line-height or --quiet-zone.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.Args).substr(0, 120));
        const CliResult result = RunCli(c.Args, c.Input);
        EXPECT_EQ(result.ExitCode, c.ExitCode);
        EXPECT_EQ(result.Err, c.Err);
        EXPECT_EQ(result.Out, "");
    }
}

// A failed run leaves the output path as it was: no partial file, no
// temporary file, an earlier file untouched.
TEST(CliEncode, FailedRunLeavesNoPartialFile) {
    QTemporaryDir dir;
    const QString existing = dir.filePath("symbol.png");
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("earlier");
    }
    const std::string missingDir = dir.filePath("no/such/folder/out.svg").toStdString();
    const std::string underFile = (existing + "/out.svg").toStdString();
    const struct {
        const char* Name;
        std::vector<std::string> Args;
        std::string Input;
        int ExitCode;
        std::string ErrContains;
    } cases[] = {
        {"text too big",
         {"encode", "--format", "png", "-o", existing.toStdString()},
         std::string(6000, 'x'),
         3,
         ""},
        {"bad raw", {"encode", "--raw", "5 1", "-o", existing.toStdString()}, "", 4, ""},
        {"usage",
         {"encode", "--format", "png", "--output", existing.toStdString(), "--quiet-zone", "-1"},
         "",
         2,
         ""},
        {"missing folder",
         {"encode", "--format", "svg", "-o", missingDir},
         Acceptance,
         1,
         missingDir},
        {"folder under a file",
         {"encode", "--format", "svg", "-o", underFile},
         Acceptance,
         1,
         underFile},
        {"folder as output",
         {"encode", "-o", dir.path().toStdString()},
         Acceptance,
         1,
         dir.path().toStdString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const CliResult result = RunCli(c.Args, c.Input);
        EXPECT_EQ(result.ExitCode, c.ExitCode);
        EXPECT_NE(result.Err.find(c.ErrContains), std::string::npos) << result.Err;
        EXPECT_EQ(
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList{"symbol.png"});
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), "earlier");
    }

    // Success replaces the earlier file whole.
    const CliResult result =
        RunCli({"encode", "--format", "png", "-o", existing.toStdString()}, Acceptance);
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_FALSE(QImage(existing).isNull());
}

TEST(CliEncode, ReportsAFullDevice) {
    CliResult result = RunCli({"encode", "-o", "/dev/full"}, Acceptance);
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_NE(result.Err.find("Cannot write \"/dev/full\""), std::string::npos) << result.Err;

    result = RunCli({"record"}, "", "/dev/full");
    EXPECT_EQ(result.ExitCode, 1);
    EXPECT_EQ(result.Err,
              "trelvanic-cli: Cannot write to standard output: No space left on device.\n");
}

// Pictures as a scanner sees them: rendered, read back by zxing-cpp, and
// decoded to the exact record bytes, CR LF and GBK included.
QImage LoadPicture(const std::string& bytes, const std::string& format) {
    const QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (format != "svg") return QImage::fromData(data, format == "png" ? "PNG" : "PBM");
    QSvgRenderer renderer(data);
    if (!renderer.isValid()) return {};
    QImage image(renderer.defaultSize(), QImage::Format_RGB32);
    image.fill(Qt::red); // an unpainted pixel must not pass for white or black
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

DecodedSymbol DecodePicture(const QImage& picture) {
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    return trelvanic::test::DecodePDF417Image(grey.constBits(), grey.width(), grey.height(),
                                              static_cast<int>(grey.bytesPerLine()));
}

TEST(CliEncode, PicturesDecodeToTheInput) {
    TDocumentFields fields;
    fields.IssuingUnit = Utf8ToGbk("某市人民政府办公厅", "test");
    fields.DocumentTitle = Utf8ToGbk("关于开展\r\n安全检查的通知", "test");
    fields.SecrecyLevel = Utf8ToGbk("秘密", "test");
    fields.DocumentDate = "20261211";
    const std::string record = BuildDocumentRecord(fields);
    const std::vector<uint8_t> expected(record.begin(), record.end());
    const std::string info = RunCli({"encode", "--columns", "7", "--level", "3"}, record).Out;
    const int rowWidth = std::stoi(InfoItems(info)["row_width"]);
    const int rows = std::stoi(InfoItems(info)["rows"]);

    const struct {
        std::string Format;
        int Dot, LineHeight, Quiet;
    } cases[] = {
        {"png", 1, 3, 2}, {"png", 3, 2, 4}, {"pbm", 1, 3, 2},
        {"pbm", 2, 4, 3}, {"svg", 1, 3, 2}, {"svg", 2, 3, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Format + " dot " + std::to_string(c.Dot) + " line height " +
                     std::to_string(c.LineHeight) + " quiet zone " + std::to_string(c.Quiet));
        const CliResult result =
            RunCli({"encode", "--columns", "7", "--level", "3", "--format", c.Format, "--dot-size",
                    std::to_string(c.Dot), "--line-height", std::to_string(c.LineHeight),
                    "--quiet-zone", std::to_string(c.Quiet)},
                   record);
        ASSERT_EQ(result.ExitCode, 0) << result.Err;
        const QImage picture = LoadPicture(result.Out, c.Format);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.width(), (rowWidth + 2 * c.Quiet) * c.Dot);
        EXPECT_EQ(picture.height(), (rows * c.LineHeight + 2 * c.Quiet) * c.Dot);
        EXPECT_EQ(picture.pixel(0, 0), qRgb(255, 255, 255));                       // quiet zone
        EXPECT_EQ(picture.pixel(c.Quiet * c.Dot, c.Quiet * c.Dot), qRgb(0, 0, 0)); // start pattern
        const DecodedSymbol decoded = DecodePicture(picture);
        ASSERT_TRUE(decoded.Ok) << decoded.Error;
        EXPECT_EQ(decoded.Bytes, expected);
    }
}

TEST(CliEncode, PictureFilesAreWhatBrowsersAndViewersExpect) {
    const CliResult png = RunCli({"encode", "--format", "png"}, Acceptance);
    EXPECT_EQ(png.Out.substr(0, 8), "\x89PNG\r\n\x1A\n");
    EXPECT_EQ(QImage::fromData(QByteArray::fromStdString(png.Out)).depth(), 1); // a 1-bit image

    const CliResult pbm = RunCli({"encode", "--format", "pbm", "--quiet-zone", "0"}, Acceptance);
    // 86 modules wide, 17 rows of 3: 11 bytes a line, MSB first, 1 black.
    ASSERT_EQ(pbm.Out.substr(0, 9), "P4\n86 51\n");
    EXPECT_EQ(pbm.Out.size(), 9u + 11u * 51u);
    EXPECT_EQ(static_cast<uint8_t>(pbm.Out[9]), 0xFF); // start pattern: 8 bars

    const std::string svg = RunCli({"encode", "--format", "svg"}, Acceptance).Out;
    EXPECT_NE(svg.find("<svg xmlns=\"http://www.w3.org/2000/svg\""), std::string::npos);
    EXPECT_NE(svg.find("shape-rendering=\"crispEdges\""), std::string::npos);
    EXPECT_EQ(svg.find("<path"), svg.rfind("<path")); // a single path of rectangles
}

// An inverted symbol is drawn as it is: light bars on dark, with a dark quiet
// zone; turning the picture back to dark on light must scan.
TEST(CliEncode, InvertedPicturesAreNegatives) {
    for (const std::string format : {"png", "svg"}) {
        SCOPED_TRACE(format);
        const CliResult result =
            RunCli({"encode", "--invert", "--format", format, "--dot-size", "2"}, Acceptance);
        ASSERT_EQ(result.ExitCode, 0) << result.Err;
        QImage picture = LoadPicture(result.Out, format).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.pixel(0, 0), qRgb(0, 0, 0));
        picture.invertPixels();
        const DecodedSymbol decoded = DecodePicture(picture);
        ASSERT_TRUE(decoded.Ok) << decoded.Error;
        EXPECT_EQ(decoded.Bytes, std::vector<uint8_t>(Acceptance.begin(), Acceptance.end()));
    }
}

} // namespace
