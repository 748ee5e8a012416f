#pragma once

#include "output/YearSimulation.h"

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QStringList>
#include <QTransform>
#include <QWidget>

#include <array>
#include <vector>

class QPainter;

namespace zx {

// The overview in drawing units: cells 6 wide and 8 high at a row pitch of 10, 25 units from
// the left and 50 from the top; three months to a row of blocks, each block 33 columns (31 days
// and two empty) by one row per channel and two empty rows. Up to four channels a block has six
// rows; a device with more channels gets a row for each.
struct OverviewGeometry {
    static constexpr int CellWidth = 6;
    static constexpr int CellHeight = 8;
    static constexpr int RowPitch = 10;
    static constexpr int Left = 25;
    static constexpr int Top = 50;
    static constexpr int BlockColumns = 33;

    int channels = 4;
    int blockRows() const;
    QSizeF size() const;
    QRectF cell(int channel, int day, int month) const;
    // Channel, day and month of the cell at a point; false off the cells (the caller checks that
    // the month has the day).
    bool cellAt(QPointF p, int *channel, int *day, int *month) const;
};

// Everything the overview shows.
struct OverviewContent {
    const DayPlan *plan = nullptr;
    const std::array<QColor, DayCode::Count> *colours = nullptr;
    QStringList monthNames; // twelve
    int selectedChannel = 0;
    int selectedDay = 0; // day of the year, 0 for none
};

// Maps the drawing units of `size` into `target`, keeping the proportions, centred.
QTransform FitTransform(const QSizeF &size, const QRectF &target);

void PaintOverview(QPainter &p, const QRectF &target, const OverviewContent &content);

// The day graph in drawing units: a margin for the level marks, then one unit per minute.
struct DayGraphGeometry {
    static constexpr double Margin = 16;
    static constexpr double Height = 64;
    static constexpr double OnLevel = 16;
    static constexpr double OffLevel = 48;
};

// Draws minutes firstMinute .. firstMinute + span of the day's segments into `target`.
void PaintDayGraph(QPainter &p, const QRectF &target, const std::vector<DaySegment> &segments,
                   int firstMinute, int span);

// The overview control: draws, tells the cell under a held button and the cell released on,
// and moves the selection with the arrow keys.
class YearOverview : public QWidget {
    Q_OBJECT
  public:
    explicit YearOverview(QWidget *parent = nullptr);
    OverviewContent content;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The widget position of the centre of a cell, for tests and the keyboard.
    QPoint cellCentre(int channel, int day, int month) const;

  Q_SIGNALS:
    void hovered(int channel, int day, int month);
    // channel 0: released off the cells
    void released(int channel, int day, int month);
    void stepped(int channels, int days);

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

  private:
    QTransform transform() const;
    bool cellUnder(QPointF pos, int *channel, int *day, int *month) const;
    bool pressed_ = false;
};

// The day graph control: nine hours from firstMinute; a held button reports the minute.
class DayGraph : public QWidget {
    Q_OBJECT
  public:
    static constexpr int Span = 540;
    explicit DayGraph(QWidget *parent = nullptr);
    const std::vector<DaySegment> *segments = nullptr;
    int firstMinute = 0;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The widget x of a minute of the shown window (0..540).
    int xOfMinute(int minuteInWindow) const;

  Q_SIGNALS:
    void pointed(int minuteInWindow);

  protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

  private:
    QTransform transform() const;
    void point(QPointF pos);
};

} // namespace zx
