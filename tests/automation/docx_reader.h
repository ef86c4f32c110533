// Reads a .docx back the way a word processor would: unzips it and parses the
// main document part, so tests see paragraphs, bold runs and pictures.
#pragma once

#include <QImage>
#include <QString>
#include <QXmlStreamReader>

#include <zip.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace trelvanic::test {

struct DocxParagraph {
    QString Text;                  // the text of all runs; a picture shows as "[picture]"
    QString BoldText;              // the text of the bold runs only
    std::vector<QString> Pictures; // relationship ids of the pictures
};

struct DocxContent {
    QString Error; // empty when the package was read whole
    std::vector<DocxParagraph> Paragraphs;
    std::map<QString, QImage> Images;                     // by relationship id
    std::map<QString, std::pair<qint64, qint64>> Extents; // cx, cy in EMU, by relationship id
    QByteArray DocumentXml;
};

inline QByteArray ReadZipEntry(zip_t* archive, const char* name) {
    zip_file_t* file = zip_fopen(archive, name, 0);
    if (!file) return {};
    QByteArray bytes;
    char chunk[8192];
    zip_int64_t count;
    while ((count = zip_fread(file, chunk, sizeof chunk)) > 0)
        bytes.append(chunk, static_cast<qsizetype>(count));
    zip_fclose(file);
    return bytes;
}

inline DocxContent ReadDocx(const QString& path) {
    DocxContent content;
    int error = 0;
    zip_t* archive = zip_open(path.toLocal8Bit().constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive) {
        content.Error = QStringLiteral("cannot open the zip archive (%1)").arg(error);
        return content;
    }
    for (const char* part : {"[Content_Types].xml", "_rels/.rels"})
        if (ReadZipEntry(archive, part).isEmpty())
            content.Error = QStringLiteral("missing %1").arg(part);
    content.DocumentXml = ReadZipEntry(archive, "word/document.xml");

    std::map<QString, QString> targets;
    QXmlStreamReader relations(ReadZipEntry(archive, "word/_rels/document.xml.rels"));
    while (!relations.atEnd()) {
        relations.readNext();
        if (relations.isStartElement() && relations.name() == QLatin1String("Relationship"))
            targets[relations.attributes().value("Id").toString()] =
                relations.attributes().value("Target").toString();
    }

    const QString w =
        QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
    QXmlStreamReader xml(content.DocumentXml);
    DocxParagraph* paragraph = nullptr;
    bool bold = false;
    std::pair<qint64, qint64> extent{0, 0};
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto name = xml.name();
            if (name == QLatin1String("p") && xml.namespaceUri() == w) {
                content.Paragraphs.emplace_back();
                paragraph = &content.Paragraphs.back();
            } else if (name == QLatin1String("r")) {
                bold = false;
            } else if (name == QLatin1String("b") && xml.namespaceUri() == w) {
                bold = true;
            } else if (name == QLatin1String("t") && paragraph) {
                const QString text = xml.readElementText();
                paragraph->Text += text;
                if (bold) paragraph->BoldText += text;
            } else if (name == QLatin1String("tab") && paragraph) {
                paragraph->Text += QLatin1Char('\t');
            } else if (name == QLatin1String("extent")) {
                extent = {xml.attributes().value("cx").toLongLong(),
                          xml.attributes().value("cy").toLongLong()};
            } else if (name == QLatin1String("blip") && paragraph) {
                const QString id =
                    xml.attributes()
                        .value(
                            "http://schemas.openxmlformats.org/officeDocument/2006/relationships",
                            "embed")
                        .toString();
                paragraph->Text += QStringLiteral("[picture]");
                paragraph->Pictures.push_back(id);
                content.Extents[id] = extent;
                const std::string part = "word/" + targets[id].toStdString();
                content.Images[id] = QImage::fromData(ReadZipEntry(archive, part.c_str()), "PNG");
            }
        }
    }
    if (xml.hasError()) content.Error = QStringLiteral("document.xml: %1").arg(xml.errorString());
    zip_close(archive);
    return content;
}

} // namespace trelvanic::test
