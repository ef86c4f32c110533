// The application object: the program's title and the default error handler
// that shows every error escaping a handler and lets the program go on.
#pragma once

#include <QApplication>
#include <QString>

#include <functional>

// The caption of the error message boxes.
inline constexpr char ApplicationTitle[] = "Trelvanic";

// The message as the error box shows it: a full stop is appended when the
// last character sorts after '.', so "too big" gets one and "done." or "(x)"
// do not.
QString FormatExceptionMessage(const QString& message);

class TApplication : public QApplication {
    Q_OBJECT

public:
    // Shows an error to the user; replaceable so that tests see what would be
    // shown without a modal box.
    using TExceptionPresenter = std::function<void(const QString& caption, const QString& message)>;

    TApplication(int& argc, char** argv);

    // Catches whatever an event handler throws and hands it to HandleException.
    bool notify(QObject* receiver, QEvent* event) override;

    // Must be called inside a catch block: shows the exception being handled.
    static void HandleException();

    // Returns the presenter it replaces.
    static TExceptionPresenter SetExceptionPresenter(TExceptionPresenter presenter);
};

// Runs an event handler that may throw. Qt must not see an exception leave a
// slot, so handlers connected to signals are called through this.
template <class THandler> void CallHandler(THandler&& handler) {
    try {
        handler();
    } catch (...) {
        TApplication::HandleException();
    }
}
