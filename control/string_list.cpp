#include "string_list.h"

#include "exception.h"

#include <string>
#include <utility>

TStringList::TStringList(QObject* parent) : QObject(parent) {}

void TStringList::Clear() {
    if (FLines.isEmpty()) return;
    FLines.clear();
    NotifyChanged();
}

void TStringList::Add(const QByteArray& line) {
    FLines.append(line);
    NotifyChanged();
}

void TStringList::Assign(const TStringList& source) {
    FLines = source.FLines;
    NotifyChanged();
}

int TStringList::Count() const {
    return static_cast<int>(FLines.size());
}

const QByteArray& TStringList::Strings(int index) const {
    if (index < 0 || index >= FLines.size())
        throw Exception("List index out of bounds (" + std::to_string(index) + ")");
    return FLines[index];
}

void TStringList::SetOnChange(TNotifyEvent handler) {
    FOnChange = std::move(handler);
}

void TStringList::NotifyChanged() {
    if (FOnChange) FOnChange();
    emit Changed();
}
