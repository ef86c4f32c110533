#include "document_file.h"

#include "control/exception.h"

#include <QDir>
#include <QSaveFile>
#include <QTemporaryFile>

namespace {

// Long enough for any real barcode number, short enough for every file system.
constexpr qsizetype kMaxStemLength = 64;

[[noreturn]] void CannotWrite(const QString& path, const QString& reason) {
    throw Exception(QStringLiteral("Cannot write the document \"%1\": %2")
                        .arg(QDir::toNativeSeparators(path), reason)
                        .toStdString());
}

} // namespace

QString DocumentFileStem(const QString& barcodeNumber) {
    static const QString forbidden = QStringLiteral("\\/:*?\"<>|");
    QString stem;
    for (const QChar c : barcodeNumber) {
        const bool bad =
            c.unicode() < 0x20 || c.unicode() == 0x7F || forbidden.contains(c) || c.isSurrogate();
        stem.append(bad ? QLatin1Char('_') : c);
    }
    stem = stem.left(kMaxStemLength);
    // Leading dots hide a file or climb folders; trailing dots and blanks are
    // dropped by Windows.
    while (stem.startsWith(QLatin1Char('.')) || stem.startsWith(QLatin1Char(' ')))
        stem.remove(0, 1);
    while (stem.endsWith(QLatin1Char('.')) || stem.endsWith(QLatin1Char(' ')))
        stem.chop(1);
    return stem.isEmpty() ? QStringLiteral("document") : stem;
}

QString SaveNewDocument(const QByteArray& content, const QString& folder,
                        const QString& barcodeNumber, const QDateTime& time) {
    if (!QDir().mkpath(folder)) CannotWrite(folder, QStringLiteral("the folder cannot be created"));
    const QDir dir(folder);
    const QString base = DocumentFileStem(barcodeNumber) + QLatin1Char('_') +
                         time.toString(QStringLiteral("yyyyMMdd-HHmmss"));

    QTemporaryFile temporary(dir.filePath(QStringLiteral(".trelvanic-XXXXXX.docx.part")));
    if (!temporary.open()) CannotWrite(temporary.fileTemplate(), temporary.errorString());
    if (temporary.write(content) != content.size() || !temporary.flush())
        CannotWrite(temporary.fileName(), temporary.errorString());

    // QFile::rename never replaces an existing file, so a name taken in the
    // meantime just moves on to the next one.
    for (int attempt = 1; attempt < 1000; ++attempt) {
        const QString name = attempt == 1 ? base : base + QStringLiteral(" (%1)").arg(attempt);
        const QString path = dir.filePath(name + QStringLiteral(".docx"));
        if (QFile::exists(path)) continue;
        if (temporary.rename(path)) {
            temporary.setAutoRemove(false); // it is the document now
            return path;
        }
        if (!QFile::exists(path)) CannotWrite(path, temporary.errorString());
    }
    CannotWrite(dir.filePath(base + QStringLiteral(".docx")),
                QStringLiteral("too many documents with this name"));
}

void SaveDocumentAs(const QByteArray& content, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) CannotWrite(path, file.errorString());
    // Flushed first: commit() does not see a buffered write fail (a full disk)
    // and would put an empty file in place.
    if (file.write(content) != content.size() || !file.flush() || !file.commit())
        CannotWrite(path, file.errorString());
}
