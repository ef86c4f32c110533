// Puts a finished document on disk whole or not at all.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The file name part taken from a barcode number: characters that no file
// system accepts, or that would leave the folder, become "_".
QString DocumentFileStem(const QString& barcodeNumber);

// Writes a new file in the folder, named from the barcode number and the
// time, never replacing an existing file. Returns the path. Throws Exception.
QString SaveNewDocument(const QByteArray& content, const QString& folder,
                        const QString& barcodeNumber, const QDateTime& time);

// Writes or atomically replaces the file at path. Throws Exception.
void SaveDocumentAs(const QByteArray& content, const QString& path);
