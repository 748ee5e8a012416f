#pragma once

#include <QDir>
#include <QStringList>
#include <QUrl>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;
class QToolButton;

namespace zx {

// Where the HTML help of a catalogue's help file name lives: the folder named after the name's
// stem ("Zentri2E.hlp" -> help/Zentri2E) in the working directory, else in the installed data.
// A loaded language without help of its own gets the English help. Empty when none is found.
QString HelpFolder(const QString &workDir, const QString &helpFile);

// The help page that belongs to a window, by the window's objectName ("index.html" for any
// window without a page of its own).
QString HelpPageFor(const QString &windowName);
// The objectNames of all windows that have a page.
QStringList HelpWindowNames();

// The help window frmHilfe: the contents (lstInhalt), the page (txtHilfe), back and forward
// (cmdZurueck, cmdVor) and a search field (txtSuchen) that finds the next place of a word,
// going on through the following pages.
class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    HelpWindow(const QString &folder, int sprache, QWidget *parent = nullptr);

    // Shows a page of the help ("filter.html", "start.html#models").
    void showPage(const QString &page);
    QTextBrowser *browser() const { return browser_; }
    // The pages of the contents, in order.
    const QStringList &pages() const { return pages_; }
    // Finds the next place of `text`, on this page or the following ones; false when nowhere.
    bool findNext(const QString &text);

  private:
    void fillContents();

    QDir folder_;
    QStringList pages_;
    QListWidget *contents_ = nullptr;
    QTextBrowser *browser_ = nullptr;
    QToolButton *back_ = nullptr;
    QToolButton *forward_ = nullptr;
    QLineEdit *search_ = nullptr;
};

} // namespace zx
