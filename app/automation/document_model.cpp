#include "document_model.h"

#include <algorithm>

TDocumentModel::TDocumentModel() {
    Items.push_back({ikParagraphMark});
}

int TDocumentModel::ParagraphCount() const {
    return static_cast<int>(std::count_if(Items.begin(), Items.end(), [](const TItem& item) {
        return item.Kind == ikParagraphMark;
    }));
}

TTextRange TDocumentModel::ParagraphRange(int index) const {
    int start = 0;
    for (int position = 0; position < static_cast<int>(Items.size()); ++position) {
        if (Items[static_cast<size_t>(position)].Kind != ikParagraphMark) continue;
        if (index == 0) return {start, position + 1};
        --index;
        start = position + 1;
    }
    return {start, start};
}

TTextRange TDocumentModel::Clamp(TTextRange range) const {
    // A range taken before other edits may point past the end; it must never
    // reach outside the document nor start behind its final paragraph mark.
    const int size = static_cast<int>(Items.size());
    range.Start = std::clamp(range.Start, 0, size - 1);
    range.End = std::clamp(range.End, range.Start, size);
    return range;
}

void TDocumentModel::InsertItems(int position, const std::vector<TItem>& items) {
    Items.insert(Items.begin() + position, items.begin(), items.end());
    // Text put in at the insertion point leaves it where it is; text in front
    // of it pushes it along with the content behind.
    if (Selection > position) Selection += static_cast<int>(items.size());
}

void TDocumentModel::InsertBefore(TTextRange& range, std::u16string_view text) {
    range = Clamp(range);
    std::vector<TItem> items;
    items.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            items.push_back({ikParagraphMark});
        } else {
            items.push_back({ikChar, c});
        }
    }
    InsertItems(range.Start, items);
    range.End += static_cast<int>(items.size());
}

void TDocumentModel::Paste(const QImage& picture) {
    Images.push_back(picture);
    const int index = static_cast<int>(Images.size()) - 1;
    int position = std::clamp(Selection, 0, static_cast<int>(Items.size()) - 1);
    std::vector<TItem> items;
    if (position > 0 && Items[static_cast<size_t>(position) - 1].Kind != ikParagraphMark)
        items.push_back({ikParagraphMark});
    items.push_back({ikPicture, 0, index});
    if (Items[static_cast<size_t>(position)].Kind != ikParagraphMark)
        items.push_back({ikParagraphMark});
    Items.insert(Items.begin() + position, items.begin(), items.end());
    Selection = position + static_cast<int>(items.size());
}

void TDocumentModel::SetBold(TTextRange range, bool bold) {
    range = Clamp(range);
    for (int position = range.Start; position < range.End; ++position)
        Items[static_cast<size_t>(position)].Bold = bold;
}

std::vector<TDocumentModel::TParagraph> TDocumentModel::Paragraphs() const {
    std::vector<TParagraph> paragraphs(1);
    for (const TItem& item : Items) {
        TParagraph& paragraph = paragraphs.back();
        switch (item.Kind) {
        case ikParagraphMark:
            paragraphs.emplace_back();
            break;
        case ikPicture:
            paragraph.push_back({{}, item.Picture, item.Bold});
            break;
        case ikChar:
            if (paragraph.empty() || paragraph.back().Picture >= 0 ||
                paragraph.back().Bold != item.Bold)
                paragraph.push_back({{}, -1, item.Bold});
            paragraph.back().Text.push_back(item.Char);
            break;
        }
    }
    paragraphs.pop_back(); // the document always ends with a mark
    return paragraphs;
}
