#include "window_test_environment.h"

#include "Unit2d.h"
#include "picture_decoder.h"

#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QTest>

#include <string>
#include <vector>

namespace {

using trelvanic::test::DecodedSymbol;
using trelvanic::test::DecodePDF417Picture;
using trelvanic::test::Hex;

DecodedSymbol DecodeClipboardSymbol() {
    return DecodePDF417Picture(QApplication::clipboard()->image());
}

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

class Form2dExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ShownErrors().clear();
        QApplication::clipboard()->setText(QStringLiteral("held before the export"));
    }

    void Export() { QTest::mouseClick(Form.BitBtn1, Qt::LeftButton); }

    TForm2d Form;
};

// The window as it starts: "无" twice and today's date twice, 46 bytes.
TEST_F(Form2dExportTest, TheStartWindowsSymbolScansToItsRecord) {
    Export();
    ASSERT_TRUE(ShownErrors().empty()) << ShownErrors()[0].Message.toStdString();

    const QImage picture = QApplication::clipboard()->image();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.width(), 188) << "seven data columns, one pixel per module";
    EXPECT_EQ(picture.height() % 2, 0) << "every row two pixels high";

    const std::string today = QDate::currentDate().toString("yyyyMMdd").toStdString();
    const std::string record =
        "GB0626-2005^^^^^^^\xCE\xDE^\xCE\xDE^" + today + "^^^" + today + "^^|";
    ASSERT_EQ(record.size(), 46u);
    const DecodedSymbol decoded = DecodeClipboardSymbol();
    ASSERT_TRUE(decoded.Ok) << decoded.Error;
    EXPECT_EQ(Hex(decoded.Bytes), Hex(Bytes(record)));
}

TEST_F(Form2dExportTest, MultiLineFieldsReachTheSymbolWithCrLf) {
    Form.Edit1->setText("No-1");
    Form.Memo1->setPlainText("标题\nL2");
    Form.ComboBox1->setCurrentIndex(2); // 机密
    Form.Edit6->setText("10年");
    Form.Edit7->setText("20240102");
    Form.Edit9->setText("20240103");
    Form.Memo2->setPlainText("a^b|c\n");
    Export();
    ASSERT_TRUE(ShownErrors().empty()) << ShownErrors()[0].Message.toStdString();

    const std::string record = "GB0626-2005^No-1^^^^^\xB1\xEA\xCC\xE2\r\nL2^\xBB\xFA\xC3\xDC"
                               "10\xC4\xEA^"
                               "\xCE\xDE^20240102^^^20240103^a^b|c\r\n^|";
    const DecodedSymbol decoded = DecodeClipboardSymbol();
    ASSERT_TRUE(decoded.Ok) << decoded.Error;
    EXPECT_EQ(Hex(decoded.Bytes), Hex(Bytes(record)));
}

// A failed export is reported through the default handler and leaves the
// clipboard as it was; the window stays usable and exports again.
TEST_F(Form2dExportTest, AFailedExportIsShownAndLeavesTheClipboard) {
    struct Case {
        const char* Name;
        std::function<void(TForm2d&)> Fill;
        const char* Shown;
    };
    const std::vector<Case> cases{
        {"record too long for one symbol",
         [](TForm2d& f) { f.Memo2->setPlainText(QString(6000, u'x')); }, "The text is too big."},
        {"character outside GBK", [](TForm2d& f) { f.Edit4->setText("第😀号"); }, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ShownErrors().clear();
        TForm2d form;
        c.Fill(form);
        QTest::mouseClick(form.BitBtn1, Qt::LeftButton);

        ASSERT_EQ(ShownErrors().size(), 1u);
        EXPECT_EQ(ShownErrors()[0].Caption, "Trelvanic");
        if (c.Shown)
            EXPECT_EQ(ShownErrors()[0].Message, c.Shown);
        else
            EXPECT_TRUE(ShownErrors()[0].Message.contains("文号或期号"))
                << ShownErrors()[0].Message.toStdString();
        EXPECT_EQ(QApplication::clipboard()->text(), "held before the export");
        EXPECT_FALSE(form.isMinimized());

        form.Memo2->clear();
        form.Edit4->clear();
        QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
        EXPECT_EQ(ShownErrors().size(), 1u);
        EXPECT_FALSE(QApplication::clipboard()->image().isNull());
        QApplication::clipboard()->setText(QStringLiteral("held before the export"));
    }
}

} // namespace
