#include "output/SimulationWindow.h"

#include "app/AppContext.h"
#include "i18n/ExtraTexts.h"
#include "model/Calendar.h"
#include "model/Model.h"
#include "output/ExportFile.h"
#include "output/ICalendarExport.h"
#include "output/SimulationDrawing.h"
#include "platform/Clock.h"
#include "platform/FileAccess.h"
#include "platform/Prompter.h"
#include "views/ListFormatter.h"

#include <QBuffer>
#include <QColorDialog>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace zx {

namespace {

constexpr int YearsOffered = 30; // this year and the 29 following
constexpr int FirstPosition = 1; // HScroll1: positions 1..16 show hours 0..15 onwards
constexpr int LastPosition = 16;
constexpr int ExportScale = 3; // pixels per drawing unit of an exported overview

constexpr std::array<QRgb, DayCode::Count> DefaultColours{
    qRgb(255, 255, 255), qRgb(0, 255, 255), qRgb(128, 128, 255), qRgb(0, 0, 255),
    qRgb(128, 255, 128), qRgb(0, 192, 0),   qRgb(0, 128, 0),     qRgb(255, 192, 255),
    qRgb(255, 128, 255), qRgb(192, 0, 192), qRgb(255, 0, 0),     qRgb(255, 255, 0)};

void paintLegend(QLabel *label, const QColor &colour)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, colour);
    pal.setColor(QPalette::WindowText, qGray(colour.rgb()) < 110 ? Qt::white : Qt::black);
    label->setPalette(pal);
}

bool isPdf(const QString &path)
{
    return path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
}

} // namespace

SimulationWindow::SimulationWindow(AppContext &context, QWidget *parent)
    : QWidget(parent, Qt::Window), ctx_(context)
{
    const Catalogue &c = ctx_.model.catalogue;
    setObjectName(QStringLiteral("FrmGrafik"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(c(Msg::ProgramSimulation));
    for (int i = 0; i < DayCode::Count; ++i)
        colours_[i] = QColor::fromRgb(DefaultColours[i]);

    auto *top = new QHBoxLayout;
    auto *yearLabel = new QLabel(c(Msg::SimulatedYear), this);
    yearLabel->setObjectName(QStringLiteral("lblJahr"));
    years_ = new QComboBox(this);
    years_->setObjectName(QStringLiteral("cboSimulationsjahr"));
    yearLabel->setBuddy(years_);
    const int thisYear = ctx_.clock.today().year();
    for (int y = thisYear; y < thisYear + YearsOffered; ++y)
        years_->addItem(QString::number(y));
    top->addWidget(yearLabel);
    top->addWidget(years_);
    top->addStretch();
    // The legend has a row of its own: beside the year it is wider than a scaled laptop screen.
    auto *legendRow = new QHBoxLayout;
    legendRow->setSpacing(4);
    for (int i = 0; i < DayCode::Count; ++i) {
        const QString caption = i == DayCode::PermanentOn    ? QStringLiteral("P On")
                                : i == DayCode::PermanentOff ? QStringLiteral("P Off")
                                                             : QStringLiteral("P %1").arg(i);
        auto *label = new QLabel(caption, this);
        label->setObjectName(QStringLiteral("lblColorP%1").arg(i));
        label->setProperty("index", i);
        label->setAlignment(Qt::AlignCenter);
        label->setAutoFillBackground(true);
        label->setFrameShape(QFrame::Box);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("P Off")) + 8);
        label->setCursor(Qt::PointingHandCursor);
        paintLegend(label, colours_[i]);
        label->installEventFilter(this);
        legend_[i] = label;
        legendRow->addWidget(label);
    }
    legendRow->addStretch();

    // The graphs scroll when the window is too small for even their shrunk drawing; the year,
    // the legend and the buttons stay in view above and below them.
    auto *graphs = new QWidget;
    overview_ = new YearOverview(graphs);
    overview_->content.plan = &plan_;
    overview_->content.colours = &colours_;
    for (int m = 0; m < 12; ++m)
        overview_->content.monthNames << c(Msg::January + m);

    description_ = new QLabel(graphs);
    description_->setObjectName(QStringLiteral("lbltag"));
    description_->setMinimumHeight(description_->fontMetrics().height() + 6);

    graph_ = new DayGraph(graphs);
    graph_->segments = &segments_;
    startTime_ = new QLabel(graphs);
    startTime_->setObjectName(QStringLiteral("lblstarttime"));
    endTime_ = new QLabel(graphs);
    endTime_->setObjectName(QStringLiteral("lblendtime"));
    auto *graphRow = new QHBoxLayout;
    graphRow->addWidget(startTime_, 0, Qt::AlignBottom);
    graphRow->addWidget(graph_, 1);
    graphRow->addWidget(endTime_, 0, Qt::AlignBottom);

    scroll_ = new QScrollBar(Qt::Horizontal, graphs);
    scroll_->setObjectName(QStringLiteral("HScroll1"));
    scroll_->setRange(0, LastPosition + 1);
    scroll_->setPageStep(1);
    scroll_->setValue(FirstPosition);
    scroll_->setFocusPolicy(Qt::StrongFocus); // the arrow keys step the hours and, at the ends, the days

    auto *buttons = new QHBoxLayout;
    auto *redraw = new QPushButton(c(Msg::Redraw), this);
    redraw->setObjectName(QStringLiteral("cmd_redraw"));
    export_ = new QToolButton(this);
    export_->setObjectName(QStringLiteral("cmdExport"));
    export_->setText(c(Msg::MenuSaveAs));
    export_->setPopupMode(QToolButton::InstantPopup);
    auto *exportMenu = new QMenu(export_);
    QAction *exportYear = exportMenu->addAction(QString());
    exportYear->setObjectName(QStringLiteral("mnuExportJahr"));
    QAction *exportDay = exportMenu->addAction(QString());
    exportDay->setObjectName(QStringLiteral("mnuExportTag"));
    exportMenu->addSeparator();
    QAction *exportIcs =
        exportMenu->addAction(extraText(ExtraText::ExportCalendar, ctx_.model.device.Sprache));
    exportIcs->setObjectName(QStringLiteral("mnuExportIcs"));
    export_->setMenu(exportMenu);
    auto *close = new QPushButton(c(Msg::BtnExit), this);
    close->setObjectName(QStringLiteral("cmd_grafik_end"));
    buttons->addWidget(redraw);
    buttons->addWidget(export_);
    buttons->addStretch();
    buttons->addWidget(close);

    auto *graphsLayout = new QVBoxLayout(graphs);
    graphsLayout->setContentsMargins(0, 0, 0, 0);
    graphsLayout->addWidget(overview_, 3);
    graphsLayout->addWidget(description_);
    graphsLayout->addLayout(graphRow, 1);
    graphsLayout->addWidget(scroll_);
    auto *graphsArea = new QScrollArea(this);
    graphsArea->setObjectName(QStringLiteral("scrGrafik"));
    graphsArea->setFrameShape(QFrame::NoFrame);
    graphsArea->setWidgetResizable(true);
    graphsArea->setWidget(graphs);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(legendRow);
    layout->addWidget(graphsArea, 1);
    layout->addLayout(buttons);

    connect(years_, &QComboBox::currentIndexChanged, this, &SimulationWindow::yearChosen);
    connect(redraw, &QPushButton::clicked, this, &SimulationWindow::refresh);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    connect(scroll_, &QScrollBar::valueChanged, this, &SimulationWindow::scrolled);
    connect(graph_, &DayGraph::pointed, this, &SimulationWindow::showPointer);
    connect(overview_, &YearOverview::hovered, this, [this](int ch, int d, int m) {
        description_->setText(cellDescription(ch, DayOfYear(d, m, plan_.year)));
    });
    connect(overview_, &YearOverview::released, this, [this](int ch, int d, int m) {
        if (ch == 0)
            selectCell(channel_, dayOfYear_); // released off the cells: the selection stays
        else
            selectCell(ch, DayOfYear(d, m, plan_.year));
    });
    connect(overview_, &YearOverview::stepped, this, [this](int channels, int days) {
        selectCell(std::clamp(channel_ + channels, 1, plan_.channels),
                   std::clamp(dayOfYear_ + days, 1, plan_.days));
    });
    connect(exportMenu, &QMenu::aboutToShow, this, [this, exportYear, exportDay] {
        exportYear->setText(ctx_.model.catalogue(Msg::ProgramSimulation) + QLatin1Char(' ') +
                            QString::number(plan_.year));
        exportDay->setText(cellDescription(channel_, dayOfYear_));
    });
    connect(exportYear, &QAction::triggered, this, [this] { exportChosen(true); });
    connect(exportDay, &QAction::triggered, this, [this] { exportChosen(false); });
    connect(exportIcs, &QAction::triggered, this, &SimulationWindow::calendarChosen);

    resize(1040, 720);
    yearChosen(0);
    updateTimeLabels();
    overview_->setFocus();
}

SimulationWindow::~SimulationWindow() = default;

int SimulationWindow::scrollPosition() const
{
    return scroll_->value();
}

QString SimulationWindow::codeText(int code) const
{
    if (code == DayCode::PermanentOn)
        return QStringLiteral("P On");
    if (code == DayCode::PermanentOff)
        return QStringLiteral("P Off");
    return QStringLiteral("P %1").arg(code);
}

QString SimulationWindow::cellDescription(int channel, int dayOfYear) const
{
    const DayMonth dm = DateOfDay(dayOfYear, plan_.year);
    const int weekday = Weekday(dm.day, dm.month, plan_.year);
    return QStringLiteral("C%1, %2 %3 %4, %5")
        .arg(channel)
        .arg(ctx_.model.catalogue(Msg::Monday + weekday - 1),
             views::DayMonthText(ctx_.model, dm.day, dm.month).trimmed())
        .arg(plan_.year)
        .arg(codeText(plan_.code(dayOfYear, channel)));
}

void SimulationWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!activated_) {
        activated_ = true;
        overview_->setFocus();
    }
}

void SimulationWindow::yearChosen(int index)
{
    bool ok = false;
    const int y = years_->itemText(index).toInt(&ok);
    if (!ok)
        return;
    simulation_.emplace(ctx_.model);
    plan_ = simulation_->dayPlan(y);
    selectCell(channel_, dayOfYear_);
}

void SimulationWindow::refresh()
{
    simulation_.emplace(ctx_.model);
    plan_ = simulation_->dayPlan(plan_.year);
    selectCell(channel_, dayOfYear_);
}

void SimulationWindow::selectCell(int channel, int dayOfYear)
{
    if (!simulation_)
        return;
    channel_ = std::clamp(channel, 1, plan_.channels);
    dayOfYear_ = std::clamp(dayOfYear, 1, plan_.days);
    segments_ = simulation_->daySegments(plan_, channel_, dayOfYear_);
    description_->setText(cellDescription(channel_, dayOfYear_));
    overview_->content.selectedChannel = channel_;
    overview_->content.selectedDay = dayOfYear_;
    overview_->updateGeometry();
    overview_->update();
    graph_->update();
}

void SimulationWindow::scrolled(int position)
{
    if (position > LastPosition || position < FirstPosition) {
        const bool forward = position > LastPosition;
        const int next = dayOfYear_ + (forward ? 1 : -1);
        const QSignalBlocker block(scroll_);
        if (next < 1 || next > plan_.days) {
            ctx_.prompter.beep();
            scroll_->setValue(forward ? LastPosition : FirstPosition);
        } else {
            scroll_->setValue(forward ? FirstPosition : LastPosition);
            selectCell(channel_, next);
        }
    }
    updateTimeLabels();
}

void SimulationWindow::updateTimeLabels()
{
    const int first = scroll_->value() - 1;
    startTime_->setText(QStringLiteral("%1:00").arg(first));
    endTime_->setText(QStringLiteral("%1:00").arg(first + 9));
    graph_->firstMinute = first * 60;
    graph_->update();
}

void SimulationWindow::showPointer(int minuteInWindow)
{
    const int minute = std::clamp(minuteInWindow + 60 * (scroll_->value() - 1), 0, 1439);
    const DayMonth dm = DateOfDay(dayOfYear_, plan_.year);
    description_->setText(
        QStringLiteral("C%1, %2 %3, %4 %5")
            .arg(channel_)
            .arg(views::DayMonthText(ctx_.model, dm.day, dm.month).trimmed())
            .arg(plan_.year)
            .arg(codeText(plan_.code(dayOfYear_, channel_)), views::TimeText(ctx_.model, minute).trimmed()));
}

void SimulationWindow::chooseColour(int code, const QColor &colour)
{
    if (code < 0 || code >= DayCode::Count || !colour.isValid())
        return;
    colours_[code] = colour;
    paintLegend(legend_[code], colour);
    overview_->update();
}

bool SimulationWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const QVariant index = watched->property("index");
        if (index.isValid() && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            colourIndex_ = index.toInt();
            if (!colourDialog_) {
                colourDialog_ = new QColorDialog(this);
                colourDialog_->setObjectName(QStringLiteral("ComDiaPzColor"));
                connect(colourDialog_, &QColorDialog::colorSelected, this,
                        [this](const QColor &chosen) { chooseColour(colourIndex_, chosen); });
            }
            colourDialog_->setCurrentColor(colours_[colourIndex_]);
            colourDialog_->open();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// ----- export -----------------------------------------------------------------------------------

void SimulationWindow::exportChosen(bool overview)
{
    const QString base = QFileInfo(ctx_.model.program().FileName).completeBaseName();
    const DayMonth dm = DateOfDay(dayOfYear_, plan_.year);
    const QString name = overview ? QStringLiteral("%1-%2.png").arg(base).arg(plan_.year)
                                  : QStringLiteral("%1-%2-%3-%4-C%5.png")
                                        .arg(base)
                                        .arg(plan_.year)
                                        .arg(dm.month, 2, 10, QLatin1Char('0'))
                                        .arg(dm.day, 2, 10, QLatin1Char('0'))
                                        .arg(channel_);
    // Pictures are for the user's documents, not for the program's working directory.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    const QString preset = QDir(folder).filePath(name);
    const std::optional<QString> path =
        ctx_.prompter.chooseSaveFile(export_->text().remove(QLatin1Char('&')),
                                     QStringLiteral("PNG (*.png)|*.png|PDF (*.pdf)|*.pdf"), preset);
    if (!path || path->isEmpty())
        return;
    QString target = *path;
    if (QFileInfo(target).suffix().isEmpty())
        target += QStringLiteral(".png");
    writeExport(target, overview);
}

void SimulationWindow::calendarChosen()
{
    const ProgramSet &program = ctx_.model.program();
    const QString base = QFileInfo(program.FileName).completeBaseName();
    const QString name =
        QStringLiteral("%1-%2.ics").arg(base.isEmpty() ? QStringLiteral("zentrix") : base).arg(plan_.year);
    const QString preset = QFileInfo(program.FileName).absoluteDir().filePath(name);
    const int sprache = ctx_.model.device.Sprache;
    const std::optional<QString> path = ctx_.prompter.chooseSaveFile(
        extraText(ExtraText::ExportCalendar, sprache).remove(QStringLiteral("...")),
        extraText(ExtraText::CalendarFiles, sprache) + QStringLiteral("|*.ics"), preset);
    if (!path || path->isEmpty()) {
        keepInFront();
        return;
    }
    QString target = *path;
    if (QFileInfo(target).suffix().isEmpty())
        target += QStringLiteral(".ics");
    exportCalendar(target);
}

bool SimulationWindow::exportCalendar(const QString &path)
{
    CalendarRequest request;
    request.year = plan_.year;
    request.utcOffsetMinutes = DeviceUtcOffsetMinutes(ctx_.model, plan_.year);
    request.stamp = QDateTime::currentDateTimeUtc();
    const QByteArray ics = YearCalendar(ctx_.model, request);
    const int sprache = ctx_.model.device.Sprache;
    const QString error = WriteExportFile(path, ics, ctx_.model.program().FileName, sprache);
    if (!error.isEmpty())
        ctx_.prompter.tell(error, Icon::Critical);
    else
        ctx_.prompter.tell(extraText(ExtraText::CalendarWritten, sprache)
                               .arg(QDir::toNativeSeparators(path))
                               .arg(ics.count("BEGIN:VEVENT")),
                           Icon::Information);
    keepInFront();
    return error.isEmpty();
}

void SimulationWindow::keepInFront()
{
    // The file dialog and the message belong to the main window, which the window system brings
    // up when they close; the user was working here.
    raise();
    activateWindow();
}

bool SimulationWindow::exportOverview(const QString &path)
{
    return writeExport(path, true);
}

bool SimulationWindow::exportDayGraph(const QString &path)
{
    return writeExport(path, false);
}

QString SimulationWindow::exportTitle(bool overview) const
{
    // The picture says which program and year it shows when it is printed or passed on.
    const QString file = QFileInfo(ctx_.model.program().FileName).fileName();
    const QString what = overview ? ctx_.model.catalogue(Msg::ProgramSimulation) + QLatin1Char(' ') +
                                        QString::number(plan_.year)
                                  : cellDescription(channel_, dayOfYear_);
    return file.isEmpty() ? what : file + QStringLiteral(" \u2013 ") + what;
}

void SimulationWindow::paintExportHeader(QPainter &p, const QRectF &band, const QString &title,
                                         bool legend) const
{
    const double line = legend ? band.height() / 2 : band.height();
    const double pad = line * 0.25; // off the picture's edge
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(std::max(8, int(line * 0.55)));
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRectF(band.left() + pad, band.top(), band.width() - 2 * pad, line),
               Qt::AlignLeft | Qt::AlignVCenter, title);
    if (!legend)
        return;
    // The colour legend, one box per program code, as in the window.
    f.setBold(false);
    f.setPixelSize(std::max(7, int(line * 0.45)));
    p.setFont(f);
    const double boxWidth = std::min((band.width() - 2 * pad) / DayCode::Count, line * 2.6);
    for (int i = 0; i < DayCode::Count; ++i) {
        const QRectF box(band.left() + pad + i * boxWidth, band.top() + line + line * 0.1,
                         boxWidth - line * 0.15, line * 0.8);
        p.fillRect(box, colours_[i]);
        p.setPen(Qt::black);
        p.drawRect(box);
        p.setPen(qGray(colours_[i].rgb()) < 110 ? Qt::white : Qt::black);
        p.drawText(box, Qt::AlignCenter, codeText(i));
    }
}

bool SimulationWindow::writeExport(const QString &path, bool overview)
{
    OverviewGeometry g;
    g.channels = plan_.channels;
    const QString title = exportTitle(overview);
    const int fullDay = 1440;
    // one picture for both writers: name and year (with the legend) over the overview or the day
    auto paint = [&](QPainter &p, const QRectF &area) {
        const double band =
            overview ? std::min(area.height() * 0.14, area.width() * 0.07) : area.height() * 0.18;
        paintExportHeader(p, QRectF(area.left(), area.top(), area.width(), band), title, overview);
        const QRectF rest(area.left(), area.top() + band, area.width(), area.height() - band);
        if (overview)
            PaintOverview(p, rest, overview_->content);
        else
            PaintDayGraph(p, rest, segments_, 0, fullDay);
    };

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (isPdf(path)) {
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(ctx_.model.catalogue.productTitle);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Landscape);
        writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
        QPainter p(&writer);
        const QRectF page(0, 0, writer.width(), writer.height());
        paint(p, overview ? page : QRectF(0, 0, page.width(), page.width() * 0.16));
        p.end();
    } else {
        const QSize body = (g.size() * ExportScale).toSize();
        const QSize size =
            overview ? QSize(body.width(), body.height() + body.width() * 7 / 100) : QSize(fullDay + 40, 260);
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        paint(p, QRectF(QPointF(0, 0), QSizeF(size)));
        p.end();
        image.save(&buffer, "PNG");
    }
    QString error;
    if (!WriteFileAtomically(path, bytes, &error)) {
        ctx_.prompter.tell(FileErrorText(path, error), Icon::Critical);
        return false;
    }
    return true;
}

} // namespace zx
