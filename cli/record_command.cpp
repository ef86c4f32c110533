// trelvanic-cli record: the document barcode record (or the information text)
// built from fields given as options, exactly as the window builds it.
#include "cli_error.h"
#include "command_line.h"
#include "command_table.h"
#include "document_record.h"
#include "gbk_codec.h"
#include "hex.h"
#include "output.h"

#include <array>
#include <ctime>
#include <string>

namespace {

struct TFieldOption {
    std::string_view Name;
    std::string TDocumentFields::*Member;
};

constexpr std::array<TFieldOption, 14> FieldOptions{{
    {"barcode-number", &TDocumentFields::BarcodeNumber},
    {"issuing-unit", &TDocumentFields::IssuingUnit},
    {"document-type", &TDocumentFields::DocumentType},
    {"document-number", &TDocumentFields::DocumentNumber},
    {"main-recipient", &TDocumentFields::MainRecipient},
    {"document-title", &TDocumentFields::DocumentTitle},
    {"secrecy-level", &TDocumentFields::SecrecyLevel},
    {"secrecy-period", &TDocumentFields::SecrecyPeriod},
    {"urgency", &TDocumentFields::Urgency},
    {"document-date", &TDocumentFields::DocumentDate},
    {"release-level", &TDocumentFields::ReleaseLevel},
    {"barcode-maker", &TDocumentFields::BarcodeMaker},
    {"barcode-date", &TDocumentFields::BarcodeDate},
    {"custom-field", &TDocumentFields::CustomField},
}};

constexpr std::array<TOptionSpec, 17> OptionSpecs = [] {
    std::array<TOptionSpec, 17> specs{};
    for (size_t i = 0; i < FieldOptions.size(); ++i)
        specs[i] = {FieldOptions[i].Name, true};
    specs[14] = {"hex", false};
    specs[15] = {"info", false};
    specs[16] = {"help", false, 'h'};
    return specs;
}();

// Option i names field i of DocumentFieldInfos, whose label the messages use.
static_assert([] {
    for (size_t i = 0; i < FieldOptions.size(); ++i) {
        if (FieldOptions[i].Member != DocumentFieldInfos[i].Member) return false;
    }
    return true;
}());

std::string Help() {
    std::string help =
        "Usage: trelvanic-cli record [FIELD OPTIONS] [--hex] [--info]\n\n"
        "Prints the document barcode record built from the fields, as raw code page\n"
        "936 (GBK) bytes, exactly as the window builds it for the symbol.\n\n"
        "Field options (UTF-8 values; --name VALUE or --name=VALUE):\n";
    for (size_t i = 0; i < FieldOptions.size(); ++i) {
        const TFieldOption& option = FieldOptions[i];
        const TDocumentFieldInfo& info = DocumentFieldInfos[i];
        help += "  --" + std::string(option.Name) + " VALUE" +
                std::string(20 - option.Name.size(), ' ') + std::string(info.Label) +
                (info.MultiLine ? " (may span lines)" : "") + "\n";
    }
    help += "\nUnset fields take the window's start values: secrecy level and urgency\n"
            "\"无\", both dates today (yyyymmdd, local time), every other field empty.\n"
            "In the title and the custom field a line break (LF or CR LF) becomes CR LF,\n"
            "as the window's multi-line fields give it; other fields are single lines.\n"
            "A character that code page 936 cannot represent is refused (exit 1).\n\n"
            "Output:\n"
            "  --info       print the information text (GBK) instead of the record\n"
            "  --hex        print the bytes as uppercase hexadecimal, one line\n"
            "  -h, --help   print this help\n\n"
            "To read the GBK output as UTF-8: ... | iconv -f CP936 -t UTF-8\n"
            "To encode the record: trelvanic-cli record ... | trelvanic-cli encode -\n";
    return help;
}

std::string Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    char date[16];
    std::strftime(date, sizeof date, "%Y%m%d", &local);
    return date;
}

// The window's multi-line fields hold their lines joined by CR LF.
std::string WithCrLfLineBreaks(std::string_view text) {
    std::string result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) result += '\r';
        result += text[i];
    }
    return result;
}

TDocumentFields StartFields() {
    TDocumentFields fields;
    const std::string none = Utf8ToGbk("无", "秘密等级");
    fields.SecrecyLevel = none;
    fields.Urgency = none;
    fields.DocumentDate = Today();
    fields.BarcodeDate = fields.DocumentDate;
    return fields;
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

    TDocumentFields fields = StartFields();
    for (size_t i = 0; i < FieldOptions.size(); ++i) {
        const TFieldOption& option = FieldOptions[i];
        const TDocumentFieldInfo& info = DocumentFieldInfos[i];
        std::optional<std::string> value = line.Value(option.Name);
        if (!value) continue;
        if (info.MultiLine) {
            *value = WithCrLfLineBreaks(*value);
        } else if (value->find_first_of("\r\n") != std::string::npos) {
            line.Fail("The field \"" + std::string(info.Label) + "\" (--" +
                      std::string(option.Name) +
                      ") is a single line, but its value holds a line break.");
        }
        fields.*option.Member = Utf8ToGbk(*value, info.Label);
    }

    const std::string text =
        line.Has("info") ? BuildInformationText(fields) : BuildDocumentRecord(fields);
    WriteOutput({}, line.Has("hex") ? ToHex(text) + "\n" : text);
}
