#include "app/MainWindow.h"

#include "app/AboutDialog.h"
#include "app/AppContext.h"
#include "app/DeleteEntries.h"
#include "app/DevicePropertiesDialog.h"
#include "app/FileCommands.h"
#include "app/MenuCaption.h"
#include "app/ProgramHeader.h"
#include "entry/AstroTimeChange.h"
#include "entry/EntryStore.h"
#include "model/BrandTable.h"
#include "model/DeviceCodes.h"
#include "model/ListOrder.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QSettings>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <set>

namespace zx {

MainWindow::MainWindow(AppContext &context, QWidget *parent)
    : QMainWindow(parent), ctx_(context), files_(std::make_unique<FileCommands>(context, *this))
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

void MainWindow::buildCentral()
{
    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);
    outer->setContentsMargins(8, 6, 8, 6);
    outer->setSpacing(6);

    header_ = new ProgramHeader(ctx_, central);
    connect(header_, &ProgramHeader::edited, this, [this] { setWindowModified(true); });
    connect(header_, &ProgramHeader::usedMemoryRequested, this, &MainWindow::showUsedMemory);
    connect(header_, &ProgramHeader::filterToggleRequested, this, &MainWindow::toggleFilter);
    connect(header_, &ProgramHeader::filterCommandRequested, this,
            [this] { runCommand(QStringLiteral("mnuFilter")); });
    outer->addWidget(header_);

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

// ------------------------------------------------------------------ redraw

void MainWindow::showList(int listView, int setIndex)
{
    commitHeaderFields();
    Model &m = ctx_.model;
    m.ListView = qBound(0, listView, 3);
    m.CurrentSet = (setIndex == SetTemplate && files_->sampleLoaded()) ? SetTemplate : SetProgram;
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
    header_->refreshFilterSwitch();
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
    header_->refresh();
    // The device being programmed; a master card carries options instead of a program, and the
    // options dialog's own name for it is the one the user knows.
    QString device = m.device.ModelName.trimmed();
    if (IsMasterCard(m.device.DeviceCode))
        device +=
            (device.isEmpty() ? QString() : QStringLiteral("  \u2013  ")) + QStringLiteral("Mastercard");
    deviceStatus_->setText(device);
}

// ------------------------------------------------------------------ header fields

void MainWindow::commitHeaderFields()
{
    // A field still being typed in when a command starts counts as left.
    header_->commit();
    Q_EMIT headerFieldsCommitted();
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

void MainWindow::newProgram()
{
    if (!files_->confirmDiscard(true, false))
        return;
    closeConfirmed_ = true;
    Q_EMIT newRequested();
    // Whoever brings the start screen back may have closed this window already.
    if (isVisible())
        close();
}

void MainWindow::exitProgram()
{
    if (!files_->confirmDiscard(true, true))
        return;
    closeConfirmed_ = true;
    close();
    QCoreApplication::quit();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!closeConfirmed_ && !files_->confirmDiscard(false, true)) {
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
    files_->open();
}

void MainWindow::openProgramFile(const QString &path)
{
    files_->openFile(path);
}

bool MainWindow::save()
{
    return files_->save();
}

bool MainWindow::saveAs()
{
    return files_->saveAs();
}

void MainWindow::openSample()
{
    files_->openSample();
}

void MainWindow::closeSample()
{
    files_->closeSample();
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
    const QString handler = entryHandlerOf(m.ListView);
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
