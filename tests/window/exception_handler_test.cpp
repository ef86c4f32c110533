#include "window_test_environment.h"

#include "exception.h"

#include <QEvent>
#include <QObject>

#include <stdexcept>
#include <vector>

namespace {

TEST(FormatExceptionMessage, AppendsAFullStopAfterCharactersThatSortAfterIt) {
    struct Case {
        const char* Message;
        const char* Shown;
    };
    const std::vector<Case> cases{
        {"The text is too big", "The text is too big."},
        {"Done.", "Done."},
        {"Failed!", "Failed!"},     // '!' sorts before '.'
        {"(code 5)", "(code 5)"},   // ')' too
        {"a-", "a-"},               // '-' is the character just before '.'
        {"path a/", "path a/."},    // '/' the one just after
        {"error 10", "error 10."},  // digits sort after '.'
        {"无法编码", "无法编码."},  // so does every Chinese character
        {"trailing ", "trailing "}, // blank
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Message);
        EXPECT_EQ(FormatExceptionMessage(QString::fromUtf8(c.Message)), QString::fromUtf8(c.Shown));
    }
}

class ThrowingObject : public QObject {
public:
    std::function<void()> Throw;
    int Events = 0;

protected:
    bool event(QEvent* event) override {
        if (event->type() != QEvent::User) return QObject::event(event);
        ++Events;
        Throw();
        return true;
    }
};

// An error leaving any handler is shown once, captioned with the program's
// title, and the program goes on delivering events.
TEST(DefaultErrorHandler, ShowsTheMessageUnderTheTitleAndGoesOn) {
    struct Case {
        const char* Name;
        std::function<void()> Throw;
        const char* Shown;
    };
    const std::vector<Case> cases{
        {"toolkit exception", [] { throw Exception("The text is too big"); },
         "The text is too big."},
        {"standard exception", [] { throw std::runtime_error("disk full"); }, "disk full."},
        {"UTF-8 message", [] { throw Exception("字段“发文单位”无法编码"); },
         "字段“发文单位”无法编码."},
        {"not an exception class", [] { throw 42; }, "Unknown error."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ShownErrors().clear();
        ThrowingObject target;
        target.Throw = c.Throw;

        QEvent first(QEvent::User);
        QCoreApplication::sendEvent(&target, &first);
        ASSERT_EQ(ShownErrors().size(), 1u);
        EXPECT_EQ(ShownErrors()[0].Caption, "Trelvanic");
        EXPECT_EQ(ShownErrors()[0].Message, QString::fromUtf8(c.Shown));

        QEvent second(QEvent::User);
        QCoreApplication::sendEvent(&target, &second);
        EXPECT_EQ(target.Events, 2);
        EXPECT_EQ(ShownErrors().size(), 2u);
    }
}

TEST(DefaultErrorHandler, CatchesWhatAConnectedHandlerThrows) {
    ShownErrors().clear();
    CallHandler([] { throw Exception("Word is not installed"); });
    ASSERT_EQ(ShownErrors().size(), 1u);
    EXPECT_EQ(ShownErrors()[0].Message, "Word is not installed.");

    ShownErrors().clear();
    CallHandler([] {});
    EXPECT_TRUE(ShownErrors().empty());
}

} // namespace
