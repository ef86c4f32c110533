// trelvanic-cli record: the document barcode record (or the information text)
// built from fields given as options, exactly as the window builds it.
#include "command_line.h"
#include "command_table.h"
#include "document_record.h"
#include "field_options.h"
#include "hex.h"
#include "output.h"

#include <array>
#include <string>

namespace {

constexpr auto OptionSpecs = WithFieldOptions(std::array<TOptionSpec, 3>{{
    {"hex", false},
    {"info", false},
    {"help", false, 'h'},
}});

std::string Help() {
    return "Usage: trelvanic-cli record [FIELD OPTIONS] [--hex] [--info]\n\n"
           "Prints the document barcode record built from the fields, as raw code page\n"
           "936 (GBK) bytes, exactly as the window builds it for the symbol.\n\n" +
           FieldOptionsHelp() +
           "\nOutput:\n"
           "  --info       print the information text (GBK) instead of the record\n"
           "  --hex        print the bytes as uppercase hexadecimal, one line\n"
           "  -h, --help   print this help\n\n"
           "To read the GBK output as UTF-8: ... | iconv -f CP936 -t UTF-8\n"
           "To encode the record: trelvanic-cli record ... | trelvanic-cli encode -\n";
}

} // namespace

void RunRecordCommand(std::span<const std::string> args) {
    const TCommandLine line("record", args, OptionSpecs);
    if (line.Has("help")) {
        WriteOutput({}, Help());
        return;
    }
    if (!line.Positionals().empty())
        line.Fail("Unexpected argument \"" + line.Positionals().front() + "\".");

    const TDocumentFields fields = ReadFieldOptions(line);
    const std::string text =
        line.Has("info") ? BuildInformationText(fields) : BuildDocumentRecord(fields);
    WriteOutput({}, line.Has("hex") ? ToHex(text) + "\n" : text);
}
