#pragma once

#include "platform/Prompter.h"

#include <functional>

class QWidget;

namespace zx {

// Message boxes, input and file dialogs of Qt Widgets.
class QtPrompter final : public Prompter {
  public:
    // The title function gives the product title in the current language; the language
    // function the language the user chose, in which a file's failure reason is said.
    explicit QtPrompter(std::function<QString()> defaultTitle, std::function<int()> language = {});

    void setParentWidget(QWidget *parent) { parent_ = parent; }

    void tell(const QString &message, Icon icon, const QString &title) override;
    Answer ask(const QString &message, Buttons buttons, Icon icon, const QString &title) override;
    std::optional<QString> askText(const QString &prompt, const QString &preset) override;
    std::optional<QString> chooseOpenFile(const QString &title, const QString &filter,
                                          const QString &dir) override;
    std::optional<QString> chooseSaveFile(const QString &title, const QString &filter,
                                          const QString &preset) override;
    void beep() override;

    // Turns "text|pattern|text|pattern" into Qt's "text (pattern);;text (pattern)".
    static QString qtFilter(const QString &filter);

  protected:
    void beginBusy() override;
    void endBusy() override;

  private:
    QString titleOr(const QString &title) const;
    QString inUserLanguage(const QString &message) const;
    std::function<QString()> defaultTitle_;
    std::function<int()> language_;
    QWidget *parent_ = nullptr;
};

} // namespace zx
