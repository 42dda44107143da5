// The main window: the table file, the options, the pipeline command line built from them, and
// the commands Open, Save Output, Edit, Refresh and Minimize.
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "UCommandLine.h"
#include "UConfig.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QUrl;
class QWidget;

namespace quorlet {

class TFormGo;
class TAboutBox;

class TFormQuorlet : public QMainWindow, public TConfigOwner {
    Q_OBJECT
public:
    // The program directory holds "QUORLET.CFG"; the arguments may name the table file.
    TFormQuorlet(std::string programDir, std::vector<std::string> arguments, QWidget* parent = nullptr);
    ~TFormQuorlet() override;

    void Attach(TFormGo& output, TAboutBox& about);

    // Messages go here; by default a message box. Tests catch them instead.
    std::function<void(const QString&)> messageHandler;
    // Opens a file in the desktop's application for it; false when there is none. By default
    // QDesktopServices; tests stand in for a desktop without one.
    std::function<bool(const QUrl&)> desktopOpener;

    const std::string& TableFile() const { return tableFile_; }
    const std::string& ToolPath() const { return toolPath_; }
    bool DebugAllowed() const { return debugAllowed_; }
    const std::string& DefaultLibrary() const { return defaultLibrary_; }
    const TConfig& Config() const { return config_; }
    std::string CommandLine() const;

    // The commands of the menu; the dialogs of Open and Save Output end in these.
    void BuildCommandLine();
    void Refresh();
    void Minimize();
    void OpenTableFile(const std::string& path);
    bool SaveOutputTo(const std::string& path);
    // Checks the answer files against the table with the window's options; the verdicts go to
    // the output window.
    void CheckAnswers(const std::vector<std::string>& answerFiles);

    void ShowMessage(const std::string& text) override;
    void SetHelpItem(int index, const std::string& caption, const std::string& file) override;

signals:
    // The program ends with the main window, whatever other windows are open.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void CreateControls();
    void CreateMenu();
    void Start();
    void FillLibraryList();
    void ApplyWindowSize();
    TCommandOptions Options() const;
    void ChooseTableFile();
    void SaveOutput();
    void EditTable();
    void ChooseAnswers();
    // Starts an editor on the table when the desktop has no application for it.
    bool StartFallbackEditor();

    std::string programDir_;
    std::vector<std::string> arguments_;
    std::string tableFile_;
    std::string toolPath_;
    bool debugAllowed_ = false;
    std::string defaultLibrary_;
    TConfig config_;
    bool started_ = false;
    TFormGo* output_ = nullptr;
    TAboutBox* about_ = nullptr;

    QLabel* labelWD_;
    QRadioButton *radioButton21_, *cbOptionS_, *radioButton4_, *cbOptionP_, *radioButton6_, *cbOptionO_;
    QRadioButton *cbOptionT_, *cbOptionF_, *cbOptionD_, *cbOptionE_, *cbOptionA_;
    QRadioButton *cbOptionsI_, *cbOptionI_;
    QComboBox* cbLibrary_;
    QLineEdit* editNNE_;
    QWidget *panelOutputFormat_, *panelNodeExtention_, *panel6_, *panel7_, *panelNoRegisterOutput_;
    QGroupBox* groupBoxState_;
    QLabel* label9_;
    QRadioButton *flipD_, *flipT_, *flipJK_, *flipSR_;
    QRadioButton *radioButton18_, *cbOptionM_, *radioButton20_, *cbOptionR_;
    QLineEdit* editCmd_;
    QCheckBox* cbDebug_;
    QGroupBox* groupBoxExtra_;
    QCheckBox *cbKmap_, *cbVerilog_, *cbVhdl_;
    QAction* saveOutput_ = nullptr;
    QAction* edit_ = nullptr;
    QAction* minimize_ = nullptr;
    QAction* checkAnswer_ = nullptr;
    std::vector<QAction*> helpItems_;
};

// The five windows of the program, created in their start-up order, with the stages' questions
// bound to the dialogs for as long as they exist.
class TQuorletWindows {
public:
    TQuorletWindows(std::string programDir, std::vector<std::string> arguments);
    ~TQuorletWindows();
    TQuorletWindows(const TQuorletWindows&) = delete;
    TQuorletWindows& operator=(const TQuorletWindows&) = delete;

    TFormQuorlet& Main() { return *main_; }
    TFormGo& Output() { return *output_; }
    TAboutBox& About() { return *about_; }
    class TFormCover& Cover() { return *cover_; }
    class TFormInput& Input() { return *input_; }

private:
    std::unique_ptr<TFormQuorlet> main_;
    std::unique_ptr<TFormGo> output_;
    std::unique_ptr<TAboutBox> about_;
    std::unique_ptr<class TFormCover> cover_;
    std::unique_ptr<class TFormInput> input_;
    std::unique_ptr<class TWindowQuestions> questions_;
};

}  // namespace quorlet
