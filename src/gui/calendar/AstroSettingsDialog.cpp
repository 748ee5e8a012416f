#include "calendar/AstroSettingsDialog.h"

#include "app/AppContext.h"
#include "i18n/Msg.h"
#include "model/Model.h"
#include "platform/FileAccess.h"
#include "platform/Prompter.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace zx {

AstroSettingsDialog::AstroSettingsDialog(AppContext &ctx, QWidget *parent) : QDialog(parent), ctx_(ctx)
{
    const Catalogue &c = ctx_.model.catalogue;
    setObjectName(QStringLiteral("frmastro"));
    setWindowTitle(c.text(Msg::EnterTheAstronomicalData).trimmed());
    path_ = LocationsFilePath(c, ctx_.workDir);

    auto *root = new QVBoxLayout(this);
    root->addLayout(buildBars());
    root->addWidget(buildPlaceBox());
    root->addLayout(buildButtons());

    // The bars start at the model's settings.
    const AstroPositions p = PositionsOf(ctx_.model.astro);
    choosing_ = true;
    bars_[BarSunrise]->setValue(p.sunriseOffset);
    bars_[BarSunset]->setValue(p.sunsetOffset);
    setPositions(p.longitude, p.latitude, p.zone);
    choosing_ = false;

    LocationList list;
    readLocations(&list);
    fillPlaces(list);
    refreshLabels();
}

// One bar per position value, with its caption above and its value below.
QGridLayout *AstroSettingsDialog::buildBars()
{
    const Catalogue &c = ctx_.model.catalogue;
    struct BarSpec {
        const char *name;
        const char *label;
        int caption;
        int maximum;
        int page;
    };
    // Pages: 10 degrees, 5 degrees, one hour, 10 minutes.
    const BarSpec bars[BarCount] = {
        {"vsb_Längengrad", "lbl_Längengrad", Msg::Longitude, LongitudeBarMax, 20},
        {"vsb_Breitengrad", "lbl_Breitengrad", Msg::Latitude, LatitudeBarMax, 10},
        {"vsb_zeitzone", "lbl_zeitzone", Msg::Timezone, ZoneBarMax, 4},
        {"vsb_offset_aufgang", "lbl_offset_aufgang", Msg::OffsetForSunrise, OffsetBarMax, 10},
        {"vsb_offset_untergang", "lbl_offset_untergang", Msg::OffsetForSunset, OffsetBarMax, 10},
    };

    auto *grid = new QGridLayout;
    for (int i = 0; i < BarCount; ++i) {
        auto *caption = new QLabel(c.text(bars[i].caption).trimmed(), this);
        caption->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        caption->setWordWrap(true);
        auto *bar = new QScrollBar(Qt::Vertical, this);
        bar->setObjectName(QString::fromUtf8(bars[i].name));
        bar->setRange(0, bars[i].maximum);
        bar->setSingleStep(1);
        bar->setPageStep(bars[i].page);
        bar->setFocusPolicy(Qt::StrongFocus);
        bar->setMinimumHeight(180);
        caption->setBuddy(bar);
        auto *value = new QLabel(this);
        value->setObjectName(QString::fromUtf8(bars[i].label));
        value->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        value->setMinimumWidth(130);
        grid->addWidget(caption, 0, i);
        grid->addWidget(bar, 1, i, Qt::AlignHCenter);
        grid->addWidget(value, 2, i);
        bars_[i] = bar;
        values_[i] = value;
        connect(bar, &QScrollBar::valueChanged, this, [this, i] {
            refreshLabels();
            if (i <= BarZone && !choosing_)
                selectMatchingPlace();
        });
    }

    return grid;
}

// The places of the locations file, to choose from, add to and delete from.
QGroupBox *AstroSettingsDialog::buildPlaceBox()
{
    const Catalogue &c = ctx_.model.catalogue;
    placeBox_ = new QGroupBox(c.text(Msg::Location).trimmed(), this);
    placeBox_->setObjectName(QStringLiteral("fraOrt"));
    auto *placeRow = new QHBoxLayout(placeBox_);
    placeChoice_ = new QComboBox(placeBox_);
    placeChoice_->setObjectName(QStringLiteral("cboort"));
    placeChoice_->setMinimumWidth(220);
    addPlaceButton_ = new QPushButton(c.text(Msg::Add).trimmed(), placeBox_);
    addPlaceButton_->setObjectName(QStringLiteral("cmdspeichern"));
    deletePlaceButton_ = new QPushButton(c.text(Msg::DeleteButton).trimmed(), placeBox_);
    deletePlaceButton_->setObjectName(QStringLiteral("cmd_delete_ort"));
    placeRow->addWidget(placeChoice_, 1);
    placeRow->addWidget(addPlaceButton_);
    placeRow->addWidget(deletePlaceButton_);

    connect(placeChoice_, &QComboBox::activated, this, &AstroSettingsDialog::placeChosen);
    connect(addPlaceButton_, &QPushButton::clicked, this, &AstroSettingsDialog::addPlace);
    connect(deletePlaceButton_, &QPushButton::clicked, this, &AstroSettingsDialog::deletePlace);

    return placeBox_;
}

QHBoxLayout *AstroSettingsDialog::buildButtons()
{
    const Catalogue &c = ctx_.model.catalogue;
    auto *buttons = new QHBoxLayout;
    auto *ok = new QPushButton(c.text(Msg::Ok).trimmed(), this);
    ok->setObjectName(QStringLiteral("cmd_astro_ok"));
    ok->setDefault(true);
    auto *exit = new QPushButton(c.text(Msg::BtnExit).trimmed(), this);
    exit->setObjectName(QStringLiteral("cmd_astro_end"));
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(exit);
    connect(ok, &QPushButton::clicked, this, &AstroSettingsDialog::confirm);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    return buttons;
}

AstroPositions AstroSettingsDialog::positions() const
{
    AstroPositions p;
    p.longitude = bars_[BarLongitude]->value();
    p.latitude = bars_[BarLatitude]->value();
    p.zone = bars_[BarZone]->value();
    p.sunriseOffset = bars_[BarSunrise]->value();
    p.sunsetOffset = bars_[BarSunset]->value();
    return p;
}

void AstroSettingsDialog::setPositions(int longitude, int latitude, int zone)
{
    bars_[BarLongitude]->setValue(longitude);
    bars_[BarLatitude]->setValue(latitude);
    bars_[BarZone]->setValue(zone);
}

void AstroSettingsDialog::refreshLabels()
{
    const Catalogue &c = ctx_.model.catalogue;
    values_[BarLongitude]->setText(LongitudeLabel(c, bars_[BarLongitude]->value()));
    values_[BarLatitude]->setText(LatitudeLabel(c, bars_[BarLatitude]->value()));
    values_[BarZone]->setText(ZoneLabel(c, bars_[BarZone]->value()));
    values_[BarSunrise]->setText(OffsetLabel(bars_[BarSunrise]->value()));
    values_[BarSunset]->setText(OffsetLabel(bars_[BarSunset]->value()));
}

bool AstroSettingsDialog::readLocations(LocationList *list)
{
    const LocationsReadResult r = ReadLocationsFile(path_);
    if (!r.readOrMissing()) {
        const QString why = r.status == LocationsReadResult::Status::Damaged
                                ? ctx_.model.catalogue.text(Msg::IllegalFile) + QLatin1Char('\n') + r.error
                                : r.error;
        ctx_.prompter.tell(FileErrorText(path_, why), Icon::Critical);
        return false;
    }
    *list = r.locations;
    return true;
}

bool AstroSettingsDialog::writeLocations(const LocationList &list)
{
    QString error;
    if (WriteLocationsFile(path_, list, &error))
        return true;
    ctx_.prompter.tell(FileErrorText(path_, error), Icon::Critical);
    return false;
}

void AstroSettingsDialog::fillPlaces(const LocationList &list)
{
    places_ = list;
    const QSignalBlocker block(placeChoice_);
    placeChoice_->clear();
    for (const Location &l : places_)
        placeChoice_->addItem(l.name);
    placeChoice_->addItem(ctx_.model.catalogue.text(Msg::Unknown));
    const bool any = !places_.empty();
    placeChoice_->setVisible(any);
    deletePlaceButton_->setVisible(any);
    selectMatchingPlace();
}

void AstroSettingsDialog::selectMatchingPlace()
{
    const int found = FindLocation(places_, bars_[BarLongitude]->value(), bars_[BarLatitude]->value(),
                                   bars_[BarZone]->value());
    const QSignalBlocker block(placeChoice_);
    placeChoice_->setCurrentIndex(found >= 0 ? found : static_cast<int>(places_.size()));
}

void AstroSettingsDialog::placeChosen(int index)
{
    if (index < 0 || index >= static_cast<int>(places_.size()))
        return; // "unknown" leaves the bars as they are
    const Location &l = places_[index];
    choosing_ = true;
    setPositions(l.longitudePos, l.latitudePos, l.zonePos);
    choosing_ = false;
    const QSignalBlocker block(placeChoice_);
    placeChoice_->setCurrentIndex(index);
}

void AstroSettingsDialog::addPlace()
{
    LocationList list;
    // A damaged file is reported and left as it is: writing would replace it by less.
    if (!readLocations(&list))
        return;
    const Catalogue &c = ctx_.model.catalogue;
    const std::optional<QString> answer =
        ctx_.prompter.askText(c.text(Msg::NameOfThePlace) + QStringLiteral(" ?"));
    if (!answer)
        return;
    Location place;
    place.name = CleanLocationName(*answer);
    if (place.name.isEmpty())
        return;
    place.longitudePos = bars_[BarLongitude]->value();
    place.latitudePos = bars_[BarLatitude]->value();
    place.zonePos = bars_[BarZone]->value();
    AddLocation(list, place);
    if (!writeLocations(list))
        return;
    fillPlaces(list);
}

void AstroSettingsDialog::deletePlace()
{
    const int index = placeChoice_->currentIndex();
    if (index < 0 || index >= static_cast<int>(places_.size()))
        return;
    const QString name = places_[index].name;
    LocationList list;
    if (!readLocations(&list))
        return;
    const auto it = std::find_if(list.begin(), list.end(), [&](const Location &l) { return l.name == name; });
    if (it != list.end()) {
        list.erase(it);
        if (!writeLocations(list))
            return;
    }
    fillPlaces(list);
    if (!places_.empty()) {
        placeChoice_->setCurrentIndex(0);
        placeChosen(0);
    }
}

void AstroSettingsDialog::confirm()
{
    // Cancel to the question about a table changed by hand leaves the dialog open.
    if (!ConfirmAstroSettings(ctx_.model, positions(), ctx_.clock, ctx_.prompter))
        return;
    Q_EMIT confirmed();
    accept();
}

} // namespace zx
