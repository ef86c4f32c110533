// The built-in document server under any sequence of automation calls: any
// member name, invocation kind and arguments (strings of any UTF-16 units,
// lone surrogates and control characters included), on any object held or
// released, with a fuzzed barcode number naming the files.
//
// Every failure must be an Exception; every document written must be a
// readable .docx inside the output folder, holding every character that was
// inserted into it (less those XML cannot carry) and every picture pasted.
//
// TAutoObject is the only way in, as for the export: a get passes no
// arguments, a put exactly one.
//
// Input layout: u8 picture (0 none, else its width), then a barcode number
// (u8 length, bytes), then operations until the input ends, each a u8 code
// and its operands:
//   0 create "word.Application"      1 attach: u8 length, ProgID bytes
//   2 invoke: u8 object, u8 member, u8 kind, u8 argument types, arguments
//   3 release: u8 object             4 drop (destroy unreleased): u8 object
// A member below 12 names one the export uses; otherwise a u8 length and the
// name's bytes follow. Argument types take 2 bits each for up to 3 arguments
// (0 none, 1 Boolean, 2 integer (i32), 3 string (u8 length, UTF-16 units)).
#include "control/exception.h"
#include "docx_reader.h"
#include "document_server.h"
#include "fuzz_check.h"
#include "fuzz_reader.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using trelvanic::fuzz::FuzzReader;

constexpr const char* ExportMembers[] = {"Application", "Visible", "Documents", "Add",   "Paragraphs", "Item",
                                         "Range",       "InsertBefore", "Selection", "Paste", "Font", "bold"};
constexpr size_t MaxHeld = 16;
const QString PictureMark = QStringLiteral("[picture]");

bool SameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return std::tolower(static_cast<unsigned char>(x)) ==
                                                  std::tolower(static_cast<unsigned char>(y)); });
}

// What a document must hold: the inserted characters that XML can carry
// (a tab included), paragraph breaks aside, and one mark per picture.
struct TExpectedDocument {
    QString Characters;
    int Pictures = 0;
};

void AddInsertedText(TExpectedDocument& document, const std::u16string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1])) {
            document.Characters += QChar(c);
            document.Characters += QChar(text[++i]);
        } else if (c == u'\t' || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)) {
            document.Characters += QChar(c);
        }
    }
}

QString Sorted(QString text) {
    std::sort(text.begin(), text.end());
    return text;
}

struct THeld {
    TAutoObject Object;
    int Word = -1;
    int Document = -1; // the document this reference keeps open, if any
};

class TSession {
public:
    TSession(const QString& folder, QImage picture, QString barcodeNumber) : Folder(folder) {
        TDocumentServerOptions options;
        options.OutputFolder = folder;
        options.Picture = [picture] { return picture; };
        options.BarcodeNumber = [barcodeNumber] { return barcodeNumber; };
        options.Open = [](const QString&) {};
        Server = std::make_unique<TDocumentServer>(options);
    }

    void Create() {
        Keep({Server->CreateInstance("word.Application"), static_cast<int>(ActiveDocument.size()), -1});
        ActiveDocument.push_back(-1);
    }

    void Attach(std::string_view progId) {
        try {
            Server->AttachToRunning(progId);
        } catch (const Exception&) {
            return;
        }
        trelvanic::fuzz::Broken("the built-in server has no running instance to attach to", __FILE__, __LINE__);
    }

    void Invoke(size_t index, std::string_view member, TInvokeKind kind, const std::vector<TAutoArg>& args) {
        if (Held.empty()) return;
        THeld& target = Held[index % Held.size()];
        const THeld from{TAutoObject(), target.Word, target.Document};
        TAutoObject result;
        try {
            switch (kind) {
            case ikGet:
                result = target.Object.Get(member);
                break;
            case ikMethod:
                result = CallWith(target.Object, member, args);
                break;
            case ikPut:
                target.Object.Put(member, args.empty() ? TAutoArg(false) : args[0]);
                break;
            }
        } catch (const Exception&) {
            return;
        }
        int document = from.Document;
        if (SameName(member, "Add")) {
            document = static_cast<int>(Expected.size());
            Expected.emplace_back();
            ActiveDocument[static_cast<size_t>(from.Word)] = document;
        } else if (SameName(member, "Selection")) {
            document = ActiveDocument[static_cast<size_t>(from.Word)];
        } else if (SameName(member, "InsertBefore")) {
            AddInsertedText(Expected[static_cast<size_t>(document)], std::get<std::u16string>(args[0]));
        } else if (SameName(member, "Paste")) {
            ++Expected[static_cast<size_t>(document)].Pictures;
        }
        if (result) Keep({std::move(result), from.Word, document});
    }

    void Release(size_t index, bool explicitly) {
        if (Held.empty()) return;
        const auto at = Held.begin() + static_cast<std::ptrdiff_t>(index % Held.size());
        const int document = at->Document;
        try {
            if (explicitly) at->Object.Release();
        } catch (const Exception& error) {
            // The folder is writable: a document that cannot be written there is a fault.
            std::fprintf(stderr, "%s\n", error.what());
            trelvanic::fuzz::Broken("the last release wrote its document", __FILE__, __LINE__);
        }
        Held.erase(at);
        CheckWritten(document);
    }

    void ReleaseAll() {
        while (!Held.empty()) Release(Held.size() - 1, true);
    }

private:
    static TAutoObject CallWith(TAutoObject& object, std::string_view member, const std::vector<TAutoArg>& args) {
        switch (args.size()) {
        case 0: return object.Call(member);
        case 1: return object.Call(member, {args[0]});
        case 2: return object.Call(member, {args[0], args[1]});
        default: return object.Call(member, {args[0], args[1], args[2]});
        }
    }

    void Keep(THeld held) {
        if (Held.size() == MaxHeld) Release(0, false);
        Held.push_back(std::move(held));
    }

    // A document is written when its last reference goes: the file must be
    // whole, in the folder, and hold all that the document was given.
    void CheckWritten(int document) {
        const std::vector<QString> written = Server->WrittenDocuments();
        for (; Seen < written.size(); ++Seen) {
            FUZZ_REQUIRE(document >= 0);
            const QFileInfo file(written[Seen]);
            FUZZ_REQUIRE(file.absolutePath() == QFileInfo(Folder).absoluteFilePath());
            const trelvanic::test::DocxContent content = trelvanic::test::ReadDocx(written[Seen]);
            FUZZ_REQUIRE(content.Error.isEmpty());
            const TExpectedDocument& expected = Expected[static_cast<size_t>(document)];
            QString text;
            size_t pictures = 0;
            for (const trelvanic::test::DocxParagraph& paragraph : content.Paragraphs) {
                text += paragraph.Text;
                pictures += paragraph.Pictures.size();
            }
            FUZZ_REQUIRE(pictures == static_cast<size_t>(expected.Pictures));
            FUZZ_REQUIRE(content.Images.size() == pictures);
            for (const auto& [id, image] : content.Images) FUZZ_REQUIRE(!image.isNull());
            FUZZ_REQUIRE(Sorted(text) == Sorted(expected.Characters + PictureMark.repeated(expected.Pictures)));
        }
    }

    QString Folder;
    std::unique_ptr<TDocumentServer> Server;
    std::vector<THeld> Held;
    std::vector<int> ActiveDocument; // by Word instance
    std::vector<TExpectedDocument> Expected;
    size_t Seen = 0;
};

std::string ReadName(FuzzReader& in) {
    const std::span<const uint8_t> bytes = in.Bytes(in.Read<uint8_t>());
    return {bytes.begin(), bytes.end()};
}

std::vector<TAutoArg> ReadArguments(FuzzReader& in) {
    std::vector<TAutoArg> args;
    const auto types = in.Read<uint8_t>();
    for (int i = 0; i < 3; ++i) {
        switch ((types >> (2 * i)) & 3) {
        case 1: args.emplace_back(in.Read<uint8_t>() != 0); break;
        case 2: args.emplace_back(in.Read<int32_t>()); break;
        case 3: {
            std::u16string text(in.Read<uint8_t>(), u'\0');
            for (char16_t& unit : text) unit = in.Read<char16_t>();
            args.emplace_back(std::move(text));
            break;
        }
        default: break;
        }
    }
    return args;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir folder;
    FuzzReader in(data, size);
    QImage picture;
    if (const auto width = in.Read<uint8_t>()) {
        picture = QImage(width, 6, QImage::Format_Mono);
        picture.fill(1);
    }
    const std::string number = ReadName(in);
    {
        TSession session(folder.path(), picture, QString::fromUtf8(number.data(), static_cast<qsizetype>(number.size())));
        while (!in.Empty()) {
            switch (in.Read<uint8_t>() % 5) {
            case 0: session.Create(); break;
            case 1: session.Attach(ReadName(in)); break;
            case 2: {
                const auto object = in.Read<uint8_t>();
                const auto member = in.Read<uint8_t>();
                const std::string name = member < std::size(ExportMembers) ? ExportMembers[member] : ReadName(in);
                const auto kind = static_cast<TInvokeKind>(in.Read<uint8_t>() % 3);
                session.Invoke(object, name, kind, ReadArguments(in));
                break;
            }
            case 3: session.Release(in.Read<uint8_t>(), true); break;
            case 4: session.Release(in.Read<uint8_t>(), false); break;
            }
        }
        session.ReleaseAll();
    }
    for (const QString& name : QDir(folder.path()).entryList(QDir::Files | QDir::Hidden)) QFile::remove(folder.filePath(name));
    return 0;
}
