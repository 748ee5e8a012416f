// The help's "Command line" page keeps in step with zentrix-cli: every command the CLI's own
// usage names appears there with an example, in every language.
#include "support/CliRunner.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

TEST(HelpCommandLine, EveryCommandIsOnThePageInEveryLanguage)
{
    const zx::test::CliTextRun help = zx::test::RunCliText({QStringLiteral("--help")});
    ASSERT_EQ(help.exitCode, 0);
    QStringList commands;
    const QRegularExpression usage(QStringLiteral("^  zentrix-cli (\\S+)"),
                                   QRegularExpression::MultilineOption);
    for (auto it = usage.globalMatch(help.out); it.hasNext();)
        commands << it.next().captured(1);
    ASSERT_GE(commands.size(), 19);
    for (const char *stem : {"Zentri2D", "Zentri2E", "Zentri2F"}) {
        QFile page(QStringLiteral(ZX_SOURCE_DATA "/help/%1/commandline.html").arg(QLatin1String(stem)));
        ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << stem;
        const QString html = QString::fromUtf8(page.readAll());
        for (const QString &c : commands) {
            // The command in the table, and an example that runs it.
            const QString cell = QStringLiteral("<td><code>zentrix-cli %1</code></td>").arg(c);
            const int row = static_cast<int>(html.indexOf(cell));
            EXPECT_GE(row, 0) << stem << " " << qPrintable(c);
            const int rowEnd = static_cast<int>(html.indexOf(QStringLiteral("</tr>"), row));
            EXPECT_GE(html.mid(row + cell.size(), rowEnd - row - cell.size())
                          .count(QStringLiteral("zentrix-cli ") + c),
                      1)
                << stem << " " << qPrintable(c);
        }
    }
}

} // namespace
