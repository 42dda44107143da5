// The output window: runs the pipeline driver with the console bound to its memo, and below the
// text shows the pictures the run drew: the circuit of a schematic drawing, the Karnaugh maps.
#pragma once

#include <QMargins>
#include <QRect>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "IORedirect.h"

class QAction;
class QPlainTextEdit;
class QSplitter;

namespace quorlet {

class TPicturePane;

// Where a window of the wanted place and size goes so that all of it, frame included, stays
// inside the screen's available area: it keeps its place and size where it can, moves back onto
// the screen where it sticks out, and shrinks only where the screen is smaller than the window.
QRect FitOnScreen(const QRect& wanted, const QRect& available, const QMargins& frame);

// The memo's lines as the console sees them. The bytes the stages wrote are kept as written, so
// that saving the output loses nothing, and the memo shows them.
class TMemoTarget : public LineTarget {
public:
    explicit TMemoTarget(QPlainTextEdit& memo) : memo_(memo) {}
    int LineCount() const override { return static_cast<int>(lines_.size()); }
    void AppendToLine(int index, std::string_view text) override;
    void AddLine(std::string_view text) override;
    void Clear() override;
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    QPlainTextEdit& memo_;
    std::vector<std::string> lines_;
};

class TFormGo : public QWidget {
    Q_OBJECT
public:
    explicit TFormGo(QWidget* parent = nullptr);
    ~TFormGo() override;

    void ShowAndRun(int left, int top, const QString& caption, const std::string& commandLine,
                    const std::string& workDir);
    // Checks the answer files against the table of the command line (the options and the table
    // as the main window builds them, without extra outputs); the verdicts fill the memo.
    void ShowAndCheck(int left, int top, const QString& caption, const std::vector<std::string>& answerFiles,
                      const std::string& commandLine, const std::string& workDir);

    void ClearMemo();
    const std::vector<std::string>& Lines() const { return target_.Lines(); }
    // False when the file cannot be written.
    bool SaveLines(const std::string& fileName) const;
    // The circuit of a drawing run, the maps of a run with "--kmap".
    bool PictureShown() const;
    bool MapsShown() const;
    TPicturePane& Circuit() { return *circuit_; }
    TPicturePane& Maps() { return *maps_; }
    bool Running() const { return running_; }

    // Zoom the picture that has the focus, or every picture shown when none has it.
    void ZoomIn();
    void ZoomOut();
    void FitToWidth();

    // Moves the window back inside its screen when its frame sticks out.
    void KeepOnScreen();

private:
    struct PictureStamp {
        std::filesystem::path path;
        std::optional<std::filesystem::file_time_type> before;
    };
    struct RunPictures {
        std::optional<PictureStamp> circuit, maps;
    };
    static RunPictures PicturesOfRun(const std::string& commandLine);
    bool ShowIfNew(TPicturePane& pane, const std::optional<PictureStamp>& stamp);
    void ShowPictures(const RunPictures& pictures);
    void HidePictures();
    std::vector<TPicturePane*> ZoomTargets() const;
    void PlaceAndShow(int left, int top);
    // Shows the window, enters the work directory and does the work with the console bound to
    // the memo; false when the directory cannot be entered (the memo says so).
    bool RunInMemo(int left, int top, const QString& caption, const std::string& workDir,
                   const std::function<void()>& work);

    QSplitter* splitter_;
    QPlainTextEdit* memo_;
    TPicturePane* circuit_;
    TPicturePane* maps_;
    TMemoTarget target_;
    bool running_ = false;
};

}  // namespace quorlet
