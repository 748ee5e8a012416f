#include "output/PrintDialog.h"

#include "app/AppContext.h"
#include "app/DevicePropertiesDialog.h"
#include "i18n/ExtraTexts.h"
#include "model/Model.h"
#include "output/CsvExport.h"
#include "output/PrintLayout.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zx {

PrintDialog::PrintDialog(AppContext &ctx, PrintSettings &settings, QWidget *parent)
    : QDialog(parent), ctx_(ctx), settings_(settings)
{
    setObjectName(QStringLiteral("frmDruck"));
    const Catalogue &c = ctx_.model.catalogue;
    setWindowTitle(c(Msg::BtnPrint));
    auto *root = new QVBoxLayout(this);

    auto box = [this, root](const char *name, const QString &text, bool checked) {
        auto *b = new QCheckBox(text, this);
        b->setObjectName(QString::fromUtf8(name));
        b->setChecked(checked);
        root->addWidget(b);
        return b;
    };
    // The lists chosen last are offered again for the run of the program.
    switching_ = box("chkprsz", c(Msg::TitleSwitchingProgram), settings_.chosen[ListSwitching]);
    priority_ = box("chkprpz", c(Msg::TitlePriorityList), settings_.chosen[ListPriority]);
    changeover_ = box("chkprsw", c(Msg::ListChangeoverTable), settings_.chosen[ListChangeover]);
    astro_ = box("Chkprastro", c(Msg::Astrotimes), settings_.chosen[ListAstro]);
    astro_->setVisible(output::AstroListPrintable(ctx_.model));
    toFile_ = box("chktxtdat", QString(), settings_.redirectToFile);
    connect(toFile_, &QCheckBox::toggled, this, [this](bool on) {
        settings_.redirectToFile = on;
        csv_->setEnabled(on);
    });
    // Indented under the text file it changes.
    csv_ = new QCheckBox(extraText(ExtraText::ExportCsv, ctx_.model.device.Sprache), this);
    csv_->setObjectName(QStringLiteral("chkcsv"));
    csv_->setChecked(settings_.csv);
    auto *csvRow = new QHBoxLayout;
    csvRow->addSpacing(24);
    csvRow->addWidget(csv_, 1);
    root->addLayout(csvRow);
    csv_->setEnabled(settings_.redirectToFile);
    connect(csv_, &QCheckBox::toggled, this, [this](bool on) {
        settings_.csv = on;
        refreshFileName();
    });
    refreshFileName();

    auto *frame = new QGroupBox(c(Msg::HeaderAll), this);
    frame->setObjectName(QStringLiteral("fraKopfZeil"));
    auto *fl = new QHBoxLayout(frame);
    interval_ = new QLabel(frame);
    interval_->setObjectName(QStringLiteral("lblZeilen"));
    fl->addWidget(interval_, 1);
    auto *change = new QPushButton(c(Msg::BtnChange), frame);
    change->setObjectName(QStringLiteral("cmdprändern"));
    change->setAutoDefault(false);
    fl->addWidget(change);
    root->addWidget(frame);
    refreshInterval();
    connect(change, &QPushButton::clicked, this, [this] {
        DevicePropertiesDialog dialog(ctx_, this);
        dialog.exec();
        refreshInterval();
        Q_EMIT propertiesChanged();
    });

    auto *buttons = new QHBoxLayout;
    auto button = [this, buttons](const char *name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromUtf8(name));
        buttons->addWidget(b);
        return b;
    };
    QPushButton *print = button("cmdprdruck", c(Msg::BtnPrint));
    print->setDefault(true);
    QPushButton *preview = button("cmdprvorschau", extraText(ExtraText::Preview, ctx_.model.device.Sprache));
    QPushButton *cancel = button("cmdprcancel", c(Msg::Cancel));
    root->addLayout(buttons);
    connect(print, &QPushButton::clicked, this, [this] {
        choice_ = Choice::Print;
        takeFlags();
        accept();
    });
    connect(preview, &QPushButton::clicked, this, [this] {
        choice_ = Choice::Preview;
        takeFlags();
        accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PrintDialog::takeFlags()
{
    settings_.switching = switching_->isChecked();
    settings_.priority = priority_->isChecked();
    settings_.changeover = changeover_->isChecked();
    settings_.astro = astro_->isChecked() && output::AstroListPrintable(ctx_.model);
    settings_.currentView = false;
    settings_.chosen = {settings_.switching, settings_.priority, settings_.changeover, astro_->isChecked()};
}

void PrintDialog::refreshFileName()
{
    const QString &program = ctx_.model.program().FileName;
    const QString file = settings_.csv ? CsvFileName(program) : output::TextFileName(program);
    toFile_->setText(ctx_.model.catalogue(Msg::WriteTo) + QLatin1Char(' ') + file);
    toFile_->setToolTip(file);
}

void PrintDialog::refreshInterval()
{
    // 0 in the settings stands for the default count: the number that applies is shown.
    interval_->setText(
        QString::number(output::EffectiveHeaderInterval(ctx_.model.transfer.PrintHeaderInterval)) +
        ctx_.model.catalogue(Msg::Lines));
}

} // namespace zx
