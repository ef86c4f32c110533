#include "application.h"

#include <QMessageBox>
#include <QWidget>

#include <exception>
#include <utility>

namespace {

void ShowExceptionBox(const QString& caption, const QString& message) {
    QMessageBox box(QMessageBox::Critical, caption, message, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

TApplication::TExceptionPresenter& Presenter() {
    static TApplication::TExceptionPresenter presenter = ShowExceptionBox;
    return presenter;
}

} // namespace

QString FormatExceptionMessage(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) return message + u'.';
    return message;
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromLatin1(ApplicationTitle));
    setDesktopFileName(QStringLiteral("trelvanic"));
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        HandleException();
        return true;
    }
}

void TApplication::HandleException() {
    QString message;
    try {
        throw;
    } catch (const std::exception& error) {
        message = QString::fromUtf8(error.what());
    } catch (...) {
        message = QStringLiteral("Unknown error");
    }
    Presenter()(QString::fromLatin1(ApplicationTitle), FormatExceptionMessage(message));
}

TApplication::TExceptionPresenter
TApplication::SetExceptionPresenter(TExceptionPresenter presenter) {
    return std::exchange(Presenter(), std::move(presenter));
}
