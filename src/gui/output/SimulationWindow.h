#pragma once

#include "output/YearSimulation.h"

#include <QColor>
#include <QWidget>

#include <array>
#include <optional>
#include <vector>

class QColorDialog;
class QComboBox;
class QLabel;
class QPainter;
class QRectF;
class QScrollBar;
class QToolButton;

namespace zx {

struct AppContext;
class YearOverview;
class DayGraph;

// The simulation window FrmGrafik: the year overview of the program codes of every channel and
// day (a cell per day and channel, three months to a row), and the day graph of the selected
// channel and day, nine hours at a time.
//
// Controls by objectName: cboSimulationsjahr (this year and the 29 following), lblColorP0 ..
// lblColorP11 (the legend; a click opens the colour dialog ComDiaPzColor), picPzGrafik (the
// overview), lbltag (the description of the cell under the pointer or selected), picSzGrafik
// (the day graph), HScroll1 (0..17: 1..16 choose the first hour, 0 and 17 step a day),
// lblstarttime, lblendtime, cmd_redraw, cmdExport (overview or day graph as PNG or PDF, the year
// as iCalendar: mnuExportJahr, mnuExportTag, mnuExportIcs),
// cmd_grafik_end.
//
// Devices with more than four channels get one overview row per channel; the window works on a
// snapshot of the program taken whenever it computes, so the model is never touched.
class SimulationWindow : public QWidget {
    Q_OBJECT
  public:
    explicit SimulationWindow(AppContext &context, QWidget *parent = nullptr);
    ~SimulationWindow() override;

    int year() const { return plan_.year; }
    int channel() const { return channel_; }
    int dayOfYear() const { return dayOfYear_; }
    int scrollPosition() const;
    const DayPlan &plan() const { return plan_; }
    const std::vector<DaySegment> &segments() const { return segments_; }
    QColor colour(int code) const { return colours_[code]; }
    int channels() const { return plan_.channels; }

    // "C1, Monday 01.01. 2030, P 0"
    QString cellDescription(int channel, int dayOfYear) const;

    // Writes the overview of the year or the whole selected day as PNG, or as PDF when the name
    // ends in ".pdf". false when the file could not be written (the user has been told).
    bool exportOverview(const QString &path);
    bool exportDayGraph(const QString &path);
    // Writes every channel's ON periods and pulses of the simulated year as an iCalendar file.
    // false when it was refused or could not be written (the user has been told).
    bool exportCalendar(const QString &path);

  public Q_SLOTS:
    // Takes the program again and recomputes the plan and the selected day.
    void refresh();
    // Selects channel and day of the simulated year and computes the day graph.
    void selectCell(int channel, int dayOfYear);
    void chooseColour(int code, const QColor &colour);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

  private:
    void yearChosen(int index);
    void scrolled(int position);
    void showPointer(int minute);
    void updateTimeLabels();
    void exportChosen(bool overview);
    void calendarChosen();
    void keepInFront();
    bool writeExport(const QString &path, bool overview);
    QString exportTitle(bool overview) const;
    void paintExportHeader(QPainter &p, const QRectF &band, const QString &title, bool legend) const;
    QString codeText(int code) const;

    AppContext &ctx_;
    std::optional<YearSimulation> simulation_;
    DayPlan plan_;
    std::array<QColor, DayCode::Count> colours_;
    int channel_ = 1;
    int dayOfYear_ = 1;
    std::vector<DaySegment> segments_;
    bool activated_ = false;

    QComboBox *years_ = nullptr;
    std::array<QLabel *, DayCode::Count> legend_{};
    YearOverview *overview_ = nullptr;
    QLabel *description_ = nullptr;
    DayGraph *graph_ = nullptr;
    QScrollBar *scroll_ = nullptr;
    QLabel *startTime_ = nullptr;
    QLabel *endTime_ = nullptr;
    QToolButton *export_ = nullptr;
    QColorDialog *colourDialog_ = nullptr;
    int colourIndex_ = 0;
};

} // namespace zx
