// An ordered list of byte-string lines (GBK, as the rest of the program keeps
// its texts) that reports every change.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>

#include <functional>

class TStringList : public QObject {
    Q_OBJECT

public:
    using TNotifyEvent = std::function<void()>;

    explicit TStringList(QObject* parent = nullptr);

    // Each mutation reports once. Clear on an empty list changes nothing and
    // reports nothing; Assign always reports, even when the lines are equal.
    void Clear();
    void Add(const QByteArray& line);
    void Assign(const TStringList& source);

    int Count() const;
    // Throws Exception for an index outside 0..Count()-1.
    const QByteArray& Strings(int index) const;
    const QByteArray& operator[](int index) const { return Strings(index); }

    // The owner's change handler, called before Changed() is emitted. It runs
    // as a plain call, so an exception it throws reaches the caller of the
    // mutation (with the mutation done) and Changed() is not emitted.
    void SetOnChange(TNotifyEvent handler);

signals:
    void Changed();

private:
    void NotifyChanged();

    QList<QByteArray> FLines;
    TNotifyEvent FOnChange;
};
