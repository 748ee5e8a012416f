#include "app/FileCommands.h"

#include "app/AppContext.h"
#include "app/DefaultFileName.h"
#include "app/LoadFailure.h"
#include "app/MainWindow.h"
#include "app/MenuCaption.h"
#include "app/UnsavedChanges.h"
#include "i18n/ExtraTexts.h"
#include "model/Model.h"
#include "model/ProgramFile.h"
#include "platform/Clock.h"
#include "platform/Prompter.h"

#include <QDir>
#include <QFileInfo>

namespace zx {

namespace {

// Every file operation gives the working directory back as it found it.
class CurrentDirGuard {
  public:
    CurrentDirGuard() : dir_(QDir::currentPath()) {}
    ~CurrentDirGuard() { QDir::setCurrent(dir_); }
    CurrentDirGuard(const CurrentDirGuard &) = delete;
    CurrentDirGuard &operator=(const CurrentDirGuard &) = delete;

  private:
    QString dir_;
};

} // namespace

FileCommands::FileCommands(AppContext &context, MainWindow &window) : ctx_(context), window_(window) {}

bool FileCommands::confirmDiscard(bool onlyWithRecords, bool exitForm)
{
    window_.commitHeaderFields();
    return SaveChangesFirst(
        ctx_.model, ctx_.prompter, [this] { return save(); },
        exitForm ? QuestionEnding::Wide : QuestionEnding::Plain, onlyWithRecords);
}

void FileCommands::open()
{
    Model &m = ctx_.model;
    if (!confirmDiscard(false, false))
        return;
    CurrentDirGuard dirGuard;
    const int previousModified = m.Modified;
    m.Modified = 0;
    const auto path =
        ctx_.prompter.chooseOpenFile(plainCaption(m.catalogue.text(Msg::MenuOpen)),
                                     QStringLiteral("*.zxp|*.zxp|*.*|*.*"), QDir::currentPath());
    if (!path || path->isEmpty()) {
        m.Modified = previousModified;
        return;
    }
    load(*path);
}

void FileCommands::openFile(const QString &path)
{
    if (!confirmDiscard(false, false))
        return;
    CurrentDirGuard dirGuard;
    load(path);
}

void FileCommands::load(const QString &path)
{
    Model &m = ctx_.model;
    const QString previousName = m.program().FileName;
    LoadDetail detail;
    const LoadResult result = LoadProgram(m, ctx_.prompter, path, false, SetProgram, nullptr, &detail);
    if (result == LoadResult::Loaded) {
        m.FileNamed = 1;
        m.CurrentSet = SetProgram;
        if (m.ListView == ListAstro && m.device.Uhrentyp != TypeAstro)
            m.ListView = ListSwitching;
        Q_EMIT window_.programLoaded();
    } else {
        tellLoadResult(result, detail);
        m.program().FileName = previousName;
    }
    window_.redrawList();
}

bool FileCommands::save()
{
    window_.commitHeaderFields();
    Model &m = ctx_.model;
    if (!m.FileNamed)
        return saveAs();
    CurrentDirGuard dirGuard;
    if (!settleDiskChange())
        return false;
    const bool saved = SaveProgram(m, ctx_.prompter, ctx_.clock);
    if (saved)
        Q_EMIT window_.programSaved();
    window_.redrawList();
    return saved;
}

bool FileCommands::settleDiskChange()
{
    Model &m = ctx_.model;
    if (!FileChangedOnDisk(m))
        return true;
    const QString question = extraText(ExtraText::FileChangedQuestion, m.device.Sprache)
                                 .arg(QDir::toNativeSeparators(m.program().FileName));
    switch (ctx_.prompter.ask(question, Buttons::YesNoCancel, Icon::Question)) {
    case Answer::Yes:
        AcceptDiskVersionLoss(m);
        return true;
    case Answer::No:
        // the version on disk replaces this one, as Open would load it
        m.Modified = 0;
        load(m.program().FileName);
        return false;
    default:
        return false;
    }
}

bool FileCommands::saveAs()
{
    window_.commitHeaderFields();
    Model &m = ctx_.model;
    const Catalogue &c = m.catalogue;
    CurrentDirGuard dirGuard;
    const QString title = plainCaption(c(Msg::MenuSaveAs));
    const QString filter = QStringLiteral("*.zxp|*.zxp|*.*|*.*");
    QString preset = m.program().FileName;
    for (;;) {
        const auto chosen = ctx_.prompter.chooseSaveFile(title, filter, preset);
        QString name = chosen.value_or(QString());
        if (name.isEmpty()) {
            ctx_.prompter.tell(c(Msg::NoFileSelected), Icon::Critical);
            return false;
        }
        if (!name.right(4).contains(QLatin1Char('.')))
            name += QStringLiteral(".zxp");
        preset = name;
        if (const auto refused = UncarriableFileNameCharacter(QFileInfo(name).fileName())) {
            const QString shown =
                refused->isPrint() ? QString(*refused)
                                   : QStringLiteral("U+%1").arg(refused->unicode(), 4, 16, QLatin1Char('0'));
            ctx_.prompter.tell(c(Msg::NoValidFilename).trimmed() + QStringLiteral("\n") +
                                   extraText(ExtraText::FileNameCharacter, m.device.Sprache).arg(shown),
                               Icon::Critical);
            continue;
        }
        if (QFileInfo::exists(name)) {
            const Answer a = ctx_.prompter.ask(c(Msg::FilePrefix) + name + c(Msg::AlreadyExistsOverwrite),
                                               Buttons::YesNo, Icon::Question);
            if (a != Answer::Yes)
                continue;
            // replacing that file was just confirmed, whatever happened to it meanwhile
            AcceptDiskVersionLoss(m);
        }
        const QString previousName = m.program().FileName;
        m.program().FileName = name;
        if (SaveProgram(m, ctx_.prompter, ctx_.clock)) {
            m.FileNamed = 1;
            Q_EMIT window_.programSaved();
            window_.redrawList();
            return true;
        }
        m.program().FileName = previousName;
        window_.redrawList();
        return false;
    }
}

void FileCommands::openSample()
{
    window_.commitHeaderFields();
    Model &m = ctx_.model;
    CurrentDirGuard dirGuard;
    const auto path = ctx_.prompter.chooseOpenFile(plainCaption(m.catalogue.text(Msg::MenuOpenSample)),
                                                   QStringLiteral("*.*|*.zxp"), QDir::currentPath());
    if (!path || path->isEmpty())
        return;
    const QString previousName = m.set(SetTemplate).FileName;
    LoadDetail detail;
    const LoadResult result = LoadProgram(m, ctx_.prompter, *path, false, SetTemplate, nullptr, &detail);
    if (result == LoadResult::Loaded) {
        sampleLoaded_ = true;
        window_.showList(m.ListView == ListAstro ? ListSwitching : m.ListView, SetTemplate);
        return;
    }
    tellLoadResult(result, detail);
    if (sampleLoaded_)
        m.set(SetTemplate).FileName = previousName;
    else
        m.set(SetTemplate).clear();
    window_.redrawList();
}

void FileCommands::closeSample()
{
    Model &m = ctx_.model;
    m.set(SetTemplate).clear();
    sampleLoaded_ = false;
    window_.showList(m.ListView == ListAstro ? ListSwitching : m.ListView, SetProgram);
}

void FileCommands::tellLoadResult(LoadResult load, const LoadDetail &detail)
{
    // an unreadable path was reported with the system's text by the loader itself
    if (load == LoadResult::Loaded || load == LoadResult::Unreadable)
        return;
    ctx_.prompter.tell(LoadFailureText(ctx_.model, load, {}, &detail), Icon::Critical);
}

} // namespace zx
