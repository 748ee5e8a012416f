#include "bus/BusAccessDialog.h"

#include "gui/app/MainWindowFixture.h"

#include "app/CommandWiring.h"
#include "bus/BusSession.h"
#include "core/bus/BusFakes.h"
#include "transfer/TransferCommands.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

namespace zx::test {
namespace {

// Hands the dialog a library that forwards to the one fake coupling unit of the test.
class ForwardingBus final : public BusLibrary {
  public:
    explicit ForwardingBus(FakeBus &bus) : bus_(bus) {}
    int install(int p, int b, int s, int r, int f) override { return bus_.install(p, b, s, r, f); }
    int resetTransport() override { return bus_.resetTransport(); }
    int resetLocalBcu() override { return bus_.resetLocalBcu(); }
    int changeLayer(int layer) override { return bus_.changeLayer(layer); }
    int send(const QByteArray &frame) override { return bus_.send(frame); }
    int pollSend(int &q, int &r, int &b) override { return bus_.pollSend(q, r, b); }
    int fetch(FetchBuffer &buffer) override { return bus_.fetch(buffer); }
    int close() override { return bus_.close(); }
    QString lastErrorText() const override { return {}; }

  private:
    FakeBus &bus_;
};

class BusAccessDialogTest : public MainWindowTest {
  protected:
    FakeBus bus;
    std::unique_ptr<BusAccessDialog> d;
    int saves = 0;

    void SetUp() override
    {
        MainWindowTest::SetUp();
        QFile::copy(QStringLiteral(ZX_SOURCE_DATA "/remote.s19"), dir.file(QStringLiteral("remote.s19")));
        model.device.BusDevice = 1;
        d = std::make_unique<BusAccessDialog>(ctx, [this] {
            ++saves;
            model.Modified = 0;
            return true;
        });
        d->setBusTimings(BusTimings::fast());
        d->setLibraryFactory([this](int) { return std::make_unique<ForwardingBus>(bus); });
        d->show();
    }
    template <class T> T *control(const char *name) { return Control<T>(d.get(), name); }
    QString status() { return control<QLabel>("lblStatus")->text(); }
    void type(const char *field, const QString &text)
    {
        auto *edit = control<QLineEdit>(field);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
};

TEST_F(BusAccessDialogTest, SearchFieldsKeepTheirLimitsWithABeep)
{
    EXPECT_TRUE(control<QRadioButton>("optcom1")->isChecked());
    EXPECT_EQ(status(), QStringLiteral("ready to start"));
    type("txtBereich", QStringLiteral("16"));
    EXPECT_EQ(control<QLineEdit>("txtBereich")->text(), QStringLiteral("0"));
    type("txtbisTeilnehmer", QStringLiteral("300"));
    EXPECT_EQ(control<QLineEdit>("txtbisTeilnehmer")->text(), QStringLiteral("255"));
    type("txtvonTeilnehmer", QStringLiteral("007"));
    EXPECT_EQ(control<QLineEdit>("txtvonTeilnehmer")->text(), QStringLiteral("7"));
    EXPECT_EQ(prompter.beeps, 2);
}

TEST_F(BusAccessDialogTest, SearchListsTheTimeSwitchAndOffersItsAddress)
{
    type("txtBereich", QStringLiteral("1"));
    type("txtBuslinie", QStringLiteral("1"));
    type("txtvonTeilnehmer", QStringLiteral("4"));
    type("txtbisTeilnehmer", QStringLiteral("6"));
    QTest::mouseClick(control<QPushButton>("cmdSuchen"), Qt::LeftButton);
    auto *found = control<QComboBox>("cboPhysadr");
    ASSERT_EQ(found->count(), 1);
    EXPECT_EQ(found->itemText(0), QStringLiteral("1.1.5"));
    EXPECT_EQ(control<QLineEdit>("txtPhysadr")->text(), QStringLiteral("1.1.5"));
    EXPECT_TRUE(prompter.shown.empty()) << prompter.last().toStdString();
    EXPECT_TRUE(dir.read(QStringLiteral("protocol.txt")).contains("checking device 1.1.6"));
}

TEST_F(BusAccessDialogTest, AnInvalidAddressOrACancelledSaveTouchesNoBus)
{
    type("txtPhysadr", QStringLiteral("1.13.5"));
    QTest::mouseClick(control<QPushButton>("cmdbusprog"), Qt::LeftButton);
    EXPECT_EQ(prompter.last(), QStringLiteral("no valid physical Adress"));

    type("txtPhysadr", QStringLiteral("1.1.5"));
    model.Modified = 1;
    prompter.answers.push_back(Answer::Cancel);
    QTest::mouseClick(control<QPushButton>("cmdbusprog"), Qt::LeftButton);
    EXPECT_EQ(prompter.last(), QStringLiteral("You can only export saved datas. Save now?"));
    EXPECT_EQ(saves, 0);
    EXPECT_TRUE(bus.sent.empty());
    EXPECT_EQ(status(), QStringLiteral("ready to start"));
}

TEST_F(BusAccessDialogTest, ReadReplacesTheProgramAndExitShowsItInOrder)
{
    add(Weekly(9, 0, 1, 1, 1));
    model.Modified = 1;
    bus.records = {{0x80 + 30, 0x00, 0, 0x1F, 100, 1}, {0x80 + 20, 0x00, 0, 0x1F, 50, 0}};
    type("txtPhysadr", QStringLiteral("1.1.5"));
    prompter.answers.push_back(Answer::No);
    QSignalSpy changed(d.get(), &BusAccessDialog::listChanged);
    QTest::mouseClick(control<QPushButton>("cmdbusread"), Qt::LeftButton);
    // the finished transfer is told, not only shown in the status line
    EXPECT_EQ(prompter.messages(), (QStringList{saveQuestion(QStringLiteral("  ?")),
                                                QStringLiteral("Access to zentrix finished")}));
    EXPECT_EQ(status(), QStringLiteral("Ok"));
    EXPECT_EQ(model.program().UsedCount, 2);
    EXPECT_TRUE(control<QPushButton>("cmdbusread")->isEnabled());

    QTest::mouseClick(control<QPushButton>("cmdBusend"), Qt::LeftButton);
    EXPECT_GE(changed.count(), 2);
    EXPECT_EQ(model.program().Records[0].b0, 0x80 + 20); // display order: earlier time first
    EXPECT_FALSE(d->isVisible());
}

// A bus device is read back after Program unless the remembered option says otherwise.
TEST_F(BusAccessDialogTest, ProgramIsVerifiedByReadingBack)
{
    add(Weekly(9, 0, 31, 1, 1));
    add(Weekly(17, 0, 31, 1, 0));
    model.Modified = 0;
    type("txtPhysadr", QStringLiteral("1.1.5"));
    for (const bool verify : {true, false}) {
        setVerifyAfterWrite(model, verify);
        prompter.shown.clear();
        QTest::mouseClick(control<QPushButton>("cmdbusprog"), Qt::LeftButton);
        EXPECT_EQ(status(), QStringLiteral("Ok"));
        EXPECT_EQ(bus.records.size(), 2u);
        EXPECT_EQ(prompter.messages(),
                  QStringList{verify ? "written and verified" : "Access to zentrix finished"});
    }
    setVerifyAfterWrite(model, true);
}

TEST_F(BusAccessDialogTest, AFailedOperationShowsItsMessageAndNotSuccessful)
{
    bus.deviceAnswers = false;
    dir.write(QStringLiteral("appl.old"), QByteArray());
    type("txtPhysadr", QStringLiteral("1.1.5"));
    QTest::mouseClick(control<QPushButton>("cmd_appl_reinstall"), Qt::LeftButton);
    EXPECT_EQ(prompter.last(), QStringLiteral("unknown Error: ") + dir.file(QStringLiteral("appl.old")) +
                                   QStringLiteral(": 0 values, at least 241 expected"));
    EXPECT_EQ(status(), QStringLiteral("not successful"));
    dir.write(QStringLiteral("appl.old"), dir.read(QStringLiteral("remote.s19")));
    QTest::mouseClick(control<QPushButton>("cmd_appl_reinstall"), Qt::LeftButton);
    EXPECT_EQ(prompter.last(), QStringLiteral("no mask response received"));
}

TEST_F(BusAccessDialogTest, TheMainWindowOffersBusAccessForBusDevicesOnly)
{
    wireCommands(*w, ctx);
    w->updateActions();
    EXPECT_TRUE(act("mnuBuszugriff")->isEnabled());
    model.device.BusDevice = 0;
    model.device.Busprog = 0;
    w->updateActions();
    EXPECT_FALSE(act("mnuBuszugriff")->isEnabled());
}

// The IP interface: a host that is none is refused before the bus is touched; a host where no
// interface answers gives "no bus access" naming it; the choice is there at the next opening.
TEST_F(BusAccessDialogTest, TheIpInterfaceIsChosenByHostAndRemembered)
{
    QTest::mouseClick(control<QRadioButton>("optip"), Qt::LeftButton);
    type("txtIpHost", QStringLiteral("127.0.0.1:99999"));
    QTest::mouseClick(control<QPushButton>("cmdSuchen"), Qt::LeftButton);
    EXPECT_TRUE(prompter.last().startsWith(QStringLiteral("\"127.0.0.1:99999\" is no host")))
        << prompter.last().toStdString();
    EXPECT_EQ(status(), QStringLiteral("ready to start"));

    type("txtIpHost", QStringLiteral("127.0.0.1:9"));
    type("txtPhysadr", QStringLiteral("1.1.5"));
    QTest::mouseClick(control<QPushButton>("cmd_appl_reinstall"), Qt::LeftButton);
    EXPECT_EQ(prompter.last(), QStringLiteral("no bus access via 127.0.0.1:9"));
    EXPECT_TRUE(bus.sent.empty());

    BusAccessDialog again(ctx, [] { return true; });
    EXPECT_TRUE(Control<QRadioButton>(&again, QStringLiteral("optip"))->isChecked());
    EXPECT_EQ(Control<QLineEdit>(&again, QStringLiteral("txtIpHost"))->text(), QStringLiteral("127.0.0.1:9"));
}

} // namespace
} // namespace zx::test
