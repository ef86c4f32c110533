// Every bad input a user can give the window's export, and what they get:
// one message box that says what went wrong, a window that is not minimised,
// and nothing lost: the clipboard untouched by an export that never reached
// it, and no document, whole or partial, left by one that failed.
#include "window_test_environment.h"

#include "Unit2d.h"
#include "scratch_mount.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <optional>
#include <vector>

namespace {

using trelvanic::test::ScratchMount;

const QString ClipboardBefore = QStringLiteral("held before the export");

enum TClipboardAfter { ClipboardUntouched, ClipboardHoldsSymbol };

struct TExportCase {
    const char* Name;
    std::function<void(TForm2d&)> Fill;
    const char* Shown; // a part of the message; none for an export that succeeds
    TClipboardAfter Clipboard;
};

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Presses the export button with documents going to `folder`, and checks
// what the user sees and, if given, what the folder holds afterwards.
void ExpectExport(const TExportCase& c, const QString& folder, std::optional<QStringList> folderAfter) {
    SCOPED_TRACE(c.Name);
    const QByteArray documentDir = qgetenv("TRELVANIC_DOCUMENT_DIR");
    qputenv("TRELVANIC_DOCUMENT_DIR", folder.toLocal8Bit());
    ShownErrors().clear();
    QApplication::clipboard()->setText(ClipboardBefore);
    TForm2d form;
    form.show();
    c.Fill(form);

    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    qputenv("TRELVANIC_DOCUMENT_DIR", documentDir);

    if (c.Shown) {
        ASSERT_EQ(ShownErrors().size(), 1u);
        EXPECT_EQ(ShownErrors()[0].Caption, "Trelvanic");
        EXPECT_TRUE(ShownErrors()[0].Message.contains(QString::fromUtf8(c.Shown)))
            << ShownErrors()[0].Message.toStdString();
        EXPECT_FALSE(form.isMinimized());
    } else {
        EXPECT_TRUE(ShownErrors().empty()) << ShownErrors()[0].Message.toStdString();
        EXPECT_TRUE(form.isMinimized());
    }
    if (c.Clipboard == ClipboardUntouched) {
        EXPECT_EQ(QApplication::clipboard()->text(), ClipboardBefore);
    } else {
        EXPECT_FALSE(QApplication::clipboard()->image().isNull());
    }
    if (folderAfter) {
        EXPECT_EQ(Entries(folder), *folderAfter);
    }
}

void NoChange(TForm2d&) {}

TEST(WindowBadInput, EveryFailedExportIsShownAndLosesNothing) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("documents");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString aFile = dir.filePath("a-file");
    {
        QFile file(aFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a folder");
    }

    const TExportCase tooBig{"record too long for one symbol",
                             [](TForm2d& f) { f.Memo2->setPlainText(QString(6000, u'x')); }, "The text is too big.",
                             ClipboardUntouched};
    ExpectExport(tooBig, folder, QStringList{});
    const TExportCase outsideGbk{"character outside GBK",
                                 [](TForm2d& f) { f.Memo1->setPlainText(QStringLiteral("标题\n第二行😀")); },
                                 "\"文件标题\" contains the character", ClipboardUntouched};
    ExpectExport(outsideGbk, folder, QStringList{});

    const TExportCase folderUnderAFile{"document folder under a file", NoChange, "Cannot write the document",
                                       ClipboardHoldsSymbol};
    ExpectExport(folderUnderAFile, aFile + "/documents", QStringList{});
    EXPECT_EQ(Entries(dir.path()), QStringList({"a-file", "documents"}));

    // A folder that is not there yet is made, as the first export of a new
    // user makes it.
    const TExportCase folderMissing{"document folder missing", NoChange, nullptr, ClipboardHoldsSymbol};
    const QString missing = dir.filePath("new/documents");
    ExpectExport(folderMissing, missing, std::nullopt);
    ASSERT_EQ(Entries(missing).size(), 1u);
    EXPECT_TRUE(Entries(missing)[0].endsWith(".docx"));
}

// A document folder on a disk that is full or read-only: the export reports
// it after the clipboard step, and no partial document is left.
TEST(WindowBadInput, AFullOrReadOnlyDocumentFolderLeavesNoPartialDocument) {
    const TExportCase cannotWrite{"", NoChange, "Cannot write the document", ClipboardHoldsSymbol};
    {
        const ScratchMount disk;
        if (!disk.Mounted()) GTEST_SKIP() << disk.Why;
        disk.FillUp();
        TExportCase full = cannotWrite;
        full.Name = "full disk";
        ExpectExport(full, disk.Path(), QStringList{"filler"});
    }
    {
        const ScratchMount disk;
        ASSERT_TRUE(disk.Mounted());
        ASSERT_TRUE(disk.MakeReadOnly());
        TExportCase readOnly = cannotWrite;
        readOnly.Name = "read-only disk";
        ExpectExport(readOnly, disk.Path(), QStringList{});
    }
}

} // namespace
