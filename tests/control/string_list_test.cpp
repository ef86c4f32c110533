#include "exception.h"
#include "string_list.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

struct MutationCase {
    const char* Name;
    QList<QByteArray> Before;
    std::function<void(TStringList&)> Mutate;
    QList<QByteArray> After;
    int Reports;
};

QList<QByteArray> LinesOf(const TStringList& list) {
    QList<QByteArray> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.append(list.Strings(i));
    return lines;
}

TEST(StringListTest, EachMutationReportsOnceToHandlerAndSignal) {
    const MutationCase cases[] = {
        {"add", {"a"}, [](TStringList& l) { l.Add("b"); }, {"a", "b"}, 1},
        {"add empty line", {}, [](TStringList& l) { l.Add(""); }, {""}, 1},
        {"clear", {"a", "b"}, [](TStringList& l) { l.Clear(); }, {}, 1},
        {"clear empty", {}, [](TStringList& l) { l.Clear(); }, {}, 0},
        {"assign",
         {"a"},
         [](TStringList& l) {
             TStringList source;
             source.Add("x");
             source.Add(QByteArray("y\0z", 3));
             l.Assign(source);
         },
         {"x", QByteArray("y\0z", 3)},
         1},
        {"assign itself", {"a"}, [](TStringList& l) { l.Assign(l); }, {"a"}, 1},
    };
    for (const MutationCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TStringList list;
        for (const QByteArray& line : c.Before)
            list.Add(line);
        int handled = 0;
        int signalled = 0;
        list.SetOnChange([&] { ++handled; });
        QObject::connect(&list, &TStringList::Changed, [&] { ++signalled; });

        c.Mutate(list);

        EXPECT_EQ(LinesOf(list), c.After);
        EXPECT_EQ(handled, c.Reports);
        EXPECT_EQ(signalled, c.Reports);
    }
}

TEST(StringListTest, HandlerExceptionReachesTheMutatorWithTheMutationDone) {
    TStringList list;
    int signalled = 0;
    QObject::connect(&list, &TStringList::Changed, [&] { ++signalled; });
    list.SetOnChange([] { throw Exception("refused"); });

    EXPECT_THROW(list.Add("kept"), Exception);
    EXPECT_EQ(LinesOf(list), QList<QByteArray>{"kept"});
    EXPECT_EQ(signalled, 0);
}

TEST(StringListTest, IndexOutsideTheListThrows) {
    TStringList list;
    list.Add("only");
    for (int index : {-1, 1}) {
        SCOPED_TRACE(index);
        EXPECT_THROW(list.Strings(index), Exception);
    }
    try {
        list[5];
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (5)");
    }
}

} // namespace
