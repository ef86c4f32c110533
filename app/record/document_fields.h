// The fourteen values of one document, as the main window holds them.
#pragma once

#include <array>
#include <string>
#include <string_view>

// Every value is a byte string in code page 936 (GBK). A multi-line value
// (title, custom field) holds its lines joined by CR LF.
struct TDocumentFields {
    std::string BarcodeNumber;
    std::string IssuingUnit;
    std::string DocumentType;
    std::string DocumentNumber;
    std::string MainRecipient;
    std::string DocumentTitle;
    std::string SecrecyLevel;
    std::string SecrecyPeriod;
    std::string Urgency;
    std::string DocumentDate;
    std::string ReleaseLevel;
    std::string BarcodeMaker;
    std::string BarcodeDate;
    std::string CustomField;
};

// A field, its name as the window labels it (UTF-8, without the asterisk of
// a required field and without the colon), and whether it may span lines.
struct TDocumentFieldInfo {
    std::string TDocumentFields::*Member;
    std::string_view Label;
    bool MultiLine;
};

inline constexpr std::array<TDocumentFieldInfo, 14> DocumentFieldInfos{{
    {&TDocumentFields::BarcodeNumber, "条码编号", false},
    {&TDocumentFields::IssuingUnit, "发文单位", false},
    {&TDocumentFields::DocumentType, "文种或刊名", false},
    {&TDocumentFields::DocumentNumber, "文号或期号", false},
    {&TDocumentFields::MainRecipient, "主送单位", false},
    {&TDocumentFields::DocumentTitle, "文件标题", true},
    {&TDocumentFields::SecrecyLevel, "秘密等级", false},
    {&TDocumentFields::SecrecyPeriod, "保密期限", false},
    {&TDocumentFields::Urgency, "紧急程度", false},
    {&TDocumentFields::DocumentDate, "成文日期", false},
    {&TDocumentFields::ReleaseLevel, "发布层次", false},
    {&TDocumentFields::BarcodeMaker, "条码制作单位", false},
    {&TDocumentFields::BarcodeDate, "条码制作日期", false},
    {&TDocumentFields::CustomField, "自定义字段", true},
}};
