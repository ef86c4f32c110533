#include "cli_runner.h"
#include "document_record.h"
#include "gbk_codec.h"

#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

namespace {

using trelvanic::test::CliResult;
using trelvanic::test::RunCli;

std::string Gbk(std::string_view utf8) {
    return Utf8ToGbk(utf8, "test");
}

std::string Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[16];
    std::strftime(date, sizeof date, "%Y%m%d", &local);
    return date;
}

TEST(CliRecord, UnsetFieldsTakeTheWindowsStartValues) {
    // The run may straddle midnight: accept the date from before or after it.
    const std::string before = Today();
    const CliResult result = RunCli({"record"});
    const std::string after = Today();
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    const auto expected = [](const std::string& day) {
        return "GB0626-2005^^^^^^^\xCE\xDE^\xCE\xDE^" + day + "^^^" + day + "^^|";
    };
    EXPECT_TRUE(result.Out == expected(before) || result.Out == expected(after)) << result.Out;
    EXPECT_EQ(result.Out.size(), 46u);
}

// Every option lands in its own field, both option spellings work, and the
// output is what the record library builds from the same fields.
TEST(CliRecord, EveryOptionFillsItsField) {
    struct Option {
        std::vector<std::string> Args; // "--name VALUE" or "--name=VALUE"
        std::string TDocumentFields::*Member;
        std::string Expected; // UTF-8, converted to GBK below
    };
    const Option options[] = {
        {{"--barcode-number", "20261211001"}, &TDocumentFields::BarcodeNumber, "20261211001"},
        {{"--issuing-unit=某市人民政府"}, &TDocumentFields::IssuingUnit, "某市人民政府"},
        {{"--document-type", "通知"}, &TDocumentFields::DocumentType, "通知"},
        {{"--document-number=某政发〔2026〕1号"},
         &TDocumentFields::DocumentNumber,
         "某政发〔2026〕1号"},
        {{"--main-recipient", "各区县"}, &TDocumentFields::MainRecipient, "各区县"},
        {{"--document-title=关于^开展|检查的\n通知"},
         &TDocumentFields::DocumentTitle,
         "关于^开展|检查的\r\n通知"},
        {{"--secrecy-level", "秘密"}, &TDocumentFields::SecrecyLevel, "秘密"},
        {{"--secrecy-period=10年"}, &TDocumentFields::SecrecyPeriod, "10年"},
        {{"--urgency", "特急"}, &TDocumentFields::Urgency, "特急"},
        {{"--document-date=20261201"}, &TDocumentFields::DocumentDate, "20261201"},
        {{"--release-level", "公开发布"}, &TDocumentFields::ReleaseLevel, "公开发布"},
        {{"--barcode-maker", "办公厅"}, &TDocumentFields::BarcodeMaker, "办公厅"},
        {{"--barcode-date", "20261202"}, &TDocumentFields::BarcodeDate, "20261202"},
        // LF becomes CR LF; a CR LF stays as it is.
        {{"--custom-field", "一\r\n二\n"}, &TDocumentFields::CustomField, "一\r\n二\r\n"},
    };
    std::vector<std::string> args = {"record"};
    TDocumentFields fields;
    for (const Option& option : options) {
        args.insert(args.end(), option.Args.begin(), option.Args.end());
        fields.*option.Member = Gbk(option.Expected);
    }

    CliResult result = RunCli(args);
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out, BuildDocumentRecord(fields));

    args.push_back("--info");
    result = RunCli(args);
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    EXPECT_EQ(result.Out, BuildInformationText(fields));
}

TEST(CliRecord, HexPrintsTheSameBytes) {
    const CliResult result =
        RunCli({"record", "--hex", "--secrecy-level=无", "--urgency", "", "--document-date", "",
                "--barcode-date=", "--custom-field", "€"});
    ASSERT_EQ(result.ExitCode, 0) << result.Err;
    // GB0626-2005^ ... ^无^^^^^^^€^|
    EXPECT_EQ(result.Out, "4742303632362D323030355E5E5E5E5E5E5ECEDE5E5E5E5E5E5E805E7C\n");
}

TEST(CliRecord, RefusesBadInputWithItsExitCode) {
    struct Case {
        std::vector<std::string> Args;
        int ExitCode;
        std::string Err; // the whole of standard error
    };
    const std::string help = " See \"trelvanic-cli record --help\".\n";
    const Case cases[] = {
        {{"record", "--issuing-unit", "某₩"},
         1,
         "trelvanic-cli: The field \"发文单位\" contains the character \"₩\" (U+20A9), which code "
         "page 936 "
         "cannot represent.\n"},
        {{"record", "--custom-field=\xFF"},
         1,
         "trelvanic-cli: The field \"自定义字段\" is not valid UTF-8 text (byte 0xFF at offset "
         "0).\n"},
        {{"record", "--document-number", "a\nb"},
         2,
         "trelvanic-cli: The field \"文号或期号\" (--document-number) is a single line, but its "
         "value holds a "
         "line break." +
             help},
        {{"record", "--colour", "red"}, 2, "trelvanic-cli: Unknown option \"--colour\"." + help},
        {{"record", "--urgency"},
         2,
         "trelvanic-cli: The option \"--urgency\" needs a value." + help},
        {{"record", "--hex=yes"}, 2, "trelvanic-cli: The option \"--hex\" takes no value." + help},
        {{"record", "stray"}, 2, "trelvanic-cli: Unexpected argument \"stray\"." + help},
        {{}, 2, "trelvanic-cli: No command given. See \"trelvanic-cli --help\".\n"},
        {{"recrod"},
         2,
         "trelvanic-cli: Unknown command \"recrod\". See \"trelvanic-cli --help\".\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Args.empty() ? "no arguments" : c.Args.back());
        const CliResult result = RunCli(c.Args);
        EXPECT_EQ(result.ExitCode, c.ExitCode);
        EXPECT_EQ(result.Err, c.Err);
        EXPECT_EQ(result.Out, ""); // nothing half-made on standard output
    }
}

TEST(CliRecord, HelpAndVersion) {
    const struct {
        std::vector<std::string> Args;
        std::string Contains;
    } cases[] = {
        {{"--help"}, "encode"},
        {{"-h"}, "record"},
        {{"--version"}, "trelvanic-cli 1.0.0\n"},
        {{"record", "--help"}, "--custom-field VALUE"},
        {{"encode", "-h"}, "--quiet-zone N"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Args.back());
        const CliResult result = RunCli(c.Args);
        EXPECT_EQ(result.ExitCode, 0);
        EXPECT_NE(result.Out.find(c.Contains), std::string::npos) << result.Out;
        EXPECT_EQ(result.Err, "");
    }
}

} // namespace
