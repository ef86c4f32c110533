#include "document_record.h"
#include "gbk_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Gbk(std::string_view utf8) {
    return Utf8ToGbk(utf8, "test");
}

// Every field a different short value, so a swapped position shows.
TDocumentFields DistinctFields() {
    TDocumentFields f;
    f.BarcodeNumber = "bn";
    f.IssuingUnit = "iu";
    f.DocumentType = "dt";
    f.DocumentNumber = "dn";
    f.MainRecipient = "mr";
    f.DocumentTitle = "ti";
    f.SecrecyLevel = "sl";
    f.SecrecyPeriod = "sp";
    f.Urgency = "ur";
    f.DocumentDate = "dd";
    f.ReleaseLevel = "rl";
    f.BarcodeMaker = "bm";
    f.BarcodeDate = "bd";
    f.CustomField = "cf";
    return f;
}

TDocumentFields StartWindowFields() {
    TDocumentFields f;
    f.SecrecyLevel = "\xCE\xDE"; // 无
    f.Urgency = "\xCE\xDE";
    f.DocumentDate = "20261211";
    f.BarcodeDate = "20261211";
    return f;
}

TEST(DocumentRecord, IsByteExact) {
    struct Case {
        const char* Name;
        TDocumentFields Fields;
        std::string Expected;
    };
    TDocumentFields secrecy;
    secrecy.SecrecyLevel = Gbk("秘密");
    secrecy.SecrecyPeriod = Gbk("10年");
    TDocumentFields levelAlone;
    levelAlone.SecrecyLevel = Gbk("无");
    TDocumentFields twoLineTitle;
    twoLineTitle.DocumentTitle = "L1\r\nL2";
    TDocumentFields separators;
    separators.BarcodeNumber = " a^b|c ";
    separators.CustomField = "|";

    const Case cases[] = {
        {"all empty", {}, "GB0626-2005^^^^^^^^^^^^^^|"},
        {"window at start", StartWindowFields(),
         "GB0626-2005^^^^^^^\xCE\xDE^\xCE\xDE^20261211^^^20261211^^|"},
        {"field order", DistinctFields(), "GB0626-2005^bn^iu^dt^dn^mr^ti^slsp^ur^dd^rl^bm^bd^cf^|"},
        {"level and period joined", secrecy,
         "GB0626-2005^^^^^^^\xC3\xD8\xC3\xDC\x31\x30\xC4\xEA^^^^^^^|"},
        {"level without period", levelAlone, "GB0626-2005^^^^^^^\xCE\xDE^^^^^^^|"},
        {"line break kept inside", twoLineTitle, "GB0626-2005^^^^^^L1\r\nL2^^^^^^^^|"},
        {"carets, bars and blanks copied", separators, "GB0626-2005^ a^b|c ^^^^^^^^^^^^|^|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(BuildDocumentRecord(c.Fields), c.Expected);
    }
    EXPECT_EQ(BuildDocumentRecord({}).size(), 26u);
    EXPECT_EQ(BuildDocumentRecord(StartWindowFields()).size(), 46u);
}

// The labels are stored as GBK bytes; the expected texts here are written in
// UTF-8 and converted, so a wrong byte in a label shows.
TEST(InformationText, IsByteExact) {
    struct Case {
        const char* Name;
        TDocumentFields Fields;
        std::string ExpectedUtf8;
    };
    TDocumentFields chinese = DistinctFields();
    chinese.DocumentTitle = "关于\r\n通知";
    chinese.SecrecyLevel = "秘密";
    chinese.SecrecyPeriod = "10年";
    for (std::string* value :
         {&chinese.DocumentTitle, &chinese.SecrecyLevel, &chinese.SecrecyPeriod}) {
        *value = Gbk(*value);
    }

    const Case cases[] = {
        {"all empty",
         {},
         "公文二维条码信息字段表\n\r"
         "条码版本标识：GB0626-2005\r"
         "条码编号：\r发文单位：\r文种或刊名：\r文号或期号：\r主送单位：\r文件标题：\r"
         "秘密等级：\r紧急程度：\r成文日期：\r发布层次：\r条码制作单位：\r条码制作日期：\r"
         "自定义字段：\n\r"},
        {"every field", chinese,
         "公文二维条码信息字段表\n\r"
         "条码版本标识：GB0626-2005\r"
         "条码编号：bn\r发文单位：iu\r文种或刊名：dt\r文号或期号：dn\r主送单位：mr\r"
         "文件标题：关于\r\n通知\r秘密等级：秘密10年\r紧急程度：ur\r成文日期：dd\r"
         "发布层次：rl\r条码制作单位：bm\r条码制作日期：bd\r自定义字段：cf\n\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(BuildInformationText(c.Fields), Gbk(c.ExpectedUtf8));
    }
}

TEST(DocumentFieldInfos, CoverEveryFieldOnce) {
    TDocumentFields fields;
    for (const TDocumentFieldInfo& info : DocumentFieldInfos)
        fields.*info.Member += "x";
    const std::string record = BuildDocumentRecord(fields);
    EXPECT_EQ(record, "GB0626-2005^x^x^x^x^x^x^xx^x^x^x^x^x^x^|");
}

} // namespace
