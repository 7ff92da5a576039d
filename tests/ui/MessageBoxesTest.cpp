#include "MessageBoxes.h"

#include "Exception.h"
#include "UiTestSupport.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace {

TEST(MessageBoxesTest, GuardedReportsEveryErrorInTheErrorBox)
{
    MessageRecorder recorder;
    EXPECT_TRUE(MessageBoxes::Guarded([] {}));
    EXPECT_FALSE(MessageBoxes::Guarded([] { throw Exception(QStringLiteral("Empty file.")); }));
    EXPECT_FALSE(MessageBoxes::Guarded([] { throw EInOutError(5); }));
    EXPECT_FALSE(MessageBoxes::Guarded([] { throw std::bad_alloc(); }));
    EXPECT_FALSE(MessageBoxes::Guarded([] { throw std::runtime_error("odd failure"); }));

    EXPECT_EQ(recorder.Texts(),
        QStringList({ QStringLiteral("Empty file."), QStringLiteral("I/O error 5."),
            QStringLiteral("Out of memory."), QStringLiteral("odd failure.") }));
    for (const ShownMessage &m : recorder.Messages()) {
        EXPECT_EQ(m.kind, MessageBoxes::Kind::Error);
        EXPECT_EQ(m.title, QStringLiteral("Brimlet"));
    }
}

} // namespace
