#include "platform/QtPrompter.h"

#include "platform/SystemReasons.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace zx {

QtPrompter::QtPrompter(std::function<QString()> defaultTitle, std::function<int()> language)
    : defaultTitle_(std::move(defaultTitle)), language_(std::move(language))
{
}

QString QtPrompter::inUserLanguage(const QString &message) const
{
    // The file functions hand over their failure reasons in English, whatever the language.
    return language_ ? TranslateReasons(message, language_()) : message;
}

QString QtPrompter::titleOr(const QString &title) const
{
    if (!title.isEmpty())
        return title;
    return defaultTitle_ ? defaultTitle_() : QApplication::applicationName();
}

static QMessageBox::Icon toQt(Icon icon)
{
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Warning:
        return QMessageBox::Warning;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

void QtPrompter::tell(const QString &message, Icon icon, const QString &title)
{
    QMessageBox box(toQt(icon), titleOr(title), inUserLanguage(message), QMessageBox::Ok, parent_);
    box.setObjectName(QStringLiteral("zxMessage"));
    box.exec();
}

Answer QtPrompter::ask(const QString &message, Buttons buttons, Icon icon, const QString &title)
{
    QMessageBox::StandardButtons std = QMessageBox::Ok;
    switch (buttons) {
    case Buttons::Ok:
        std = QMessageBox::Ok;
        break;
    case Buttons::OkCancel:
        std = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case Buttons::YesNo:
        std = QMessageBox::Yes | QMessageBox::No;
        break;
    case Buttons::YesNoCancel:
        std = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        break;
    }
    QMessageBox box(toQt(icon), titleOr(title), inUserLanguage(message), std, parent_);
    box.setObjectName(QStringLiteral("zxQuestion"));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        return Answer::Cancel;
    }
}

std::optional<QString> QtPrompter::askText(const QString &prompt, const QString &preset)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, titleOr({}), prompt, QLineEdit::Normal, preset, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtPrompter::qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << QStringLiteral("%1 (%2)").arg(parts[i], parts[i + 1]);
    return out.join(QStringLiteral(";;"));
}

std::optional<QString> QtPrompter::chooseOpenFile(const QString &title, const QString &filter,
                                                  const QString &dir)
{
    const QString f = QFileDialog::getOpenFileName(parent_, titleOr(title), dir, qtFilter(filter));
    if (f.isEmpty())
        return std::nullopt;
    return f;
}

std::optional<QString> QtPrompter::chooseSaveFile(const QString &title, const QString &filter,
                                                  const QString &preset)
{
    // Overwriting is asked by the caller with the catalogue's own question.
    const QString f = QFileDialog::getSaveFileName(parent_, titleOr(title), preset, qtFilter(filter), nullptr,
                                                   QFileDialog::DontConfirmOverwrite);
    if (f.isEmpty())
        return std::nullopt;
    return f;
}

void QtPrompter::beep()
{
    QApplication::beep();
}

void QtPrompter::beginBusy()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtPrompter::endBusy()
{
    QApplication::restoreOverrideCursor();
}

} // namespace zx
