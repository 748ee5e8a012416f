#include "app/MainWindow.h"

#include "app/AboutDialog.h"
#include "app/AppContext.h"
#include "model/BrandTable.h"
#include "app/DefaultFileName.h"
#include "app/DeleteEntries.h"
#include "app/DevicePropertiesDialog.h"
#include "app/LoadFailure.h"
#include "entry/AstroTimeChange.h"
#include "entry/EntryStore.h"
#include "i18n/ExtraTexts.h"
#include "model/DeviceCodes.h"
#include "model/ListOrder.h"
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "model/ProgramNumber.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace zx {

namespace {

// Every file operation gives the working directory back as it found it.
class CurrentDirGuard {
  public:
    CurrentDirGuard() : dir_(QDir::currentPath()) {}
    ~CurrentDirGuard() { QDir::setCurrent(dir_); }
    CurrentDirGuard(const CurrentDirGuard &) = delete;
    CurrentDirGuard &operator=(const CurrentDirGuard &) = delete;

  private:
    QString dir_;
};

// The menu caption without its accelerator marks and trailing dots, as a dialog title.
QString plainCaption(QString caption)
{
    caption.remove(QLatin1Char('&'));
    while (caption.endsWith(QLatin1Char('.')) || caption.endsWith(QLatin1Char(' ')))
        caption.chop(1);
    return caption;
}

QPixmap filterPixmap(bool crossed)
{
    QPixmap pm(22, 22);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath funnel;
    funnel.moveTo(3, 4);
    funnel.lineTo(19, 4);
    funnel.lineTo(13, 11);
    funnel.lineTo(13, 18);
    funnel.lineTo(9, 16);
    funnel.lineTo(9, 11);
    funnel.closeSubpath();
    p.setPen(QPen(QColor(40, 40, 40), 1.3));
    p.setBrush(crossed ? QColor(235, 235, 235) : QColor(60, 60, 60));
    p.drawPath(funnel);
    if (crossed) {
        p.setPen(QPen(QColor(200, 30, 30), 2));
        p.drawLine(4, 19, 19, 3);
    }
    return pm;
}

QIcon printerIcon()
{
    QPixmap pm(22, 22);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(50, 50, 50), 1.2));
    p.setBrush(Qt::white);
    p.drawRect(6, 2, 10, 7);
    p.setBrush(QColor(120, 120, 130));
    p.drawRoundedRect(2, 8, 18, 8, 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(6, 13, 10, 7);
    return QIcon(pm);
}

QIcon lockIcon(bool locked)
{
    QPixmap pm(22, 22);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(Qt::NoBrush);
    if (locked)
        p.drawArc(6, 2, 10, 12, 0, 180 * 16);
    else
        p.drawArc(11, 1, 10, 12, 0, 180 * 16);
    p.drawLine(locked ? 6 : 11, 8, locked ? 6 : 11, 11);
    p.drawLine(16, 8, 16, 11);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(locked ? QColor(200, 150, 30) : QColor(170, 200, 170));
    p.drawRoundedRect(3, 10, 16, 11, 2, 2);
    return QIcon(pm);
}

// Handler names of the entry dialogs that Change and Copy open for each list.
const char *const EntryHandlers[] = {"mnuEingSz", "mnuEingPz", "mnuEingSw", "frm_change_grid_data"};

} // namespace

MainWindow::MainWindow(AppContext &context, QWidget *parent) : QMainWindow(parent), ctx_(context)
{
    setObjectName(QStringLiteral("MDIForm1"));
    buildActions();
    buildMenus();
    buildToolStrip();
    buildCentral();
    statusBar()->setSizeGripEnabled(true);
    deviceStatus_ = new QLabel(this);
    deviceStatus_->setObjectName(QStringLiteral("lblGeraetStatus"));
    statusBar()->addPermanentWidget(deviceStatus_);
    restoreGeometryFromSettings();
    redrawList();
    grid_->setFocus();
}

MainWindow::~MainWindow() = default;

// ------------------------------------------------------------------ construction

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

void MainWindow::buildCentral()
{
    const Catalogue &c = ctx_.model.catalogue;
    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(8, 6, 8, 6);
    outer->setSpacing(6);

    // Header fields of the frame.
    auto *header = new QFrame(central);
    header->setObjectName(QStringLiteral("fraKopf"));
    header->setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(header);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);

    usageLabel_ = new QLabel(c(Msg::Use), header);
    usageLabel_->setObjectName(QStringLiteral("lblverwendung"));
    usage_ = new QLineEdit(header);
    usage_->setObjectName(QStringLiteral("txtverwendung"));
    usageLabel_->setBuddy(usage_);
    connect(usage_, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (!text.contains(QLatin1Char(','))) // the file keeps texts up to the next comma
            return;
        ctx_.prompter.beep();
        const int pos = usage_->cursorPosition();
        usage_->setText(QString(text).remove(QLatin1Char(',')));
        usage_->setCursorPosition(std::max(0, pos - 1));
    });
    connect(usage_, &QLineEdit::editingFinished, this, &MainWindow::commitUsageText);

    programNumberLabel_ = new QLabel(plainCaption(c(Msg::NoOfTheProgram)), header);
    programNumberLabel_->setObjectName(QStringLiteral("lblProgrammnummer"));
    programNumber_ = new QLineEdit(header);
    programNumber_->setObjectName(QStringLiteral("txtProgrammnummer"));
    programNumber_->setMaxLength(6);
    programNumber_->setFixedWidth(programNumber_->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) +
                                  16);
    programNumberLabel_->setBuddy(programNumber_);
    connect(programNumber_, &QLineEdit::textEdited, this, [this](const QString &text) {
        QString kept;
        for (QChar ch : text) {
            if (ch.isDigit() || ch == QLatin1Char(' '))
                kept += ch;
        }
        if (kept == text)
            return;
        ctx_.prompter.beep();
        const int pos = programNumber_->cursorPosition() - static_cast<int>(text.size() - kept.size());
        programNumber_->setText(kept);
        programNumber_->setCursorPosition(std::max(0, pos));
    });
    connect(programNumber_, &QLineEdit::editingFinished, this, &MainWindow::commitProgramNumber);

    writeProtect_ = new QToolButton(header);
    writeProtect_->setObjectName(QStringLiteral("AniSchreibschutz"));
    writeProtect_->setCheckable(true);
    writeProtect_->setAutoRaise(true);
    writeProtect_->setIconSize(QSize(22, 22));
    connect(writeProtect_, &QToolButton::clicked, this, [this](bool checked) {
        DeviceProperties &d = ctx_.model.device;
        if (ctx_.model.CurrentSet != SetProgram || (checked ? 1 : 0) == d.WriteProtect) {
            refreshHeaderFields();
            return;
        }
        d.WriteProtect = checked ? 1 : 0;
        ctx_.model.Modified = 1;
        refreshHeaderFields();
    });

    gauge_ = new QProgressBar(header);
    gauge_->setObjectName(QStringLiteral("ggeanzSz"));
    gauge_->setTextVisible(true);
    gauge_->setFormat(QStringLiteral("%v / %m"));
    gauge_->setAlignment(Qt::AlignCenter);
    gauge_->setMinimumWidth(150);
    gauge_->setCursor(Qt::PointingHandCursor);
    gauge_->setToolTip(plainCaption(c(Msg::UsedMemory)).remove(QLatin1Char(':')));
    gauge_->installEventFilter(this);

    filterFrame_ = new QFrame(header);
    filterFrame_->setObjectName(QStringLiteral("picfilter"));
    filterFrame_->setFrameShape(QFrame::Panel);
    filterFrame_->setFrameShadow(QFrame::Sunken);
    filterFrame_->setAutoFillBackground(true);
    filterFrame_->setCursor(Qt::PointingHandCursor);
    auto *filterLayout = new QHBoxLayout(filterFrame_);
    filterLayout->setContentsMargins(3, 2, 3, 2);
    filterOnImage_ = new QLabel(filterFrame_);
    filterOnImage_->setObjectName(QStringLiteral("imgfilt"));
    filterOnImage_->setPixmap(filterPixmap(false));
    filterOnImage_->setToolTip(c(Msg::WithFilter));
    filterOffImage_ = new QLabel(filterFrame_);
    filterOffImage_->setObjectName(QStringLiteral("imgnofilt"));
    filterOffImage_->setPixmap(filterPixmap(true));
    filterOffImage_->setToolTip(c(Msg::WithoutFilter));
    filterLayout->addWidget(filterOnImage_);
    filterLayout->addWidget(filterOffImage_);
    filterOnImage_->installEventFilter(this);
    filterOffImage_->installEventFilter(this);

    grid->addWidget(programNumberLabel_, 0, 0);
    grid->addWidget(programNumber_, 0, 1);
    grid->addWidget(usageLabel_, 0, 2);
    grid->addWidget(usage_, 0, 3);
    auto *right = new QHBoxLayout;
    right->setSpacing(8);
    right->addWidget(writeProtect_);
    right->addWidget(gauge_);
    right->addWidget(filterFrame_);
    grid->addLayout(right, 0, 4);
    grid->setColumnStretch(3, 1);

    // Channel names: one field per channel; index 8 exists but is never used.
    auto *names = new QHBoxLayout;
    names->setSpacing(6);
    for (int i = 0; i < 9; ++i) {
        auto *label = new QLabel(c(Msg::ChannelPrefix).trimmed() + QString::number(i + 1), header);
        label->setObjectName(QStringLiteral("lblkannam%1").arg(i));
        auto *edit = new QLineEdit(header);
        edit->setObjectName(QStringLiteral("txtkannam%1").arg(i));
        edit->setProperty("index", i);
        edit->setPlaceholderText(c(Msg::Channel1 + std::min(i, 7)));
        edit->setMinimumWidth(70);
        label->setBuddy(edit);
        connect(edit, &QLineEdit::editingFinished, this, [this, i] { commitChannelName(i); });
        names->addWidget(label);
        names->addWidget(edit, 1);
        channelLabels_.push_back(label);
        channelNames_.push_back(edit);
    }
    grid->addLayout(names, 1, 0, 1, 5);
    outer->addWidget(header);

    // The list window.
    listWindow_ = new QWidget(central);
    listWindow_->setObjectName(QStringLiteral("frmHauptmenue"));
    auto *listLayout = new QVBoxLayout(listWindow_);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(3);
    auto *titleRow = new QHBoxLayout;
    listTitle_ = new QLabel(listWindow_);
    listTitle_->setObjectName(QStringLiteral("lblTitel"));
    QFont titleFont = listTitle_->font();
    titleFont.setBold(true);
    listTitle_->setFont(titleFont);
    listTitle_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fileDate_ = new QLabel(listWindow_);
    fileDate_->setObjectName(QStringLiteral("lblDateidatum"));
    fileDate_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    titleRow->addWidget(listTitle_, 1);
    titleRow->addWidget(fileDate_);
    listLayout->addLayout(titleRow);

    grid_ = new QTableWidget(listWindow_);
    grid_->setObjectName(QStringLiteral("GrdDisplSz"));
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setAlternatingRowColors(true);
    grid_->setWordWrap(false);
    grid_->setTabKeyNavigation(false);
    grid_->verticalHeader()->setVisible(false);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSizeF(std::max(mono.pointSizeF(), font().pointSizeF()));
    grid_->setFont(mono);
    grid_->verticalHeader()->setDefaultSectionSize(QFontMetrics(mono).height() + 6);
    grid_->horizontalHeader()->setHighlightSections(false);
    grid_->horizontalHeader()->setSectionsClickable(true);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, &MainWindow::headerClicked);
    connect(grid_, &QTableWidget::itemSelectionChanged, this, &MainWindow::onSelectionChanged);
    connect(grid_, &QTableWidget::cellDoubleClicked, this, [this](int, int) {
        const QString name = ctx_.model.CurrentSet == SetTemplate ? QStringLiteral("mnuKopieren")
                                                                  : QStringLiteral("mnuAendern");
        updateActions();
        if (actions_.value(name)->isEnabled())
            actions_.value(name)->trigger();
    });
    grid_->installEventFilter(this);
    listLayout->addWidget(grid_, 1);
    outer->addWidget(listWindow_, 1);

    setCentralWidget(central);
}

// ------------------------------------------------------------------ public API

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

// ------------------------------------------------------------------ redraw

void MainWindow::showList(int listView, int setIndex)
{
    commitHeaderFields();
    Model &m = ctx_.model;
    m.ListView = qBound(0, listView, 3);
    m.CurrentSet = (setIndex == SetTemplate && templateLoaded_) ? SetTemplate : SetProgram;
    redrawList();
}

void MainWindow::redrawList()
{
    Model &m = ctx_.model;
    if (m.ListView == ListAstro && m.device.Uhrentyp != TypeAstro)
        m.ListView = ListSwitching;
    if (m.ListView == ListAstro)
        m.CurrentSet = SetProgram;
    // Only a device with the utility option keeps a program number.
    if (m.device.Evu != 1)
        m.set(m.CurrentSet).ProgramNumber = NoProgramNumber;

    fillGrid();
    fileDate_->setText(views::FileDateLabel(m, m.CurrentSet));
    const QString title = views::WindowTitle(m, m.ListView, m.CurrentSet);
    listTitle_->setText(title);
    listWindow_->setWindowTitle(title);
    refreshWindowTitle();
    refreshHeaderFields();
    refreshFilterSwitch();
    updateActions();
    Q_EMIT listRedrawn();
}

void MainWindow::refreshWindowTitle()
{
    // The file first, marked while it has unsaved changes ("[*]" is where Qt puts the mark).
    const Model &m = ctx_.model;
    const QString file = QFileInfo(m.program().FileName).fileName();
    QString title = m.catalogue.productTitle + QStringLiteral(" - ") + listTitle_->text();
    if (!file.isEmpty())
        title = file + QStringLiteral("[*] - ") + title;
    else
        title = QStringLiteral("[*]") + title;
    setWindowTitle(title);
    setWindowModified(m.Modified != 0);
}

void MainWindow::fillGrid()
{
    Model &m = ctx_.model;
    filling_ = true;
    // The astro list's dates and summer-time hour follow the clock's year unless one is set.
    ListOptions options = listOptions_;
    if (!options.clock)
        options.clock = &ctx_.clock;
    shown_ = views::BuildList(m, m.ListView, m.CurrentSet, options);
    // Astro times are changed cell by cell within one time column; other lists mark rows.
    const bool astro = m.ListView == ListAstro;
    grid_->setSelectionBehavior(astro ? QAbstractItemView::SelectItems : QAbstractItemView::SelectRows);
    grid_->clearSelection();
    grid_->clearContents();
    grid_->setColumnCount(static_cast<int>(shown_.header.size()));
    grid_->setHorizontalHeaderLabels(shown_.header);
    grid_->setRowCount(static_cast<int>(shown_.rows.size()));
    for (int r = 0; r < static_cast<int>(shown_.rows.size()); ++r) {
        const QStringList &cells = shown_.rows[r].cells;
        for (int col = 0; col < cells.size(); ++col) {
            auto *item = new QTableWidgetItem(cells[col]);
            const bool selectable = !astro || AstroTableColumnOfListColumn(col) >= 0;
            item->setFlags(selectable ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::ItemIsEnabled);
            if (col == 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid_->setItem(r, col, item);
        }
    }
    // Columns as wide as their texts, the numbers narrow, no column unreadably small.
    QHeaderView *h = grid_->horizontalHeader();
    for (int col = 0; col + 1 < grid_->columnCount(); ++col) {
        grid_->resizeColumnToContents(col);
        h->resizeSection(col, std::max(h->sectionSize(col) + 14, col == 0 ? 44 : 60));
    }

    // The sort indicator shows the key column of the shown list.
    int indicator = -1;
    if (m.ListView == ListSwitching) {
        int col = m.SortColumnSz;
        if (col < 1 || col > 7)
            col = 3;
        if (m.device.Uhrentyp == TypeAstro && col > 3)
            col = col == 4 ? 3 : col - 1;
        indicator = col;
    } else if (m.ListView == ListPriority) {
        indicator = (m.SortColumnPz >= 1 && m.SortColumnPz <= 6) ? m.SortColumnPz : 3;
    }
    h->setSortIndicatorShown(indicator >= 0);
    if (indicator >= 0)
        h->setSortIndicator(indicator, Qt::AscendingOrder);

    markedRows_.clear();
    m.Marked.clear();
    m.FirstMarked = 0;
    m.LastMarked = -1;
    filling_ = false;
}

void MainWindow::refreshHeaderFields()
{
    const Model &m = ctx_.model;
    const ProgramSet &s = m.set(m.CurrentSet);
    const bool editable = m.CurrentSet == SetProgram;
    const bool evu = m.device.Evu == 1;

    programNumberLabel_->setVisible(evu);
    programNumber_->setVisible(evu);
    programNumber_->setText(views::ProgramNumberText(m, m.CurrentSet));
    programNumber_->setReadOnly(!editable);

    usage_->setText(s.UsageText);
    usage_->setReadOnly(!editable);

    const int channels = qBound(1, m.device.Kanalzahl, 8);
    for (int i = 0; i < static_cast<int>(channelNames_.size()); ++i) {
        const bool shown = i < channels;
        channelLabels_[i]->setVisible(shown);
        channelNames_[i]->setVisible(shown);
        channelNames_[i]->setText(s.ChannelNames[i]);
        channelNames_[i]->setReadOnly(!editable);
    }

    writeProtect_->setVisible(m.device.Bewft == 1 || m.device.Uhrentyp == TypeAstro);
    writeProtect_->setChecked(m.device.WriteProtect != 0);
    writeProtect_->setIcon(lockIcon(m.device.WriteProtect != 0));
    writeProtect_->setEnabled(editable);

    // The device being programmed; a master card carries options instead of a program, and the
    // options dialog's own name for it is the one the user knows.
    QString device = m.device.ModelName.trimmed();
    if (IsMasterCard(m.device.DeviceCode))
        device +=
            (device.isEmpty() ? QString() : QStringLiteral("  \u2013  ")) + QStringLiteral("Mastercard");
    deviceStatus_->setText(device);

    const int capacity = std::max(1, m.device.RecordCapacity);
    gauge_->setRange(0, capacity);
    gauge_->setValue(qBound(0, s.UsedCount, capacity));
}

void MainWindow::refreshFilterSwitch()
{
    const bool on = ctx_.model.FilterOn != 0;
    filterOnImage_->setVisible(on);
    filterOffImage_->setVisible(!on);
    QPalette pal = filterFrame_->palette();
    pal.setColor(QPalette::Window, on ? QColor(255, 255, 16) : QColor(192, 192, 192));
    filterFrame_->setPalette(pal);
}

void MainWindow::updateActions()
{
    const Model &m = ctx_.model;
    const ProgramSet &p = m.program();
    const bool astroDevice = m.device.Uhrentyp == TypeAstro;
    auto a = [this](const char *name) { return actions_.value(QLatin1String(name)); };
    auto delegated = [&](const char *name, bool rule = true) {
        a(name)->setEnabled(rule && handlers_.contains(QLatin1String(name)));
    };

    setWindowModified(m.Modified != 0);
    // File. Ctrl+S saves whether the program has a name or not; it stays on one enabled action
    // at a time, as two enabled owners would make it ambiguous and neither would run.
    a("mnuDatSpeichern")->setEnabled(m.FileNamed != 0);
    a("tbSpeichern")->setShortcut(m.FileNamed != 0 ? QKeySequence() : QKeySequence(QKeySequence::Save));
    a("mnuDatVorlageSchliessen")->setEnabled(templateLoaded_);
    delegated("mnuDatDruck");
    a("tbDruck")->setEnabled(a("mnuDatDruck")->isEnabled());
    delegated("mnuDatExp");
    delegated("mnuDatImp");
    // Bus time switches are reached through the bus coupling unit.
    delegated("mnuBuszugriff", m.device.BusDevice == 1 || m.device.Busprog != 0);

    // Edit
    delegated("mnuEingSz");
    delegated("mnuEingPz");
    a("mnuAstroEin")->setVisible(astroDevice);
    delegated("mnuAstroEin", astroDevice);
    delegated("mnuEingSw");
    delegated("mnuFilter");
    const bool marked = !m.Marked.empty();
    const bool entryAvailable =
        handlers_.contains(QLatin1String(EntryHandlers[qBound(0, m.ListView, ListKindCount - 1)]));
    a("mnuLoeschen")->setEnabled(marked && m.CurrentSet == SetProgram && m.ListView != ListAstro);
    a("mnuAendern")->setEnabled(marked && m.CurrentSet == SetProgram && entryAvailable);
    a("mnuKopieren")
        ->setEnabled(marked && m.CurrentSet == SetTemplate && m.ListView != ListAstro && entryAvailable);

    // View: the shown list and set carry the tick.
    a("mnuAnsSz")->setEnabled(true);
    a("mnuAnsPz")->setEnabled(p.PzCount > 0);
    a("mnuAnsSw")->setEnabled(p.DstCount > 0);
    a("mnuAnsVorlSz")->setEnabled(templateLoaded_);
    a("mnuAnsVorlPz")->setEnabled(templateLoaded_);
    a("mnuAnsVorlSw")->setEnabled(templateLoaded_);
    a("mnuAnsAstro")->setVisible(astroDevice);
    a("mnuAnsAstro")->setEnabled(astroDevice && m.astro.AstroPresent != 0);
    const char *ticked = "mnuAnsSz";
    if (m.ListView == ListAstro)
        ticked = "mnuAnsAstro";
    else if (m.CurrentSet == SetTemplate)
        ticked = m.ListView == ListPriority     ? "mnuAnsVorlPz"
                 : m.ListView == ListChangeover ? "mnuAnsVorlSw"
                                                : "mnuAnsVorlSz";
    else
        ticked = m.ListView == ListPriority     ? "mnuAnsPz"
                 : m.ListView == ListChangeover ? "mnuAnsSw"
                                                : "mnuAnsSz";
    a(ticked)->setChecked(true);
    delegated("mnuAnsGrafik", p.UsedCount > 0 || (astroDevice && m.astro.AstroPresent != 0));

    // Settings and help
    delegated("mnuAssistent");
    delegated("mnuMaster");
    delegated("mnuFeiertage");
    delegated("mnuHilfeInhalt");
}

// ------------------------------------------------------------------ header fields

void MainWindow::commitHeaderFields()
{
    // A field still being typed in when a command starts counts as left.
    commitProgramNumber();
    commitUsageText();
    for (int i = 0; i < static_cast<int>(channelNames_.size()); ++i)
        commitChannelName(i);
    Q_EMIT headerFieldsCommitted();
}

void MainWindow::commitProgramNumber()
{
    Model &m = ctx_.model;
    if (m.CurrentSet != SetProgram || m.device.Evu != 1)
        return;
    SetProgramNumberFromText(m, programNumber_->text());
    programNumber_->setText(views::ProgramNumberText(m, SetProgram));
}

void MainWindow::commitUsageText()
{
    Model &m = ctx_.model;
    if (m.CurrentSet != SetProgram)
        return;
    const QString text = usage_->text();
    if (text != m.program().UsageText) {
        m.program().UsageText = text;
        m.Modified = 1;
        setWindowModified(true);
    }
}

void MainWindow::commitChannelName(int index)
{
    Model &m = ctx_.model;
    if (m.CurrentSet != SetProgram || index < 0 || index >= static_cast<int>(channelNames_.size()))
        return;
    const QString text = channelNames_[index]->text();
    if (text != m.program().ChannelNames[index]) {
        m.program().ChannelNames[index] = text;
        m.Modified = 1;
        setWindowModified(true);
    }
}

void MainWindow::toggleFilter()
{
    ctx_.model.FilterOn = ctx_.model.FilterOn ? 0 : -1;
    redrawList();
}

void MainWindow::showUsedMemory()
{
    ctx_.prompter.tell(views::UsedMemoryMessage(ctx_.model, ctx_.model.CurrentSet), Icon::Information);
}

// ------------------------------------------------------------------ marking and sorting

void MainWindow::onSelectionChanged()
{
    if (filling_)
        return;
    std::set<int> selected;
    const QModelIndexList indexes = ctx_.model.ListView == ListAstro
                                        ? grid_->selectionModel()->selectedIndexes()
                                        : grid_->selectionModel()->selectedRows();
    for (const QModelIndex &i : indexes)
        selected.insert(i.row());
    // Keep the marking order: rows that stay keep their place, new rows follow.
    std::vector<int> rows;
    for (int r : markedRows_) {
        if (selected.count(r))
            rows.push_back(r);
    }
    for (int r : selected) {
        if (std::find(rows.begin(), rows.end(), r) == rows.end())
            rows.push_back(r);
    }
    markedRows_ = rows;

    Model &m = ctx_.model;
    m.Marked.clear();
    for (int r : markedRows_) {
        if (r < 0 || r >= static_cast<int>(shown_.rows.size()))
            continue;
        // Astro rows stand for days: their marks are day indexes.
        const int index = m.ListView == ListAstro ? r : shown_.rows[r].recordIndex;
        m.Marked.push_back(index);
    }
    m.FirstMarked = 0;
    m.LastMarked = static_cast<int>(m.Marked.size()) - 1;
    updateActions();
}

void MainWindow::headerClicked(int column)
{
    Model &m = ctx_.model;
    if (m.ListView != ListSwitching && m.ListView != ListPriority)
        return;
    HeaderClicked(m, column, &ctx_.prompter);
    redrawList();
}

// ------------------------------------------------------------------ commands

bool MainWindow::confirmDiscard(bool onlyWithRecords, bool exitForm)
{
    commitHeaderFields();
    Model &m = ctx_.model;
    if (!m.Modified)
        return true;
    if (onlyWithRecords && m.program().UsedCount == 0)
        return true;
    const QString question = m.catalogue.text(Msg::SaveChangesIn) + m.program().FileName +
                             (exitForm ? QStringLiteral("  ?") : QStringLiteral(" ?"));
    switch (ctx_.prompter.ask(question, Buttons::YesNoCancel, Icon::Question)) {
    case Answer::Yes:
        // A save that did not happen keeps the command from discarding the changes.
        return save();
    case Answer::No:
        return true;
    default:
        return false;
    }
}

void MainWindow::newProgram()
{
    if (!confirmDiscard(true, false))
        return;
    closeConfirmed_ = true;
    Q_EMIT newRequested();
    // Whoever brings the start screen back may have closed this window already.
    if (isVisible())
        close();
}

void MainWindow::exitProgram()
{
    if (!confirmDiscard(true, true))
        return;
    closeConfirmed_ = true;
    close();
    QCoreApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!closeConfirmed_ && !confirmDiscard(false, true)) {
        event->ignore();
        return;
    }
    saveGeometryToSettings();
    event->accept();
}

void MainWindow::showEvent(QShowEvent *event)
{
    closeConfirmed_ = false;
    QMainWindow::showEvent(event);
}

void MainWindow::openProgram()
{
    Model &m = ctx_.model;
    if (!confirmDiscard(false, false))
        return;
    CurrentDirGuard dirGuard;
    const int previousModified = m.Modified;
    m.Modified = 0;
    const auto path =
        ctx_.prompter.chooseOpenFile(plainCaption(m.catalogue.text(Msg::MenuOpen)),
                                     QStringLiteral("*.zxp|*.zxp|*.*|*.*"), QDir::currentPath());
    if (!path || path->isEmpty()) {
        m.Modified = previousModified;
        return;
    }
    loadProgramFile(*path);
}

void MainWindow::openProgramFile(const QString &path)
{
    if (!confirmDiscard(false, false))
        return;
    CurrentDirGuard dirGuard;
    loadProgramFile(path);
}

void MainWindow::loadProgramFile(const QString &path)
{
    Model &m = ctx_.model;
    const QString previousName = m.program().FileName;
    const LoadResult result = LoadProgram(m, ctx_.prompter, path, false, SetProgram);
    if (result == LoadResult::Loaded) {
        m.FileNamed = 1;
        m.CurrentSet = SetProgram;
        if (m.ListView == ListAstro && m.device.Uhrentyp != TypeAstro)
            m.ListView = ListSwitching;
        Q_EMIT programLoaded();
    } else {
        tellLoadResult(static_cast<int>(result));
        m.program().FileName = previousName;
    }
    redrawList();
}

bool MainWindow::save()
{
    commitHeaderFields();
    Model &m = ctx_.model;
    if (!m.FileNamed)
        return saveAs();
    CurrentDirGuard dirGuard;
    if (!settleDiskChange())
        return false;
    const bool saved = SaveProgram(m, ctx_.prompter, ctx_.clock);
    if (saved)
        Q_EMIT programSaved();
    redrawList();
    return saved;
}

bool MainWindow::settleDiskChange()
{
    Model &m = ctx_.model;
    if (!FileChangedOnDisk(m))
        return true;
    const QString question = extraText(ExtraText::FileChangedQuestion, m.device.Sprache)
                                 .arg(QDir::toNativeSeparators(m.program().FileName));
    switch (ctx_.prompter.ask(question, Buttons::YesNoCancel, Icon::Question)) {
    case Answer::Yes:
        AcceptDiskVersionLoss(m);
        return true;
    case Answer::No:
        // the version on disk replaces this one, as Open would load it
        m.Modified = 0;
        loadProgramFile(m.program().FileName);
        return false;
    default:
        return false;
    }
}

bool MainWindow::saveAs()
{
    commitHeaderFields();
    Model &m = ctx_.model;
    const Catalogue &c = m.catalogue;
    CurrentDirGuard dirGuard;
    const QString title = plainCaption(c(Msg::MenuSaveAs));
    const QString filter = QStringLiteral("*.zxp|*.zxp|*.*|*.*");
    QString preset = m.program().FileName;
    for (;;) {
        const auto chosen = ctx_.prompter.chooseSaveFile(title, filter, preset);
        QString name = chosen.value_or(QString());
        if (name.isEmpty()) {
            ctx_.prompter.tell(c(Msg::NoFileSelected), Icon::Critical);
            return false;
        }
        if (!name.right(4).contains(QLatin1Char('.')))
            name += QStringLiteral(".zxp");
        preset = name;
        if (const auto refused = UncarriableFileNameCharacter(QFileInfo(name).fileName())) {
            const QString shown =
                refused->isPrint() ? QString(*refused)
                                   : QStringLiteral("U+%1").arg(refused->unicode(), 4, 16, QLatin1Char('0'));
            ctx_.prompter.tell(c(Msg::NoValidFilename).trimmed() + QStringLiteral("\n") +
                                   extraText(ExtraText::FileNameCharacter, m.device.Sprache).arg(shown),
                               Icon::Critical);
            continue;
        }
        if (QFileInfo::exists(name)) {
            const Answer a = ctx_.prompter.ask(c(Msg::FilePrefix) + name + c(Msg::AlreadyExistsOverwrite),
                                               Buttons::YesNo, Icon::Question);
            if (a != Answer::Yes)
                continue;
            // replacing that file was just confirmed, whatever happened to it meanwhile
            AcceptDiskVersionLoss(m);
        }
        const QString previousName = m.program().FileName;
        m.program().FileName = name;
        if (SaveProgram(m, ctx_.prompter, ctx_.clock)) {
            m.FileNamed = 1;
            Q_EMIT programSaved();
            redrawList();
            return true;
        }
        m.program().FileName = previousName;
        redrawList();
        return false;
    }
}

void MainWindow::openSample()
{
    commitHeaderFields();
    Model &m = ctx_.model;
    CurrentDirGuard dirGuard;
    const auto path = ctx_.prompter.chooseOpenFile(plainCaption(m.catalogue.text(Msg::MenuOpenSample)),
                                                   QStringLiteral("*.*|*.zxp"), QDir::currentPath());
    if (!path || path->isEmpty())
        return;
    const QString previousName = m.set(SetTemplate).FileName;
    const LoadResult result = LoadProgram(m, ctx_.prompter, *path, false, SetTemplate);
    if (result == LoadResult::Loaded) {
        templateLoaded_ = true;
        showList(m.ListView == ListAstro ? ListSwitching : m.ListView, SetTemplate);
        return;
    }
    tellLoadResult(static_cast<int>(result));
    if (templateLoaded_)
        m.set(SetTemplate).FileName = previousName;
    else
        m.set(SetTemplate).clear();
    redrawList();
}

void MainWindow::closeSample()
{
    Model &m = ctx_.model;
    m.set(SetTemplate).clear();
    templateLoaded_ = false;
    showList(m.ListView == ListAstro ? ListSwitching : m.ListView, SetProgram);
}

void MainWindow::tellLoadResult(int result)
{
    const auto load = static_cast<LoadResult>(result);
    // an unreadable path was reported with the system's text by the loader itself
    if (load == LoadResult::Loaded || load == LoadResult::Unreadable)
        return;
    ctx_.prompter.tell(LoadFailureText(ctx_.model, load), Icon::Critical);
}

void MainWindow::deleteMarked()
{
    if (DeleteMarkedEntries(ctx_.model, ctx_.prompter))
        redrawList();
}

void MainWindow::openEntryFor(int editMode)
{
    Model &m = ctx_.model;
    if (m.Marked.empty())
        return;
    const QString handler = QLatin1String(EntryHandlers[qBound(0, m.ListView, ListKindCount - 1)]);
    if (!handlers_.contains(handler))
        return;
    m.EditMode = editMode;
    m.FirstMarked = 0;
    m.LastMarked = static_cast<int>(m.Marked.size()) - 1;
    m.automation.AutomationActive = 0;
    runCommand(handler);
}

void MainWindow::changeMarked()
{
    if (ctx_.model.CurrentSet == SetProgram)
        openEntryFor(EditChange);
}

void MainWindow::copyMarked()
{
    if (ctx_.model.CurrentSet == SetTemplate && ctx_.model.ListView != ListAstro)
        openEntryFor(EditCopy);
}

void MainWindow::openDeviceProperties()
{
    DevicePropertiesDialog dialog(ctx_, this);
    dialog.exec();
    redrawList();
}

void MainWindow::showAbout()
{
    const Catalogue &c = ctx_.model.catalogue;
    // One about window at a time; it stays open beside the main window until OK.
    if (auto *open = findChild<AboutDialog *>()) {
        open->raise();
        open->activateWindow();
        return;
    }
    auto *about = new AboutDialog(BrandTable(ctx_.model.BrandNumber), c.productTitle, c.versionText,
                                  plainCaption(c(Msg::MenuAbout)), ctx_.model.device.Sprache, this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->open();
}

// ------------------------------------------------------------------ events

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == gauge_ && event->type() == QEvent::MouseButtonRelease) {
        showUsedMemory();
        return true;
    }
    if (watched == filterOnImage_ || watched == filterOffImage_) {
        if (event->type() == QEvent::MouseButtonDblClick) {
            filterDoubleClicked_ = true;
            runCommand(QStringLiteral("mnuFilter"));
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            // The release that ends a double click is not a second click.
            if (filterDoubleClicked_)
                filterDoubleClicked_ = false;
            else
                toggleFilter();
            return true;
        }
    }
    if (watched == grid_ && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Q_EMIT grid_->cellDoubleClicked(grid_->currentRow(), grid_->currentColumn());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::restoreGeometryFromSettings()
{
    QSettings settings(QStringLiteral("Zentrix"), QStringLiteral("Zentrix"));
    const QByteArray geometry = settings.value(QStringLiteral("MainWindow/geometry")).toByteArray();
    if (geometry.isEmpty() || !restoreGeometry(geometry))
        resize(1040, 700);
}

void MainWindow::saveGeometryToSettings() const
{
    QSettings settings(QStringLiteral("Zentrix"), QStringLiteral("Zentrix"));
    settings.setValue(QStringLiteral("MainWindow/geometry"), saveGeometry());
}

} // namespace zx
