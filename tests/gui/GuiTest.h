#pragma once

#include <QApplication>
#include <QObject>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace zx::test {

// A control the test needs is missing: the test ends here as failed, instead of going on with
// a null pointer and taking the whole test binary down.
struct MissingControl : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The child of `parent` with this objectName and type. A missing control fails the running
// test at once.
template <class T> T *Control(const QObject *parent, const QString &name)
{
    T *found = parent ? parent->findChild<T *>(name) : nullptr;
    if (!found) {
        const std::string what = "no control " + name.toStdString();
        ADD_FAILURE() << what;
        throw MissingControl(what);
    }
    return found;
}

template <class T> T *Control(const QObject *parent, const char *name)
{
    return Control<T>(parent, QString::fromUtf8(name));
}

// The shown top-level window with this objectName, or null when none is shown: whether a dialog
// is still open is itself an outcome the tests check.
template <class T = QWidget> T *ShownWindow(const char *name)
{
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String(name) && top->isVisible())
            return qobject_cast<T *>(top);
    return nullptr;
}

} // namespace zx::test
