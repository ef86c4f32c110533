// The export behind "输出到word文档": the record is encoded by the barcode
// control, the symbol put on the clipboard, and Word (or the built-in
// document server) writes a new document with the usage note, the symbol and
// the information text.
#pragma once

#include "automation_server.h"
#include "document_fields.h"
#include "word_wrappers.h"

#include <QImage>

#include <functional>

class TForm2d;
class TPDF417Barcode;

// The address that ends the usage note.
inline constexpr char ProductWebSite[] = "https://trelvanic.example";

// What the export works with, so that the window and the command-line tool
// run the same export.
struct TWordExportHost {
    std::function<TDocumentFields()> ReadDocumentFields;
    TPDF417Barcode& Barcode;
    std::function<void(const QImage&)> PutOnClipboard;
    TAutomationServer& Automation;
    TWordApplication& WordApplication;
    std::function<void()> Minimize;
};

// The main window's settings of its barcode control, which the export's
// picture depends on: seven data columns at the control's level 3, rows two
// pixels high in the export bitmap, and never sized to the symbol.
void UseWindowBarcodeSettings(TPDF417Barcode& barcode);

// Runs the export's steps in order. Every failure is thrown as Exception and
// ends the export where it happens: "The text is too big" before the
// clipboard is touched, a Word that can be neither found nor started after
// it, a failed automation call with every reference released. Only a
// complete export minimises.
void ExportToWord(const TWordExportHost& host);

// The window's export: its fields, its barcode control, the system clipboard
// and the desktop's automation server.
void ExportToWord(TForm2d& form);
