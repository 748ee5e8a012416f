#pragma once

#include <QObject>
#include <QString>

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

} // namespace zx::test
