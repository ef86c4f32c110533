// trelvanic-cli document: the window's Word export without a window. The
// built-in document server takes Word's part and writes the document to the
// file given; nothing is put on a clipboard and nothing is opened.
#include "command_line.h"
#include "command_table.h"
#include "document_server.h"
#include "field_options.h"
#include "output.h"
#include "pdf417_barcode.h"
#include "word_export.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>

#include <array>
#include <string>

namespace {

constexpr auto OptionSpecs = WithFieldOptions(std::array<TOptionSpec, 3>{{
    {"output", true},
    {"png", true},
    {"help", false, 'h'},
}});

std::string Help() {
    return "Usage: trelvanic-cli document [FIELD OPTIONS] --output FILE.docx [--png FILE]\n\n"
           "Runs the window's export to Word: encodes the document barcode record and\n"
           "writes a Word document with the bold information text, the barcode picture\n"
           "and the usage note, as the window's \"输出到word文档\" does.\n\n" +
           FieldOptionsHelp() +
           "\nOutput:\n"
           "  --output FILE  the .docx to write; an existing file is replaced whole\n"
           "  --png FILE     also write the barcode picture that the window puts on\n"
           "                 the clipboard (PNG, one pixel per module, rows two high)\n"
           "  -h, --help     print this help\n\n"
           "A record too long for one symbol is refused with \"The text is too big\" (exit 3).\n";
}

std::string Png(const QImage& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes.toStdString();
}

} // namespace

void RunDocumentCommand(std::span<const std::string> args) {
    const TCommandLine line("document", args, OptionSpecs);
    if (line.Has("help")) {
        WriteOutput({}, Help());
        return;
    }
    if (!line.Positionals().empty())
        line.Fail("Unexpected argument \"" + line.Positionals().front() + "\".");
    const std::optional<std::string> output = line.Value("output");
    if (!output || output->empty() || *output == "-")
        line.Fail("The document needs a file to go to: --output FILE.docx.");
    const std::optional<std::string> png = line.Value("png");
    const TDocumentFields fields = ReadFieldOptions(line);

    // The barcode control is a widget: an offscreen application carries it
    // without any display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "trelvanic-cli";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);

    QImage clipboard;
    TDocumentServerOptions options;
    options.OutputFile = QFile::decodeName(output->c_str());
    options.Picture = [&clipboard] { return clipboard; };
    TDocumentServer server(std::move(options));
    TPDF417Barcode barcode;
    UseWindowBarcodeSettings(barcode);
    TWordApplication wordApplication;
    ExportToWord(TWordExportHost{
        [&fields] { return fields; },
        barcode,
        [&clipboard](const QImage& bitmap) { clipboard = bitmap; },
        server,
        wordApplication,
        [] {},
    });
    if (png) WriteOutput(*png, Png(clipboard));
}
