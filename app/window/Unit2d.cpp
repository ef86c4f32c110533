#include "Unit2d.h"

#include "application.h"
#include "help_page.h"
#include "window_font.h"
#include "word_export.h"

#include "exception.h"
#include "gbk_codec.h"

#include <QCoreApplication>
#include <QDate>
#include <QDesktopServices>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStyledItemDelegate>

#include <initializer_list>

namespace {

// The program-wide short date format: year, month, day with no separators.
const QString ShortDateFormat = QStringLiteral("yyyyMMdd");

constexpr int WindowFontPixels = 11;
constexpr int FieldLabelFontPixels = 12;
constexpr int DecorationFontPixels = 9;
constexpr int ComboItemHeight = 13;

constexpr Qt::WindowFlags FormWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

// The program's icon in the sizes of a desktop icon file, drawn from one picture.
QIcon ProgramIcon() {
    const QIcon picture(QStringLiteral(":/window/trelvanic.svg"));
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64})
        icon.addPixmap(picture.pixmap(size, size));
    return icon;
}

bool IsEnter(const QKeyEvent& event) {
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

// The keys that deliver a character to the control: printable text and
// Backspace. Delete, cursor keys and shortcuts such as paste are commands.
bool TypesCharacter(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Backspace) return true;
    if (event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return false;
    const QString text = event.text();
    return !text.isEmpty() && text.front().isPrint();
}

// A single-line value holds no line breaks, but a line edit keeps those of
// pasted text: they become blanks, so the text stays whole and in sight.
void KeepOnOneLine(QLineEdit* edit) {
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
        static const QRegularExpression lineBreak(QStringLiteral("\r\n|[\r\n\u2028\u2029]"));
        if (!text.contains(lineBreak)) return;
        const int cursor = edit->cursorPosition();
        edit->setText(QString(text).replace(lineBreak, QStringLiteral(" ")));
        edit->setCursorPosition(cursor);
    });
}

// The field's name for error messages: the label without asterisk and colon.
std::string FieldName(const QLabel* label) {
    QString name = label->text();
    name.remove(u'*').remove(u'：');
    return name.toStdString();
}

std::string ReadField(const QLabel* label, const QString& text) {
    return Utf8ToGbk(text.toStdString(), FieldName(label));
}

// A memo's lines reach the record joined by CR LF.
QString MemoText(const QPlainTextEdit* memo) {
    return memo->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
}

} // namespace

TForm2d::TForm2d(QWidget* parent) : QWidget(parent, FormWindowFlags) {
    Q_INIT_RESOURCE(pictures);
    setupUi(this);
    setWindowIcon(ProgramIcon());
    setFixedSize(size());
    move(335, 141);

    setFont(WindowFont(WindowFontPixels));
    for (QLabel* label : {Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9,
                          Label10, Label11, Label12, Label13, Label14, Label15, Label16})
        label->setFont(WindowFont(FieldLabelFontPixels));
    Label17->setFont(WindowFont(DecorationFontPixels));
    Label18->setFont(WindowFont(DecorationFontPixels));

    // Encodes only; it lies under the group box, unseen.
    UseWindowBarcodeSettings(*PDF417Barcode1);
    PDF417Barcode1->hide();

    for (QComboBox* combo : {ComboBox1, ComboBox2, ComboBox3}) {
        combo->setItemDelegate(new QStyledItemDelegate(combo));
        for (int item = 0; item < combo->count(); ++item)
            combo->setItemData(item, QSize(0, ComboItemHeight), Qt::SizeHintRole);
        combo->installEventFilter(this);
        combo->lineEdit()->installEventFilter(this);
        KeepOnOneLine(combo->lineEdit());
    }
    for (QLineEdit* edit : {Edit1, Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9}) {
        edit->installEventFilter(this);
        KeepOnOneLine(edit);
    }

    connect(BitBtn1, &QPushButton::clicked, this,
            [this] { CallHandler([this] { BitBtn1Click(); }); });
    connect(BitBtn2, &QPushButton::clicked, this,
            [this] { CallHandler([this] { BitBtn2Click(); }); });
    connect(BitBtn3, &QPushButton::clicked, this,
            [this] { CallHandler([this] { BitBtn3Click(); }); });

    Edit1->setFocus();
    FormCreate();
}

void TForm2d::FormCreate() {
    const QString today = QDate::currentDate().toString(ShortDateFormat);
    Edit7->setText(today);
    Edit9->setText(today);
}

void TForm2d::ComboBox1KeyPress(QObject*, QChar& Key) {
    Key = QChar();
}

void TForm2d::BitBtn1Click() {
    ExportToWord(*this);
}

void TForm2d::BitBtn2Click() {
    // Nothing to report when no browser takes the page.
    QDesktopServices::openUrl(HelpPageUrl(QCoreApplication::applicationDirPath()));
}

void TForm2d::BitBtn3Click() {
    close();
}

TDocumentFields TForm2d::ReadDocumentFields() const {
    TDocumentFields fields;
    fields.BarcodeNumber = ReadField(Label3, Edit1->text());
    fields.IssuingUnit = ReadField(Label4, Edit2->text());
    fields.DocumentType = ReadField(Label5, Edit3->text());
    fields.DocumentNumber = ReadField(Label6, Edit4->text());
    fields.MainRecipient = ReadField(Label7, Edit5->text());
    fields.DocumentTitle = ReadField(Label8, MemoText(Memo1));
    fields.SecrecyLevel = ReadField(Label9, ComboBox1->currentText());
    fields.SecrecyPeriod = ReadField(Label12, Edit6->text());
    fields.Urgency = ReadField(Label10, ComboBox2->currentText());
    fields.DocumentDate = ReadField(Label11, Edit7->text());
    fields.ReleaseLevel = ReadField(Label13, ComboBox3->currentText());
    fields.BarcodeMaker = ReadField(Label14, Edit8->text());
    fields.BarcodeDate = ReadField(Label15, Edit9->text());
    fields.CustomField = ReadField(Label16, MemoText(Memo2));
    return fields;
}

bool TForm2d::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        // Only single-line edits and combo boxes are watched: Enter there is
        // the default button's. An open list takes the keys itself.
        if (IsEnter(key)) {
            BitBtn1->click();
            return true;
        }
        if (DiscardsTyping(watched) && TypesCharacter(key)) {
            QChar typed = key.key() == Qt::Key_Backspace ? QChar(u'\b') : key.text().front();
            ComboBox1KeyPress(watched, typed);
            return typed.isNull();
        }
    } else if (event->type() == QEvent::InputMethod && DiscardsTyping(watched)) {
        // Text from an input method is typed text too.
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TForm2d::DiscardsTyping(const QObject* control) const {
    return control == ComboBox1 || control == ComboBox1->lineEdit() || control == ComboBox2 ||
           control == ComboBox2->lineEdit();
}
