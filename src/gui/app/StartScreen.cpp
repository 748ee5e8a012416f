#include "app/StartScreen.h"

#include "app/AppContext.h"
#include "app/BrandControls.h"
#include "app/StartUp.h"
#include "model/BrandTable.h"
#include "model/Model.h"
#include "platform/DeferredPicture.h"
#include "platform/Prompter.h"

#include <QButtonGroup>
#include <QColor>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

// The pictures live in the static gui library; their registration must be pulled in by hand.
static void initBrandResources()
{
    Q_INIT_RESOURCE(brands);
}

namespace zx {
namespace {

// The header's gradient from the brand colour to a lighter one, or the footer's brand colour;
// the texts on it in the given colour.
class BrandBand : public QFrame {
  public:
    BrandBand(const QColor &left, const QColor &right, const QColor &text) : left_(left), right_(right)
    {
        QPalette p = palette();
        p.setColor(QPalette::WindowText, text);
        setPalette(p);
    }

  protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        if (left_ == right_) {
            painter.fillRect(rect(), left_);
            return;
        }
        QLinearGradient gradient(rect().topLeft(), rect().topRight());
        gradient.setColorAt(0, left_);
        gradient.setColorAt(1, right_);
        painter.fillRect(rect(), gradient);
    }

  private:
    QColor left_;
    QColor right_;
};

constexpr QSize LogoSize(56, 56);

} // namespace

StartScreen::StartScreen(AppContext &context, QWidget *parent) : QDialog(parent), ctx_(context)
{
    initBrandResources();
    setObjectName(QStringLiteral("frmStart"));
    const Brand &brand = BrandTable(ctx_.model.BrandNumber);
    setWindowTitle(Catalogue::productTitleFor(brand.number));
    infoPicture_ = brand.infoPicture;
    startPicture_ = brand.startPicture;
    background_ = QColor(brand.secondaryColour);
    // Every text here is Latin (captions, model names, company lines). Laid out without the
    // OpenType shaper, none of the screen's four font sizes and weights has to load and check its
    // layout tables before the first window shows; the fonts' kerning still applies. Measured
    // without hinting, no glyph goes through the autohinter either: at these sizes the text looks
    // the same, a pixel wider at most. The main window keeps the desktop's font settings.
    QFont plain = font();
    plain.setStyleStrategy(QFont::PreferNoShaping);
    plain.setHintingPreference(QFont::PreferNoHinting);
    setFont(plain);
    buildUi(brand);
    // Only a button already inside the dialog becomes the dialog's own default; made default
    // before, it lost that for good once Tab had passed over it, and Return did nothing.
    ok_->setDefault(true);
    resize(brand.startWidth, brand.startHeight);
}

void StartScreen::buildUi(const Brand &brand)
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(buildHeader(brand));

    auto *middle = new QHBoxLayout;
    middle->setContentsMargins(18, 14, 18, 14);
    middle->setSpacing(22);
    QWidget *picture = buildPicture(brand);
    QWidget *choices = buildChoices(brand);
    if (brand.pictureSide == PictureSide::Left) {
        middle->addWidget(picture);
        middle->addWidget(choices, 1);
    } else {
        middle->addWidget(choices, 1);
        middle->addWidget(picture);
    }
    outer->addLayout(middle, 1);
    outer->addWidget(buildFooter(brand));
}

QWidget *StartScreen::buildHeader(const Brand &brand)
{
    const QColor primary(brand.primaryColour);
    auto *header = new BrandBand(primary, primary.lighter(135), Qt::white);
    header->setObjectName(QStringLiteral("startHeader"));
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(16, 10, 16, 10);
    row->setSpacing(14);

    logo_ = new QLabel;
    logo_->setObjectName(QStringLiteral("imgLogo"));
    logo_->setFixedSize(PictureSize(brand.infoPicture).scaled(LogoSize, Qt::KeepAspectRatio));
    row->addWidget(logo_);

    auto *lines = new QVBoxLayout;
    lines->setSpacing(1);
    auto *company = new QLabel(brand.companyLines.value(0));
    company->setObjectName(QStringLiteral("lblFirma"));
    QFont big = company->font();
    big.setPointSizeF(big.pointSizeF() * 1.45);
    big.setBold(true);
    company->setFont(big);
    lines->addWidget(company);
    auto *address = new QLabel(brand.companyLines.mid(1).join(QStringLiteral("  \u00b7  ")));
    address->setObjectName(QStringLiteral("lblAdresse"));
    lines->addWidget(address);
    row->addLayout(lines, 1);
    return header;
}

QWidget *StartScreen::buildPicture(const Brand &brand)
{
    picture_ = new QLabel;
    picture_->setObjectName(QStringLiteral("imgGeraet"));
    // Only the picture's size is read here, from its header: the layout keeps its place, and
    // the picture itself is decoded once the screen is up.
    const QSize full = PictureSize(brand.startPicture);
    // On a small or highly scaled screen the picture gives way, so that the models, the
    // languages and OK stay in view.
    int height = qMin(full.height(), brand.startHeight - 150);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        height = qMin(height, screen->availableGeometry().height() * 2 / 5);
    picture_->setFixedSize(full.scaled(QSize(full.width(), qMax(height, 1)), Qt::KeepAspectRatio));
    picture_->setAlignment(Qt::AlignCenter);
    return picture_;
}

QWidget *StartScreen::buildChoices(const Brand &brand)
{
    // The header, the footer and the background are painted plainly (BrandBand, paintEvent); the
    // choices paint themselves (BrandControls), all in the brand's colours.
    colours_ = BrandColoursFor(QColor(brand.primaryColour), QColor(brand.secondaryColour));
    auto *box = new QWidget;
    auto *column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);

    // The start screen speaks before a language is chosen: its few captions are in all three.
    column->addWidget(BrandCaption(QStringLiteral("Ger\u00e4t \u00b7 Device \u00b7 Appareil"), colours_));
    models_ = new BrandList(colours_);
    models_->setObjectName(QStringLiteral("lstModell"));
    models_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Every row has the same font and padding: the layout measures one, not all of them.
    models_->setUniformItemSizes(true);
    QFont listFont = models_->font();
    listFont.setPointSizeF(11);
    models_->setFont(listFont);
    connect(models_, &QListWidget::itemDoubleClicked, this, &StartScreen::confirm);
    column->addWidget(models_, 1);

    column->addSpacing(4);
    column->addWidget(BrandCaption(QStringLiteral("Sprache \u00b7 Language \u00b7 Langue"), colours_));
    auto *languages = new QHBoxLayout;
    languages->setSpacing(8);
    german_ = languageButton(QStringLiteral("AniDeutsch"), QStringLiteral("de"), QStringLiteral("Deutsch"));
    english_ = languageButton(QStringLiteral("AniEnglisch"), QStringLiteral("en"), QStringLiteral("English"));
    french_ =
        languageButton(QStringLiteral("AniFrance"), QStringLiteral("fr"), QStringLiteral("Fran\u00e7ais"));
    world_ = languageButton(QStringLiteral("Aniworld"), QStringLiteral("world"), QStringLiteral("World"));
    world_->setToolTip(QStringLiteral("Sprachdatei laden \u00b7 Load a language file \u00b7 "
                                      "Charger un fichier de langue (*.ln1)"));
    auto *group = new QButtonGroup(this);
    group->setExclusive(true);
    for (QToolButton *b : {german_, english_, french_, world_}) {
        group->addButton(b);
        languages->addWidget(b);
    }
    languages->addStretch(1);
    column->addLayout(languages);
    connect(german_, &QToolButton::clicked, this, [this] { chooseLanguage(German); });
    connect(english_, &QToolButton::clicked, this, [this] { chooseLanguage(English); });
    connect(french_, &QToolButton::clicked, this, [this] { chooseLanguage(French); });
    connect(world_, &QToolButton::clicked, this, &StartScreen::chooseLanguageFile);

    column->addSpacing(8);
    auto *buttons = new QHBoxLayout;
    siblingTool_ = new BrandPushButton(QStringLiteral("ZX4TOOL"), BrandPushButton::Look::Outlined, colours_);
    siblingTool_->setObjectName(QStringLiteral("cmdZX4Tool"));
    siblingTool_->setToolTip(QStringLiteral("Zusatzprogramm ZX4TOOL starten"));
    siblingTool_->setAutoDefault(false);
    siblingTool_->hide();
    connect(siblingTool_, &QPushButton::clicked, this, &StartScreen::startSiblingTool);
    buttons->addWidget(siblingTool_);
    buttons->addStretch(1);
    ok_ = new BrandPushButton(QStringLiteral("OK"), BrandPushButton::Look::Filled, colours_);
    ok_->setObjectName(QStringLiteral("cmd_ok"));
    connect(ok_, &QPushButton::clicked, this, &StartScreen::confirm);
    buttons->addWidget(ok_);
    column->addLayout(buttons);
    return box;
}

QWidget *StartScreen::buildFooter(const Brand &brand)
{
    const QColor primary(brand.primaryColour);
    auto *footer = new BrandBand(primary, primary, QColor(brand.secondaryColour));
    footer->setObjectName(QStringLiteral("startFooter"));
    auto *row = new QHBoxLayout(footer);
    row->setContentsMargins(16, 5, 16, 5);
    auto *version = new QLabel(Catalogue::productTitleFor(brand.number) + Catalogue::versionTextConstant());
    version->setObjectName(QStringLiteral("lblVersion"));
    row->addWidget(version);
    row->addStretch(1);
    auto *maker = new QLabel(QStringLiteral("\u00a9 ") + brand.companyLines.value(0));
    row->addWidget(maker);
    return footer;
}

QToolButton *StartScreen::languageButton(const QString &objectName, const QString &flag,
                                         const QString &caption)
{
    auto *button = new BrandChoiceButton(colours_);
    button->setObjectName(objectName);
    button->setText(caption);
    // The flag is decoded when the button is first painted, after the window is mapped.
    button->setIcon(DeferredFileIcon(QStringLiteral(":/brands/flag-%1.png").arg(flag)));
    button->setIconSize(QSize(36, 24));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setCheckable(true);
    button->setMinimumWidth(74);
    return button;
}

void StartScreen::paintEvent(QPaintEvent *event)
{
    QPainter(this).fillRect(rect(), background_);
    QDialog::paintEvent(event);
}

void StartScreen::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Decoding and scaling the pictures took longer than everything else of ours before the
    // first window; after the window is mapped it overlaps the window system's first expose.
    if (!picturesLoaded_)
        QTimer::singleShot(0, this, &StartScreen::loadPictures);
}

void StartScreen::loadPictures()
{
    if (picturesLoaded_)
        return;
    picturesLoaded_ = true;
    const QPixmap info(infoPicture_);
    logo_->setPixmap(info.scaled(logo_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    picture_->setPixmap(
        QPixmap(startPicture_).scaled(picture_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void StartScreen::prepare()
{
    Model &model = ctx_.model;
    const StartPreparation prep = PrepareStartScreen(model, ctx_.workDir);
    models_->clear();
    for (const ModelEntry &entry : prep.models) {
        auto *item = new QListWidgetItem(entry.name, models_);
        item->setData(Qt::UserRole, entry.slot);
    }
    if (models_->count() > 0)
        models_->setCurrentRow(prep.selectedIndex);
    updateLanguageState();
    // A missing configuration is a first start and needs no word; anything else does.
    if (prep.configStatus == ConfigStatus::Error)
        ctx_.prompter.tell(prep.errorText, Icon::Critical);
}

void StartScreen::updateLanguageState()
{
    const int code = ctx_.model.device.Sprache;
    german_->setChecked(code == German);
    english_->setChecked(code == English);
    french_->setChecked(code == French);
    world_->setChecked(code != German && code != English && code != French);
    siblingTool_->setVisible(SiblingToolOffered(ctx_.model.BrandNumber, code, ctx_.workDir));
}

void StartScreen::chooseLanguage(int code)
{
    ctx_.model.device.Sprache = code;
    updateLanguageState();
}

void StartScreen::chooseLanguageFile()
{
    ChooseLoadedLanguage(ctx_.model, ctx_.prompter, ctx_.startDir);
    updateLanguageState();
}

void StartScreen::startSiblingTool()
{
    StartSiblingTool(ctx_.launcher, ctx_.prompter, ctx_.workDir);
}

void StartScreen::confirm()
{
    QListWidgetItem *item = models_->currentItem();
    if (!item && models_->count() > 0)
        item = models_->item(0);
    const QString name = item ? item->text() : QString();
    if (ConfirmStartScreen(ctx_.model, name, ctx_.workDir, ctx_.prompter)) {
        accept();
        return;
    }
    // A damaged language file has put the choice back on a language that works.
    updateLanguageState();
}

} // namespace zx
