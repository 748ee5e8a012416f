#include "app/StartScreen.h"

#include "GuiTest.h"
#include "app/AppContext.h"
#include "app/ConfigFile.h"
#include "app/StartUp.h"
#include "model/BrandTable.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/EventPump.h"
#include "platform/FocusKeeper.h"
#include "platform/ToolLauncher.h"
#include "support/RecordingLauncher.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <QFocusEvent>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace zx;

namespace {

} // namespace

class StartScreenTest : public ::testing::Test {
  protected:
    test::TempDir dir;
    Model model;
    test::ScriptedPrompter prompter;
    FixedClock clock{QDateTime(QDate(2024, 3, 1), QTime(8, 0))};
    SleepingEventPump pump;
    test::RecordingLauncher launcher;
    AppContext ctx{model, prompter, clock, pump, launcher, dir.path(), dir.path()};
    QString cwd = QDir::currentPath();

    void TearDown() override { QDir::setCurrent(cwd); }

    std::unique_ptr<StartScreen> open(int brand = 1)
    {
        model.BrandNumber = brand;
        auto screen = std::make_unique<StartScreen>(ctx);
        screen->prepare();
        screen->show();
        return screen;
    }
    template <typename T> T *find(StartScreen &s, const char *name) { return test::Control<T>(&s, name); }
    void click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton); }
    void selectModel(StartScreen &s, const QString &name)
    {
        auto *list = find<QListWidget>(s, "lstModell");
        const auto items = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << qPrintable(name);
        list->setCurrentItem(items.first());
    }
};

struct LanguageCase {
    const char *button;
    int code;
    const char *helpFile;
};

class StartScreenLanguage : public StartScreenTest, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(StartScreenLanguage, ButtonSetsLanguageAndOkFillsCatalogue)
{
    auto screen = open();
    auto *button = find<QToolButton>(*screen, GetParam().button);
    click(button);
    EXPECT_EQ(model.device.Sprache, GetParam().code);
    EXPECT_TRUE(button->isChecked());

    click(find<QPushButton>(*screen, "cmd_ok"));
    EXPECT_EQ(screen->result(), QDialog::Accepted);
    EXPECT_EQ(model.catalogue.helpFile, GetParam().helpFile);
    EXPECT_EQ(model.program().UsageText, model.catalogue(Msg::Unknown));
    EXPECT_EQ(model.program().FileName,
              dir.file(model.catalogue(Msg::DefaultFilePrefix) + QStringLiteral("1.zxp")));
    const ConfigReadResult r = ReadConfigValues(dir.file("zentrix.ini"));
    ASSERT_EQ(r.status, ConfigStatus::Read);
    EXPECT_EQ(r.values[9], GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(Buttons, StartScreenLanguage,
                         ::testing::Values(LanguageCase{"AniDeutsch", German, "Zentri2D.hlp"},
                                           LanguageCase{"AniEnglisch", English, "Zentri2E.hlp"},
                                           LanguageCase{"AniFrance", French, "Zentri2F.hlp"}));

TEST_F(StartScreenTest, OkAppliesTheSelectedModel)
{
    auto screen = open();
    selectModel(*screen, "ZX 204 B");
    click(find<QPushButton>(*screen, "cmd_ok"));
    EXPECT_EQ(screen->result(), QDialog::Accepted);
    EXPECT_EQ(model.device.ModelName, "ZX 204 B");
    EXPECT_EQ(model.device.Busprog, -1);
    EXPECT_EQ(model.device.Bewft, 1);
    EXPECT_EQ(model.device.DeviceCode, 73);
    EXPECT_TRUE(dir.read("zentrix.ini").contains("BUSPROG=-1\r\n"));

    // The next start preselects it again.
    Model next;
    AppContext nextCtx{next, prompter, clock, pump, launcher, dir.path(), dir.path()};
    next.BrandNumber = 1;
    StartScreen again(nextCtx);
    again.prepare();
    EXPECT_EQ(find<QListWidget>(again, "lstModell")->currentItem()->text(), "ZX 204 B");
}

// The start screen paints its brand colours itself: a style sheet anywhere in it would make Qt
// build its style sheet style before the first window shows. The model list shows its focus in
// the brand colour, and the frame every other focused list gets (a style sheet) stays off it.
TEST_F(StartScreenTest, BrandLookWithoutStyleSheetOrShaperAlsoWhenTheListHasTheFocus)
{
    FocusKeeper::install();
    auto screen = open();
    auto *list = find<QListWidget>(*screen, "lstModell");
    const QColor primary(BrandTable(1).primaryColour);
    EXPECT_NE(list->palette().color(QPalette::WindowText), primary);

    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(list, &in);
    EXPECT_EQ(list->palette().color(QPalette::WindowText), primary);
    EXPECT_TRUE(screen->styleSheet().isEmpty());
    for (const QWidget *w : screen->findChildren<QWidget *>()) {
        EXPECT_TRUE(w->styleSheet().isEmpty()) << qPrintable(w->objectName());
        // A control given a font of its own must keep the screen's: no shaper and no hinting
        // before the first show.
        EXPECT_TRUE(w->font().styleStrategy() & QFont::PreferNoShaping) << qPrintable(w->objectName());
        EXPECT_EQ(w->font().hintingPreference(), QFont::PreferNoHinting) << qPrintable(w->objectName());
    }

    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(list, &out);
    EXPECT_NE(list->palette().color(QPalette::WindowText), primary);
}

TEST_F(StartScreenTest, ListShowsTheBrandsModelsWithPreselection)
{
    Model ini;
    ApplySlot(ini, 19);
    ASSERT_TRUE(WriteConfigFile(ini, dir.file("zentrix.ini")));
    auto screen = open(1);
    auto *list = find<QListWidget>(*screen, "lstModell");
    EXPECT_EQ(list->count(), 14);
    EXPECT_EQ(list->currentItem()->text(), "ZX 401");

    auto other = open(3);
    auto *list3 = find<QListWidget>(*other, "lstModell");
    ASSERT_EQ(list3->count(), 2);
    EXPECT_EQ(list3->item(0)->text(), "ZX 601 A");
    EXPECT_EQ(list3->currentRow(), 0);
}

TEST_F(StartScreenTest, EveryBrandShowsItsCompanyAndPicture)
{
    for (int brand = 1; brand <= 6; ++brand) {
        auto screen = open(brand);
        EXPECT_EQ(find<QLabel>(*screen, "lblFirma")->text(), BrandTable(brand).companyLines.first());
        // The pictures come once the screen is up, into the place the layout kept for them.
        auto *picture = find<QLabel>(*screen, "imgGeraet");
        const QSize place = picture->size();
        QCoreApplication::processEvents();
        EXPECT_FALSE(picture->pixmap().isNull()) << "brand " << brand;
        EXPECT_EQ(picture->pixmap().height(), place.height()) << "brand " << brand;
        EXPECT_EQ(picture->size(), place);
        EXPECT_FALSE(find<QLabel>(*screen, "imgLogo")->pixmap().isNull());
    }
    EXPECT_EQ(open(5)->windowTitle(), "Chipwerk 2.0");
}

TEST_F(StartScreenTest, SiblingToolOnlyInGermanForBrandOne)
{
    dir.write("ZX4TOOL.exe", "MZ");
    auto screen = open(1);
    auto *tool = find<QPushButton>(*screen, "cmdZX4Tool");
    click(find<QToolButton>(*screen, "AniDeutsch"));
    EXPECT_TRUE(tool->isVisible());
    click(tool);
    ASSERT_EQ(launcher.started.size(), 1);
    EXPECT_TRUE(launcher.started[0].endsWith("ZX4TOOL.exe"));

    launcher.fail = true;
    click(tool);
    EXPECT_EQ(prompter.last(), "Error Permission denied");

    click(find<QToolButton>(*screen, "AniEnglisch"));
    EXPECT_FALSE(tool->isVisible());
    click(find<QToolButton>(*screen, "AniFrance"));
    EXPECT_FALSE(tool->isVisible());
    click(find<QToolButton>(*screen, "AniDeutsch"));
    EXPECT_TRUE(tool->isVisible());

    model.device.Sprache = German;
    auto kla = open(2);
    EXPECT_FALSE(find<QPushButton>(*kla, "cmdZX4Tool")->isVisible());
}

TEST_F(StartScreenTest, WorldLoadsLanguageFileAndOkReadsSpeech)
{
    Catalogue italian;
    italian.setText(Msg::Unknown, "sconosciuto");
    italian.setText(Msg::DefaultFilePrefix, "Tabella");
    ASSERT_TRUE(italian.writeLanguageFile(dir.file("italiano.ln1")));
    prompter.files.push_back(dir.file("italiano.ln1"));

    auto screen = open();
    auto *world = find<QToolButton>(*screen, "Aniworld");
    click(world);
    EXPECT_EQ(model.device.Sprache, Loaded);
    EXPECT_TRUE(world->isChecked());
    EXPECT_TRUE(dir.exists("speech.txt"));

    click(find<QPushButton>(*screen, "cmd_ok"));
    EXPECT_EQ(screen->result(), QDialog::Accepted);
    EXPECT_EQ(model.program().UsageText, "sconosciuto");
    EXPECT_EQ(model.program().FileName, dir.file("Tabella1.zxp"));
}

TEST_F(StartScreenTest, WorldCancelledOrBrokenKeepsLanguage)
{
    auto screen = open();
    auto *english = find<QToolButton>(*screen, "AniEnglisch");
    click(english);
    prompter.files.push_back(std::nullopt);
    click(find<QToolButton>(*screen, "Aniworld"));
    EXPECT_EQ(model.device.Sprache, English);
    EXPECT_TRUE(english->isChecked());
    EXPECT_TRUE(prompter.shown.empty());

    dir.write("short.ln1", "only\r\nthree\r\nlines\r\n");
    prompter.files.push_back(dir.file("short.ln1"));
    click(find<QToolButton>(*screen, "Aniworld"));
    EXPECT_EQ(model.device.Sprache, English);
    EXPECT_TRUE(english->isChecked());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].icon, Icon::Critical);
}

TEST_F(StartScreenTest, OkWithLostSpeechFileStaysOpen)
{
    auto screen = open();
    model.device.Sprache = Loaded;
    click(find<QPushButton>(*screen, "cmd_ok"));
    EXPECT_NE(screen->result(), QDialog::Accepted);
    EXPECT_TRUE(screen->isVisible());
    EXPECT_EQ(prompter.shown.size(), 1u);
}

TEST_F(StartScreenTest, DoubleClickOnModelConfirms)
{
    auto screen = open();
    auto *list = find<QListWidget>(*screen, "lstModell");
    selectModel(*screen, "ZX 302");
    QListWidgetItem *item = list->currentItem();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.get()));
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    // A double click is a click followed by the double-click event on the same spot.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(screen->result(), QDialog::Accepted);
    EXPECT_EQ(model.device.ModelName, "ZX 302");
    EXPECT_EQ(model.device.Evu, 1);
}
