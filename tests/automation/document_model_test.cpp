// The document model behind the built-in server: where inserted text and
// pasted pictures land, and what a range covers.
#include "document_model.h"

#include <gtest/gtest.h>

namespace {

// Paragraphs as text, a picture as "#", bold runs in *stars*.
std::vector<std::u16string> Show(const TDocumentModel& document) {
    std::vector<std::u16string> shown;
    for (const auto& paragraph : document.Paragraphs()) {
        std::u16string text;
        for (const auto& run : paragraph) {
            const std::u16string piece = run.Picture >= 0 ? u"#" : run.Text;
            text += run.Bold ? u"*" + piece + u"*" : piece;
        }
        shown.push_back(text);
    }
    return shown;
}

void InsertAtStart(TDocumentModel& document, std::u16string_view text) {
    TTextRange range = document.ParagraphRange(0);
    document.InsertBefore(range, text);
}

TEST(DocumentModelTest, LineBreaksBecomeParagraphs) {
    struct Case {
        const char16_t* Text;
        std::vector<std::u16string> Paragraphs;
    };
    const Case cases[] = {
        {u"", {u""}},
        {u"one", {u"one"}},
        {u"a\r\nb", {u"a", u"b"}},                   // CR LF is one break
        {u"a\rb\nc", {u"a", u"b", u"c"}},            // lone CR and lone LF each break
        {u"a\n\rb", {u"a", u"", u"b"}},              // LF CR is two breaks
        {u"\n\r\n\rnote", {u"", u"", u"", u"note"}}, // the usage note's head
        {u"last\r", {u"last", u""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::u16string(c.Text)));
        TDocumentModel document;
        InsertAtStart(document, c.Text);
        EXPECT_EQ(Show(document), c.Paragraphs);
        EXPECT_EQ(document.ParagraphCount(), static_cast<int>(c.Paragraphs.size()));
    }
}

TEST(DocumentModelTest, InsertBeforeGoesInFrontAndWidensTheRange) {
    TDocumentModel document;
    InsertAtStart(document, u"world");
    TTextRange range = document.ParagraphRange(0);
    document.InsertBefore(range, u"hello ");
    EXPECT_EQ(Show(document), (std::vector<std::u16string>{u"hello world"}));
    EXPECT_EQ(range.Start, 0);
    EXPECT_EQ(range.End, 12); // both texts and the paragraph mark
}

TEST(DocumentModelTest, TheInsertionPointStaysAtTheStartWhileTextGoesInThroughARange) {
    TDocumentModel document;
    InsertAtStart(document, u"\n\r\n\rnote");
    EXPECT_EQ(document.InsertionPoint(), 0);
    document.Paste(QImage(4, 2, QImage::Format_Mono));
    InsertAtStart(document, u"head\rline\n\r");
    document.SetBold(document.ParagraphRange(0), true);
    // What the export leaves: heading and lines, the picture, then the note.
    EXPECT_EQ(Show(document),
              (std::vector<std::u16string>{u"*head*", u"line", u"", u"#", u"", u"", u"note"}));
}

TEST(DocumentModelTest, APastedPictureGetsAParagraphOfItsOwn) {
    // Pasting in front of text splits the paragraph, and the insertion point
    // moves behind the picture, so a second paste follows the first.
    TDocumentModel document;
    InsertAtStart(document, u"text");
    document.Paste(QImage(1, 1, QImage::Format_Mono));
    document.Paste(QImage(2, 1, QImage::Format_Mono));
    EXPECT_EQ(Show(document), (std::vector<std::u16string>{u"#", u"#", u"text"}));
    ASSERT_EQ(document.Pictures().size(), 2u);
    EXPECT_EQ(document.Paragraphs()[1][0].Picture, 1);
}

TEST(DocumentModelTest, StaleRangesStayInsideTheDocument) {
    TDocumentModel document;
    InsertAtStart(document, u"abc");
    TTextRange stale{2, 40};
    document.SetBold(stale, true);
    TTextRange far{50, 60};
    document.InsertBefore(far, u"!");
    EXPECT_EQ(Show(document), (std::vector<std::u16string>{u"ab*c*!"}));
}

} // namespace
