// The window's export under stress: a thousand exports in a row through the
// recording automation stand-in and a hundred through the built-in document
// server, with no automation reference left behind and no memory kept, and a
// record at the very capacity limit of one symbol.
#include "window_test_environment.h"

#include "Unit2d.h"
#include "document_record.h"
#include "exception.h"
#include "pdf417.h"
#include "pdf417_barcode.h"
#include "pdf417_decoder.h"
#include "picture_decoder.h"
#include "recording_automation.h"
#include "word_export.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <malloc.h>

#include <cstdio>
#include <string>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#define TRELVANIC_LEAK_SANITIZER 1
#endif

#ifdef TRELVANIC_LEAK_SANITIZER
// fontconfig's pattern cache, filled when Qt first lays out text, looks
// unreachable to a leak check in mid-run (at exit it does not); it is the
// library's, and not what these checks are for.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif

namespace {

using trelvanic::test::DecodePDF417Picture;
using trelvanic::test::RecordingAutomation;

// What the process holds now: under AddressSanitizer, LeakSanitizer proves
// that nothing has become unreachable; otherwise the allocator's count of
// bytes in use, compared across a run, shows any growth.
struct TMemoryProbe {
    static size_t BytesInUse() { return mallinfo2().uordblks; }
    static bool HasLeaks() {
#ifdef TRELVANIC_LEAK_SANITIZER
        return __lsan_do_recoverable_leak_check() != 0;
#else
        return false;
#endif
    }
    static bool CountsBytes() {
#ifdef TRELVANIC_LEAK_SANITIZER
        return false; // the sanitizer's allocator keeps its own books
#else
        return true;
#endif
    }
};

// Growth allowed over a whole run: allocator bookkeeping, never a
// per-export share (one leaked record or symbol would exceed it).
constexpr size_t AllowedGrowth = 64 * 1024;

// The export as the window runs it, with Word replaced by the recording
// stand-in.
TWordExportHost WindowHost(TForm2d& form, RecordingAutomation& word) {
    return TWordExportHost{
        [&form] { return form.ReadDocumentFields(); },
        *form.PDF417Barcode1,
        [](const QImage& bitmap) { QApplication::clipboard()->setImage(bitmap); },
        word,
        form.WordApplication,
        [&form] { form.showMinimized(); },
    };
}

void ExportThroughStandIn(TForm2d& form, RecordingAutomation& word, int number) {
    form.showNormal();
    form.Edit1->setText(QStringLiteral("A-%1").arg(number, 6, 10, QLatin1Char('0')));
    form.Memo1->setPlainText(QStringLiteral("第%1号文件\n标题").arg(number));
    word.Log.clear(); // the stand-in's own record is not the program's memory
    ExportToWord(WindowHost(form, word));
    // Back to the event loop, as after a click, so that what the export
    // posted (repaints, window state changes) is handled and not piled up.
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(ExportStress, AThousandExportsReleaseEveryReferenceAndKeepNoMemory) {
    TForm2d form;
    form.show();
    RecordingAutomation word;
    for (int i = 0; i < 100; ++i) ExportThroughStandIn(form, word, i); // caches filled, Word started
    word.WordRunning = true;
    const size_t before = TMemoryProbe::BytesInUse();

    constexpr int exports = 1000;
    int released = 0;
    for (int i = 0; i < exports; ++i) {
        ExportThroughStandIn(form, word, i);
        if (word.Held() == 0 && form.isMinimized()) ++released;
    }
    EXPECT_EQ(released, exports) << "exports that ended minimised with every automation reference released";
    EXPECT_FALSE(TMemoryProbe::HasLeaks());
    if (TMemoryProbe::CountsBytes()) {
        EXPECT_LT(TMemoryProbe::BytesInUse(), before + AllowedGrowth);
    }
    std::printf("%d exports through the stand-in: %d with every reference released, %s\n", exports, released,
                TMemoryProbe::CountsBytes()
                    ? (std::to_string(static_cast<std::ptrdiff_t>(TMemoryProbe::BytesInUse() - before)) +
                       " bytes more in use")
                          .c_str()
                    : "leaks checked by LeakSanitizer");
}

// The real thing on this platform: each export writes a .docx, and the
// documents, their pictures and the server are all gone afterwards.
TEST(ExportStress, ExportsThroughTheDocumentServerKeepNoMemory) {
    QTemporaryDir documents;
    const QByteArray documentDir = qgetenv("TRELVANIC_DOCUMENT_DIR");
    qputenv("TRELVANIC_DOCUMENT_DIR", documents.path().toLocal8Bit());
    TForm2d form;
    form.show();
    const auto exportOnce = [&form](int number) {
        form.showNormal();
        form.Edit1->setText(QStringLiteral("B-%1").arg(number));
        QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    ShownErrors().clear();
    for (int i = 0; i < 20; ++i) exportOnce(i);
    const size_t before = TMemoryProbe::BytesInUse();
    constexpr int exports = 100;
    for (int i = 0; i < exports; ++i) exportOnce(i);
    qputenv("TRELVANIC_DOCUMENT_DIR", documentDir);

    EXPECT_TRUE(ShownErrors().empty()) << ShownErrors()[0].Message.toStdString();
    EXPECT_EQ(QDir(documents.path()).entryList(QDir::Files).size(), static_cast<qsizetype>(20 + exports));
    EXPECT_FALSE(TMemoryProbe::HasLeaks());
    if (TMemoryProbe::CountsBytes()) {
        EXPECT_LT(TMemoryProbe::BytesInUse(), before + AllowedGrowth);
    }
}

// Reads the clipboard's picture as a scanner would see it printed.
std::string ClipboardSymbol() {
    const auto decoded = DecodePDF417Picture(QApplication::clipboard()->image());
    return decoded.Ok ? std::string(decoded.Bytes.begin(), decoded.Bytes.end()) : "(unreadable)";
}

bool Encodes(const std::string& record) {
    TPDF417Param param{};
    PDF417InitParam(&param);
    param.Data = reinterpret_cast<const uint8_t*>(record.data());
    param.DataLength = static_cast<int32_t>(record.size());
    PDF417Encode(&param);
    PDF417FreeParam(&param);
    return param.ErrorCode == ecSuccess;
}

// The longest custom field of Chinese text whose record still fits one
// symbol exports whole; one character more is refused before anything is
// touched.
TEST(ExportStress, ARecordAtTheCapacityLimitExportsAndOneMoreCharacterIsRefused) {
    TForm2d form;
    form.show();
    const auto recordWith = [&form](int characters) {
        form.Memo2->setPlainText(QString(characters, QChar(u'档')));
        return BuildDocumentRecord(form.ReadDocumentFields());
    };
    int fits = 0, refused = 3000;
    while (refused - fits > 1) {
        const int middle = (fits + refused) / 2;
        (Encodes(recordWith(middle)) ? fits : refused) = middle;
    }

    RecordingAutomation word;
    const std::string longest = recordWith(fits);
    ExportToWord(WindowHost(form, word));
    EXPECT_EQ(word.Held(), 0);
    EXPECT_TRUE(form.isMinimized());
    EXPECT_EQ(ClipboardSymbol(), longest) << fits << " characters";
    const QImage symbol = QApplication::clipboard()->image();

    form.showNormal();
    recordWith(refused);
    word.Log.clear();
    try {
        ExportToWord(WindowHost(form, word));
        ADD_FAILURE() << refused << " characters were not refused";
    } catch (const Exception& error) {
        EXPECT_STREQ(error.what(), "The text is too big");
    }
    EXPECT_TRUE(word.Log.empty()) << "Word was reached: " << word.Log.front();
    EXPECT_EQ(QApplication::clipboard()->image(), symbol);
    EXPECT_FALSE(form.isMinimized());
    std::printf("capacity limit: a custom field of %d GBK characters (%zu record bytes) fits, %d do not\n", fits,
                longest.size(), refused);
}

} // namespace
