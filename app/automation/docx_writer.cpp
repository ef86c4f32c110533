#include "docx_writer.h"

#include "control/exception.h"

#include <QBuffer>
#include <QString>
#include <QXmlStreamWriter>

#include <zip.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr auto kWordNs = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr auto kRelNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr auto kDrawingNs =
    "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing";
constexpr auto kGraphicNs = "http://schemas.openxmlformats.org/drawingml/2006/main";
constexpr auto kPictureNs = "http://schemas.openxmlformats.org/drawingml/2006/picture";
constexpr auto kImageRelType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image";

// Pictures keep their pixel size at 96 dots per inch; 914400 EMU per inch.
constexpr qint64 kEmuPerPixel = 914400 / 96;
// East Asian text needs a CJK font named for it, or some word processors fall
// back to a Latin font without the glyphs. SimSun is the usual one, and
// LibreOffice substitutes an installed CJK font for it.
constexpr auto kEastAsianFont = "SimSun";

// XML 1.0 allows TAB, LF, CR, U+0020..U+D7FF, U+E000..U+FFFD and the planes
// above; anything else would make the package unreadable, so it is dropped.
QString XmlSafe(std::u16string_view text) {
    QString safe;
    safe.reserve(static_cast<qsizetype>(text.size()));
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1])) {
            safe.append(QChar(c));
            safe.append(QChar(text[++i]));
            continue;
        }
        const bool legal = c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
                           (c >= 0xE000 && c <= 0xFFFD);
        if (legal) safe.append(QChar(c));
    }
    return safe;
}

QString ImageName(int index) {
    return QStringLiteral("image%1.png").arg(index + 1);
}
QString ImageRelation(int index) {
    return QStringLiteral("rIdImage%1").arg(index + 1);
}

void WriteRunProperties(QXmlStreamWriter& xml, bool bold) {
    xml.writeStartElement(kWordNs, "rPr");
    xml.writeEmptyElement(kWordNs, "rFonts");
    xml.writeAttribute(kWordNs, "eastAsia", kEastAsianFont);
    xml.writeAttribute(kWordNs, "hint", "eastAsia");
    if (bold) {
        xml.writeEmptyElement(kWordNs, "b");
        xml.writeEmptyElement(kWordNs, "bCs");
    }
    xml.writeEmptyElement(kWordNs, "lang");
    xml.writeAttribute(kWordNs, "eastAsia", "zh-CN");
    xml.writeEndElement();
}

void WriteText(QXmlStreamWriter& xml, const QString& text) {
    // A tab inside w:t is not a tab to Word; it has an element of its own.
    const QStringList pieces = text.split(QLatin1Char('\t'));
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0) xml.writeEmptyElement(kWordNs, "tab");
        if (pieces[i].isEmpty()) continue;
        xml.writeStartElement(kWordNs, "t");
        xml.writeAttribute("xml:space", "preserve");
        xml.writeCharacters(pieces[i]);
        xml.writeEndElement();
    }
}

void WritePicture(QXmlStreamWriter& xml, int index, const QImage& image) {
    const QString cx = QString::number(image.width() * kEmuPerPixel);
    const QString cy = QString::number(image.height() * kEmuPerPixel);
    xml.writeStartElement(kWordNs, "drawing");
    xml.writeStartElement(kDrawingNs, "inline");
    for (const char* side : {"distT", "distB", "distL", "distR"})
        xml.writeAttribute(side, "0");
    xml.writeEmptyElement(kDrawingNs, "extent");
    xml.writeAttribute("cx", cx);
    xml.writeAttribute("cy", cy);
    xml.writeEmptyElement(kDrawingNs, "docPr");
    xml.writeAttribute("id", QString::number(index + 1));
    xml.writeAttribute("name", QStringLiteral("Barcode %1").arg(index + 1));
    xml.writeStartElement(kDrawingNs, "cNvGraphicFramePr");
    xml.writeEmptyElement(kGraphicNs, "graphicFrameLocks");
    xml.writeAttribute("noChangeAspect", "1");
    xml.writeEndElement();
    xml.writeStartElement(kGraphicNs, "graphic");
    xml.writeStartElement(kGraphicNs, "graphicData");
    xml.writeAttribute("uri", kPictureNs);
    xml.writeStartElement(kPictureNs, "pic");
    xml.writeStartElement(kPictureNs, "nvPicPr");
    xml.writeEmptyElement(kPictureNs, "cNvPr");
    xml.writeAttribute("id", "0");
    xml.writeAttribute("name", ImageName(index));
    xml.writeEmptyElement(kPictureNs, "cNvPicPr");
    xml.writeEndElement(); // nvPicPr
    xml.writeStartElement(kPictureNs, "blipFill");
    xml.writeEmptyElement(kGraphicNs, "blip");
    xml.writeAttribute(kRelNs, "embed", ImageRelation(index));
    xml.writeStartElement(kGraphicNs, "stretch");
    xml.writeEmptyElement(kGraphicNs, "fillRect");
    xml.writeEndElement(); // stretch
    xml.writeEndElement(); // blipFill
    xml.writeStartElement(kPictureNs, "spPr");
    xml.writeStartElement(kGraphicNs, "xfrm");
    xml.writeEmptyElement(kGraphicNs, "off");
    xml.writeAttribute("x", "0");
    xml.writeAttribute("y", "0");
    xml.writeEmptyElement(kGraphicNs, "ext");
    xml.writeAttribute("cx", cx);
    xml.writeAttribute("cy", cy);
    xml.writeEndElement(); // xfrm
    xml.writeStartElement(kGraphicNs, "prstGeom");
    xml.writeAttribute("prst", "rect");
    xml.writeEmptyElement(kGraphicNs, "avLst");
    xml.writeEndElement(); // prstGeom
    xml.writeEndElement(); // spPr
    xml.writeEndElement(); // pic
    xml.writeEndElement(); // graphicData
    xml.writeEndElement(); // graphic
    xml.writeEndElement(); // inline
    xml.writeEndElement(); // drawing
}

QByteArray DocumentXml(const TDocumentModel& document) {
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument("1.0", true);
    xml.writeNamespace(kWordNs, "w");
    xml.writeNamespace(kRelNs, "r");
    xml.writeNamespace(kDrawingNs, "wp");
    xml.writeNamespace(kGraphicNs, "a");
    xml.writeNamespace(kPictureNs, "pic");
    xml.writeStartElement(kWordNs, "document");
    xml.writeStartElement(kWordNs, "body");
    for (const TDocumentModel::TParagraph& paragraph : document.Paragraphs()) {
        xml.writeStartElement(kWordNs, "p");
        for (const TDocumentModel::TRun& run : paragraph) {
            xml.writeStartElement(kWordNs, "r");
            WriteRunProperties(xml, run.Bold);
            if (run.Picture >= 0)
                WritePicture(xml, run.Picture,
                             document.Pictures()[static_cast<size_t>(run.Picture)]);
            else
                WriteText(xml, XmlSafe(run.Text));
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    // A4 with the margins a Chinese Word template uses.
    xml.writeStartElement(kWordNs, "sectPr");
    xml.writeEmptyElement(kWordNs, "pgSz");
    xml.writeAttribute(kWordNs, "w", "11906");
    xml.writeAttribute(kWordNs, "h", "16838");
    xml.writeEmptyElement(kWordNs, "pgMar");
    for (auto [name, value] : {std::pair{"top", "1440"},
                               {"right", "1800"},
                               {"bottom", "1440"},
                               {"left", "1800"},
                               {"header", "851"},
                               {"footer", "992"},
                               {"gutter", "0"}})
        xml.writeAttribute(kWordNs, name, value);
    xml.writeEndElement(); // sectPr
    xml.writeEndElement(); // body
    xml.writeEndElement(); // document
    xml.writeEndDocument();
    return bytes;
}

QByteArray ContentTypesXml() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
           "<Default Extension=\"rels\" "
           "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
           "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
           "<Default Extension=\"png\" ContentType=\"image/png\"/>"
           "<Override PartName=\"/word/document.xml\" ContentType=\"application/"
           "vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/>"
           "</Types>";
}

QByteArray PackageRelationsXml() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
           "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
           "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/"
           "2006/relationships/officeDocument\" Target=\"word/document.xml\"/>"
           "</Relationships>";
}

QByteArray DocumentRelationsXml(int pictures) {
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartDocument("1.0", true);
    xml.writeDefaultNamespace("http://schemas.openxmlformats.org/package/2006/relationships");
    xml.writeStartElement("Relationships");
    for (int i = 0; i < pictures; ++i) {
        xml.writeEmptyElement("Relationship");
        xml.writeAttribute("Id", ImageRelation(i));
        xml.writeAttribute("Type", kImageRelType);
        xml.writeAttribute("Target", "media/" + ImageName(i));
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

QByteArray Png(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) throw Exception("Cannot encode the barcode picture as PNG");
    return bytes;
}

// The zip archive, built in memory so that a file on disk is only ever
// written whole.
class TZipPackage {
public:
    TZipPackage() {
        zip_error_t error;
        zip_error_init(&error);
        Source = zip_source_buffer_create(nullptr, 0, 0, &error);
        if (Source) Archive = zip_open_from_source(Source, ZIP_TRUNCATE, &error);
        if (!Archive) {
            const std::string reason = zip_error_strerror(&error);
            zip_error_fini(&error);
            if (Source) zip_source_free(Source);
            throw Exception("Cannot build the document package: " + reason);
        }
        zip_error_fini(&error);
        zip_source_keep(Source); // it must outlive the archive to be read back
    }
    ~TZipPackage() {
        if (Archive) zip_discard(Archive);
        zip_source_free(Source);
    }
    TZipPackage(const TZipPackage&) = delete;
    TZipPackage& operator=(const TZipPackage&) = delete;

    void Add(const char* name, QByteArray content) {
        // libzip reads the data only when the archive is closed.
        Contents.push_back(std::move(content));
        const QByteArray& data = Contents.back();
        zip_source_t* source =
            zip_source_buffer(Archive, data.constData(), static_cast<zip_uint64_t>(data.size()), 0);
        if (!source || zip_file_add(Archive, name, source, ZIP_FL_ENC_UTF_8) < 0) {
            if (source) zip_source_free(source);
            Fail("cannot add " + std::string(name));
        }
    }

    QByteArray Finish() {
        if (zip_close(Archive) < 0) Fail("cannot finish the archive");
        Archive = nullptr;
        if (zip_source_open(Source) < 0) Fail("cannot read the archive back");
        QByteArray bytes;
        char chunk[65536];
        zip_int64_t count;
        while ((count = zip_source_read(Source, chunk, sizeof chunk)) > 0)
            bytes.append(chunk, static_cast<qsizetype>(count));
        zip_source_close(Source);
        if (count < 0) Fail("cannot read the archive back");
        return bytes;
    }

private:
    [[noreturn]] void Fail(const std::string& what) {
        const char* reason =
            Archive ? zip_strerror(Archive) : zip_error_strerror(zip_source_error(Source));
        throw Exception("Cannot build the document package: " + what + ": " + reason);
    }

    zip_source_t* Source = nullptr;
    zip_t* Archive = nullptr;
    std::vector<QByteArray> Contents;
};

} // namespace

QByteArray WriteDocx(const TDocumentModel& document) {
    TZipPackage package;
    package.Add("[Content_Types].xml", ContentTypesXml());
    package.Add("_rels/.rels", PackageRelationsXml());
    package.Add("word/document.xml", DocumentXml(document));
    const int pictures = static_cast<int>(document.Pictures().size());
    package.Add("word/_rels/document.xml.rels", DocumentRelationsXml(pictures));
    for (int i = 0; i < pictures; ++i) {
        const std::string name = "word/media/" + ImageName(i).toStdString();
        package.Add(name.c_str(), Png(document.Pictures()[static_cast<size_t>(i)]));
    }
    return package.Finish();
}
