#pragma once

#include <QString>
#include <QStringList>

#include <map>

namespace zx {

// Which device file stands for COM n. The device documents number their serial ports COM1 to
// COM4; on this platform they are device files. Defaults are the on-board ports /dev/ttyS0 to
// /dev/ttyS3; any other path (a USB adapter such as /dev/ttyUSB0, a pseudo-terminal) can be
// chosen. The choice is kept in "comports.ini" in the working directory:
//
//     [ports]
//     COM1=/dev/ttyUSB0
class ComPortMap {
  public:
    static constexpr int PortCount = 4;
    static constexpr const char *FileName = "comports.ini";

    // Reads the settings file of the working directory, if there is one.
    explicit ComPortMap(const QString &workDir);

    // The device file of COM n (n from 1).
    QString device(int com) const;
    // Sets the device file of COM n; an empty path restores the default.
    void setDevice(int com, const QString &path);
    static QString defaultDevice(int com);

    // Writes the settings file; false with the system's error text.
    bool save(QString *error = nullptr) const;

    // Serial device files present on this machine (on-board, USB and ACM adapters), to offer
    // in a choice; a typed path is accepted as well.
    static QStringList candidates();

    // The COM number of a transfer port setting: 4 and above are COM(setting - 3); 0 for the
    // parallel ports 1..3.
    static int comForPortSetting(int portSetting) { return portSetting >= 4 ? portSetting - 3 : 0; }

  private:
    QString path_;
    std::map<int, QString> chosen_;
};

} // namespace zx
