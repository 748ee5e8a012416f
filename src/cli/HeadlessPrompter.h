#pragma once

#include "platform/Prompter.h"

namespace zx::cli {

// The prompter of the command line: no one is there to answer, so every message goes to
// standard error and every question is answered by a fixed policy, printed with it:
// - OK/Cancel ("continue anyway?"): OK — the command was asked to do exactly this.
// - Yes/No and Yes/No/Cancel (offers to change the program, e.g. to activate the changeover
//   table): No — the command never changes what it was given.
// Text input and file choices are cancelled; beeps and the wait cursor do nothing.
class HeadlessPrompter final : public Prompter {
  public:
    void tell(const QString &message, Icon icon, const QString &title) override;
    Answer ask(const QString &message, Buttons buttons, Icon icon, const QString &title) override;
    std::optional<QString> askText(const QString &prompt, const QString &preset) override;
    std::optional<QString> chooseOpenFile(const QString &title, const QString &filter,
                                          const QString &dir) override;
    std::optional<QString> chooseSaveFile(const QString &title, const QString &filter,
                                          const QString &preset) override;
    void beep() override {}

    // The answer to Yes/No questions; `add --replace` answers the overwrite questions with Yes.
    Answer yesNoAnswer = Answer::No;

    // Number of messages shown with the critical icon.
    int errors = 0;
    // Messages are counted but not printed (the caller prints its own line per file).
    bool quiet = false;
    // Questions and their answers are not printed (--quiet).
    bool quietQuestions = false;
    // The file a message is about, put before it in the one error line form.
    QString file;

  protected:
    void beginBusy() override {}
    void endBusy() override {}
};

} // namespace zx::cli
