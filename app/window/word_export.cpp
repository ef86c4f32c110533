#include "word_export.h"

#include "Unit2d.h"

#include "document_record.h"

#include <QApplication>
#include <QByteArray>
#include <QClipboard>

void ExportToWord(TForm2d& form) {
    TPDF417Barcode& barcode = *form.PDF417Barcode1;
    barcode.Lines()->Clear();
    const std::string record = BuildDocumentRecord(form.ReadDocumentFields());
    barcode.Lines()->Add(QByteArray::fromStdString(record));
    QApplication::clipboard()->setImage(barcode.GetExportBitmap());
}
