#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace zx::test {

// A scratch directory per test with small helpers to write and read files in it.
class TempDir {
  public:
    QString path() const { return dir_.path(); }
    QString file(const QString &name) const { return QDir(dir_.path()).filePath(name); }
    void write(const QString &name, const QByteArray &content) const
    {
        QFile f(file(name));
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(content);
    }
    QByteArray read(const QString &name) const
    {
        QFile f(file(name));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    bool exists(const QString &name) const { return QFile::exists(file(name)); }

  private:
    QTemporaryDir dir_;
};

} // namespace zx::test
