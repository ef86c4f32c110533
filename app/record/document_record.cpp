#include "document_record.h"

namespace {

// The labels are code page 936 bytes, so that building the texts needs no
// converter and cannot fail; the UTF-8 text stands above each.
// clang-format off
// 公文二维条码信息字段表
constexpr std::string_view InformationHeading =
    "\xB9\xAB\xCE\xC4\xB6\xFE\xCE\xAC\xCC\xF5\xC2\xEB\xD0\xC5\xCF\xA2\xD7\xD6\xB6\xCE\xB1\xED";
// 条码版本标识
constexpr std::string_view VersionLabel =
    "\xCC\xF5\xC2\xEB\xB0\xE6\xB1\xBE\xB1\xEA\xCA\xB6";
// 条码编号
constexpr std::string_view BarcodeNumberLabel =
    "\xCC\xF5\xC2\xEB\xB1\xE0\xBA\xC5";
// 发文单位
constexpr std::string_view IssuingUnitLabel =
    "\xB7\xA2\xCE\xC4\xB5\xA5\xCE\xBB";
// 文种或刊名
constexpr std::string_view DocumentTypeLabel =
    "\xCE\xC4\xD6\xD6\xBB\xF2\xBF\xAF\xC3\xFB";
// 文号或期号
constexpr std::string_view DocumentNumberLabel =
    "\xCE\xC4\xBA\xC5\xBB\xF2\xC6\xDA\xBA\xC5";
// 主送单位
constexpr std::string_view MainRecipientLabel =
    "\xD6\xF7\xCB\xCD\xB5\xA5\xCE\xBB";
// 文件标题
constexpr std::string_view DocumentTitleLabel =
    "\xCE\xC4\xBC\xFE\xB1\xEA\xCC\xE2";
// 秘密等级
constexpr std::string_view SecrecyLevelLabel =
    "\xC3\xD8\xC3\xDC\xB5\xC8\xBC\xB6";
// 紧急程度
constexpr std::string_view UrgencyLabel =
    "\xBD\xF4\xBC\xB1\xB3\xCC\xB6\xC8";
// 成文日期
constexpr std::string_view DocumentDateLabel =
    "\xB3\xC9\xCE\xC4\xC8\xD5\xC6\xDA";
// 发布层次
constexpr std::string_view ReleaseLevelLabel =
    "\xB7\xA2\xB2\xBC\xB2\xE3\xB4\xCE";
// 条码制作单位
constexpr std::string_view BarcodeMakerLabel =
    "\xCC\xF5\xC2\xEB\xD6\xC6\xD7\xF7\xB5\xA5\xCE\xBB";
// 条码制作日期
constexpr std::string_view BarcodeDateLabel =
    "\xCC\xF5\xC2\xEB\xD6\xC6\xD7\xF7\xC8\xD5\xC6\xDA";
// 自定义字段
constexpr std::string_view CustomFieldLabel =
    "\xD7\xD4\xB6\xA8\xD2\xE5\xD7\xD6\xB6\xCE";
// ：
constexpr std::string_view FullWidthColon =
    "\xA3\xBA";
// clang-format on

// The line ends are part of the text: LF CR (in that order) after the heading
// and after the last line, a bare CR after each line between.
constexpr std::string_view OuterLineEnd = "\n\r";
constexpr std::string_view InnerLineEnd = "\r";

void AppendLine(std::string& text, std::string_view label, std::string_view value,
                std::string_view lineEnd, std::string_view more = {}) {
    text += label;
    text += FullWidthColon;
    text += value;
    text += more;
    text += lineEnd;
}

} // namespace

std::string BuildDocumentRecord(const TDocumentFields& fields) {
    std::string record;
    const auto position = [&record](std::string_view value, std::string_view more = {}) {
        record += value;
        record += more;
        record += '^';
    };
    position(BarcodeVersion);
    position(fields.BarcodeNumber);
    position(fields.IssuingUnit);
    position(fields.DocumentType);
    position(fields.DocumentNumber);
    position(fields.MainRecipient);
    position(fields.DocumentTitle);
    position(fields.SecrecyLevel, fields.SecrecyPeriod); // one position, nothing between
    position(fields.Urgency);
    position(fields.DocumentDate);
    position(fields.ReleaseLevel);
    position(fields.BarcodeMaker);
    position(fields.BarcodeDate);
    position(fields.CustomField);
    record += '|';
    return record;
}

std::string BuildInformationText(const TDocumentFields& fields) {
    std::string text(InformationHeading);
    text += OuterLineEnd;
    AppendLine(text, VersionLabel, BarcodeVersion, InnerLineEnd);
    AppendLine(text, BarcodeNumberLabel, fields.BarcodeNumber, InnerLineEnd);
    AppendLine(text, IssuingUnitLabel, fields.IssuingUnit, InnerLineEnd);
    AppendLine(text, DocumentTypeLabel, fields.DocumentType, InnerLineEnd);
    AppendLine(text, DocumentNumberLabel, fields.DocumentNumber, InnerLineEnd);
    AppendLine(text, MainRecipientLabel, fields.MainRecipient, InnerLineEnd);
    AppendLine(text, DocumentTitleLabel, fields.DocumentTitle, InnerLineEnd);
    AppendLine(text, SecrecyLevelLabel, fields.SecrecyLevel, InnerLineEnd, fields.SecrecyPeriod);
    AppendLine(text, UrgencyLabel, fields.Urgency, InnerLineEnd);
    AppendLine(text, DocumentDateLabel, fields.DocumentDate, InnerLineEnd);
    AppendLine(text, ReleaseLevelLabel, fields.ReleaseLevel, InnerLineEnd);
    AppendLine(text, BarcodeMakerLabel, fields.BarcodeMaker, InnerLineEnd);
    AppendLine(text, BarcodeDateLabel, fields.BarcodeDate, InnerLineEnd);
    AppendLine(text, CustomFieldLabel, fields.CustomField, OuterLineEnd);
    return text;
}
