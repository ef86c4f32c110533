// trelvanic-cli encode: bytes (a file, standard input or --text) or ready-made
// codewords (--raw) through the engine, reported as text or drawn as a picture.
#include "cli_error.h"
#include "command_line.h"
#include "command_table.h"
#include "output.h"
#include "pdf417.h"
#include "symbol_formats.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

namespace {

constexpr TOptionSpec OptionSpecs[] = {
    {"text", true},       {"raw", true},         {"columns", true},
    {"rows", true},       {"level", true},       {"shape", true},
    {"flags", true},      {"aspect", true},      {"row-height-ratio", true},
    {"invert", false},    {"format", true},      {"output", true, 'o'},
    {"dot-size", true},   {"line-height", true}, {"quiet-zone", true},
    {"help", false, 'h'},
};

// The largest value accepted for a picture's scale and margin; the picture's
// own size limit is checked once its symbol is known.
constexpr int32_t MaxPictureOption = 1000;

constexpr std::string_view Help =
    "Usage: trelvanic-cli encode [FILE | - | --text STRING | --raw \"N N ...\"] [OPTIONS]\n\n"
    "Encodes bytes as a PDF417 symbol. The input is FILE, or standard input when\n"
    "FILE is \"-\" or missing, taken byte for byte; or the bytes of --text STRING,\n"
    "unconverted; or --raw codewords in decimal, separated by blanks, the first\n"
    "being the length descriptor (the number of codewords given).\n"
    "To encode a document record: trelvanic-cli record ... | trelvanic-cli encode -\n\n"
    "Symbol:\n"
    "  --shape auto|columns|rows|rectangle\n"
    "                     what is fixed: nothing (the aspect ratio decides), the\n"
    "                     columns, the rows, or both; without --shape, the given\n"
    "                     --columns and --rows are fixed\n"
    "  --columns N        data columns, 1 to 30\n"
    "  --rows N           rows, 3 to 90\n"
    "  --level L          error-correction level 0 to 8 (default: from the data size);\n"
    "                     the engine raises it to fill the symbol\n"
    "  --aspect R         wanted height / width for --shape auto (default 0.5)\n"
    "  --row-height-ratio R  row height in module widths for --shape auto (default 3)\n"
    "  --invert           complement the bit rows (a light symbol on dark)\n"
    "  --flags N          add these engine flag bits as they are\n\n"
    "Output:\n"
    "  --format info|png|svg|pbm  (default info)\n"
    "  -o, --output FILE  write to FILE (default: standard output); a failed run\n"
    "                     leaves no partial file\n"
    "  --dot-size N       pixels per module (default 1)\n"
    "  --line-height N    row height in modules (default 3)\n"
    "  --quiet-zone N     white modules on each side (default 2)\n"
    "  -h, --help         print this help\n\n"
    "The info format prints one item a line: error, rows, columns, level,\n"
    "data_length (input bytes; 0 for --raw), row_width (modules), codewords (all\n"
    "rows x columns, decimal), then \"row HEX\" per symbol row: its packed bit-row\n"
    "bytes in uppercase hexadecimal, most significant bit first, a set bit a bar.\n"
    "Pictures draw a set bit black: PNG is 1-bit, SVG is one path of rectangles,\n"
    "PBM is binary (P4).\n\n"
    "Exit codes: 0 success, 1 input or output failure, 2 usage error,\n"
    "3 the text is too big, 4 bad raw codewords.\n";

// Reads one more byte than the engine accepts, so that an input that is too
// long reaches the engine's own check without being read whole.
std::string ReadInput(std::string_view path) {
    const bool standardInput = path == "-";
    const std::string name = standardInput ? "standard input" : "\"" + std::string(path) + "\"";
    std::FILE* file = standardInput ? stdin : std::fopen(std::string(path).c_str(), "rb");
    if (file == nullptr) {
        throw CliError(ExitCode::Failure,
                       "Cannot read " + name + ": " + std::strerror(errno) + ".");
    }
    std::string bytes(PDF417MaxDataLength + 1, '\0');
    const size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    if (!standardInput) std::fclose(file);
    if (failed)
        throw CliError(ExitCode::Failure,
                       "Cannot read " + name + ": " + std::strerror(error) + ".");
    bytes.resize(read);
    return bytes;
}

void SetRawCodewords(TPDF417Param& param, std::string_view text) {
    int32_t count = 0;
    constexpr std::string_view Blanks = " \t\r\n";
    for (size_t pos = text.find_first_not_of(Blanks); pos != std::string_view::npos;
         pos = text.find_first_not_of(Blanks, pos)) {
        const size_t end = std::min(text.find_first_of(Blanks, pos), text.size());
        const std::string_view token = text.substr(pos, end - pos);
        pos = end;
        const std::string where = " (codeword " + std::to_string(count + 1) + ")";
        int32_t value = 0;
        const auto [stop, error] =
            std::from_chars(token.data(), token.data() + token.size(), value);
        if (error != std::errc() || stop != token.data() + token.size()) {
            throw CliError(ExitCode::BadCodewords, "The raw codeword \"" + std::string(token) +
                                                       "\"" + where + " is not a whole number.");
        }
        if (value < 0 || value > PDF417MaxCodewordValue) {
            throw CliError(ExitCode::BadCodewords,
                           "The raw codeword " + std::string(token) + where + " is outside 0 to " +
                               std::to_string(PDF417MaxCodewordValue) + ".");
        }
        if (count == PDF417MaxCodewords) {
            throw CliError(ExitCode::BadCodewords, "More than " +
                                                       std::to_string(PDF417MaxCodewords) +
                                                       " raw codewords were given.");
        }
        param.Codewords[count++] = value;
    }
    param.CodewordCount = count;
}

struct TShape {
    std::string_view Name;
    uint32_t Flags;
    std::string_view Needs; // the options that the shape fixes
};

constexpr TShape Shapes[] = {
    {"auto", 0, ""},
    {"columns", efFixedColumns, "--columns"},
    {"rows", efFixedRows, "--rows"},
    {"rectangle", efFixedRectangle, "--columns and --rows"},
};

// Without --shape, the dimensions given are the ones fixed.
uint32_t ShapeFlags(const TCommandLine& line) {
    const bool columns = line.Has("columns");
    const bool rows = line.Has("rows");
    const std::string name = line.Value("shape").value_or(columns && rows ? "rectangle"
                                                          : columns       ? "columns"
                                                          : rows          ? "rows"
                                                                          : "auto");
    for (const TShape& shape : Shapes) {
        if (shape.Name != name) continue;
        const bool needsColumns = (shape.Flags & (efFixedColumns | efFixedRectangle)) != 0;
        const bool needsRows = (shape.Flags & (efFixedRows | efFixedRectangle)) != 0;
        if ((needsColumns && !columns) || (needsRows && !rows)) {
            line.Fail("The shape \"" + name + "\" needs " + std::string(shape.Needs) + ".");
        }
        return shape.Flags;
    }
    line.Fail("The option \"--shape\" takes auto, columns, rows or rectangle, not \"" + name +
              "\".");
}

TPictureFormat PictureFormat(const TCommandLine& line, const std::string& format) {
    if (format == "png") return TPictureFormat::Png;
    if (format == "svg") return TPictureFormat::Svg;
    if (format == "pbm") return TPictureFormat::Pbm;
    line.Fail("The option \"--format\" takes info, png, svg or pbm, not \"" + format + "\".");
}

// Releases the engine's bit rows however the command ends.
struct TEncodedParam {
    TPDF417Param Param{};
    TEncodedParam() { PDF417InitParam(&Param); }
    ~TEncodedParam() { PDF417FreeParam(&Param); }
    TEncodedParam(const TEncodedParam&) = delete;
    TEncodedParam& operator=(const TEncodedParam&) = delete;
};

} // namespace

void RunEncodeCommand(std::span<const std::string> args) {
    const TCommandLine line("encode", args, OptionSpecs);
    if (line.Has("help")) {
        WriteOutput({}, Help);
        return;
    }
    const std::vector<std::string>& files = line.Positionals();
    if (files.size() > 1)
        line.Fail("Give one input file, not " + std::to_string(files.size()) + ".");
    if (files.size() + line.Has("text") + line.Has("raw") > 1) {
        line.Fail("Give one input: a file (or - for standard input), --text or --raw.");
    }

    // Everything the command line can get wrong is checked before any input is read.
    TEncodedParam encoded;
    TPDF417Param& param = encoded.Param;
    param.Flags = ShapeFlags(line);
    param.Columns = line.Integer("columns", PDF417MinColumns, PDF417MaxColumns).value_or(0);
    param.Rows = line.Integer("rows", PDF417MinRows, PDF417MaxRows).value_or(0);
    if (const std::optional<int32_t> level = line.Integer("level", 0, PDF417MaxErrorLevelValue)) {
        param.Flags |= efUseErrorLevel;
        param.ErrorLevel = *level;
    }
    if (line.Has("invert")) param.Flags |= efInvertBitmap;
    param.Flags |= static_cast<uint32_t>(
        line.Integer("flags", 0, std::numeric_limits<int32_t>::max()).value_or(0));
    param.AspectRatio = line.Real("aspect").value_or(param.AspectRatio);
    param.RowHeightRatio = line.Real("row-height-ratio").value_or(param.RowHeightRatio);
    const std::string format = line.Value("format").value_or("info");
    // Checked here, before any input is read.
    const bool picture = format != "info";
    const TPictureFormat pictureFormat = picture ? PictureFormat(line, format) : TPictureFormat{};
    TPictureLayout layout;
    layout.DotSize = line.Integer("dot-size", 1, MaxPictureOption).value_or(layout.DotSize);
    layout.LineHeight =
        line.Integer("line-height", 1, MaxPictureOption).value_or(layout.LineHeight);
    layout.QuietZone = line.Integer("quiet-zone", 0, MaxPictureOption).value_or(layout.QuietZone);
    const std::string output = line.Value("output").value_or("");

    std::string input;
    if (const std::optional<std::string> raw = line.Value("raw")) {
        param.Flags |= efRawCodewords;
        SetRawCodewords(param, *raw);
    } else {
        if (const std::optional<std::string> text = line.Value("text")) {
            input = *text;
        } else {
            input = ReadInput(files.empty() ? "-" : files.front());
        }
        param.Data = reinterpret_cast<const uint8_t*>(input.data());
        param.DataLength = static_cast<int32_t>(input.size());
    }

    PDF417Encode(&param);
    ThrowOnEngineError(param);
    WriteOutput(output,
                picture ? SymbolPicture(param, layout, pictureFormat) : SymbolInfo(param));
}
