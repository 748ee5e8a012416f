#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace zx {

enum class Icon { None, Information, Question, Warning, Critical };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

// Everything the core says to or asks of the user. The gui implements it with message boxes
// and file dialogs; tests script the answers and record what was shown.
class Prompter {
  public:
    virtual ~Prompter() = default;

    // A message with an OK button. An empty title means the product title.
    virtual void tell(const QString &message, Icon icon = Icon::None, const QString &title = {}) = 0;
    virtual Answer ask(const QString &message, Buttons buttons, Icon icon = Icon::Question,
                       const QString &title = {}) = 0;
    // A line of text; nullopt when cancelled.
    virtual std::optional<QString> askText(const QString &prompt, const QString &preset = {}) = 0;
    // File dialogs; nullopt when cancelled. Filters use the "text|pattern|text|pattern" form.
    virtual std::optional<QString> chooseOpenFile(const QString &title, const QString &filter,
                                                  const QString &dir) = 0;
    virtual std::optional<QString> chooseSaveFile(const QString &title, const QString &filter,
                                                  const QString &preset) = 0;
    virtual void beep() = 0;

    // The wait cursor, shown for the lifetime of the returned guard. Guards nest.
    class BusyGuard {
      public:
        explicit BusyGuard(Prompter *p) : p_(p)
        {
            if (p_)
                p_->beginBusy();
        }
        BusyGuard(BusyGuard &&o) noexcept : p_(o.p_) { o.p_ = nullptr; }
        BusyGuard(const BusyGuard &) = delete;
        BusyGuard &operator=(const BusyGuard &) = delete;
        BusyGuard &operator=(BusyGuard &&) = delete;
        ~BusyGuard()
        {
            if (p_)
                p_->endBusy();
        }

      private:
        Prompter *p_;
    };
    BusyGuard busy() { return BusyGuard(this); }

  protected:
    virtual void beginBusy() = 0;
    virtual void endBusy() = 0;
};

} // namespace zx
