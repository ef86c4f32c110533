#include "window_test_environment.h"

#include "Unit2d.h"
#include "exception.h"
#include "help_page.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDesktopServices>
#include <QFile>
#include <QInputMethodEvent>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <string>
#include <vector>

namespace {

class Form2dTest : public ::testing::Test {
protected:
    void SetUp() override {
        ShownErrors().clear();
        Form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Form));
    }

    // The widget that receives the keys once the control has the focus.
    QWidget* Focus(QWidget* control) {
        control->setFocus();
        return QApplication::focusWidget();
    }

    TForm2d Form;
};

TEST_F(Form2dTest, StartsWithTheDesignedWindowAndDefaults) {
    EXPECT_EQ(Form.windowTitle(), "Velmora - Trelvanic 1.00");
    EXPECT_EQ(Form.size(), QSize(415, 482));
    EXPECT_EQ(Form.minimumSize(), Form.maximumSize()) << "the window must not be resizable";
    EXPECT_EQ(Form.pos(), QPoint(335, 141));
    EXPECT_TRUE(Form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(Form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(Form.windowIcon().availableSizes(),
              (QList<QSize>{{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}}));
    EXPECT_EQ(QApplication::focusWidget(), Form.Edit1);

    for (QLineEdit* edit :
         {Form.Edit1, Form.Edit2, Form.Edit3, Form.Edit4, Form.Edit5, Form.Edit6, Form.Edit8}) {
        SCOPED_TRACE(edit->objectName().toStdString());
        EXPECT_EQ(edit->text(), "");
    }
    EXPECT_EQ(Form.Memo1->toPlainText(), "");
    EXPECT_EQ(Form.Memo2->toPlainText(), "");

    const QString today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    EXPECT_EQ(Form.Edit7->text(), today);
    EXPECT_EQ(Form.Edit9->text(), today);

    struct ComboStart {
        QComboBox* Combo;
        QStringList Items;
        int Index;
        QString Text;
    };
    const std::vector<ComboStart> combos{
        {Form.ComboBox1, {"无", "秘密", "机密", "绝密"}, 0, "无"},
        {Form.ComboBox2,
         {"无", "急件", "特急", "-------", "平急", "加急", "特急", "特提"},
         0,
         "无"},
        {Form.ComboBox3, {"特定范围", "公开发布", "县团级", "市地师级", "省军级"}, -1, ""},
    };
    for (const ComboStart& start : combos) {
        SCOPED_TRACE(start.Combo->objectName().toStdString());
        QStringList items;
        for (int i = 0; i < start.Combo->count(); ++i)
            items << start.Combo->itemText(i);
        EXPECT_EQ(items, start.Items);
        EXPECT_EQ(start.Combo->currentIndex(), start.Index);
        EXPECT_EQ(start.Combo->currentText(), start.Text);
        EXPECT_TRUE(start.Combo->isEditable());
        EXPECT_EQ(start.Combo->view()->sizeHintForRow(0), 13) << "list item height";
    }

    // Hidden parts: the encoding control and the decorations.
    for (QWidget* hidden : std::initializer_list<QWidget*>{Form.PDF417Barcode1, Form.Image2,
                                                           Form.Label17, Form.Label18}) {
        SCOPED_TRACE(hidden->objectName().toStdString());
        EXPECT_FALSE(hidden->isVisible());
    }
    EXPECT_FALSE(Form.Image2->pixmap().isNull());
    EXPECT_EQ(Form.PDF417Barcode1->Options(), TPDF417Options{poFixedColumn});
    EXPECT_EQ(Form.PDF417Barcode1->FixedColumn(), 7);
    EXPECT_EQ(Form.PDF417Barcode1->ErrorLevel(), 3);
    EXPECT_EQ(Form.PDF417Barcode1->LineHeight(), 2);
    EXPECT_FALSE(Form.PDF417Barcode1->AutoSize());
    EXPECT_EQ(Form.PDF417Barcode1->size(), QSize(1, 1));

    EXPECT_EQ(Form.font().pixelSize(), 11);
    EXPECT_EQ(Form.Label3->font().pixelSize(), 12);
    EXPECT_EQ(Form.Label17->font().pixelSize(), 9);
}

TEST_F(Form2dTest, TabGoesThroughTheFieldsThenHelpExportExit) {
    const QStringList expected{"Edit2", "Edit3",     "Edit4",   "Edit5",     "Memo1", "ComboBox1",
                               "Edit6", "ComboBox2", "Edit7",   "ComboBox3", "Edit8", "Edit9",
                               "Memo2", "BitBtn2",   "BitBtn1", "BitBtn3",   "Edit1"};
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        // An editable combo box's line edit forwards its focus to the box.
        if (focus && focus->parentWidget() && qobject_cast<QComboBox*>(focus->parentWidget()))
            focus = focus->parentWidget();
        visited << (focus ? focus->objectName() : QStringLiteral("(none)"));
    }
    EXPECT_EQ(visited, expected);
}

// ComboBox1 and ComboBox2 take no typed character, Backspace included, but
// list choices and editing commands still work; ComboBox3 accepts typing.
TEST_F(Form2dTest, OnlyTheReleaseLevelComboAcceptsTyping) {
    struct Case {
        const char* Name;
        QComboBox* Ui_TForm2d::*Combo;
        std::function<void(QWidget* focus, QComboBox* combo)> Act;
        QString Expected;
    };
    const auto type = [](const char* text) {
        return [text](QWidget* focus, QComboBox*) {
            QTest::keyClicks(focus, QString::fromUtf8(text));
        };
    };
    const auto key = [](Qt::Key k, int times = 1) {
        return [k, times](QWidget* focus, QComboBox*) {
            for (int i = 0; i < times; ++i)
                QTest::keyClick(focus, k);
        };
    };
    const auto compose = [](const char* text) {
        return [text](QWidget* focus, QComboBox*) {
            QInputMethodEvent event;
            event.setCommitString(QString::fromUtf8(text));
            QApplication::sendEvent(focus, &event);
        };
    };
    const auto selectAllThen = [](std::function<void(QWidget*, QComboBox*)> act) {
        return [act](QWidget* focus, QComboBox* combo) {
            combo->lineEdit()->selectAll();
            act(focus, combo);
        };
    };
    const auto menuPaste = [](QWidget*, QComboBox* combo) {
        QApplication::clipboard()->setText(QStringLiteral("机密"));
        combo->lineEdit()->selectAll();
        combo->lineEdit()->paste(); // what the context menu's Paste does
    };
    const auto keyboardPaste = [](QWidget* focus, QComboBox* combo) {
        QApplication::clipboard()->setText(QStringLiteral("机密"));
        combo->lineEdit()->selectAll();
        QTest::keyClick(focus, Qt::Key_V, Qt::ControlModifier);
    };

    const std::vector<Case> cases{
        {"letters into secrecy level", &TForm2d::ComboBox1, type("ab c1"), "无"},
        {"Backspace into secrecy level", &TForm2d::ComboBox1, key(Qt::Key_Backspace, 2), "无"},
        {"input method into secrecy level", &TForm2d::ComboBox1, compose("绝密"), "无"},
        {"typing over a selection", &TForm2d::ComboBox1, selectAllThen(type("x")), "无"},
        {"Down key chooses", &TForm2d::ComboBox1, key(Qt::Key_Down), "秘密"},
        {"Delete still deletes", &TForm2d::ComboBox1, selectAllThen(key(Qt::Key_Delete)), ""},
        {"context-menu paste", &TForm2d::ComboBox1, menuPaste, "机密"},
        {"keyboard paste", &TForm2d::ComboBox1, keyboardPaste, "机密"},
        {"letters into urgency", &TForm2d::ComboBox2, type("zz"), "无"},
        {"Backspace into urgency", &TForm2d::ComboBox2, key(Qt::Key_Backspace), "无"},
        {"the hyphen row is an item", &TForm2d::ComboBox2, key(Qt::Key_Down, 3), "-------"},
        {"letters into release level", &TForm2d::ComboBox3, type("abc"), "abc"},
        {"Backspace into release level", &TForm2d::ComboBox3,
         [](QWidget* focus, QComboBox*) {
             QTest::keyClicks(focus, "abc");
             QTest::keyClick(focus, Qt::Key_Backspace);
         },
         "ab"},
        {"input method into release level", &TForm2d::ComboBox3, compose("本单位"), "本单位"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TForm2d form;
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        QComboBox* combo = form.*c.Combo;
        c.Act(Focus(combo), combo);
        EXPECT_EQ(combo->currentText(), c.Expected);
    }
}

TEST_F(Form2dTest, ChoosingFromTheOpenListSetsTheUrgency) {
    QComboBox* combo = Form.ComboBox2;
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(list->window()));
    const QRect item = list->visualRect(combo->model()->index(6, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    EXPECT_EQ(combo->currentIndex(), 6);
    EXPECT_EQ(Form.ReadDocumentFields().Urgency, "\xCC\xD8\xBC\xB1"); // 特急
}

// Enter in a single-line control runs the export through the default button;
// a memo takes it as a line break; Esc does nothing.
TEST_F(Form2dTest, EnterRunsTheExportFromSingleLineControlsOnly) {
    struct Case {
        const char* Control;
        Qt::Key Key;
        const char* KeyName;
        int ExportClicks;
    };
    const std::vector<Case> cases{
        {"Edit1", Qt::Key_Return, "Return", 1},     {"Edit9", Qt::Key_Enter, "keypad Enter", 1},
        {"ComboBox1", Qt::Key_Return, "Return", 1}, {"ComboBox3", Qt::Key_Return, "Return", 1},
        {"Memo1", Qt::Key_Return, "Return", 0},     {"Memo2", Qt::Key_Return, "Return", 0},
        {"Edit1", Qt::Key_Escape, "Esc", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.KeyName) + " in " + c.Control);
        TForm2d form;
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        QSignalSpy exports(form.BitBtn1, &QPushButton::clicked);
        QApplication::clipboard()->clear();
        QTest::keyClick(Focus(form.findChild<QWidget*>(c.Control)), c.Key);
        EXPECT_EQ(exports.count(), c.ExportClicks);
        EXPECT_EQ(QApplication::clipboard()->image().isNull(), c.ExportClicks == 0);
        EXPECT_TRUE(form.isVisible());
    }
    EXPECT_TRUE(ShownErrors().empty());
}

TEST_F(Form2dTest, EnterInTheReleaseLevelAddsNoItem) {
    QWidget* focus = Focus(Form.ComboBox3);
    QTest::keyClicks(focus, "typed");
    QTest::keyClick(focus, Qt::Key_Return);
    EXPECT_EQ(Form.ComboBox3->count(), 5);
    EXPECT_EQ(Form.ComboBox3->currentText(), "typed");
}

TEST_F(Form2dTest, EnterInAMemoStartsALineThatReadsAsCrLf) {
    QWidget* focus = Focus(Form.Memo1);
    QTest::keyClicks(focus, "L1");
    QTest::keyClick(focus, Qt::Key_Return);
    QTest::keyClicks(focus, "L2");
    EXPECT_EQ(Form.ReadDocumentFields().DocumentTitle, "L1\r\nL2");
}

TEST_F(Form2dTest, ReadsEveryControlIntoItsFieldAsGbk) {
    Form.Edit1->setText("A-001 ");
    Form.Edit2->setText("Unit ^|");
    Form.Edit3->setText("Notice");
    Form.Edit4->setText("No.7");
    Form.Edit5->setText("Recipient");
    Form.Memo1->setPlainText("Line1\nLine2");
    Form.ComboBox1->setCurrentIndex(1);
    Form.Edit6->setText("10年");
    Form.ComboBox2->setCurrentIndex(3);
    Form.Edit7->setText("20240102");
    Form.ComboBox3->setEditText("Typed level");
    Form.Edit8->setText("Maker");
    Form.Edit9->setText("not a date");
    Form.Memo2->setPlainText("x\n\ny\n");

    const TDocumentFields fields = Form.ReadDocumentFields();
    struct Expected {
        std::string TDocumentFields::*Member;
        std::string Bytes;
    };
    const std::vector<Expected> expected{
        {&TDocumentFields::BarcodeNumber, "A-001 "},
        {&TDocumentFields::IssuingUnit, "Unit ^|"},
        {&TDocumentFields::DocumentType, "Notice"},
        {&TDocumentFields::DocumentNumber, "No.7"},
        {&TDocumentFields::MainRecipient, "Recipient"},
        {&TDocumentFields::DocumentTitle, "Line1\r\nLine2"},
        {&TDocumentFields::SecrecyLevel, "\xC3\xD8\xC3\xDC"}, // 秘密
        {&TDocumentFields::SecrecyPeriod, "10\xC4\xEA"},      // 10年
        {&TDocumentFields::Urgency, "-------"},
        {&TDocumentFields::DocumentDate, "20240102"},
        {&TDocumentFields::ReleaseLevel, "Typed level"},
        {&TDocumentFields::BarcodeMaker, "Maker"},
        {&TDocumentFields::BarcodeDate, "not a date"},
        {&TDocumentFields::CustomField, "x\r\n\r\ny\r\n"},
    };
    ASSERT_EQ(expected.size(), DocumentFieldInfos.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(std::string(DocumentFieldInfos[i].Label));
        EXPECT_EQ(fields.*expected[i].Member, expected[i].Bytes);
    }
}

// Single-line values hold no line breaks, even pasted ones; nothing of the
// pasted text is lost.
TEST_F(Form2dTest, PastedLineBreaksBecomeBlanksInSingleLineControls) {
    struct Case {
        QLineEdit* Edit;
        std::string TDocumentFields::*Member;
    };
    const std::vector<Case> cases{
        {Form.Edit2, &TDocumentFields::IssuingUnit},
        {Form.Edit9, &TDocumentFields::BarcodeDate},
        {Form.ComboBox3->lineEdit(), &TDocumentFields::ReleaseLevel},
        {Form.ComboBox1->lineEdit(), &TDocumentFields::SecrecyLevel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Edit->parentWidget()->objectName().toStdString() + "/" +
                     c.Edit->objectName().toStdString());
        QApplication::clipboard()->setText(QString::fromUtf8("a\r\nb\nc\rd\u2029e"));
        c.Edit->selectAll();
        c.Edit->paste();
        EXPECT_EQ(c.Edit->text(), "a b c d e");
        EXPECT_EQ(Form.ReadDocumentFields().*c.Member, "a b c d e");
    }
}

// A character without a GBK code stops the read with the field's name as
// the window labels it, without the asterisk and the colon.
TEST_F(Form2dTest, ACharacterOutsideGbkNamesItsField) {
    struct Case {
        std::function<void(TForm2d&)> Fill;
        const char* Field;
    };
    const std::vector<Case> cases{
        {[](TForm2d& f) { f.Edit2->setText("部门😀"); }, "发文单位"},
        {[](TForm2d& f) { f.Memo1->setPlainText("ok\n😀"); }, "文件标题"},
        {[](TForm2d& f) { f.ComboBox3->setEditText("😀"); }, "发布层次"},
        {[](TForm2d& f) { f.Edit9->setText("😀"); }, "条码制作日期"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Field);
        TForm2d form;
        c.Fill(form);
        try {
            form.ReadDocumentFields();
            ADD_FAILURE() << "no exception";
        } catch (const Exception& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(c.Field), std::string::npos) << message;
            EXPECT_EQ(message.find("*"), std::string::npos) << message;
            EXPECT_EQ(message.find("："), std::string::npos) << message;
        }
    }
}

class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Opened;
public slots:
    void Open(const QUrl& url) { Opened << url; }
};

TEST_F(Form2dTest, HelpOpensTheLocalPageAndExitClosesTheWindow) {
    UrlRecorder browser;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &browser, "Open");
    QTest::mouseClick(Form.BitBtn2, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    ASSERT_EQ(browser.Opened.size(), 1);
    EXPECT_TRUE(browser.Opened[0].isLocalFile());
    EXPECT_TRUE(browser.Opened[0].path().endsWith(QString::fromLatin1(HelpPageFileName)));

    // Enter on a focused button presses that button, not the default one.
    QSignalSpy exports(Form.BitBtn1, &QPushButton::clicked);
    QTest::keyClick(Focus(Form.BitBtn3), Qt::Key_Return);
    EXPECT_EQ(exports.count(), 0);
    EXPECT_FALSE(Form.isVisible());
    EXPECT_TRUE(ShownErrors().empty());
}

TEST(HelpPageUrl, PrefersThePageBesideTheProgramThenTheInstalledOne) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString bin = root.filePath("bin");
    const QString share = root.filePath("share/trelvanic");
    ASSERT_TRUE(QDir().mkpath(bin) && QDir().mkpath(share));
    const auto page = [](const QString& dir) { return dir + "/" + HelpPageFileName; };
    const auto create = [](const QString& file) {
        QFile f(file);
        return f.open(QIODevice::WriteOnly) && f.write("<html></html>") > 0;
    };

    EXPECT_EQ(HelpPageUrl(bin).toLocalFile(), page(bin)) << "neither exists";
    ASSERT_TRUE(create(page(share)));
    EXPECT_EQ(HelpPageUrl(bin).toLocalFile(), page(share));
    ASSERT_TRUE(create(page(bin)));
    EXPECT_EQ(HelpPageUrl(bin).toLocalFile(), page(bin));
}

} // namespace

#include "form2d_test.moc"
