// The GBK conversion and the document record under any field values, taken
// the way the window and the command-line tool take them: as UTF-8 text that
// becomes code page 936 bytes, then one record that the engine encodes.
//
// Input layout: the fourteen field values in window order, separated by zero
// bytes (missing ones empty, extra ones ignored).
#include "document_record.h"
#include "exception.h"
#include "fuzz_check.h"
#include "gbk_codec.h"
#include "pdf417.h"
#include "pdf417_decoder.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool NamesField(const Exception& error, std::string_view label) {
    return std::string_view(error.what()).find("\"" + std::string(label) + "\"") != std::string_view::npos;
}

// UTF-8 to GBK converts every character exactly or refuses the value with
// a message naming the field: whatever converts converts back unchanged.
std::string ToGbk(const std::string& utf8, std::string_view label) {
    std::string gbk;
    try {
        gbk = Utf8ToGbk(utf8, label);
    } catch (const Exception& error) {
        FUZZ_REQUIRE(NamesField(error, label));
        return utf8; // the record itself takes any bytes
    }
    FUZZ_REQUIRE(GbkToUtf8(gbk, label) == utf8);
    return gbk;
}

// The other way: bytes read as GBK are either text that converts back to the
// same bytes, or refused naming the field.
void RequireGbkRoundTrip(const std::string& bytes, std::string_view label) {
    std::string utf8;
    try {
        utf8 = GbkToUtf8(bytes, label);
    } catch (const Exception& error) {
        FUZZ_REQUIRE(NamesField(error, label));
        return;
    }
    FUZZ_REQUIRE(Utf8ToGbk(utf8, label) == bytes);
}

// The record's frame, and every value once, in order, when no value holds
// the separator.
void RequireRecord(const std::string& record, const TDocumentFields& fields) {
    const std::string head = std::string(BarcodeVersion) + "^";
    FUZZ_REQUIRE(record.starts_with(head));
    FUZZ_REQUIRE(record.ends_with("^|"));
    size_t valueBytes = 0;
    bool caret = false;
    for (const TDocumentFieldInfo& info : DocumentFieldInfos) {
        valueBytes += (fields.*info.Member).size();
        caret = caret || (fields.*info.Member).find('^') != std::string::npos;
    }
    FUZZ_REQUIRE(record.size() == head.size() + valueBytes + 13 + 1);
    if (caret) return;
    std::vector<std::string_view> positions;
    std::string_view rest(record);
    rest.remove_suffix(1); // "|"
    for (size_t caretAt; (caretAt = rest.find('^')) != std::string_view::npos; rest.remove_prefix(caretAt + 1))
        positions.push_back(rest.substr(0, caretAt));
    FUZZ_REQUIRE(rest.empty() && positions.size() == 14);
    FUZZ_REQUIRE(positions[1] == fields.BarcodeNumber && positions[6] == fields.DocumentTitle);
    FUZZ_REQUIRE(positions[7] == fields.SecrecyLevel + fields.SecrecyPeriod);
    FUZZ_REQUIRE(positions[13] == fields.CustomField);
}

// The record encoded with the window's settings reads back byte for byte,
// or is refused as too long.
void RequireSymbol(const std::string& record) {
    TPDF417Param param{};
    PDF417InitParam(&param);
    param.Flags = efAutoErrorLevel | efFixedColumns;
    param.Columns = 7;
    param.ErrorLevel = 3;
    param.Data = reinterpret_cast<const uint8_t*>(record.data());
    param.DataLength = static_cast<int32_t>(record.size());
    PDF417Encode(&param);
    if (param.ErrorCode != ecSuccess) {
        FUZZ_REQUIRE(param.ErrorCode == ecTextTooLong && record.size() > 300);
        return;
    }
    const auto decoded = trelvanic::test::DecodePDF417Rows(param.RowBits, param.RowWidth, param.Rows, false, 2, 3);
    PDF417FreeParam(&param);
    FUZZ_REQUIRE(decoded.Ok);
    FUZZ_REQUIRE(std::string(decoded.Bytes.begin(), decoded.Bytes.end()) == record);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    TDocumentFields fields;
    size_t start = 0;
    for (const TDocumentFieldInfo& info : DocumentFieldInfos) {
        if (start > input.size()) break;
        const size_t end = std::min(input.find('\0', start), input.size());
        const std::string value(input.substr(start, end - start));
        start = end + 1;
        fields.*info.Member = ToGbk(value, info.Label);
        RequireGbkRoundTrip(value, info.Label);
    }

    const std::string record = BuildDocumentRecord(fields);
    RequireRecord(record, fields);
    // The information text adds the same fixed labels and line ends whatever
    // the values are.
    const size_t informationFrame = BuildInformationText(TDocumentFields{}).size();
    FUZZ_REQUIRE(BuildInformationText(fields).size() == informationFrame + record.size() - 26);
    RequireSymbol(record);
    return 0;
}
