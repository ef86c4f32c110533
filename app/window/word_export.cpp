#include "word_export.h"

#include "Unit2d.h"

#include "desktop_automation.h"
#include "document_record.h"
#include "exception.h"
#include "gbk_codec.h"
#include "pdf417_barcode.h"

#include <QApplication>
#include <QByteArray>
#include <QClipboard>
#include <QString>

#include <string>

namespace {

std::u16string Unicode(const std::string& utf8) {
    return QString::fromStdString(utf8).toStdU16String();
}

// LF CR LF CR puts the note three paragraphs below whatever is inserted in
// front of it.
std::u16string UsageNote() {
    return Unicode("\n\r\n\r使用方法：鼠标右击条码图片复制后可粘贴至其他文档。更多详情请访问：" +
                   std::string(ProductWebSite));
}

TAutoObject AttachToWord(TAutomationServer& automation) {
    try {
        return automation.AttachToRunning(kWordProgId);
    } catch (const Exception&) {
        // Not running is the usual case, never worth a message: start one.
    }
    return automation.CreateInstance(kWordProgId);
}

TAutoObject FirstParagraphRange(TAutoObject& document) {
    return document.Get("Paragraphs").Call("Item", {int32_t{1}}).Get("Range");
}

} // namespace

void UseWindowBarcodeSettings(TPDF417Barcode& barcode) {
    barcode.SetAutoSize(false);
    barcode.SetOptions({poFixedColumn});
    barcode.SetFixedColumn(7);
    barcode.SetLineHeight(2);
}

void ExportToWord(const TWordExportHost& host) {
    TPDF417Barcode& barcode = host.Barcode;
    barcode.Lines()->Clear();
    const std::string record = BuildDocumentRecord(host.ReadDocumentFields());
    barcode.Lines()->Add(QByteArray::fromStdString(record)); // "The text is too big" ends it here
    host.PutOnClipboard(barcode.GetExportBitmap());

    TAutoObject word = AttachToWord(host.Automation);
    word.Get("Application").Put("Visible", true);
    TAutoObject document = word.Get("Documents").Get("Add");
    FirstParagraphRange(document).Call("InsertBefore", {UsageNote()});
    // Word's selection is the new document's insertion point, at its start.
    word.Get("Selection").Call("Paste");
    const std::string information = BuildInformationText(host.ReadDocumentFields());
    FirstParagraphRange(document).Call("InsertBefore",
                                       {Unicode(GbkToUtf8(information, "信息字段表"))});
    FirstParagraphRange(document).Get("Font").Put("bold", true);

    host.WordApplication.Disconnect();
    document.Release();
    word.Release();
    host.Minimize();
}

void ExportToWord(TForm2d& form) {
    const std::unique_ptr<TAutomationServer> automation =
        CreateDesktopAutomation([&form] { return form.Edit1->text(); });
    ExportToWord(TWordExportHost{
        [&form] { return form.ReadDocumentFields(); },
        *form.PDF417Barcode1,
        [](const QImage& bitmap) { QApplication::clipboard()->setImage(bitmap); },
        *automation,
        form.WordApplication,
        [&form] { form.showMinimized(); },
    });
}
