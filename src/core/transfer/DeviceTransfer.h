#pragma once

#include "transfer/SerialLink.h"

#include <QString>

#include <functional>
#include <optional>

namespace zx {

struct AppContext;
class Model;
class SerialPort;
class TransferProgress;
class Prompter;
class EventPump;

// Port settings 1..3 are the parallel ports of the chip tool, 4 and above COM(setting - 3).
constexpr int FirstSerialPortSetting = 4;

// The serial transfer for a front end that names the port itself and asks no questions
// (zentrix-cli): writes the request for `direction` ("s" sends `programFile`, "l" reads) into
// `workDir`, where the link also keeps its log, and runs the link on `device`. Reading hands
// the device's image back as program file text (usage text "unknown", no channel names) in
// `readBack`. false after the prompter was told why.
bool RunSerialTransfer(Model &model, Prompter &prompter, EventPump &pump, SerialPort &port,
                       const QString &workDir, const QString &direction, const QString &programFile,
                       const QString &device, TransferProgress *progress, const SerialTimings &timings,
                       QByteArray *readBack = nullptr);

// The result file of the chip tool: a result code and a chip address.
struct ChipToolResult {
    int code = 0;
    int address = 0;
};

// Moves the whole program between the PC and the device: port settings 1..3 through the chip
// tool "cardio" on a parallel port, which the system talks to only through files in the
// working directory; 4 and above over the serial link on COM(setting - 3).
//
// The exchange files, all in the working directory: "zentrix.msg" (the request, written here),
// "card.msg" (the tool's result), "card.dat" (the image read back) and, for writing through
// the tool, the transfer copy of the program file.
class DeviceTransfer {
  public:
    static constexpr const char *ResultFileName = "card.msg";
    static constexpr const char *ChipToolName = "cardio";

    // The port and the progress window serve the serial way only.
    DeviceTransfer(AppContext &context, SerialPort &port, TransferProgress *progress = nullptr);

    void setSerialTimings(const SerialTimings &timings) { timings_ = timings; }
    // The chip tool to start; by default ChipToolProgram().
    void setChipTool(const QString &program) { chipTool_ = program; }
    // Redraws the list of the current set after a transfer.
    void setRedraw(std::function<void()> redraw) { redraw_ = std::move(redraw); }

    // The Write command: questions about an empty program, missing astro times and unsaved
    // changes, then the transfer "s". `save` is the main window's Save operation (Save, or
    // Save as when the program has no name yet); true when saved.
    void WriteCommand(const std::function<bool()> &save);
    // The Read command: the unsaved-changes question, then the transfer "l", which replaces
    // set 0 with the device's program.
    void ReadCommand(const std::function<bool()> &save);

    // One transfer in direction "s" (write) or "l" (read). Reports to the user itself.
    void Transfer(const QString &direction);

    // After a successful write, read the device back and compare it with the program: the
    // result message says "written and verified" or lists what differs.
    void setVerifyAfterWrite(bool verify) { verify_ = verify; }
    // Reads the device's program into set 0 of `document` (a model of its own, set up for the
    // device), leaving the program in memory as it is. true when read and loaded.
    bool ReadInto(Model &document);
    // Whether the last command or transfer reached its end: the program written to the device,
    // or the device's program read and loaded.
    bool succeeded() const { return succeeded_; }
    // Whether the last write was read back and found the same; its message has said "written
    // and verified", so a front end adds no second one.
    bool verified() const { return verified_; }

    // The six lines of "zentrix.msg" for a direction, as written for the model's port setting.
    static QByteArray RequestText(const Model &model, const QString &direction, const QString &lastLine);
    // Writes "zentrix.msg" into a directory; false with the system's text.
    static bool WriteRequestFile(const QString &dir, const QByteArray &text, QString *error);
    // Reads "card.msg": two integers separated by a comma or a line break; nullopt when the
    // file is missing or holds no result code.
    static std::optional<ChipToolResult> ReadResultFile(const QString &path);
    // The message for a result code; empty for success (3) and codes outside the table.
    static QString ResultText(const Model &model, const ChipToolResult &result);
    // The chip tool beside the running program, else on PATH.
    static QString ChipToolProgram();

  private:
    bool runChipTool(const QString &direction);
    bool runSerialLink();
    void emptyProgramLists();
    bool loadReadBackImage();
    bool transferOnce(const QString &direction);
    void verifyWrittenProgram();

    AppContext &ctx_;
    SerialPort &port_;
    TransferProgress *progress_;
    SerialTimings timings_;
    QString chipTool_;
    std::function<void()> redraw_;
    bool reading_ = false;
    bool verify_ = false;
    Model *readTarget_ = nullptr; // a read goes here instead of into set 0
    bool succeeded_ = false;
    bool verified_ = false;
};

} // namespace zx
