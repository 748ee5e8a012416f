#pragma once

#include "platform/Prompter.h"

#include <functional>

class QWidget;

namespace zx {

// Message boxes, input and file dialogs of Qt Widgets.
class QtPrompter final : public Prompter {
  public:
    // The title function gives the product title in the current language.
    explicit QtPrompter(std::function<QString()> defaultTitle);

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
    std::function<QString()> defaultTitle_;
    QWidget *parent_ = nullptr;
};

} // namespace zx
