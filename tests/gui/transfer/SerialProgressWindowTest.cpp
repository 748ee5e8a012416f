#include "transfer/SerialProgressWindow.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace zx::test {
namespace {

TEST(SerialProgressWindowTest, CancelButtonAndEscapeAskToEndTheTransfer)
{
    SerialProgressWindow w(nullptr, QStringLiteral("Abbruch "));
    w.begin(QStringLiteral("serial transmission"));
    auto *cancel = w.findChild<QPushButton *>(QStringLiteral("cmdAbbruch"));
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), QStringLiteral("Abbruch"));
    EXPECT_FALSE(w.cancelRequested());
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_TRUE(w.cancelRequested());
    EXPECT_TRUE(w.isVisible()) << "the transfer closes the window when it has ended";
    w.end();

    w.begin(QStringLiteral("serial transmission"));
    EXPECT_FALSE(w.cancelRequested()) << "every transfer starts afresh";
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_TRUE(w.cancelRequested());
    w.end();
}

} // namespace
} // namespace zx::test
