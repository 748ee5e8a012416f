#include "app/AboutDialog.h"

#include "MainWindowFixture.h"
#include "model/BrandTable.h"
#include "platform/ProductVersion.h"

#include <QLabel>

using namespace zx;
using namespace zx::test;

// Help > About: one window with the brand's picture, company lines, title, version and licence.
TEST_F(MainWindowTest, AboutShowsBrandTitleVersionAndLicence)
{
    model.BrandNumber = 3;
    model.device.Sprache = French;
    const Brand &brand = BrandTable(3);
    act("mnuInfo")->trigger();
    act("mnuInfo")->trigger(); // a second click brings the open window forward
    const auto windows = w->findChildren<AboutDialog *>();
    ASSERT_EQ(windows.size(), 1);
    AboutDialog *about = windows.first();
    EXPECT_TRUE(about->isVisible());
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_FALSE(Control<QLabel>(about, "imgInfo")->pixmap().isNull());
    const QString product = Control<QLabel>(about, "lblProdukt")->text();
    EXPECT_TRUE(product.contains(model.catalogue.productTitle.toHtmlEscaped()));
    EXPECT_TRUE(product.contains(model.catalogue.versionText.trimmed()));
    EXPECT_TRUE(product.contains(ReleaseVersion())); // the version --version and the package say
    const QString company = Control<QLabel>(about, "lblFirma")->text();
    for (const QString &line : brand.companyLines)
        EXPECT_TRUE(company.contains(line)) << line.toStdString();
    // our own text speaks the interface language too
    EXPECT_EQ(Control<QLabel>(about, "lblLizenz")->text(), AboutDialog::licenceText(French));
    EXPECT_NE(AboutDialog::licenceText(French), AboutDialog::licenceText(English));
    about->accept();
}
