#include "help/HelpWindow.h"

#include "i18n/ExtraTexts.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace zx {

namespace {

// The contents in reading order; every language has the same pages.
const char *const Pages[] = {
    "index.html",      "start.html",      "properties.html",  "switching.html",   "priority.html",
    "holidays.html",   "changeover.html", "astro.html",       "simulation.html",  "filter.html",
    "printing.html",   "undo.html",       "compare.html",     "transfer.html",    "serialports.html",
    "mastercard.html", "bus.html",        "ipinterface.html", "commandline.html", "troubleshooting.html",
    "about.html"};

QString pageTitle(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QFileInfo(path).completeBaseName();
    const QString html = QString::fromUtf8(file.readAll());
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("<title>(.*?)</title>"),
                                                         QRegularExpression::DotMatchesEverythingOption)
                                          .match(html);
    return m.hasMatch() ? m.captured(1).trimmed() : QFileInfo(path).completeBaseName();
}

QString existingFolder(const QString &base, const QString &stem)
{
    const QDir dir(base);
    if (!dir.exists())
        return {};
    // Folder names are matched without regard to case ("Zentri2e" of a loaded language).
    for (const QString &entry : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (entry.compare(stem, Qt::CaseInsensitive) == 0 &&
            QFileInfo::exists(dir.filePath(entry + QStringLiteral("/index.html"))))
            return dir.filePath(entry);
    }
    return {};
}

} // namespace

QString HelpFolder(const QString &workDir, const QString &helpFile)
{
    const QString stem = QFileInfo(helpFile).completeBaseName();
    QStringList bases;
    if (!workDir.isEmpty())
        bases << QDir(workDir).filePath(QStringLiteral("help"));
#ifdef ZX_DATA_DIR
    bases << QStringLiteral(ZX_DATA_DIR "/help");
#endif
    for (const QString &s : {stem, QStringLiteral("Zentri2E")}) {
        for (const QString &base : bases) {
            const QString found = existingFolder(base, s);
            if (!found.isEmpty())
                return found;
        }
    }
    return {};
}

namespace {

// Every window of the program and its page; the main window's page is the contents.
const struct {
    const char *window;
    const char *page;
} WindowPages[] = {
    {"MDIForm1", "index.html"},
    {"frmInfo", "about.html"},
    {"frmVergleich", "compare.html"},
    {"frmVergleichBus", "compare.html#device"},
    {"frmStart", "start.html"},
    {"frmGer\u00e4tEinst", "properties.html"},
    {"frmEingSz", "switching.html"},
    {"frmAutoEinst", "switching.html#assistant"},
    {"frmEingPZ", "priority.html"},
    {"frmfeiertage", "holidays.html"},
    {"frmEinSW", "changeover.html"},
    {"frmastro", "astro.html"},
    {"frm_change_grid_data", "astro.html#change"},
    {"FrmGrafik", "simulation.html"},
    {"frmfilter", "filter.html"},
    {"frmDruck", "printing.html"},
    {"frmDruckVorschau", "printing.html#preview"},
    {"frmSerialPorts", "serialports.html"},
    {"FRM_SERIEL_IO", "transfer.html#serial"},
    {"FrmMaster", "mastercard.html"},
    {"FrmBusaccess", "bus.html"},
};

} // namespace

QString HelpPageFor(const QString &windowName)
{
    for (const auto &m : WindowPages) {
        if (windowName == QString::fromUtf8(m.window))
            return QString::fromUtf8(m.page);
    }
    return QStringLiteral("index.html");
}

QStringList HelpWindowNames()
{
    QStringList names;
    for (const auto &m : WindowPages)
        names << QString::fromUtf8(m.window);
    return names;
}

HelpWindow::HelpWindow(const QString &folder, int sprache, QWidget *parent)
    : QWidget(parent, Qt::Window), folder_(folder)
{
    setObjectName(QStringLiteral("frmHilfe"));
    setWindowTitle(extraText(ExtraText::HelpTitle, sprache));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(960, 680);

    auto *root = new QVBoxLayout(this);
    auto *bar = new QHBoxLayout;
    back_ = new QToolButton(this);
    back_->setObjectName(QStringLiteral("cmdZurueck"));
    back_->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    back_->setText(extraText(ExtraText::HelpBack, sprache));
    back_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    back_->setShortcut(QKeySequence::Back);
    forward_ = new QToolButton(this);
    forward_->setObjectName(QStringLiteral("cmdVor"));
    forward_->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    forward_->setText(extraText(ExtraText::HelpForward, sprache));
    forward_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    forward_->setShortcut(QKeySequence::Forward);
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("txtSuchen"));
    search_->setPlaceholderText(extraText(ExtraText::HelpSearch, sprache));
    search_->setClearButtonEnabled(true);
    bar->addWidget(back_);
    bar->addWidget(forward_);
    bar->addStretch(1);
    bar->addWidget(search_);
    root->addLayout(bar);

    auto *split = new QSplitter(this);
    contents_ = new QListWidget(split);
    contents_->setObjectName(QStringLiteral("lstInhalt"));
    browser_ = new QTextBrowser(split);
    browser_->setObjectName(QStringLiteral("txtHilfe"));
    browser_->setOpenExternalLinks(true);
    browser_->setSearchPaths({folder_.absolutePath()});
    split->addWidget(contents_);
    split->addWidget(browser_);
    split->setStretchFactor(1, 1);
    split->setSizes({220, 740});
    root->addWidget(split, 1);

    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
    connect(contents_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < pages_.size() && browser_->source().fileName() != pages_[row])
            showPage(pages_[row]);
    });
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl &url) {
        const QSignalBlocker block(contents_);
        contents_->setCurrentRow(static_cast<int>(pages_.indexOf(url.fileName())));
    });
    // A search that finds nothing says so beside the field instead of doing nothing.
    auto *notFound = new QLabel(this);
    notFound->setObjectName(QStringLiteral("lblNichtGefunden"));
    bar->insertWidget(bar->indexOf(search_), notFound);
    auto *findNextButton = new QToolButton(this);
    findNextButton->setObjectName(QStringLiteral("cmdWeiter"));
    findNextButton->setText(extraText(ExtraText::HelpFind, sprache));
    bar->addWidget(findNextButton);
    const auto find = [this, notFound, sprache] {
        const bool found = findNext(search_->text());
        notFound->setText(found || search_->text().isEmpty()
                              ? QString()
                              : extraText(ExtraText::HelpNotFound, sprache).arg(search_->text()));
    };
    connect(search_, &QLineEdit::returnPressed, this, find);
    connect(findNextButton, &QToolButton::clicked, this, find);
    back_->setEnabled(false);
    forward_->setEnabled(false);
    fillContents();
}

void HelpWindow::fillContents()
{
    for (const char *p : Pages) {
        const QString page = QString::fromLatin1(p);
        if (!folder_.exists(page))
            continue;
        pages_ << page;
        contents_->addItem(pageTitle(folder_.filePath(page)));
    }
}

void HelpWindow::showPage(const QString &page)
{
    const QString file = page.section(QLatin1Char('#'), 0, 0);
    const QString anchor = page.section(QLatin1Char('#'), 1);
    QUrl url = QUrl::fromLocalFile(folder_.filePath(file.isEmpty() ? QStringLiteral("index.html") : file));
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    browser_->setSource(url);
    // A window not yet shown has no layout to scroll in: the anchor is sought again once it has.
    if (!anchor.isEmpty())
        QTimer::singleShot(0, browser_, [browser = browser_, anchor] { browser->scrollToAnchor(anchor); });
}

bool HelpWindow::findNext(const QString &text)
{
    if (text.isEmpty())
        return false;
    if (browser_->find(text))
        return true;
    // On through the following pages, round to this one's beginning.
    const int current = static_cast<int>(pages_.indexOf(browser_->source().fileName()));
    for (int step = 1; step <= pages_.size(); ++step) {
        const QString page = pages_[(current + step + pages_.size()) % pages_.size()];
        QFile file(folder_.filePath(page));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        QTextDocument doc;
        doc.setHtml(QString::fromUtf8(file.readAll()));
        if (doc.find(text).isNull())
            continue;
        showPage(page);
        browser_->moveCursor(QTextCursor::Start);
        return browser_->find(text);
    }
    return false;
}

} // namespace zx
