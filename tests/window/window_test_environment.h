// The application object of the window tests: a real TApplication whose
// error presenter records what it would show instead of opening a modal box,
// and a private folder for the documents that exports write.
#pragma once

#include "application.h"

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

struct TShownError {
    QString Caption;
    QString Message;
};

inline std::vector<TShownError>& ShownErrors() {
    static std::vector<TShownError> errors;
    return errors;
}

class WindowTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        // Exports write their documents into a folder of the test's own and
        // open nothing.
        qputenv("TRELVANIC_DOCUMENT_DIR", FDocuments.path().toLocal8Bit());
        qputenv("TRELVANIC_DOCUMENT_OPENER", "");
        FApplication = std::make_unique<TApplication>(FArgc, FArgv);
        TApplication::SetExceptionPresenter([](const QString& caption, const QString& message) {
            ShownErrors().push_back({caption, message});
        });
    }
    void TearDown() override { FApplication.reset(); }

private:
    int FArgc = 1;
    char FName[7] = "window";
    char* FArgv[2] = {FName, nullptr};
    QTemporaryDir FDocuments;
    std::unique_ptr<TApplication> FApplication;
};

inline ::testing::Environment* const WindowEnvironment =
    ::testing::AddGlobalTestEnvironment(new WindowTestEnvironment);
