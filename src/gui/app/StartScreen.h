#pragma once

#include "app/BrandControls.h"

#include <QColor>
#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;

namespace zx {

struct AppContext;
struct Brand;

// The start screen frmStart: the brand's look, its device models and the languages. OK fixes
// the chosen model and language and accepts the dialog; closing it ends the program.
class StartScreen : public QDialog {
    Q_OBJECT
  public:
    explicit StartScreen(AppContext &context, QWidget *parent = nullptr);

    // Reads the configuration and fills the model list with its preselection. Runs each time
    // the screen opens, also after the New command.
    void prepare();

  protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

  private:
    void buildUi(const Brand &brand);
    QWidget *buildHeader(const Brand &brand);
    QWidget *buildPicture(const Brand &brand);
    QWidget *buildChoices(const Brand &brand);
    QWidget *buildFooter(const Brand &brand);
    QToolButton *languageButton(const QString &objectName, const QString &flag, const QString &caption);
    // Decodes and scales the pictures into the places the layout keeps for them.
    void loadPictures();

    void chooseLanguage(int code);
    void chooseLanguageFile();
    void startSiblingTool();
    void confirm();
    // Checks the button of the current language and shows the sibling tool where offered.
    void updateLanguageState();

    AppContext &ctx_;
    BrandColours colours_;
    QListWidget *models_ = nullptr;
    QToolButton *german_ = nullptr;
    QToolButton *english_ = nullptr;
    QToolButton *french_ = nullptr;
    QToolButton *world_ = nullptr;
    QPushButton *siblingTool_ = nullptr;
    QPushButton *ok_ = nullptr;
    QLabel *logo_ = nullptr;
    QLabel *picture_ = nullptr;
    QString infoPicture_;
    QString startPicture_;
    QColor background_;
    bool picturesLoaded_ = false;
};

} // namespace zx
