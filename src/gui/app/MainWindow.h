#pragma once

#include "views/ListFormatter.h"

#include <QHash>
#include <QMainWindow>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QTableWidget;

namespace zx {

struct AppContext;
class FileCommands;
class ProgramHeader;

// The frame window MDIForm1 with its menus, tool strip, header fields and the list window
// frmHauptmenue with the grid GrdDisplSz.
//
// Controls by objectName: menus mnuDatei, mnuBearbeiten, mnuAnsicht, mnuEinstellungen, mnuHilfe;
// commands as listed in MainWindow.cpp (mnuDatNeu, mnuDatOeffnen, ...); tool strip actions
// tbDruck and tbSpeichern; header fields txtProgrammnummer, txtverwendung, txtkannam0 ..
// txtkannam8 (the channel index is also the field's "index" property), AniSchreibschutz,
// ggeanzSz, picfilter with imgfilt and imgnofilt; the file date label lblDateidatum.
//
// Commands whose dialogs belong to other windows stay disabled until a handler is registered
// with setCommandHandler(); from then on they follow the enabling rules of the menus. Handler
// names: mnuDatDruck (also the tool strip's print), mnuDatExp, mnuDatImp, mnuEingSz, mnuEingPz,
// mnuAstroEin, mnuEingSw, mnuFilter (also a double click on the filter switch), mnuAnsGrafik,
// mnuAssistent, mnuMaster, mnuFeiertage, mnuHilfeInhalt. Change and Copy set EditMode and the
// marks and then run the entry handler of the shown list: mnuEingSz, mnuEingPz, mnuEingSw, or
// frm_change_grid_data for the astro list (whose marks are day indexes 0..365).
class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    explicit MainWindow(AppContext &context, QWidget *parent = nullptr);
    ~MainWindow() override;

    // A menu or tool-strip command by its objectName; nullptr when there is none.
    QAction *action(const QString &objectName) const;
    // Makes a command do something: its action becomes available and runs the handler.
    void setCommandHandler(const QString &objectName, std::function<void()> handler);
    bool hasCommandHandler(const QString &objectName) const;

    QTableWidget *grid() const { return grid_; }
    // What the list needs besides the model (the holiday names of Easter codes, the year).
    ListOptions &listOptions() { return listOptions_; }
    // The rows shown, with the record index of each.
    const ListTable &shownList() const { return shown_; }

  public Q_SLOTS:
    // Refreshes the grid, the file date label, the title, the header fields and the gauge.
    void redrawList();
    // Shows list `listView` (0..3) of set `setIndex` and redraws.
    void showList(int listView, int setIndex);
    // Brings the enabled and ticked state of every command up to date.
    void updateActions();

    void newProgram();
    void openProgram();
    // Opens the program file `path` (asking first about unsaved changes), with the same
    // messages as the Open command for a missing, damaged or foreign file.
    void openProgramFile(const QString &path);
    bool save();
    bool saveAs();
    void openSample();
    void closeSample();
    void exitProgram();
    void deleteMarked();
    void changeMarked();
    void copyMarked();
    void openDeviceProperties();
    void showAbout();
    // A click on header section `column` of the grid (0 = "nr.").
    void headerClicked(int column);
    // The filter switch: FilterOn on or off, and redraw.
    void toggleFilter();
    // The memory gauge's message.
    void showUsedMemory();
    // Takes texts still being typed into the header fields into the model.
    void commitHeaderFields();

  Q_SIGNALS:
    // The New command: the start screen opens again.
    void newRequested();
    // After every redraw, so that other windows can follow the model.
    void listRedrawn();
    // Texts still being typed into the header fields were taken into the model.
    void headerFieldsCommitted();
    // Set 0 was saved to its file; a program file was opened into set 0.
    void programSaved();
    void programLoaded();

  protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void buildActions();
    void buildMenus();
    void buildToolStrip();
    void buildCentral();
    QAction *makeAction(const char *objectName, const QString &text);
    void runCommand(const QString &objectName);
    // The handler of the entry dialog that Change and Copy open for list `listView`.
    static QString entryHandlerOf(int listView);
    void fillGrid();
    void refreshWindowTitle();
    void refreshHeaderFields();
    void onSelectionChanged();
    void openEntryFor(int editMode);
    void restoreGeometryFromSettings();
    void saveGeometryToSettings() const;

    AppContext &ctx_;
    ListOptions listOptions_;
    ListTable shown_;
    std::unique_ptr<FileCommands> files_;
    bool closeConfirmed_ = false;
    bool filling_ = false;
    std::vector<int> markedRows_;

    QHash<QString, QAction *> actions_;
    QHash<QString, std::function<void()>> handlers_;
    QMenu *menuFile_ = nullptr;
    QMenu *menuEdit_ = nullptr;
    QMenu *menuView_ = nullptr;
    QMenu *menuSettings_ = nullptr;
    QMenu *menuHelp_ = nullptr;

    QWidget *listWindow_ = nullptr;
    QTableWidget *grid_ = nullptr;
    QLabel *listTitle_ = nullptr;
    QLabel *fileDate_ = nullptr;
    ProgramHeader *header_ = nullptr;
    QLabel *deviceStatus_ = nullptr;
};

} // namespace zx
