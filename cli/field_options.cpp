#include "field_options.h"

#include "gbk_codec.h"

#include <ctime>

namespace {

// Option i names field i of DocumentFieldInfos, whose label the messages use.
static_assert([] {
    for (size_t i = 0; i < FieldOptions.size(); ++i) {
        if (FieldOptions[i].Member != DocumentFieldInfos[i].Member) return false;
    }
    return true;
}());

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

std::string FieldOptionsHelp() {
    std::string help = "Field options (UTF-8 values; --name VALUE or --name=VALUE):\n";
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
            "A character that code page 936 cannot represent is refused (exit 1).\n";
    return help;
}

TDocumentFields ReadFieldOptions(const TCommandLine& line) {
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
    return fields;
}
