#include "platform/QtPrompter.h"
#include "i18n/Catalogue.h"

#include "../ModalHelper.h"

#include <QMessageBox>

#include <gtest/gtest.h>

using namespace zx;

// A file's failure reason comes from the file functions in English; the message box says it in
// the language the user chose, and leaves the path around it alone.
TEST(QtPrompterReasons, MessagesSayAFilesFailureInTheChosenLanguage)
{
    const struct {
        int language;
        const char *shown;
    } cases[] = {{German, "/tmp/Permission denied/a.zxp\nKeine Berechtigung"},
                 {French, "/tmp/Permission denied/a.zxp\nPermission refus\u00e9e"},
                 {English, "/tmp/Permission denied/a.zxp\nPermission denied"}};
    for (const auto &c : cases) {
        int language = c.language;
        QtPrompter prompter([] { return QStringLiteral("Zentrix"); }, [&language] { return language; });
        QString told, asked;
        test::whenModal(QStringLiteral("zxMessage"), [&told](QWidget *box) {
            told = static_cast<QMessageBox *>(box)->text();
            box->close();
        });
        prompter.tell(QStringLiteral("/tmp/Permission denied/a.zxp\nPermission denied"), Icon::Critical, {});
        test::whenModal(QStringLiteral("zxQuestion"), [&asked](QWidget *box) {
            asked = static_cast<QMessageBox *>(box)->text();
            box->close();
        });
        prompter.ask(QStringLiteral("/tmp/Permission denied/a.zxp\nPermission denied"), Buttons::OkCancel,
                     Icon::Question, {});
        EXPECT_EQ(told, QString::fromUtf8(c.shown)) << c.language;
        EXPECT_EQ(asked, QString::fromUtf8(c.shown)) << c.language;
    }
}
