#include "app/UnsavedChanges.h"

#include "i18n/Msg.h"
#include "model/Model.h"
#include "platform/Prompter.h"

namespace zx {

bool SaveChangesFirst(Model &model, Prompter &prompter, const std::function<bool()> &save,
                      QuestionEnding ending, bool onlyWithRecords)
{
    if (!model.Modified)
        return true;
    if (onlyWithRecords && model.program().UsedCount == 0)
        return true;
    const QString question = model.catalogue(Msg::SaveChangesIn) + model.program().FileName +
                             (ending == QuestionEnding::Wide ? QStringLiteral("  ?") : QStringLiteral(" ?"));
    switch (prompter.ask(question, Buttons::YesNoCancel, Icon::Question)) {
    case Answer::Yes:
        return save && save();
    case Answer::No:
        return true;
    default:
        return false;
    }
}

} // namespace zx
