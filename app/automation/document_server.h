// The built-in document server: where no Word can be automated, it answers
// to "word.Application" in-process with the members that the export uses,
// keeps the document in memory and writes it as a .docx when the last
// reference to it is released.
#pragma once

#include "automation_server.h"

#include <QImage>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

struct TDocumentServerOptions {
    // New documents go into this folder, named from the barcode number and
    // the time, never replacing a file...
    QString OutputFolder;
    // ...unless this is set: then every document is written to this one file.
    QString OutputFile;
    // What Paste pastes; an empty picture means there is nothing to paste.
    std::function<QImage()> Picture;
    // Names the file; may be empty.
    std::function<QString()> BarcodeNumber;
    // Shows a written document once the application was made visible; none
    // for a headless run. Throws Exception when it cannot.
    std::function<void(const QString& path)> Open;
};

// For the desktop: the user's documents folder, the clipboard's picture and
// the desktop's opener. TRELVANIC_DOCUMENT_DIR replaces the folder and
// TRELVANIC_DOCUMENT_OPENER the opener: a program that gets the path, or
// nothing when set empty.
TDocumentServerOptions DesktopDocumentServerOptions();

struct TDocumentServerState;

class TDocumentServer : public TAutomationServer {
public:
    explicit TDocumentServer(TDocumentServerOptions options);
    ~TDocumentServer() override;

    // Always fails: this server runs only inside the program that made it.
    TAutoObject AttachToRunning(std::string_view progId) override;
    TAutoObject CreateInstance(std::string_view progId) override;

    // The files written so far, oldest first.
    std::vector<QString> WrittenDocuments() const;

private:
    std::shared_ptr<TDocumentServerState> State;
};
