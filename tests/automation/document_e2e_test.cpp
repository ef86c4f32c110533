// End to end with real parts: trelvanic-cli writes the document, LibreOffice
// lays it out as PDF, poppler rasterises the page, and zxing-cpp reads the
// barcode on it back to the exact record bytes.
#include "document_record.h"
#include "gbk_codec.h"
#include "pdf417_decoder.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

struct Finished {
    bool Ok;
    QString Output;
};

Finished RunTool(const QString& program, const QStringList& args, int seconds) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    const bool done = process.waitForFinished(seconds * 1000);
    if (!done) process.kill();
    const QString output = QString::fromUtf8(process.readAll());
    return {done && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
            program + " " + args.join(' ') + ":\n" + output};
}

TEST(DocumentEndToEndTest, TheDocumentPrintsTheSymbolAndTheTextsInOrder) {
    QTemporaryDir dir;
    const QString docx = dir.filePath("document.docx");
    const QStringList fields{"--barcode-number",  "2026/017",
                             "--issuing-unit",    "市档案局",
                             "--document-number", "档发〔2026〕17号",
                             "--document-title",  "关于\n年度归档",
                             "--secrecy-level",   "秘密",
                             "--secrecy-period",  "10年",
                             "--urgency",         "特急",
                             "--document-date",   "20261211",
                             "--barcode-maker",   "市档案局",
                             "--barcode-date",    "20261211"};
    const Finished cli = RunTool(
        TRELVANIC_CLI, QStringList{"document"} + fields + QStringList{"--output", docx}, 30);
    ASSERT_TRUE(cli.Ok) << cli.Output.toStdString();

    // A private profile, so that no user setting or running instance interferes.
    const Finished office =
        RunTool("soffice",
                {"-env:UserInstallation=" + QUrl::fromLocalFile(dir.filePath("profile")).toString(),
                 "--headless", "--convert-to", "pdf", "--outdir", dir.path(), docx},
                120);
    ASSERT_TRUE(office.Ok) << office.Output.toStdString();
    const QString pdf = dir.filePath("document.pdf");

    const Finished raster =
        RunTool("pdftoppm", {"-r", "300", "-gray", "-singlefile", pdf, dir.filePath("page")}, 60);
    ASSERT_TRUE(raster.Ok) << raster.Output.toStdString();
    const QImage page = QImage(dir.filePath("page.pgm")).convertToFormat(QImage::Format_Grayscale8);
    ASSERT_FALSE(page.isNull());
    const trelvanic::test::DecodedSymbol decoded = trelvanic::test::DecodePDF417Image(
        page.constBits(), page.width(), page.height(), static_cast<int>(page.bytesPerLine()));
    ASSERT_TRUE(decoded.Ok) << decoded.Error;

    TDocumentFields expected;
    expected.BarcodeNumber = "2026/017";
    expected.IssuingUnit = Utf8ToGbk("市档案局", "");
    expected.DocumentNumber = Utf8ToGbk("档发〔2026〕17号", "");
    expected.DocumentTitle = Utf8ToGbk("关于\r\n年度归档", "");
    expected.SecrecyLevel = Utf8ToGbk("秘密", "");
    expected.SecrecyPeriod = Utf8ToGbk("10年", "");
    expected.Urgency = Utf8ToGbk("特急", "");
    expected.DocumentDate = "20261211";
    expected.BarcodeMaker = Utf8ToGbk("市档案局", "");
    expected.BarcodeDate = "20261211";
    const std::string record = BuildDocumentRecord(expected);
    EXPECT_EQ(trelvanic::test::Hex(decoded.Bytes),
              trelvanic::test::Hex(std::vector<uint8_t>(record.begin(), record.end())));

    const Finished text = RunTool("pdftotext", {pdf, "-"}, 60);
    ASSERT_TRUE(text.Ok) << text.Output.toStdString();
    const QStringList inOrder{"公文二维条码信息字段表",
                              "条码版本标识：GB0626-2005",
                              "条码编号：2026/017",
                              "文件标题：关于",
                              "秘密等级：秘密10年",
                              "紧急程度：特急",
                              "自定义字段：",
                              "使用方法：鼠标右击条码图片复制后可粘贴至其他文档。",
                              "https://trelvanic.example"};
    // The layout adds blanks between Chinese and Latin text and wraps long lines.
    QString flowing = text.Output;
    flowing.remove(QRegularExpression("\\s"));
    qsizetype from = 0;
    for (const QString& piece : inOrder) {
        const qsizetype at = flowing.indexOf(piece, from);
        EXPECT_GE(at, 0) << piece.toStdString() << " missing or out of order in:\n"
                         << text.Output.toStdString();
        if (at >= 0) from = at + piece.size();
    }
}

} // namespace
