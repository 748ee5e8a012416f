#pragma once

#include "model/ProgramSnapshot.h"

#include <QObject>
#include <QString>

#include <memory>

class QAction;
class QTimer;
class QUndoStack;

namespace zx {

struct AppContext;
class MainWindow;

// Undo and redo of every change of the program in the main window.
//
// The main window redraws its list after every change of the model, whichever dialog, command
// or transfer made it; after each redraw (once the event that caused it is handled) the
// document is compared with the state the last step left, and whatever differs becomes one
// step holding the document before and after. A snapshot is a few kilobytes, so this is exact
// without knowing what an operation did. The "all" run of an entry dialog is one user action:
// its steps are held back until its repeat timer stops. A pure change of the records' order
// (sorting by a column) is a view, not a step: it is folded into the step before it.
//
// Edit menu and tool strip get mnuRueckgaengig and mnuWiederholen. While a dialog that edits
// the program is open, its marks and field values refer to the document it started from, so
// undo and redo wait until it closes. Undoing back to the saved state clears Modified.
class UndoSupport : public QObject {
    Q_OBJECT
  public:
    UndoSupport(MainWindow &window, AppContext &context);
    ~UndoSupport() override;

    QUndoStack *stack() const { return stack_; }
    QAction *undoAction() const { return undo_; }
    QAction *redoAction() const { return redo_; }

    // Records what changed since the last step as one step; an empty name names it after the
    // change ("delete 3 switching times").
    void commit(const QString &name = {});
    // Forgets every step: the document as it stands is where undo stops (a new or opened file).
    void reset();
    // After a save: the saved document is the clean state.
    void markSaved();

    // While one exists, changes are not recorded; when it ends, all of them become one step.
    class Step {
      public:
        Step(UndoSupport *support, QString name);
        ~Step();
        Step(const Step &) = delete;
        Step &operator=(const Step &) = delete;

      private:
        UndoSupport *support_;
        QString name_;
    };

  public Q_SLOTS:
    void undo();
    void redo();
    // Brings the actions' texts and enabled state up to date.
    void updateActions();

  private:
    class SnapshotCommand;
    using SnapshotPtr = std::shared_ptr<const ProgramSnapshot>;

    void scheduleCommit();
    void commitWhenSettled();
    bool allRunActive() const;
    bool editingDialogOpen() const;
    void apply(const SnapshotPtr &snapshot);
    void followCleanState();
    bool onlyOrderChanged(const ProgramSnapshot &now) const;

    MainWindow &window_;
    AppContext &ctx_;
    QUndoStack *stack_ = nullptr;
    QTimer *settle_ = nullptr;
    QAction *undo_ = nullptr;
    QAction *redo_ = nullptr;
    SnapshotPtr baseline_;
    int hold_ = 0;
    bool rebasePending_ = false;
};

} // namespace zx
