// The commands of the main window: their actions, menus and tool strip, the handlers other
// windows register, and which commands are available at each moment.
#include "app/MainWindow.h"

#include "app/AppContext.h"
#include "app/CommandAvailability.h"
#include "app/FileCommands.h"
#include "app/MainWindowIcons.h"
#include "model/ListKinds.h"
#include "model/Model.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

namespace zx {

namespace {

// Handler names of the entry dialogs that Change and Copy open for each list.
const char *const EntryHandlers[] = {"mnuEingSz", "mnuEingPz", "mnuEingSw", "frm_change_grid_data"};

// The view commands in the order of ViewCommand.
const char *const ViewCommandNames[] = {"mnuAnsSz",     "mnuAnsPz",     "mnuAnsSw",   "mnuAnsVorlSz",
                                        "mnuAnsVorlPz", "mnuAnsVorlSw", "mnuAnsAstro"};

} // namespace

QString MainWindow::entryHandlerOf(int listView)
{
    return QLatin1String(EntryHandlers[qBound(0, listView, ListKindCount - 1)]);
}

QAction *MainWindow::makeAction(const char *objectName, const QString &text)
{
    auto *a = new QAction(text, this);
    a->setObjectName(QLatin1String(objectName));
    actions_.insert(a->objectName(), a);
    return a;
}

void MainWindow::buildActions()
{
    const Catalogue &c = ctx_.model.catalogue;
    struct Def {
        const char *name;
        QString text;
        QKeySequence key;
    };
    const Def defs[] = {
        {"mnuDatNeu", c(Msg::MenuNew), QKeySequence::New},
        {"mnuDatOeffnen", c(Msg::MenuOpen), QKeySequence::Open},
        {"mnuDatSpeichern", c(Msg::MenuSave), QKeySequence::Save},
        {"mnuDatSpeichernUnter", c(Msg::MenuSaveAs), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {"mnuDatVorlageOeffnen", c(Msg::MenuOpenSample), {}},
        {"mnuDatVorlageSchliessen", c(Msg::MenuCloseSample), {}},
        {"mnuDatDruck", c(Msg::MenuPrint), QKeySequence::Print},
        {"mnuDatExp", c(Msg::MenuProgramDevice), {}},
        {"mnuDatImp", c(Msg::MenuReadDevice), {}},
        {"mnuBuszugriff", c(Msg::BusAccess), {}},
        {"mnuDatEnde", c(Msg::MenuExit), QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {"mnuEingSz", c(Msg::MenuEditSwitching), QKeySequence(Qt::Key_F5)},
        {"mnuEingPz", c(Msg::MenuEditPriority), QKeySequence(Qt::Key_F6)},
        {"mnuAstroEin", c(Msg::MenuEnterAstroData), {}},
        {"mnuEingSw", c(Msg::MenuEditChangeover), QKeySequence(Qt::Key_F7)},
        {"mnuLoeschen", c(Msg::MenuDelete), QKeySequence(Qt::Key_Delete)},
        {"mnuAendern", c(Msg::MenuChange), {}},
        {"mnuKopieren", c(Msg::MenuCopy), {}},
        {"mnuFilter", c(Msg::MenuFilter), {}},
        {"mnuAnsSz", c(Msg::MenuViewSwitching), QKeySequence(Qt::CTRL | Qt::Key_1)},
        {"mnuAnsPz", c(Msg::MenuViewPriority), QKeySequence(Qt::CTRL | Qt::Key_2)},
        {"mnuAnsSw", c(Msg::MenuViewChangeover), QKeySequence(Qt::CTRL | Qt::Key_3)},
        {"mnuAnsVorlSz", c(Msg::MenuViewSampleSwitching), {}},
        {"mnuAnsVorlPz", c(Msg::MenuViewSamplePriority), {}},
        {"mnuAnsVorlSw", c(Msg::MenuViewSampleChangeover), {}},
        {"mnuAnsAstro", c(Msg::Astrotimes), QKeySequence(Qt::CTRL | Qt::Key_4)},
        {"mnuAnsGrafik", c(Msg::ProgramSimulation), {}},
        {"mnuAssistent", c(Msg::MenuEditAssistant), {}},
        {"mnuGeraet", c(Msg::MenuDeviceProperties), {}},
        {"mnuMaster", QStringLiteral("Mastercard"), {}},
        {"mnuFeiertage", c(Msg::MenuHolidays), {}},
        {"mnuHilfeInhalt", c(Msg::MenuHelpFor), QKeySequence::HelpContents},
        {"mnuInfo", c(Msg::MenuAbout), {}},
        {"tbDruck", c(Msg::BtnPrint), {}},
        {"tbSpeichern", c(Msg::BtnSave), {}},
    };
    for (const Def &d : defs) {
        QAction *a = makeAction(d.name, d.text);
        if (!d.key.isEmpty())
            a->setShortcut(d.key);
    }

    auto bind = [this](const char *name, auto slot) {
        connect(actions_.value(QLatin1String(name)), &QAction::triggered, this, slot);
    };
    bind("mnuDatNeu", &MainWindow::newProgram);
    bind("mnuDatOeffnen", &MainWindow::openProgram);
    bind("mnuDatSpeichern", &MainWindow::save);
    bind("tbSpeichern", &MainWindow::save);
    bind("mnuDatSpeichernUnter", &MainWindow::saveAs);
    bind("mnuDatVorlageOeffnen", &MainWindow::openSample);
    bind("mnuDatVorlageSchliessen", &MainWindow::closeSample);
    bind("mnuDatEnde", &MainWindow::exitProgram);
    bind("mnuLoeschen", &MainWindow::deleteMarked);
    bind("mnuAendern", &MainWindow::changeMarked);
    bind("mnuKopieren", &MainWindow::copyMarked);
    bind("mnuGeraet", &MainWindow::openDeviceProperties);
    bind("mnuInfo", &MainWindow::showAbout);

    // The view commands choose list and set.
    auto *views = new QActionGroup(this);
    const struct {
        const char *name;
        int list;
        int set;
    } viewDefs[] = {
        {"mnuAnsSz", ListSwitching, SetProgram},     {"mnuAnsPz", ListPriority, SetProgram},
        {"mnuAnsSw", ListChangeover, SetProgram},    {"mnuAnsVorlSz", ListSwitching, SetTemplate},
        {"mnuAnsVorlPz", ListPriority, SetTemplate}, {"mnuAnsVorlSw", ListChangeover, SetTemplate},
        {"mnuAnsAstro", ListAstro, SetProgram},
    };
    for (const auto &v : viewDefs) {
        QAction *a = actions_.value(QLatin1String(v.name));
        a->setCheckable(true);
        views->addAction(a);
        const int list = v.list, set = v.set;
        connect(a, &QAction::triggered, this, [this, list, set] { showList(list, set); });
    }

    // Commands whose windows are wired in later run their registered handler.
    const char *const delegated[] = {"mnuDatDruck",   "mnuDatExp",    "mnuDatImp", "mnuEingSz",
                                     "mnuEingPz",     "mnuAstroEin",  "mnuEingSw", "mnuFilter",
                                     "mnuAnsGrafik",  "mnuAssistent", "mnuMaster", "mnuFeiertage",
                                     "mnuHilfeInhalt"};
    for (const char *name : delegated) {
        const QString key = QLatin1String(name);
        connect(actions_.value(key), &QAction::triggered, this, [this, key] { runCommand(key); });
    }
    connect(actions_.value(QStringLiteral("mnuBuszugriff")), &QAction::triggered, this,
            [this] { runCommand(QStringLiteral("mnuBuszugriff")); });
    // The tool strip's print prints the shown list (its own handler), else runs File > Print.
    connect(actions_.value(QStringLiteral("tbDruck")), &QAction::triggered, this, [this] {
        runCommand(handlers_.contains(QStringLiteral("tbDruck")) ? QStringLiteral("tbDruck")
                                                                 : QStringLiteral("mnuDatDruck"));
    });
}

void MainWindow::buildMenus()
{
    const Catalogue &c = ctx_.model.catalogue;
    auto add = [this](QMenu *menu, std::initializer_list<const char *> names) {
        for (const char *n : names) {
            if (!n)
                menu->addSeparator();
            else
                menu->addAction(actions_.value(QLatin1String(n)));
        }
    };
    menuFile_ = menuBar()->addMenu(c(Msg::MenuFile));
    menuFile_->setObjectName(QStringLiteral("mnuDatei"));
    add(menuFile_, {"mnuDatNeu", "mnuDatOeffnen", "mnuDatSpeichern", "mnuDatSpeichernUnter", nullptr,
                    "mnuDatVorlageOeffnen", "mnuDatVorlageSchliessen", nullptr, "mnuDatDruck", nullptr,
                    "mnuDatExp", "mnuDatImp", "mnuBuszugriff", nullptr, "mnuDatEnde"});

    menuEdit_ = menuBar()->addMenu(c(Msg::MenuEdit));
    menuEdit_->setObjectName(QStringLiteral("mnuBearbeiten"));
    add(menuEdit_, {"mnuEingSz", "mnuEingPz", "mnuAstroEin", "mnuEingSw", nullptr, "mnuLoeschen",
                    "mnuAendern", "mnuKopieren", nullptr, "mnuFilter"});

    menuView_ = menuBar()->addMenu(c(Msg::MenuView));
    menuView_->setObjectName(QStringLiteral("mnuAnsicht"));
    add(menuView_, {"mnuAnsSz", "mnuAnsPz", "mnuAnsSw", nullptr, "mnuAnsVorlSz", "mnuAnsVorlPz",
                    "mnuAnsVorlSw", nullptr, "mnuAnsAstro", "mnuAnsGrafik"});

    menuSettings_ = menuBar()->addMenu(c(Msg::MenuSettings));
    menuSettings_->setObjectName(QStringLiteral("mnuEinstellungen"));
    add(menuSettings_, {"mnuAssistent", "mnuGeraet", "mnuMaster", "mnuFeiertage"});

    menuHelp_ = menuBar()->addMenu(c(Msg::MenuHelp));
    menuHelp_->setObjectName(QStringLiteral("mnuHilfe"));
    add(menuHelp_, {"mnuHilfeInhalt", nullptr, "mnuInfo"});

    for (QMenu *m : {menuFile_, menuEdit_, menuView_, menuSettings_, menuHelp_})
        connect(m, &QMenu::aboutToShow, this, &MainWindow::updateActions);
}

void MainWindow::buildToolStrip()
{
    auto *bar = addToolBar(QStringLiteral("Toolbar1"));
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction *print = actions_.value(QStringLiteral("tbDruck"));
    print->setIcon(printerIcon());
    QAction *save = actions_.value(QStringLiteral("tbSpeichern"));
    save->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    bar->addAction(save);
    bar->addAction(print);
}

QAction *MainWindow::action(const QString &objectName) const
{
    return actions_.value(objectName, nullptr);
}

void MainWindow::setCommandHandler(const QString &objectName, std::function<void()> handler)
{
    if (handler)
        handlers_.insert(objectName, std::move(handler));
    else
        handlers_.remove(objectName);
    updateActions();
}

bool MainWindow::hasCommandHandler(const QString &objectName) const
{
    return handlers_.contains(objectName);
}

void MainWindow::runCommand(const QString &objectName)
{
    const auto it = handlers_.constFind(objectName);
    if (it != handlers_.constEnd() && *it)
        (*it)();
}

void MainWindow::updateActions()
{
    const Model &m = ctx_.model;
    const CommandAvailability can = AvailableCommands(m, files_->sampleLoaded());
    auto a = [this](const char *name) { return actions_.value(QLatin1String(name)); };
    auto delegated = [&](const char *name, bool rule = true) {
        a(name)->setEnabled(rule && handlers_.contains(QLatin1String(name)));
    };

    setWindowModified(m.Modified != 0);
    // File. Ctrl+S saves whether the program has a name or not; it stays on one enabled action
    // at a time, as two enabled owners would make it ambiguous and neither would run.
    a("mnuDatSpeichern")->setEnabled(can.save);
    a("tbSpeichern")->setShortcut(can.save ? QKeySequence() : QKeySequence(QKeySequence::Save));
    a("mnuDatVorlageSchliessen")->setEnabled(can.closeSample);
    delegated("mnuDatDruck");
    a("tbDruck")->setEnabled(a("mnuDatDruck")->isEnabled());
    delegated("mnuDatExp");
    delegated("mnuDatImp");
    delegated("mnuBuszugriff", can.busAccess);

    // Edit
    delegated("mnuEingSz");
    delegated("mnuEingPz");
    a("mnuAstroEin")->setVisible(can.astroCommands);
    delegated("mnuAstroEin", can.astroCommands);
    delegated("mnuEingSw");
    delegated("mnuFilter");
    const bool entryAvailable = handlers_.contains(entryHandlerOf(m.ListView));
    a("mnuLoeschen")->setEnabled(can.deleteMarked);
    a("mnuAendern")->setEnabled(can.changeMarked && entryAvailable);
    a("mnuKopieren")->setEnabled(can.copyMarked && entryAvailable);

    // View: the shown list and set carry the tick.
    a("mnuAnsSz")->setEnabled(true);
    a("mnuAnsPz")->setEnabled(can.viewPriority);
    a("mnuAnsSw")->setEnabled(can.viewChangeover);
    a("mnuAnsVorlSz")->setEnabled(can.viewSample);
    a("mnuAnsVorlPz")->setEnabled(can.viewSample);
    a("mnuAnsVorlSw")->setEnabled(can.viewSample);
    a("mnuAnsAstro")->setVisible(can.astroCommands);
    a("mnuAnsAstro")->setEnabled(can.viewAstro);
    a(ViewCommandNames[static_cast<int>(can.ticked)])->setChecked(true);
    delegated("mnuAnsGrafik", can.simulation);

    // Settings and help
    delegated("mnuAssistent");
    delegated("mnuMaster");
    delegated("mnuFeiertage");
    delegated("mnuHilfeInhalt");
}

} // namespace zx
