// The output window: runs the pipeline driver with the console bound to its memo, and after a
// schematic drawing run shows the circuit picture beside the text.
#pragma once

#include <QWidget>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "IORedirect.h"

class QPlainTextEdit;
class QScrollArea;
class QSplitter;

namespace quorlet {

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

    void ClearMemo();
    const std::vector<std::string>& Lines() const { return target_.Lines(); }
    // False when the file cannot be written.
    bool SaveLines(const std::string& fileName) const;
    bool PictureShown() const;
    bool Running() const { return running_; }

private:
    struct PictureStamp {
        std::filesystem::path path;
        std::optional<std::filesystem::file_time_type> before;
    };
    static std::optional<PictureStamp> PictureOfRun(const std::string& commandLine);
    void ShowPictureIfNew(const std::optional<PictureStamp>& stamp);
    void HidePicture();

    QSplitter* splitter_;
    QPlainTextEdit* memo_;
    QScrollArea* pictureArea_;
    TMemoTarget target_;
    bool running_ = false;
};

}  // namespace quorlet
