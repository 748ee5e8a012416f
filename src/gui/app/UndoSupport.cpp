#include "app/UndoSupport.h"

#include "app/AppContext.h"
#include "app/ComparisonTexts.h"
#include "app/MainWindow.h"
#include "app/ProgramComparison.h"
#include "model/Model.h"
#include "platform/Prompter.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUndoCommand>
#include <QUndoStack>

namespace zx {

// One step: the document before and after it. The step is pushed once the change has been
// made, so its first redo has nothing to do.
class UndoSupport::SnapshotCommand : public QUndoCommand {
  public:
    SnapshotCommand(UndoSupport *owner, SnapshotPtr before, SnapshotPtr after, const QString &name)
        : QUndoCommand(name), owner_(owner), before_(std::move(before)), after_(std::move(after))
    {
    }
    void undo() override { owner_->apply(before_); }
    void redo() override
    {
        if (pushed_)
            owner_->apply(after_);
        pushed_ = true;
    }
    void setBefore(SnapshotPtr s) { before_ = std::move(s); }
    void setAfter(SnapshotPtr s) { after_ = std::move(s); }

  private:
    UndoSupport *owner_;
    SnapshotPtr before_;
    SnapshotPtr after_;
    bool pushed_ = false;
};

namespace {

// Actions keep their accelerator; without a step the name part goes.
QString actionText(CompareText id, const QString &step, int sprache)
{
    QString text = compareText(id, sprache);
    if (!step.isEmpty())
        return text.arg(step);
    text.remove(QStringLiteral("%1"));
    while (text.endsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(':')))
        text.chop(1);
    return text;
}

} // namespace

UndoSupport::UndoSupport(MainWindow &window, AppContext &context)
    : QObject(&window), window_(window), ctx_(context)
{
    setObjectName(QStringLiteral("undoSupport"));
    stack_ = new QUndoStack(this);
    // Two snapshots of a few kilobytes a step: a long session stays small.
    stack_->setUndoLimit(500);
    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(0);
    connect(settle_, &QTimer::timeout, this, &UndoSupport::commitWhenSettled);

    undo_ = new QAction(&window);
    undo_->setObjectName(QStringLiteral("mnuRueckgaengig"));
    undo_->setShortcut(QKeySequence::Undo);
    undo_->setIcon(window.style()->standardIcon(QStyle::SP_ArrowBack));
    redo_ = new QAction(&window);
    redo_->setObjectName(QStringLiteral("mnuWiederholen"));
    redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    redo_->setIcon(window.style()->standardIcon(QStyle::SP_ArrowForward));
    connect(undo_, &QAction::triggered, this, &UndoSupport::undo);
    connect(redo_, &QAction::triggered, this, &UndoSupport::redo);

    if (auto *edit = window.findChild<QMenu *>(QStringLiteral("mnuBearbeiten"))) {
        QAction *first = edit->actions().value(0);
        edit->insertAction(first, undo_);
        edit->insertAction(first, redo_);
        edit->insertSeparator(first);
        connect(edit, &QMenu::aboutToShow, this, &UndoSupport::updateActions);
    } else {
        window.addAction(undo_);
        window.addAction(redo_);
    }
    if (auto *bar = window.findChild<QToolBar *>(QStringLiteral("Toolbar1"))) {
        bar->addSeparator();
        bar->addAction(undo_);
        bar->addAction(redo_);
        // The buttons show the step's name as their tool tip, not as their text.
        for (QAction *a : {undo_, redo_}) {
            if (auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(a)))
                button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        }
    }

    connect(stack_, &QUndoStack::indexChanged, this, &UndoSupport::updateActions);
    connect(stack_, &QUndoStack::cleanChanged, this, &UndoSupport::updateActions);
    connect(&window, &MainWindow::listRedrawn, this, [this] {
        scheduleCommit();
        updateActions();
    });
    // Texts typed into the header fields reach the model when a field is left, without a redraw.
    connect(&window, &MainWindow::headerFieldsCommitted, this, &UndoSupport::commitWhenSettled);
    for (QLineEdit *field : window.findChildren<QLineEdit *>()) {
        const QString name = field->objectName();
        if (name == QLatin1String("txtverwendung") || name == QLatin1String("txtProgrammnummer") ||
            name.startsWith(QLatin1String("txtkannam")))
            connect(field, &QLineEdit::editingFinished, this, &UndoSupport::scheduleCommit);
    }
    if (auto *lock = window.findChild<QToolButton *>(QStringLiteral("AniSchreibschutz")))
        connect(lock, &QToolButton::clicked, this, &UndoSupport::scheduleCommit);
    connect(&window, &MainWindow::programSaved, this, &UndoSupport::markSaved);
    connect(&window, &MainWindow::programLoaded, this, &UndoSupport::reset);

    reset();
}

UndoSupport::~UndoSupport() = default;

void UndoSupport::scheduleCommit()
{
    settle_->start();
}

bool UndoSupport::allRunActive() const
{
    // The "all" button of an entry dialog repeats OK on its timer until the run ends.
    const auto timers = window_.findChildren<QTimer *>();
    return std::any_of(timers.begin(), timers.end(), [](const QTimer *t) {
        return t->isActive() && t->objectName().compare(QLatin1String("tmalleok"), Qt::CaseInsensitive) == 0;
    });
}

bool UndoSupport::editingDialogOpen() const
{
    const auto dialogs = window_.findChildren<QDialog *>();
    return std::any_of(dialogs.begin(), dialogs.end(), [](const QDialog *d) {
        return d->isVisible() && !d->inherits("zx::AboutDialog") && !d->inherits("zx::AutomationDialog") &&
               !d->inherits("zx::CompareWindow");
    });
}

void UndoSupport::commitWhenSettled()
{
    if (hold_ > 0 || allRunActive())
        return;
    if (rebasePending_) {
        // The redraw that follows opening a document may still tidy it (a device without the
        // utility option keeps no program number): that is where undo stops, not a step.
        rebasePending_ = false;
        baseline_ = std::make_shared<const ProgramSnapshot>(ProgramSnapshot::take(ctx_.model));
        return;
    }
    commit();
}

void UndoSupport::commit(const QString &name)
{
    auto now = std::make_shared<const ProgramSnapshot>(ProgramSnapshot::take(ctx_.model));
    if (*now == *baseline_)
        return;
    if (now->sameExceptOrder(*baseline_)) {
        // Sorting shows the same program: the step that led here now leads to this order.
        const int top = stack_->index() - 1;
        if (top >= 0 && stack_->index() == stack_->count())
            static_cast<SnapshotCommand *>(const_cast<QUndoCommand *>(stack_->command(top)))->setAfter(now);
        baseline_ = now;
        return;
    }
    QString stepName = name;
    if (stepName.isEmpty()) {
        Model before = ctx_.model;
        baseline_->restore(before);
        stepName = StepName(before, ctx_.model);
    }
    stack_->push(new SnapshotCommand(this, baseline_, now, stepName));
    baseline_ = now;
    followCleanState();
}

void UndoSupport::reset()
{
    settle_->stop();
    stack_->clear();
    baseline_ = std::make_shared<const ProgramSnapshot>(ProgramSnapshot::take(ctx_.model));
    // A document that is already changed (read from a device) has no clean state to return to.
    if (ctx_.model.Modified)
        stack_->resetClean();
    rebasePending_ = true;
    scheduleCommit();
    updateActions();
}

void UndoSupport::markSaved()
{
    // Saving stamps the header and may settle the device code or the changeover rule: the saved
    // document is the state both neighbouring steps lead to.
    auto now = std::make_shared<const ProgramSnapshot>(ProgramSnapshot::take(ctx_.model));
    const int index = stack_->index();
    if (index > 0)
        static_cast<SnapshotCommand *>(const_cast<QUndoCommand *>(stack_->command(index - 1)))->setAfter(now);
    if (index < stack_->count())
        static_cast<SnapshotCommand *>(const_cast<QUndoCommand *>(stack_->command(index)))->setBefore(now);
    baseline_ = now;
    stack_->setClean();
    followCleanState();
    updateActions();
}

void UndoSupport::apply(const SnapshotPtr &snapshot)
{
    snapshot->restore(ctx_.model);
    baseline_ = snapshot;
}

void UndoSupport::followCleanState()
{
    ctx_.model.Modified = stack_->isClean() ? 0 : 1;
    // The title's mark follows at once, not only at the next redraw or opened menu.
    window_.setWindowModified(ctx_.model.Modified != 0);
}

void UndoSupport::undo()
{
    commitWhenSettled();
    if (!stack_->canUndo() || editingDialogOpen() || hold_ > 0) {
        ctx_.prompter.beep();
        return;
    }
    stack_->undo();
    followCleanState();
    window_.redrawList();
}

void UndoSupport::redo()
{
    commitWhenSettled();
    if (!stack_->canRedo() || editingDialogOpen() || hold_ > 0) {
        ctx_.prompter.beep();
        return;
    }
    stack_->redo();
    followCleanState();
    window_.redrawList();
}

void UndoSupport::updateActions()
{
    const int sprache = ctx_.model.device.Sprache;
    const bool free = !editingDialogOpen();
    undo_->setText(
        actionText(CompareText::Undo, stack_->canUndo() ? stack_->undoText() : QString(), sprache));
    redo_->setText(
        actionText(CompareText::Redo, stack_->canRedo() ? stack_->redoText() : QString(), sprache));
    undo_->setEnabled(free && stack_->canUndo());
    redo_->setEnabled(free && stack_->canRedo());
    for (QAction *a : {undo_, redo_}) {
        QString tip = a->text();
        a->setToolTip(tip.remove(QLatin1Char('&')));
    }
}

UndoSupport::Step::Step(UndoSupport *support, QString name) : support_(support), name_(std::move(name))
{
    if (support_)
        ++support_->hold_;
}

UndoSupport::Step::~Step()
{
    if (!support_)
        return;
    if (--support_->hold_ == 0)
        support_->commit(name_);
}

} // namespace zx
