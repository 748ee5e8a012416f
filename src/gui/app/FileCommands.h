#pragma once

#include <QString>

namespace zx {

struct AppContext;
class MainWindow;
enum class LoadResult : int;
struct LoadDetail;

// The File commands of the main window on program files: Open, Save, Save As, the sample's
// Open and Close, and the unsaved-changes question that New, Open and Exit ask first. Every one
// gives the working directory back as it found it.
class FileCommands {
  public:
    FileCommands(AppContext &context, MainWindow &window);

    // The unsaved-changes question; false when the command is to stop. `onlyWithRecords`: an
    // empty program is let go without asking; `exitForm`: the wording of Exit.
    bool confirmDiscard(bool onlyWithRecords, bool exitForm);
    void open();
    // Opens `path` after the unsaved-changes question, with the messages of open().
    void openFile(const QString &path);
    bool save();
    bool saveAs();
    void openSample();
    void closeSample();
    bool sampleLoaded() const { return sampleLoaded_; }

  private:
    void load(const QString &path);
    void tellLoadResult(LoadResult result, const LoadDetail &detail);
    // Save over a file that changed on disk since it was opened: overwrite, reload or cancel.
    // true when saving may go on.
    bool settleDiskChange();

    AppContext &ctx_;
    MainWindow &window_;
    bool sampleLoaded_ = false;
};

} // namespace zx
