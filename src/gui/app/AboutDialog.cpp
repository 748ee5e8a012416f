#include "app/AboutDialog.h"

#include "i18n/ExtraTexts.h"
#include "model/BrandTable.h"
#include "platform/ProductVersion.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace zx {

AboutDialog::AboutDialog(const Brand &brand, const QString &productTitle, const QString &versionText,
                         const QString &caption, int sprache, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(caption);

    auto *picture = new QLabel;
    picture->setObjectName(QStringLiteral("imgInfo"));
    picture->setPixmap(QPixmap(brand.infoPicture));
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    // the catalogue's version text as the device screens show it, and the release it stands for
    auto *product = new QLabel(
        QStringLiteral("<b>%1</b><br>%2 (%3)")
            .arg(productTitle.toHtmlEscaped(), versionText.trimmed().toHtmlEscaped(), ReleaseVersion()));
    product->setObjectName(QStringLiteral("lblProdukt"));
    product->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *company = new QLabel(brand.companyLines.join(QLatin1Char('\n')));
    company->setObjectName(QStringLiteral("lblFirma"));
    company->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *licence = new QLabel(licenceText(sprache));
    licence->setObjectName(QStringLiteral("lblLizenz"));
    licence->setWordWrap(true);
    licence->setMinimumWidth(320);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto *texts = new QVBoxLayout;
    texts->addWidget(product);
    texts->addSpacing(8);
    texts->addWidget(company);
    texts->addSpacing(8);
    texts->addWidget(licence);
    texts->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
}

QString AboutDialog::licenceText(int sprache)
{
    return extraText(ExtraText::AboutLicence, sprache);
}

} // namespace zx
