#pragma once

#include "output/PrintDriver.h"

#include <QObject>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace zx {

struct AppContext;
class MainWindow;

// The print command of the main window: the print dialog, the print driver, and the output to
// the printer (QPrintDialog; "Print to PDF" where no printer is installed), its preview, or the
// list text file. The view and filter of the main window are the same afterwards whatever
// happened; a failure is shown with the platform's text.
class PrintCommands : public QObject {
    Q_OBJECT
  public:
    PrintCommands(AppContext &ctx, MainWindow &window);
    ~PrintCommands() override;

    PrintSettings &settings() { return settings_; }
    // Chooses the printer; false when the user cancels. The default shows QPrintDialog; tests
    // point the printer at a PDF file instead.
    std::function<bool(QPrinter &)> choosePrinter;
    // Runs the preview window for a printer; the default shows QPrintPreviewDialog modally.
    std::function<void(QPrinter &, const std::function<void(QPrinter *)> &)> showPreview;

    // File > Print: the dialog, then the lists it asks for.
    void printFromDialog();
    // The tool strip's print: the list the main window shows, as it shows it.
    void printCurrentView();
    // Runs the print driver with the settings as they are (to the printer or the text file).
    void run(bool preview);

    // The printer of every print of this run: the print dialog starts with the choices made last.
    QPrinter &printer();

  private:
    // Paints the lists into a PDF in memory and writes it through the checked atomic write, so
    // that a full disk leaves no broken file. Returns the error text, empty on success.
    QString printToPdfFile(QPrinter &printer, const std::vector<PrintedList> &lists, const QString &pageWord);

    AppContext &ctx_;
    MainWindow &window_;
    PrintSettings settings_;
    std::unique_ptr<QPrinter> printer_;
};

} // namespace zx
