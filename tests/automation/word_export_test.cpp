// The export's steps as Word would see them (through the recording stand-in)
// and as a user would find them in the document (through the built-in server).
#include "document_server.h"
#include "docx_reader.h"
#include "recording_automation.h"
#include "word_export.h"

#include "Unit2d.h"

#include "document_record.h"
#include "exception.h"
#include "gbk_codec.h"
#include "pdf417_barcode.h"
#include "pdf417_decoder.h"
#include "picture_decoder.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using trelvanic::test::RecordingAutomation;

class QtEnvironment : public testing::Environment {
public:
    void SetUp() override { Application = std::make_unique<QApplication>(Argc, Argv); }
    void TearDown() override { Application.reset(); }

private:
    int Argc = 1;
    char Name[7] = "export";
    char* Argv[2] = {Name, nullptr};
    std::unique_ptr<QApplication> Application;
};
testing::Environment* const Environment = testing::AddGlobalTestEnvironment(new QtEnvironment);

TDocumentFields SampleFields() {
    TDocumentFields fields;
    fields.BarcodeNumber = Utf8ToGbk("2026-017", "条码编号");
    fields.IssuingUnit = Utf8ToGbk("市档案局", "发文单位");
    fields.DocumentTitle = Utf8ToGbk("关于\r\n年度归档", "文件标题");
    fields.SecrecyLevel = Utf8ToGbk("秘密", "秘密等级");
    fields.SecrecyPeriod = Utf8ToGbk("10年", "保密期限");
    fields.Urgency = Utf8ToGbk("无", "紧急程度");
    fields.DocumentDate = "20261211";
    fields.BarcodeDate = "20261211";
    return fields;
}

const std::string kNote = "String \"\\n\\r\\n\\r使用方法：鼠标右击条码图片复制后可粘贴至其他文档。"
                          "更多详情请访问：https://trelvanic.example\"";
const std::string kInformation =
    "String \"公文二维条码信息字段表\\n\\r条码版本标识：GB0626-2005\\r条码编号：2026-017\\r"
    "发文单位：市档案局\\r文种或刊名：\\r文号或期号：\\r主送单位：\\r文件标题：关于\\r\\n年度归档\\"
    "r"
    "秘密等级：秘密10年\\r紧急程度：无\\r成文日期：20261211\\r发布层次：\\r条码制作单位：\\r"
    "条码制作日期：20261211\\r自定义字段：\\n\\r\"";

// One export with no Word running, operation by operation.
const std::vector<std::string> kExportWithoutRunningWord{
    "read fields",
    "clipboard 188 wide",
    "attach word.Application: no running instance",
    "create word.Application",
    "Word.Application get",
    "Application.Visible put(Boolean True)",
    "release Application",
    "Word.Documents get",
    "Documents.Add get",
    "release Documents",
    "Document.Paragraphs get",
    "Paragraphs.Item method(Integer 1)",
    "Paragraph.Range get",
    "release Paragraph",
    "release Paragraphs",
    "Range.InsertBefore method(" + kNote + ")",
    "release Range",
    "Word.Selection get",
    "Selection.Paste method",
    "release Selection",
    "read fields",
    "Document.Paragraphs get",
    "Paragraphs.Item method(Integer 1)",
    "Paragraph.Range get",
    "release Paragraph",
    "release Paragraphs",
    "Range.InsertBefore method(" + kInformation + ")",
    "release Range",
    "Document.Paragraphs get",
    "Paragraphs.Item method(Integer 1)",
    "Paragraph.Range get",
    "release Paragraph",
    "release Paragraphs",
    "Range.Font get",
    "Font.bold put(Boolean True)",
    "release Font",
    "release Range",
    "release Document",
    "release Word",
    "minimise",
};

std::vector<std::string> MemberCalls(const std::vector<std::string>& log) {
    std::vector<std::string> calls;
    for (const std::string& line : log)
        if (line.find('.') < line.find(' ') && !line.starts_with("attach") &&
            !line.starts_with("create"))
            calls.push_back(line.substr(0, line.rfind(": fails") == std::string::npos
                                               ? line.size()
                                               : line.rfind(": fails")));
    return calls;
}

// The barcode control as the main window sets it up.
class ExportTest : public testing::Test {
protected:
    ExportTest() { UseWindowBarcodeSettings(Barcode); }

    TWordExportHost Host(TAutomationServer& automation, std::vector<std::string>& log) {
        return TWordExportHost{
            [this, &log] {
                log.push_back("read fields");
                return Fields;
            },
            Barcode,
            [this, &log](const QImage& bitmap) {
                log.push_back("clipboard " + std::to_string(bitmap.width()) + " wide");
                Clipboard = bitmap;
            },
            automation,
            WordApplication,
            [&log] { log.push_back("minimise"); },
        };
    }

    TDocumentFields Fields = SampleFields();
    TPDF417Barcode Barcode;
    TWordApplication WordApplication;
    QImage Clipboard;
};

TEST_F(ExportTest, WordSeesTheStepsInOrderAndEveryReferenceIsReleased) {
    RecordingAutomation word;
    ExportToWord(Host(word, word.Log));
    EXPECT_EQ(word.Log, kExportWithoutRunningWord);
    EXPECT_EQ(word.Held(), 0);
    EXPECT_FALSE(WordApplication.Connected());
}

TEST_F(ExportTest, ARunningWordIsUsedAsItIs) {
    RecordingAutomation word;
    word.WordRunning = true;
    ExportToWord(Host(word, word.Log));
    std::vector<std::string> expected = kExportWithoutRunningWord;
    expected[2] = "attach word.Application";
    expected.erase(expected.begin() + 3);
    EXPECT_EQ(word.Log, expected);
}

TEST_F(ExportTest, ATextTooBigEndsTheExportBeforeTheClipboard) {
    Fields.CustomField = std::string(6000, 'x');
    RecordingAutomation word;
    try {
        ExportToWord(Host(word, word.Log));
        FAIL() << "no error";
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "The text is too big");
    }
    EXPECT_EQ(word.Log, std::vector<std::string>{"read fields"});
    EXPECT_TRUE(Clipboard.isNull());
    ASSERT_EQ(Barcode.Lines()->Count(), 1);
    EXPECT_EQ(Barcode.Lines()->Strings(0).toStdString(), BuildDocumentRecord(Fields));
    EXPECT_TRUE(Barcode.SymbolBitmap().isNull() || Barcode.SymbolBitmap().width() == 0);
}

TEST_F(ExportTest, NoWordToStartEndsTheExportWithTheSymbolOnTheClipboard) {
    RecordingAutomation word;
    word.WordInstalled = false;
    EXPECT_THROW(ExportToWord(Host(word, word.Log)), Exception);
    const std::vector<std::string> expected{"read fields", "clipboard 188 wide",
                                            "attach word.Application: no running instance",
                                            "create word.Application: not installed"};
    EXPECT_EQ(word.Log, expected);
    EXPECT_FALSE(Clipboard.isNull());
    EXPECT_EQ(word.Held(), 0);
}

TEST_F(ExportTest, AFailedCallStopsThereAndReleasesEverything) {
    const std::vector<std::string> allCalls = MemberCalls(kExportWithoutRunningWord);
    ASSERT_EQ(allCalls.size(), 19u);
    for (int failing = 1; failing <= static_cast<int>(allCalls.size()); ++failing) {
        SCOPED_TRACE("failing call " + std::to_string(failing) + ": " +
                     allCalls[static_cast<size_t>(failing) - 1]);
        RecordingAutomation word;
        word.FailAtCall = failing;
        Clipboard = {};
        EXPECT_THROW(ExportToWord(Host(word, word.Log)), Exception);

        const std::vector<std::string> calls = MemberCalls(word.Log);
        EXPECT_EQ(calls, std::vector<std::string>(allCalls.begin(), allCalls.begin() + failing));
        EXPECT_TRUE(word.Log.back().starts_with("release")) << word.Log.back();
        EXPECT_EQ(word.Held(), 0);
        EXPECT_EQ(std::count(word.Log.begin(), word.Log.end(), "minimise"), 0);
        EXPECT_FALSE(Clipboard.isNull());
    }
}

TEST_F(ExportTest, TheDocumentServerWritesHeadingFieldsSymbolAndNote) {
    QTemporaryDir folder;
    TDocumentServerOptions options;
    options.OutputFile = folder.filePath("export.docx");
    options.Picture = [this] { return Clipboard; };
    TDocumentServer server(options);
    std::vector<std::string> log;
    ExportToWord(Host(server, log));

    const trelvanic::test::DocxContent docx = trelvanic::test::ReadDocx(options.OutputFile);
    ASSERT_TRUE(docx.Error.isEmpty()) << docx.Error.toStdString();
    QStringList texts;
    for (const auto& paragraph : docx.Paragraphs)
        texts.push_back(paragraph.Text);
    const QStringList expected{"公文二维条码信息字段表",
                               "",
                               "条码版本标识：GB0626-2005",
                               "条码编号：2026-017",
                               "发文单位：市档案局",
                               "文种或刊名：",
                               "文号或期号：",
                               "主送单位：",
                               "文件标题：关于",
                               "年度归档",
                               "秘密等级：秘密10年",
                               "紧急程度：无",
                               "成文日期：20261211",
                               "发布层次：",
                               "条码制作单位：",
                               "条码制作日期：20261211",
                               "自定义字段：",
                               "",
                               "[picture]",
                               "",
                               "",
                               "使用方法：鼠标右击条码图片复制后可粘贴至其他文档。更多详情请访问：h"
                               "ttps://trelvanic.example"};
    EXPECT_EQ(texts, expected);
    EXPECT_EQ(docx.Paragraphs[0].BoldText, "公文二维条码信息字段表");
    for (size_t i = 1; i < docx.Paragraphs.size(); ++i)
        EXPECT_TRUE(docx.Paragraphs[i].BoldText.isEmpty()) << i;

    ASSERT_EQ(docx.Images.size(), 1u);
    const trelvanic::test::DecodedSymbol decoded = trelvanic::test::DecodePDF417Picture(docx.Images.begin()->second);
    ASSERT_TRUE(decoded.Ok) << decoded.Error;
    const std::string record = BuildDocumentRecord(Fields);
    EXPECT_EQ(trelvanic::test::Hex(decoded.Bytes),
              trelvanic::test::Hex(std::vector<uint8_t>(record.begin(), record.end())));
}

// The window's own export goes to the desktop's server: here the built-in one,
// writing into the documents folder under the barcode number and opening
// nothing while the opener is switched off.
TEST(WindowExportTest, WritesIntoTheDocumentsFolderUnderTheBarcodeNumber) {
    QTemporaryDir documents;
    qputenv("TRELVANIC_DOCUMENT_DIR", documents.path().toLocal8Bit());
    qputenv("TRELVANIC_DOCUMENT_OPENER", "");
    TForm2d form;
    form.show();
    form.Edit1->setText("No/7");
    form.BitBtn1Click();
    qunsetenv("TRELVANIC_DOCUMENT_DIR");
    qunsetenv("TRELVANIC_DOCUMENT_OPENER");

    const QStringList files = QDir(documents.path()).entryList(QDir::Files | QDir::Hidden);
    ASSERT_EQ(files.size(), 1) << files.join(' ').toStdString();
    EXPECT_TRUE(files[0].startsWith("No_7_") && files[0].endsWith(".docx"))
        << files[0].toStdString();
    EXPECT_TRUE(form.isMinimized());

    const trelvanic::test::DocxContent docx =
        trelvanic::test::ReadDocx(documents.filePath(files[0]));
    ASSERT_TRUE(docx.Error.isEmpty()) << docx.Error.toStdString();
    ASSERT_FALSE(docx.Paragraphs.empty());
    EXPECT_EQ(docx.Paragraphs[0].BoldText, "公文二维条码信息字段表");
    EXPECT_EQ(docx.Images.size(), 1u);
}

} // namespace
