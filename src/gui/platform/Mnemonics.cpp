#include "platform/Mnemonics.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include <vector>

namespace zx {

namespace {

// Position of the marked character, or -1.
qsizetype markAt(const QString &text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('&'))
            continue;
        if (text.at(i + 1) == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return i + 1;
    }
    return -1;
}

bool usable(QChar c)
{
    return c.isLetterOrNumber();
}

// The texts of one menu or window, each to keep its letter or get a free one. Texts that mark
// a free letter keep it before any other text is given one, so that a text without a mark
// never takes the letter of a later one.
std::vector<QString> assign(const std::vector<QString> &texts, QSet<QChar> &taken)
{
    std::vector<QString> out(texts.size());
    std::vector<bool> done(texts.size(), false);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const QChar own = MnemonicOf(texts[i]);
        if (!own.isNull() && !taken.contains(own)) {
            taken.insert(own);
            out[i] = texts[i];
            done[i] = true;
        }
    }
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (!done[i])
            out[i] = WithFreeMnemonic(WithoutMnemonic(texts[i]), taken);
    return out;
}

void assignActions(const QList<QAction *> &actions)
{
    std::vector<QAction *> named;
    std::vector<QString> texts;
    for (QAction *a : actions) {
        if (a->isSeparator() || a->text().isEmpty() || !a->isVisible())
            continue;
        named.push_back(a);
        texts.push_back(a->text());
    }
    QSet<QChar> taken;
    const std::vector<QString> out = assign(texts, taken);
    for (std::size_t i = 0; i < named.size(); ++i)
        if (named[i]->text() != out[i])
            named[i]->setText(out[i]);
}

} // namespace

QChar MnemonicOf(const QString &text)
{
    const qsizetype at = markAt(text);
    return at < 0 ? QChar() : text.at(at).toLower();
}

QString WithoutMnemonic(const QString &text)
{
    const qsizetype at = markAt(text);
    if (at < 0)
        return text;
    QString plain = text;
    plain.remove(at - 1, 1);
    return plain;
}

QString WithFreeMnemonic(const QString &text, QSet<QChar> &taken)
{
    const QChar own = MnemonicOf(text);
    if (!own.isNull() && !taken.contains(own)) {
        taken.insert(own);
        return text;
    }
    const QString plain = WithoutMnemonic(text);
    qsizetype chosen = -1;
    // First the letters that begin a word, then any letter.
    for (int pass = 0; pass < 2 && chosen < 0; ++pass) {
        for (qsizetype i = 0; i < plain.size(); ++i) {
            const QChar c = plain.at(i);
            const bool wordStart = i == 0 || !usable(plain.at(i - 1));
            if (usable(c) && (pass == 1 || wordStart) && !taken.contains(c.toLower()) &&
                (i == 0 || plain.at(i - 1) != QLatin1Char('&'))) {
                chosen = i;
                break;
            }
        }
    }
    if (chosen < 0)
        return plain;
    taken.insert(plain.at(chosen).toLower());
    QString marked = plain;
    marked.insert(chosen, QLatin1Char('&'));
    return marked;
}

void AssignMnemonics(QMenu *menu)
{
    if (menu)
        assignActions(menu->actions());
}

void AssignMnemonics(QMenuBar *bar)
{
    if (bar)
        assignActions(bar->actions());
}

void AssignLabelMnemonics(QWidget *window)
{
    if (!window)
        return;
    QSet<QChar> taken;
    std::vector<QLabel *> labels;
    std::vector<QString> texts;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (auto *label = qobject_cast<QLabel *>(w)) {
            if (label->buddy() && !label->text().isEmpty()) {
                labels.push_back(label);
                texts.push_back(label->text());
            }
            continue;
        }
        QChar mark;
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            mark = MnemonicOf(button->text());
        else if (auto *box = qobject_cast<QGroupBox *>(w))
            mark = MnemonicOf(box->title());
        if (!mark.isNull())
            taken.insert(mark);
    }
    const std::vector<QString> out = assign(texts, taken);
    for (std::size_t i = 0; i < labels.size(); ++i)
        if (labels[i]->text() != out[i])
            labels[i]->setText(out[i]);
}

} // namespace zx
