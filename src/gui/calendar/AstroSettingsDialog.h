#pragma once

#include "calendar/AstroSettings.h"
#include "calendar/Locations.h"

#include <QDialog>

#include <array>

class QComboBox;
class QGroupBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QScrollBar;

namespace zx {

struct AppContext;

// The astro settings frmastro: place, time zone and the two offsets on five scroll bars
// (vsb_Längengrad, vsb_Breitengrad, vsb_zeitzone, vsb_offset_aufgang, vsb_offset_untergang with
// their value labels lbl_Längengrad ... lbl_offset_untergang), the named places of the
// language's locations file in cboort (frame fraOrt, buttons cmdspeichern "Add" and
// cmd_delete_ort "Delete"), and cmd_astro_ok / cmd_astro_end.
class AstroSettingsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AstroSettingsDialog(AppContext &ctx, QWidget *parent = nullptr);

    AstroPositions positions() const;

  Q_SIGNALS:
    // Ok stored the settings and built the astro table.
    void confirmed();

  private:
    QGridLayout *buildBars();
    QGroupBox *buildPlaceBox();
    QHBoxLayout *buildButtons();
    enum Bar { BarLongitude, BarLatitude, BarZone, BarSunrise, BarSunset, BarCount };

    void setPositions(int longitude, int latitude, int zone);
    void refreshLabels();
    // Reads the locations file; reports a damaged or unreadable one and gives false then.
    bool readLocations(LocationList *list);
    bool writeLocations(const LocationList &list);
    // Fills cboort from the list (names, then "unknown") and shows or hides it.
    void fillPlaces(const LocationList &list);
    void selectMatchingPlace();
    void placeChosen(int index);
    void addPlace();
    void deletePlace();
    void confirm();

    AppContext &ctx_;
    QString path_;
    LocationList places_;
    bool choosing_ = false;
    std::array<QScrollBar *, BarCount> bars_{};
    std::array<QLabel *, BarCount> values_{};
    QGroupBox *placeBox_ = nullptr;
    QComboBox *placeChoice_ = nullptr;
    QPushButton *addPlaceButton_ = nullptr;
    QPushButton *deletePlaceButton_ = nullptr;
};

} // namespace zx
