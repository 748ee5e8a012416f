#pragma once

#include "platform/Prompter.h"

#include <deque>
#include <vector>

namespace zx::test {

// A prompter that records every message and answers from a script. An unscripted question
// is answered with the first "positive" button (OK or Yes) and noted in `unscripted`.
class ScriptedPrompter : public Prompter {
  public:
    struct Shown {
        QString message;
        Icon icon;
        QString title;
        bool question;
        Buttons buttons;
    };

    std::vector<Shown> shown;
    std::deque<Answer> answers;
    std::deque<std::optional<QString>> texts;
    std::deque<std::optional<QString>> files;
    int beeps = 0;
    int busyDepth = 0;
    int busyCount = 0;
    int unscripted = 0;

    void tell(const QString &message, Icon icon, const QString &title) override;
    Answer ask(const QString &message, Buttons buttons, Icon icon, const QString &title) override;
    std::optional<QString> askText(const QString &prompt, const QString &preset) override;
    std::optional<QString> chooseOpenFile(const QString &title, const QString &filter,
                                          const QString &dir) override;
    std::optional<QString> chooseSaveFile(const QString &title, const QString &filter,
                                          const QString &preset) override;
    void beep() override { ++beeps; }

    // Messages in the order shown.
    QStringList messages() const;
    QString last() const { return shown.empty() ? QString() : shown.back().message; }

  protected:
    void beginBusy() override
    {
        ++busyDepth;
        ++busyCount;
    }
    void endBusy() override { --busyDepth; }
};

} // namespace zx::test
