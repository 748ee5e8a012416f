#pragma once

#include <QDialog>

namespace zx {

struct Brand;

// The about window: the brand's picture and company lines, the product title with its version
// text, and the licence. Controls by objectName: imgInfo, lblProdukt, lblFirma, lblLizenz, cmdOK.
class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    AboutDialog(const Brand &brand, const QString &productTitle, const QString &versionText,
                const QString &caption, int sprache, QWidget *parent = nullptr);

    // The licence under which the program is given, in the interface language.
    static QString licenceText(int sprache);
};

} // namespace zx
