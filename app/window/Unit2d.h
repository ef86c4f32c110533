// The main window: the table of document fields, the hidden barcode control
// that encodes the record, and the Help, export and Exit buttons.
#pragma once

#include "ui_Unit2d.h"

#include "document_fields.h"
#include "word_wrappers.h"

#include <QChar>
#include <QWidget>

class TForm2d : public QWidget, public Ui::TForm2d {
    Q_OBJECT

public:
    explicit TForm2d(QWidget* parent = nullptr);

    // The fourteen controls as GBK byte strings, memo lines joined by CR LF.
    // Throws Exception naming the field when a character has no GBK code.
    TDocumentFields ReadDocumentFields() const;

    void FormCreate();
    // Key press of ComboBox1 and ComboBox2: the typed character is discarded.
    void ComboBox1KeyPress(QObject* Sender, QChar& Key);
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();

    // Never connected: the export drives Word late-bound (see word_wrappers.h).
    TWordDocument WordDocument;
    TWordApplication WordApplication;

protected:
    // Makes BitBtn1 the default button for Enter in the single-line controls
    // and feeds typed characters of ComboBox1/2 to ComboBox1KeyPress.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool DiscardsTyping(const QObject* control) const;
};
