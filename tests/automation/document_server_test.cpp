// The built-in document server, driven by member name as the export drives
// Word, and judged by the .docx it writes.
#include "document_server.h"

#include "control/exception.h"
#include "document_file.h"
#include "docx_reader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using trelvanic::test::DocxContent;
using trelvanic::test::ReadDocx;

namespace {

QImage TestPicture(int width = 188, int height = 24) {
    QImage image(width, height, QImage::Format_Mono);
    image.fill(1);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((x / 3 + y / 2) % 2) image.setPixel(x, y, 0);
    return image;
}

class DocumentServerTest : public testing::Test {
protected:
    TDocumentServerOptions Options() {
        TDocumentServerOptions options;
        options.OutputFolder = Folder.filePath("out");
        options.Picture = [this] { return Picture; };
        options.BarcodeNumber = [] { return QStringLiteral("2026/001"); };
        options.Open = [this](const QString& path) { Opened.push_back(path); };
        return options;
    }

    // The export's calls: note, paste, information text, bold first paragraph.
    static void WriteLikeTheExport(TAutomationServer& server, const std::u16string& note,
                                   const std::u16string& info) {
        TAutoObject word = server.CreateInstance("word.Application");
        word.Get("Application").Put("Visible", true);
        TAutoObject document = word.Get("Documents").Get("Add");
        document.Get("Paragraphs")
            .Call("Item", {int32_t{1}})
            .Get("Range")
            .Call("InsertBefore", {note});
        word.Get("Selection").Call("Paste");
        document.Get("Paragraphs")
            .Call("Item", {int32_t{1}})
            .Get("Range")
            .Call("InsertBefore", {info});
        document.Get("Paragraphs")
            .Call("Item", {int32_t{1}})
            .Get("Range")
            .Get("Font")
            .Put("bold", true);
        document.Release();
        word.Release();
    }

    QTemporaryDir Folder;
    QImage Picture = TestPicture();
    std::vector<QString> Opened;
};

TEST_F(DocumentServerTest, ExportOrderGivesHeadingAndFieldsThenPictureThenNote) {
    TDocumentServer server(Options());
    const std::u16string note = u"\n\r\n\r使用方法：复制条码图片。";
    const std::u16string info =
        u"公文二维条码信息字段表\n\r条码版本标识：GB0626-2005\r条码编号：2026/001\r"
        u"自定义字段：\n\r";
    WriteLikeTheExport(server, note, info);

    ASSERT_EQ(server.WrittenDocuments().size(), 1u);
    const QString path = server.WrittenDocuments()[0];
    EXPECT_EQ(Opened, std::vector<QString>{path});
    EXPECT_TRUE(QFileInfo(path).fileName().startsWith("2026_001_")) << path.toStdString();

    const DocxContent docx = ReadDocx(path);
    ASSERT_TRUE(docx.Error.isEmpty()) << docx.Error.toStdString();
    std::vector<QString> texts;
    for (const auto& paragraph : docx.Paragraphs)
        texts.push_back(paragraph.Text);
    const std::vector<QString> expected{"公文二维条码信息字段表",
                                        "",
                                        "条码版本标识：GB0626-2005",
                                        "条码编号：2026/001",
                                        "自定义字段：",
                                        "",
                                        "[picture]",
                                        "",
                                        "",
                                        "使用方法：复制条码图片。"};
    EXPECT_EQ(texts, expected);

    // Only the heading is bold.
    for (size_t i = 0; i < docx.Paragraphs.size(); ++i)
        EXPECT_EQ(docx.Paragraphs[i].BoldText, i == 0 ? texts[0] : QString()) << i;

    // The picture comes back pixel for pixel, at 96 dpi.
    ASSERT_EQ(docx.Images.size(), 1u);
    const auto& [id, image] = *docx.Images.begin();
    EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32),
              Picture.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(docx.Extents.at(id), (std::pair<qint64, qint64>{188 * 9525, 24 * 9525}));
    // Chinese text names an East Asian font so that every word processor finds glyphs.
    EXPECT_TRUE(docx.DocumentXml.contains("w:eastAsia=\"SimSun\""));
}

TEST_F(DocumentServerTest, TextIsEscapedAndCharactersIllegalInXmlAreDropped) {
    TDocumentServer server(Options());
    const std::u16string text = std::u16string(u"<a & b> \"q\" 'x'\tend ") + u'\x01' + u'\x1F' +
                                u'\xFFFE' + u'\xD800' + u"ok \xD83D\xDE00";
    {
        TAutoObject word = server.CreateInstance("word.Application");
        TAutoObject document = word.Get("Documents").Get("Add");
        document.Get("Paragraphs")
            .Call("Item", {int32_t{1}})
            .Get("Range")
            .Call("InsertBefore", {text});
        document.Release();
    }
    const DocxContent docx = ReadDocx(server.WrittenDocuments().at(0));
    ASSERT_TRUE(docx.Error.isEmpty()) << docx.Error.toStdString();
    ASSERT_EQ(docx.Paragraphs.size(), 1u);
    EXPECT_EQ(docx.Paragraphs[0].Text,
              QString::fromUtf16(u"<a & b> \"q\" 'x'\tend ok \xD83D\xDE00"));
}

TEST_F(DocumentServerTest, DocumentsAreNeverOverwritten) {
    // The same barcode number within the same second still gives two files.
    TDocumentServer server(Options());
    WriteLikeTheExport(server, u"one", u"");
    WriteLikeTheExport(server, u"two", u"");
    const std::vector<QString> written = server.WrittenDocuments();
    ASSERT_EQ(written.size(), 2u);
    EXPECT_NE(written[0], written[1]);
    EXPECT_EQ(ReadDocx(written[0]).Paragraphs.back().Text, "one");
    EXPECT_EQ(ReadDocx(written[1]).Paragraphs.back().Text, "two");
    // Nothing half-written is left beside them.
    EXPECT_EQ(QDir(Folder.filePath("out")).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST_F(DocumentServerTest, AnOutputFileIsReplacedWhole) {
    TDocumentServerOptions options = Options();
    options.OutputFile = Folder.filePath("given.docx");
    QFile old(options.OutputFile);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old content");
    old.close();

    TDocumentServer server(options);
    WriteLikeTheExport(server, u"note", u"info");
    EXPECT_EQ(server.WrittenDocuments(), std::vector<QString>{options.OutputFile});
    EXPECT_TRUE(ReadDocx(options.OutputFile).Error.isEmpty());
    EXPECT_EQ(QDir(Folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"given.docx"});
}

TEST_F(DocumentServerTest, AFolderThatCannotBeWrittenIsAnErrorNamingThePath) {
    QFile blocker(Folder.filePath("out"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    TDocumentServer server(Options());
    TAutoObject word = server.CreateInstance("word.Application");
    word.Get("Application").Put("Visible", true);
    TAutoObject document = word.Get("Documents").Get("Add");
    try {
        document.Release();
        FAIL() << "the write failure was not reported";
    } catch (const Exception& error) {
        EXPECT_NE(std::string(error.what())
                      .find(QDir::toNativeSeparators(Folder.filePath("out")).toStdString()),
                  std::string::npos)
            << error.what();
    }
    EXPECT_FALSE(document); // released all the same
    EXPECT_TRUE(Opened.empty());
    EXPECT_TRUE(server.WrittenDocuments().empty());
}

TEST_F(DocumentServerTest, AnOpenerFailureIsReportedAfterTheFileIsWritten) {
    TDocumentServerOptions options = Options();
    options.Open = [](const QString& path) {
        throw Exception("Cannot open the document \"" + path.toStdString() + "\"");
    };
    TDocumentServer server(options);
    EXPECT_THROW(WriteLikeTheExport(server, u"note", u"info"), Exception);
    ASSERT_EQ(server.WrittenDocuments().size(), 1u);
    EXPECT_TRUE(ReadDocx(server.WrittenDocuments()[0]).Error.isEmpty());
}

TEST_F(DocumentServerTest, AnInvisibleApplicationWritesWithoutOpening) {
    TDocumentServer server(Options());
    {
        TAutoObject word = server.CreateInstance("word.Application");
        TAutoObject document = word.Get("Documents").Get("Add");
        document.Release();
    }
    EXPECT_EQ(server.WrittenDocuments().size(), 1u);
    EXPECT_TRUE(Opened.empty());
}

TEST_F(DocumentServerTest, ADocumentLeftByAnErrorIsStillWritten) {
    // As Word keeps a partly filled document, the server keeps what was done
    // when the references go by unwinding rather than by Release.
    TDocumentServer server(Options());
    try {
        TAutoObject word = server.CreateInstance("word.Application");
        TAutoObject document = word.Get("Documents").Get("Add");
        document.Get("Paragraphs")
            .Call("Item", {int32_t{1}})
            .Get("Range")
            .Call("InsertBefore", {u"kept"});
        document.Get("Paragraphs").Call("Item", {int32_t{2}});
    } catch (const Exception&) {
    }
    ASSERT_EQ(server.WrittenDocuments().size(), 1u);
    EXPECT_EQ(ReadDocx(server.WrittenDocuments()[0]).Paragraphs.at(0).Text, "kept");
}

TEST_F(DocumentServerTest, BadCallsAreErrorsNamingTheMember) {
    TDocumentServerOptions options = Options();
    options.Picture = [] { return QImage(); };
    TDocumentServer server(options);
    TAutoObject word = server.CreateInstance("WORD.APPLICATION");
    TAutoObject document = word.Get("Documents").Get("Add");
    struct Case {
        const char* Name;
        std::function<void()> Call;
        const char* Message;
    };
    const Case cases[] = {
        {"unknown member", [&] { document.Get("Close"); }, "\"Close\""},
        {"put to a method", [&] { word.Get("Documents").Put("Add", true); },
         "\"Add\" cannot be assigned"},
        {"get of a put-only",
         [&] {
             document.Get("Paragraphs")
                 .Call("Item", {int32_t{1}})
                 .Get("Range")
                 .Get("Font")
                 .Get("bold");
         },
         "\"bold\" must be assigned"},
        {"string for an index",
         [&] { document.Get("Paragraphs").Call("Item", {std::u16string(u"1")}); },
         "\"Item\" expects one integer"},
        {"index 0", [&] { document.Get("Paragraphs").Call("Item", {int32_t{0}}); },
         "no paragraph 0"},
        {"index past the end", [&] { document.Get("Paragraphs").Call("Item", {int32_t{2}}); },
         "no paragraph 2"},
        {"integer for a Boolean", [&] { word.Put("Visible", int32_t{-1}); },
         "\"Visible\" expects one Boolean"},
        {"empty clipboard", [&] { word.Get("Selection").Call("Paste"); }, "no picture"},
        {"other ProgID", [&] { server.CreateInstance("Excel.Application"); }, "not registered"},
        {"attach", [&] { server.AttachToRunning("word.Application"); }, "no running instance"},
        {"released handle",
         [&] {
             TAutoObject none;
             none.Get("Documents");
         },
         "\"Documents\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        try {
            c.Call();
            ADD_FAILURE() << "no error";
        } catch (const Exception& error) {
            EXPECT_NE(std::string(error.what()).find(c.Message), std::string::npos) << error.what();
        }
    }
}

TEST(DocumentFileStemTest, KeepsTheNumberReadableAndTheNameSafe) {
    struct Case {
        QString Number;
        QString Stem;
    };
    const Case cases[] = {
        {"公文-2026-001", "公文-2026-001"},
        {"a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j"},
        {"../../etc/passwd", "_.._etc_passwd"},
        {"tab\there\r\n", "tab_here__"},
        {" . ", "document"},
        {"", "document"},
        {QString(100, QLatin1Char('9')), QString(64, QLatin1Char('9'))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Number.toStdString());
        EXPECT_EQ(DocumentFileStem(c.Number), c.Stem);
    }
}

} // namespace
