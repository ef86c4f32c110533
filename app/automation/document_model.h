// The in-memory document of the built-in document server: a flat sequence of
// characters, pictures and paragraph marks, addressed by position like a
// word processor's story, so that ranges and the insertion point behave as
// automation clients expect.
#pragma once

#include <QImage>

#include <string>
#include <string_view>
#include <vector>

struct TTextRange {
    int Start = 0;
    int End = 0; // one past the last position
};

class TDocumentModel {
public:
    struct TRun {
        std::u16string Text; // empty for a picture
        int Picture = -1;    // index into Pictures(), or -1 for text
        bool Bold = false;
    };
    using TParagraph = std::vector<TRun>;

    TDocumentModel(); // one empty paragraph, as a new document has

    int ParagraphCount() const;
    // The index-th paragraph (0-based), its closing mark included.
    TTextRange ParagraphRange(int index) const;

    // Puts text in front of the range and widens the range over it. CR LF is
    // one paragraph break; any other CR or LF is a paragraph break too.
    void InsertBefore(TTextRange& range, std::u16string_view text);
    // Puts the picture at the insertion point in a paragraph of its own; the
    // insertion point ends up behind it.
    void Paste(const QImage& picture);
    void SetBold(TTextRange range, bool bold);

    int InsertionPoint() const { return Selection; }
    std::vector<TParagraph> Paragraphs() const;
    const std::vector<QImage>& Pictures() const { return Images; }

private:
    enum TItemKind { ikChar, ikPicture, ikParagraphMark };
    struct TItem {
        TItemKind Kind;
        char16_t Char = 0;
        int Picture = -1;
        bool Bold = false;
    };

    void InsertItems(int position, const std::vector<TItem>& items);
    TTextRange Clamp(TTextRange range) const;

    std::vector<TItem> Items;
    std::vector<QImage> Images;
    int Selection = 0;
};
