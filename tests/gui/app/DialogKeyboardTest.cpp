// Every dialog outside the entry dialogs worked with the keyboard: Tab visits only controls that
// can be seen, in reading order; Return presses the default button; Escape closes the dialog.
#include "DialogContext.h"
#include "TabOrder.h"

#include "app/AboutDialog.h"
#include "app/AppContext.h"
#include "app/DevicePropertiesDialog.h"
#include "app/StartScreen.h"
#include "bus/BusAccessDialog.h"
#include "calendar/AstroSettingsDialog.h"
#include "calendar/HolidayDialog.h"
#include "model/BrandTable.h"
#include "model/Model.h"
#include "output/PrintDialog.h"
#include "output/PrintDriver.h"
#include "transfer/MasterCardDialog.h"
#include "transfer/SerialPortsDialog.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>

#include <functional>
#include <memory>

using namespace zx;
using namespace zx::test;

namespace {

struct Setting : DialogContext {
    PrintSettings print;

    Setting()
    {
        // The working directory's files, as an installed program has them.
        const QDir data(QStringLiteral(ZX_SOURCE_DATA));
        for (const QString &name : data.entryList(QDir::Files))
            QFile::copy(data.filePath(name), dir.file(name));
        model.BrandNumber = 1;
        model.catalogue.fillBuiltin(model.device.Sprache, model.BrandNumber);
    }
};

struct DialogCase {
    const char *name;
    std::function<std::unique_ptr<QDialog>(Setting &)> make;
    // Return presses this default button (objectName); empty: the dialog has none.
    const char *defaultButton;
};

template <class T, class... A> std::unique_ptr<QDialog> make(A &&...args)
{
    return std::make_unique<T>(std::forward<A>(args)...);
}

const DialogCase cases[] = {
    {"StartScreen",
     [](Setting &s) {
         auto d = make<StartScreen>(s.ctx);
         static_cast<StartScreen &>(*d).prepare();
         return d;
     },
     "cmd_ok"},
    {"About",
     [](Setting &s) {
         const Catalogue &c = s.model.catalogue;
         return make<AboutDialog>(BrandTable(1), c.productTitle, c.versionText, QStringLiteral("About"),
                                  s.model.device.Sprache);
     },
     "cmdOK"},
    {"DeviceProperties", [](Setting &s) { return make<DevicePropertiesDialog>(s.ctx); }, "cmdOk"},
    {"DevicePropertiesAstro",
     [](Setting &s) {
         s.model.device.Uhrentyp = TypeAstro;
         return make<DevicePropertiesDialog>(s.ctx);
     },
     "cmdOk"},
    {"Print", [](Setting &s) { return make<PrintDialog>(s.ctx, s.print); }, "cmdprdruck"},
    {"AstroSettings",
     [](Setting &s) {
         s.model.device.Uhrentyp = TypeAstro;
         return make<AstroSettingsDialog>(s.ctx);
     },
     "cmd_astro_ok"},
    {"Holidays", [](Setting &s) { return make<HolidayDialog>(s.ctx); }, "cmd_add_Feiertage"},
    {"BusAccess",
     [](Setting &s) {
         s.model.device.BusDevice = 1;
         return make<BusAccessDialog>(s.ctx, [] { return true; });
     },
     ""},
    {"SerialPorts", [](Setting &s) { return make<SerialPortsDialog>(s.dir.path()); }, "cmdOk"},
    // Every click takes effect at once; Return closes it as its one button does.
    {"MasterCard", [](Setting &s) { return make<MasterCardDialog>(s.model, s.prompter, s.clock, [] {}); },
     "cmdmachmstr"},
};

class DialogKeyboard : public ::testing::TestWithParam<DialogCase> {};

TEST_P(DialogKeyboard, TabReturnAndEscape)
{
    Setting setting;
    std::unique_ptr<QDialog> dialog = GetParam().make(setting);
    showActive(*dialog);

    const std::vector<QWidget *> chain = TabChain(dialog.get());
    ASSERT_FALSE(chain.empty()) << "no control of the dialog takes the focus";
    ExpectReadingOrder(dialog.get(), chain);
    ExpectTabReachesEveryControl(dialog.get(), chain);

    const QString wanted = QString::fromLatin1(GetParam().defaultButton);
    QPushButton *byDefault = defaultButton(*dialog);
    if (wanted.isEmpty()) {
        EXPECT_EQ(byDefault, nullptr);
    } else {
        ASSERT_NE(byDefault, nullptr) << "no default button, " << wanted.toStdString() << " wanted";
        EXPECT_EQ(byDefault->objectName(), wanted);
        // Return from the first control presses it, wherever the focus stands.
        QSignalSpy pressed(byDefault, &QPushButton::clicked);
        chain.front()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(chain.front(), Qt::Key_Return);
        EXPECT_EQ(pressed.count(), 1);
    }

    showActive(*dialog);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible()) << "Escape leaves the dialog open";
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogKeyboard, ::testing::ValuesIn(cases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
