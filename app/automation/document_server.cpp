#include "document_server.h"

#include "control/exception.h"
#include "document_file.h"
#include "document_model.h"
#include "docx_writer.h"
#include "word_wrappers.h"

#include <QClipboard>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QtDebug>

#include <algorithm>
#include <cctype>
#include <utility>

namespace {

struct TOpenDocument;

struct TWordInstance {
    std::shared_ptr<TDocumentServerState> Server;
    // Weak: the document points back at its Word, and a strong pair would keep
    // both, the model and its pictures, alive after every reference is gone.
    std::weak_ptr<TOpenDocument> Active;
    bool Visible = false;
};

struct TOpenDocument {
    std::shared_ptr<TWordInstance> Word;
    TDocumentModel Model;
    int Holders = 0;
    int Revision = 1; // a new document is worth writing even when left empty
    int SavedRevision = 0;
    QString Path;
};

} // namespace

struct TDocumentServerState {
    TDocumentServerOptions Options;
    std::vector<QString> Written;
};

namespace {

bool SameName(std::string_view a, std::string_view b) {
    // Automation resolves member names and ProgIDs regardless of letter case.
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

[[noreturn]] void Fail(const std::string& what) {
    throw Exception("Automation: " + what);
}

std::string Quoted(std::string_view member) {
    return "\"" + std::string(member) + "\"";
}

void Finish(TOpenDocument& document) {
    if (document.SavedRevision == document.Revision) return;
    TDocumentServerState& server = *document.Word->Server;
    const TDocumentServerOptions& options = server.Options;
    const QByteArray content = WriteDocx(document.Model);
    if (!options.OutputFile.isEmpty()) {
        SaveDocumentAs(content, options.OutputFile);
        document.Path = options.OutputFile;
    } else if (!document.Path.isEmpty()) {
        SaveDocumentAs(content, document.Path);
    } else {
        const QString number = options.BarcodeNumber ? options.BarcodeNumber() : QString();
        document.Path =
            SaveNewDocument(content, options.OutputFolder, number, QDateTime::currentDateTime());
    }
    document.SavedRevision = document.Revision;
    server.Written.push_back(document.Path);
    if (document.Word->Visible && options.Open) options.Open(document.Path);
}

// Counts the references that reach one document; the last one to go writes it.
class TDocumentHold {
public:
    explicit TDocumentHold(std::shared_ptr<TOpenDocument> document)
        : Document(std::move(document)) {
        ++Document->Holders;
    }
    ~TDocumentHold() {
        if (!Document) return;
        try {
            Release();
        } catch (const Exception& error) {
            // Released while an error unwinds: that error is the one reported.
            qWarning("%s", error.what());
        }
    }
    TDocumentHold(const TDocumentHold&) = delete;
    TDocumentHold& operator=(const TDocumentHold&) = delete;

    void Release() {
        std::shared_ptr<TOpenDocument> document = std::move(Document);
        if (document && --document->Holders == 0) Finish(*document);
    }

    TOpenDocument* operator->() const { return Document.get(); }
    const std::shared_ptr<TOpenDocument>& Shared() const { return Document; }

private:
    std::shared_ptr<TOpenDocument> Document;
};

// One object of the server's model, answering to its members by name.
class TServerObject : public TAutoDispatch {
public:
    explicit TServerObject(const char* kind) : Kind(kind) {}

protected:
    [[noreturn]] void Unknown(std::string_view member) const {
        Fail(std::string("the ") + Kind + " object has no member " + Quoted(member));
    }
    // A property read or a method call without arguments.
    void ExpectGet(std::string_view member, TInvokeKind kind,
                   std::span<const TAutoArg> args) const {
        if (kind == ikPut) Fail(Quoted(member) + " cannot be assigned");
        if (!args.empty()) Fail(Quoted(member) + " takes no arguments");
    }
    template <typename T>
    const T& Argument(std::string_view member, TInvokeKind kind, std::span<const TAutoArg> args,
                      TInvokeKind expected, const char* type) const {
        if (kind != expected && !(expected == ikMethod && kind == ikGet))
            Fail(Quoted(member) + (expected == ikPut ? " must be assigned" : " must be called"));
        const T* value = args.size() == 1 ? std::get_if<T>(&args[0]) : nullptr;
        if (!value) Fail(Quoted(member) + " expects one " + type);
        return *value;
    }

private:
    const char* Kind;
};

class TFontObject : public TServerObject {
public:
    TFontObject(std::shared_ptr<TOpenDocument> document, TTextRange range)
        : TServerObject("Font"), Document(std::move(document)), Range(range) {}

    std::unique_ptr<TAutoDispatch> Invoke(std::string_view member, TInvokeKind kind,
                                          std::span<const TAutoArg> args) override {
        if (!SameName(member, "Bold")) Unknown(member);
        const bool bold = Argument<bool>(member, kind, args, ikPut, "Boolean");
        Document->Model.SetBold(Range, bold);
        ++Document->Revision;
        return nullptr;
    }
    void Release() override { Document.Release(); }

private:
    TDocumentHold Document;
    TTextRange Range;
};

class TRangeObject : public TServerObject {
public:
    TRangeObject(std::shared_ptr<TOpenDocument> document, TTextRange range)
        : TServerObject("Range"), Document(std::move(document)), Range(range) {}

    std::unique_ptr<TAutoDispatch> Invoke(std::string_view member, TInvokeKind kind,
                                          std::span<const TAutoArg> args) override {
        if (SameName(member, "InsertBefore")) {
            const auto& text = Argument<std::u16string>(member, kind, args, ikMethod, "string");
            Document->Model.InsertBefore(Range, text);
            ++Document->Revision;
            return nullptr;
        }
        if (SameName(member, "Font")) {
            ExpectGet(member, kind, args);
            return std::make_unique<TFontObject>(Document.Shared(), Range);
        }
        Unknown(member);
    }
    void Release() override { Document.Release(); }

private:
    TDocumentHold Document;
    TTextRange Range;
};

class TParagraphObject : public TServerObject {
public:
    TParagraphObject(std::shared_ptr<TOpenDocument> document, int index)
        : TServerObject("Paragraph"), Document(std::move(document)), Index(index) {}

    std::unique_ptr<TAutoDispatch> Invoke(std::string_view member, TInvokeKind kind,
                                          std::span<const TAutoArg> args) override {
        if (!SameName(member, "Range")) Unknown(member);
        ExpectGet(member, kind, args);
        return std::make_unique<TRangeObject>(Document.Shared(),
                                              Document->Model.ParagraphRange(Index));
    }
    void Release() override { Document.Release(); }

private:
    TDocumentHold Document;
    int Index;
};

class TParagraphsObject : public TServerObject {
public:
    explicit TParagraphsObject(std::shared_ptr<TOpenDocument> document)
        : TServerObject("Paragraphs"), Document(std::move(document)) {}

    std::unique_ptr<TAutoDispatch> Invoke(std::string_view member, TInvokeKind kind,
                                          std::span<const TAutoArg> args) override {
        if (!SameName(member, "Item")) Unknown(member);
        const int32_t index = Argument<int32_t>(member, kind, args, ikMethod, "integer");
        if (index < 1 || index > Document->Model.ParagraphCount())
            Fail("there is no paragraph " + std::to_string(index));
        return std::make_unique<TParagraphObject>(Document.Shared(), index - 1);
    }
    void Release() override { Document.Release(); }

private:
    TDocumentHold Document;
};

class TDocumentObject : public TServerObject {
public:
    explicit TDocumentObject(std::shared_ptr<TOpenDocument> document)
        : TServerObject("Document"), Document(std::move(document)) {}

    std::unique_ptr<TAutoDispatch> Invoke(std::string_view member, TInvokeKind kind,
                                          std::span<const TAutoArg> args) override {
        if (!SameName(member, "Paragraphs")) Unknown(member);
        ExpectGet(member, kind, args);
        return std::make_unique<TParagraphsObject>(Document.Shared());
    }
    void Release() override { Document.Release(); }

private:
    TDocumentHold Document;
};

class TSelectionObject : public TServerObject {
public:
    explicit TSelectionObject(std::shared_ptr<TOpenDocument> document)
        : TServerObject("Selection"), Document(std::move(document)) {}

    std::unique_ptr<TAutoDispatch> Invoke(std::string_view member, TInvokeKind kind,
                                          std::span<const TAutoArg> args) override {
        if (!SameName(member, "Paste")) Unknown(member);
        ExpectGet(member, kind, args);
        const TDocumentServerOptions& options = Document->Word->Server->Options;
        const QImage picture = options.Picture ? options.Picture() : QImage();
        if (picture.isNull()) Fail("there is no picture on the clipboard to paste");
        Document->Model.Paste(picture);
        ++Document->Revision;
        return nullptr;
    }
    void Release() override { Document.Release(); }

private:
    TDocumentHold Document;
};

class TDocumentsObject : public TServerObject {
public:
    explicit TDocumentsObject(std::shared_ptr<TWordInstance> word)
        : TServerObject("Documents"), Word(std::move(word)) {}

    std::unique_ptr<TAutoDispatch> Invoke(std::string_view member, TInvokeKind kind,
                                          std::span<const TAutoArg> args) override {
        if (!SameName(member, "Add")) Unknown(member);
        ExpectGet(member, kind, args);
        auto document = std::make_shared<TOpenDocument>();
        document->Word = Word;
        // The new document takes the focus, its insertion point at its start.
        Word->Active = document;
        return std::make_unique<TDocumentObject>(std::move(document));
    }

private:
    std::shared_ptr<TWordInstance> Word;
};

class TApplicationObject : public TServerObject {
public:
    explicit TApplicationObject(std::shared_ptr<TWordInstance> word)
        : TServerObject("Application"), Word(std::move(word)) {}

    std::unique_ptr<TAutoDispatch> Invoke(std::string_view member, TInvokeKind kind,
                                          std::span<const TAutoArg> args) override {
        if (SameName(member, "Visible")) {
            Word->Visible = Argument<bool>(member, kind, args, ikPut, "Boolean");
            return nullptr;
        }
        ExpectGet(member, kind, args);
        if (SameName(member, "Application")) return std::make_unique<TApplicationObject>(Word);
        if (SameName(member, "Documents")) return std::make_unique<TDocumentsObject>(Word);
        if (SameName(member, "Selection")) {
            std::shared_ptr<TOpenDocument> active = Word->Active.lock();
            if (!active) Fail("there is no document to select in");
            return std::make_unique<TSelectionObject>(std::move(active));
        }
        Unknown(member);
    }

private:
    std::shared_ptr<TWordInstance> Word;
};

void OpenWith(const QString& program, const QString& path) {
    if (!QProcess::startDetached(program, {path}))
        throw Exception(QStringLiteral("Cannot open the document \"%1\" with %2")
                            .arg(QDir::toNativeSeparators(path), program)
                            .toStdString());
}

void OpenOnDesktop(const QString& path) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        throw Exception(QStringLiteral("Cannot open the document \"%1\"")
                            .arg(QDir::toNativeSeparators(path))
                            .toStdString());
}

} // namespace

TDocumentServerOptions DesktopDocumentServerOptions() {
    TDocumentServerOptions options;
    options.OutputFolder = qEnvironmentVariable("TRELVANIC_DOCUMENT_DIR");
    if (options.OutputFolder.isEmpty())
        options.OutputFolder =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/Trelvanic";
    options.Picture = [] {
        return qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                   ? QGuiApplication::clipboard()->image()
                   : QImage();
    };
    if (!qEnvironmentVariableIsSet("TRELVANIC_DOCUMENT_OPENER")) {
        options.Open = OpenOnDesktop;
    } else if (const QString program = qEnvironmentVariable("TRELVANIC_DOCUMENT_OPENER");
               !program.isEmpty()) {
        options.Open = [program](const QString& path) { OpenWith(program, path); };
    }
    return options;
}

TDocumentServer::TDocumentServer(TDocumentServerOptions options)
    : State(std::make_shared<TDocumentServerState>()) {
    State->Options = std::move(options);
}

TDocumentServer::~TDocumentServer() = default;

TAutoObject TDocumentServer::AttachToRunning(std::string_view progId) {
    Fail("no running instance of " + Quoted(progId));
}

TAutoObject TDocumentServer::CreateInstance(std::string_view progId) {
    if (!SameName(progId, kWordProgId)) Fail(Quoted(progId) + " is not registered");
    auto word = std::make_shared<TWordInstance>();
    word->Server = State;
    return TAutoObject(std::make_unique<TApplicationObject>(std::move(word)));
}

std::vector<QString> TDocumentServer::WrittenDocuments() const {
    return State->Written;
}
