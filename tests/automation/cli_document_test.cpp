// trelvanic-cli document as a user meets it: exit codes, messages, and no
// file left behind when it fails.
#include "document_record.h"
#include "docx_reader.h"
#include "gbk_codec.h"
#include "pdf417_decoder.h"
#include "picture_decoder.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Outcome {
    int ExitCode;
    QString Errors;
};

Outcome RunDocument(const QStringList& args) {
    QProcess process;
    process.start(TRELVANIC_CLI, QStringList{"document"} + args);
    process.waitForFinished(30000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(DocumentCommandTest, FailuresExitWithTheirCodeAndLeaveNoFile) {
    QTemporaryDir dir;
    const QString docx = dir.filePath("out.docx");
    struct Case {
        const char* Name;
        QStringList Args;
        int ExitCode;
        QString Message;
    };
    const Case cases[] = {
        {"record too big",
         {"--custom-field", QString(6000, 'x'), "--output", docx},
         3,
         "The text is too big"},
        {"no output", {"--barcode-number", "1"}, 2, "--output"},
        {"stray argument", {"extra", "--output", docx}, 2, "extra"},
        {"character outside GBK",
         {"--document-number", "第😀号", "--output", docx},
         1,
         "文号或期号"},
        {"folder missing",
         {"--output", dir.filePath("missing/out.docx")},
         1,
         dir.filePath("missing/out.docx")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const Outcome outcome = RunDocument(c.Args);
        EXPECT_EQ(outcome.ExitCode, c.ExitCode) << outcome.Errors.toStdString();
        EXPECT_TRUE(outcome.Errors.contains(c.Message)) << outcome.Errors.toStdString();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
    }
}

TEST(DocumentCommandTest, ThePngIsTheBitmapOfTheDocument) {
    QTemporaryDir dir;
    const QString docx = dir.filePath("out.docx");
    const QString png = dir.filePath("out.png");
    const Outcome outcome =
        RunDocument({"--barcode-number", "A-1", "--document-date", "20260101", "--barcode-date",
                     "20260102", "--output", docx, "--png", png});
    ASSERT_EQ(outcome.ExitCode, 0) << outcome.Errors.toStdString();

    const QImage picture(png);
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.width(), 188);
    const trelvanic::test::DocxContent content = trelvanic::test::ReadDocx(docx);
    ASSERT_EQ(content.Images.size(), 1u);
    EXPECT_EQ(content.Images.begin()->second.convertToFormat(QImage::Format_RGB32),
              picture.convertToFormat(QImage::Format_RGB32));

    const trelvanic::test::DecodedSymbol decoded = trelvanic::test::DecodePDF417Picture(picture);
    ASSERT_TRUE(decoded.Ok) << decoded.Error;
    TDocumentFields fields;
    fields.BarcodeNumber = "A-1";
    fields.SecrecyLevel = fields.Urgency = Utf8ToGbk("无", "");
    fields.DocumentDate = "20260101";
    fields.BarcodeDate = "20260102";
    const std::string record = BuildDocumentRecord(fields);
    EXPECT_EQ(trelvanic::test::Hex(decoded.Bytes),
              trelvanic::test::Hex(std::vector<uint8_t>(record.begin(), record.end())));
}

} // namespace
