// The main window.
#include "UFormQuorlet.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QRadioButton>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "UFormAbout.h"
#include "UFormCover.h"
#include "UFormGo.h"
#include "UEditor.h"
#include "UFormInput.h"
#include "UQuestions.h"
#include "USubExec.h"

namespace quorlet {

namespace {

const char* const kConfigFile = "QUORLET.CFG";
const char* const kUnknownTable = "unknown.tbl";

QString Text(const std::string& s) { return QString::fromStdString(s); }
std::string Bytes(const QString& s) { return s.toStdString(); }

std::string WithSlash(std::string dir)
{
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

QRadioButton* Radio(const char* name, const char* caption, QWidget* parent)
{
    auto* radio = new QRadioButton(QString::fromUtf8(caption), parent);
    radio->setObjectName(QString::fromUtf8(name));
    return radio;
}

// A captioned row of radio buttons; the panel makes its buttons one exclusive group.
QWidget* RadioPanel(const char* name, const char* caption, QWidget* parent,
                    std::initializer_list<std::pair<QRadioButton**, std::pair<const char*, const char*>>> radios,
                    bool stacked = false)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(QString::fromUtf8(name));
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    if (caption) column->addWidget(new QLabel(QString::fromUtf8(caption), panel));
    QBoxLayout* row = stacked ? static_cast<QBoxLayout*>(new QVBoxLayout) : new QHBoxLayout;
    row->setContentsMargins(caption ? 8 : 0, 0, 0, 0);
    row->setSpacing(stacked ? 0 : 8);
    bool first = true;
    for (const auto& [slot, names] : radios) {
        *slot = Radio(names.first, names.second, panel);
        if (first) (*slot)->setChecked(true);
        first = false;
        row->addWidget(*slot);
    }
    row->addStretch();
    column->addLayout(row);
    return panel;
}

// Hidden panels keep their room, so that the other controls do not jump about.
void KeepRoomWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

QGroupBox* Group(const char* name, const char* caption, QWidget* parent)
{
    auto* group = new QGroupBox(QString::fromUtf8(caption), parent);
    group->setObjectName(QString::fromUtf8(name));
    return group;
}

QVBoxLayout* GroupLayout(QGroupBox* group)
{
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(5, 2, 4, 4);
    layout->setSpacing(3);
    return layout;
}

}  // namespace

TFormQuorlet::TFormQuorlet(std::string programDir, std::vector<std::string> arguments, QWidget* parent)
    : QMainWindow(parent),
      programDir_(WithSlash(std::move(programDir))),
      arguments_(std::move(arguments)),
      tableFile_(programDir_ + kUnknownTable),
      toolPath_(programDir_),
      config_(*this, programDir_)
{
    setObjectName(QStringLiteral("FormQuorlet"));
    setWindowIcon(ProgramIcon());
    CreateControls();
    CreateMenu();
    setWindowTitle(QStringLiteral("Quorlet 4.61  -  ") + Text(FileNamePart(tableFile_)));
}

TFormQuorlet::~TFormQuorlet() = default;

void TFormQuorlet::Attach(TFormGo& output, TAboutBox& about)
{
    output_ = &output;
    about_ = &about;
    // The student looks at the output window: its keys save, edit and run as the menu's do.
    output.addAction(saveOutput_);
    output.addAction(edit_);
    output.addAction(minimize_);
}

void TFormQuorlet::CreateControls()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("CentralWidget"));
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 3, 4, 4);
    layout->setSpacing(3);

    labelWD_ = new QLabel(central);
    labelWD_->setObjectName(QStringLiteral("LabelWD"));
    labelWD_->setAutoFillBackground(true);
    QPalette workspace = labelWD_->palette();
    workspace.setColor(QPalette::Window, palette().color(QPalette::Dark));
    workspace.setColor(QPalette::WindowText, palette().color(QPalette::Base));
    labelWD_->setPalette(workspace);
    labelWD_->setContentsMargins(6, 2, 6, 2);
    labelWD_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(labelWD_);

    auto* groups = new QHBoxLayout;
    groups->setSpacing(4);
    layout->addLayout(groups, 1);

    QGroupBox* minimization = Group("GroupBoxMinimization", "Minimization Options", central);
    QVBoxLayout* m = GroupLayout(minimization);
    m->addWidget(RadioPanel("PanelMethod", "Minimization Method:", minimization,
                            {{&radioButton21_, {"RadioButton21", "MOM"}}, {&cbOptionS_, {"CBOptionS", "SOM"}}}, true));
    m->addWidget(RadioPanel("PanelResult", "Minimization Result:", minimization,
                            {{&radioButton4_, {"RadioButton4", "SOP"}}, {&cbOptionP_, {"CBOptionP", "POS"}}}, true));
    m->addWidget(RadioPanel("PanelCover", "Minimized Cover:", minimization,
                            {{&radioButton6_, {"RadioButton6", "On Cover"}}, {&cbOptionO_, {"CBOptionO", "Off Cover"}}},
                            true));
    m->addStretch();
    groups->addWidget(minimization, 0);

    QGroupBox* output = Group("GroupBoxOutput", "Output Format", central);
    QVBoxLayout* o = GroupLayout(output);
    o->setSpacing(1);
    cbOptionT_ = Radio("CBOptionT", "Table", output);
    cbOptionF_ = Radio("CBOptionF", "Pardovex Netlist", output);
    cbOptionD_ = Radio("CBOptionD", "Schematic Drawing", output);
    cbOptionE_ = Radio("CBOptionE", "Logic Equations", output);
    cbOptionA_ = Radio("CBOptionA", "ABEL", output);
    cbOptionT_->setChecked(true);
    for (QRadioButton* r : {cbOptionT_, cbOptionF_, cbOptionD_, cbOptionE_, cbOptionA_}) o->addWidget(r);

    panelOutputFormat_ = new QWidget(output);
    panelOutputFormat_->setObjectName(QStringLiteral("PanelOutputFormat"));
    auto* gateColumn = new QVBoxLayout(panelOutputFormat_);
    gateColumn->setContentsMargins(0, 3, 0, 0);
    gateColumn->setSpacing(2);
    gateColumn->addWidget(
        RadioPanel("PanelPolarity", "Gate Polarity:", panelOutputFormat_,
                   {{&cbOptionsI_, {"CBOptionsI", "Normal"}}, {&cbOptionI_, {"CBOptionI", "Inverted"}}}));
    auto* libraryRow = new QVBoxLayout;
    libraryRow->setSpacing(1);
    libraryRow->addWidget(new QLabel(QStringLiteral("Gate Library:"), panelOutputFormat_));
    cbLibrary_ = new QComboBox(panelOutputFormat_);
    cbLibrary_->setObjectName(QStringLiteral("CBLibrary"));
    cbLibrary_->setEditable(true);
    cbLibrary_->setInsertPolicy(QComboBox::NoInsert);
    cbLibrary_->setEditText(QStringLiteral("GENERICS.LIB"));
    cbLibrary_->setMinimumContentsLength(10);
    cbLibrary_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    libraryRow->addWidget(cbLibrary_, 1);
    gateColumn->addLayout(libraryRow);
    KeepRoomWhenHidden(panelOutputFormat_);
    o->addWidget(panelOutputFormat_);

    panelNodeExtention_ = new QWidget(output);
    panelNodeExtention_->setObjectName(QStringLiteral("PanelNodeExtention"));
    auto* nodeRow = new QHBoxLayout(panelNodeExtention_);
    nodeRow->setContentsMargins(0, 2, 0, 0);
    nodeRow->setSpacing(4);
    nodeRow->addWidget(new QLabel(QStringLiteral("Netlist Node Extension:"), panelNodeExtention_));
    editNNE_ = new QLineEdit(panelNodeExtention_);
    editNNE_->setObjectName(QStringLiteral("EditNNE"));
    editNNE_->setMaxLength(2);
    editNNE_->setFixedWidth(editNNE_->fontMetrics().horizontalAdvance(QStringLiteral("MMM")) + 12);
    nodeRow->addWidget(editNNE_);
    nodeRow->addStretch();
    KeepRoomWhenHidden(panelNodeExtention_);
    o->addWidget(panelNodeExtention_);
    o->addStretch();
    groups->addWidget(output, 0);

    groupBoxState_ = Group("GroupBoxState", "State Machine Options", central);
    QVBoxLayout* s = GroupLayout(groupBoxState_);
    label9_ = new QLabel(QStringLiteral("Flipflop Type:"), groupBoxState_);
    label9_->setObjectName(QStringLiteral("Label9"));
    // "Device Dependent" may take a second line rather than widen the window.
    label9_->setWordWrap(true);
    s->addWidget(label9_);
    panel6_ = RadioPanel("Panel6", nullptr, groupBoxState_,
                         {{&flipD_, {"FlipD", "D"}},
                          {&flipT_, {"FlipT", "T"}},
                          {&flipJK_, {"FlipJK", "JK"}},
                          {&flipSR_, {"FlipSR", "SR"}}});
    KeepRoomWhenHidden(panel6_);
    s->addWidget(panel6_);
    panel7_ = RadioPanel("Panel7", "Moore Enforcement:", groupBoxState_,
                         {{&radioButton18_, {"RadioButton18", "No"}}, {&cbOptionM_, {"CBoptionM", "Yes"}}});
    s->addWidget(panel7_);
    panelNoRegisterOutput_ =
        RadioPanel("PanelNoRegisterOutput", "State Register Output:", groupBoxState_,
                   {{&radioButton20_, {"RadioButton20", "No"}}, {&cbOptionR_, {"CBOptionR", "Yes"}}});
    KeepRoomWhenHidden(panelNoRegisterOutput_);
    s->addWidget(panelNoRegisterOutput_);
    s->addStretch();

    // Extra outputs written beside the result; each shows when its stage is in the program.
    groupBoxExtra_ = Group("GroupBoxExtra", "Extra Outputs", central);
    auto* extra = new QGridLayout(groupBoxExtra_);
    extra->setContentsMargins(5, 2, 4, 4);
    extra->setVerticalSpacing(1);
    auto check = [this](const char* name, const char* caption) {
        auto* box = new QCheckBox(QString::fromUtf8(caption), groupBoxExtra_);
        box->setObjectName(QString::fromUtf8(name));
        connect(box, &QCheckBox::toggled, this, &TFormQuorlet::BuildCommandLine);
        return box;
    };
    cbKmap_ = check("CBKmap", "Karnaugh maps");
    cbVerilog_ = check("CBVerilog", "Verilog");
    cbVhdl_ = check("CBVhdl", "VHDL");
    extra->addWidget(cbKmap_, 0, 0, 1, 2);
    extra->addWidget(cbVerilog_, 1, 0);
    extra->addWidget(cbVhdl_, 1, 1);
    extra->setColumnStretch(2, 1);

    auto* right = new QVBoxLayout;
    right->setSpacing(4);
    right->addWidget(groupBoxState_, 1);
    right->addWidget(groupBoxExtra_);
    groups->addLayout(right, 1);

    auto* debugRow = new QHBoxLayout;
    editCmd_ = new QLineEdit(central);
    editCmd_->setObjectName(QStringLiteral("EditCmd"));
    editCmd_->setReadOnly(true);
    cbDebug_ = new QCheckBox(QStringLiteral("debug"), central);
    cbDebug_->setObjectName(QStringLiteral("CBDebug"));
    cbDebug_->setChecked(true);
    debugRow->addWidget(editCmd_, 1);
    debugRow->addWidget(cbDebug_);
    layout->addLayout(debugRow);
    editCmd_->hide();
    cbDebug_->hide();

    for (QRadioButton* r : findChildren<QRadioButton*>())
        connect(r, &QRadioButton::clicked, this, &TFormQuorlet::BuildCommandLine);
    connect(cbLibrary_, &QComboBox::currentTextChanged, this, &TFormQuorlet::BuildCommandLine);
    connect(editNNE_, &QLineEdit::textChanged, this, &TFormQuorlet::BuildCommandLine);
}

void TFormQuorlet::CreateMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto item = [this](QMenu* menu, const char* name, const char* caption, QKeySequence keys, auto slot) {
        QAction* action = menu->addAction(QString::fromUtf8(caption));
        action->setObjectName(QString::fromUtf8(name));
        if (!keys.isEmpty()) action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };

    QMenu* file = bar->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File1"));
    item(file, "Open1", "Open...", QKeySequence(Qt::CTRL | Qt::Key_O), &TFormQuorlet::ChooseTableFile);
    saveOutput_ =
        item(file, "SaveOutput1", "Save Output...", QKeySequence(Qt::CTRL | Qt::Key_S), &TFormQuorlet::SaveOutput);
    file->addSeparator();
    item(file, "Exit1", "Exit", QKeySequence(Qt::CTRL | Qt::Key_F4), &QWidget::close);

    QMenu* run = bar->addMenu(QStringLiteral("Run"));
    run->setObjectName(QStringLiteral("Run1"));
    edit_ = item(run, "Edit1", "Edit", QKeySequence(Qt::Key_F3), &TFormQuorlet::EditTable);
    item(run, "Refresh1", "Refresh", QKeySequence(Qt::Key_F5), &TFormQuorlet::Refresh);
    minimize_ = item(run, "Minimize1", "Minimize", QKeySequence(Qt::Key_F9), &TFormQuorlet::Minimize);
    // Shown when the program has the answer check.
    checkAnswer_ = item(run, "CheckAnswer1", "Check Answer...", QKeySequence(), &TFormQuorlet::ChooseAnswers);

    QMenu* help = bar->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("Help1"));
    for (int n = 1; n <= TConfig::kHelpItems; ++n) {
        QAction* action = help->addAction(QString());
        action->setObjectName(QStringLiteral("Help") + QString::number(n) + QStringLiteral("1"));
        action->setVisible(false);
        connect(action, &QAction::triggered, this, [this, n] {
            // The browser runs on its own; a page that does not exist is not reported.
            QDesktopServices::openUrl(QUrl::fromLocalFile(Text(config_.HelpPath(n))));
        });
        helpItems_.push_back(action);
    }
    help->addSeparator();
    item(help, "About1", "About...", QKeySequence(Qt::CTRL | Qt::Key_A), [this] {
        if (about_) about_->exec();
    });
}

void TFormQuorlet::ShowMessage(const std::string& text)
{
    if (messageHandler) messageHandler(Text(text));
    else QMessageBox::information(this, QStringLiteral("Quorlet"), Text(text));
}

void TFormQuorlet::SetHelpItem(int index, const std::string& caption, const std::string& /*file*/)
{
    if (index < 1 || index > static_cast<int>(helpItems_.size())) return;
    helpItems_[index - 1]->setText(Text(caption));
    helpItems_[index - 1]->setVisible(true);
}

void TFormQuorlet::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!started_) {
        started_ = true;
        Start();
    }
}

void TFormQuorlet::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted()) emit Closed();
}

void TFormQuorlet::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && started_) ApplyWindowSize();
}

void TFormQuorlet::Start()
{
    tableFile_ = programDir_ + kUnknownTable;

    std::vector<TConfigItem> items = {
        {"QUORLET_PATH", true, {}}, {"WORKDIR", true, {}}, {"DEBUG", false, {}}, {"DEFAULT_LIB", false, {}}};
    toolPath_ = programDir_;
    debugAllowed_ = false;
    if (config_.ReadConfig(kConfigFile, items)) {
        if (!items[0].value.empty()) toolPath_ = items[0].value;
        if (!items[1].value.empty()) tableFile_ = items[1].value + kUnknownTable;
        debugAllowed_ = items[2].value == "ON";
        defaultLibrary_ = items[3].value;
    }
    config_.SetHelpDir(toolPath_);

    FillLibraryList();

    const std::vector<std::string> stages = RegisteredSubTools();
    auto registered = [&stages](const char* name) {
        return std::find(stages.begin(), stages.end(), name) != stages.end();
    };
    cbKmap_->setVisible(registered("KMAP"));
    cbVerilog_->setVisible(registered("VERILOG"));
    cbVhdl_->setVisible(registered("VHDL"));
    groupBoxExtra_->setVisible(!cbKmap_->isHidden() || !cbVerilog_->isHidden() || !cbVhdl_->isHidden());
    checkAnswer_->setVisible(registered("CHECK"));

    if (!arguments_.empty()) tableFile_ = TableFileFromArguments(arguments_);

    BuildCommandLine();
    ApplyWindowSize();
    move(40, 40);
}

void TFormQuorlet::FillLibraryList()
{
    const std::vector<std::string> libraries = FindMatches(toolPath_, "*.lib");
    QSignalBlocker quiet(cbLibrary_);
    cbLibrary_->clear();
    for (const std::string& name : libraries) cbLibrary_->addItem(Text(name));
    if (libraries.empty()) {
        // Nothing to choose from: the usual name stays, and the run reports the missing library.
        cbLibrary_->setEditText(QStringLiteral("GENERICS.LIB"));
        return;
    }
    int selected = 0;
    for (std::size_t i = 0; i < libraries.size(); ++i)
        if (UpperCopy(libraries[i]) == UpperCopy(defaultLibrary_)) {
            selected = static_cast<int>(i);
            break;
        }
    cbLibrary_->setCurrentIndex(selected);
}

void TFormQuorlet::ApplyWindowSize()
{
    const QScreen* display = screen() ? screen() : QGuiApplication::primaryScreen();
    const bool dense = display && display->logicalDotsPerInch() > 100;
    int width = dense ? 692 : 563;
    int height = dense ? 412 : 336;
    if (debugAllowed_) height += 32;
    editCmd_->setVisible(debugAllowed_);
    cbDebug_->setVisible(debugAllowed_);
    resize(width, height);
}

TCommandOptions TFormQuorlet::Options() const
{
    TCommandOptions o;
    o.singleOutput = cbOptionS_->isChecked();
    o.productOfSums = cbOptionP_->isChecked();
    o.offCover = cbOptionO_->isChecked();
    if (cbOptionF_->isChecked()) o.output = TOutputFormat::Netlist;
    else if (cbOptionD_->isChecked()) o.output = TOutputFormat::Drawing;
    else if (cbOptionE_->isChecked()) o.output = TOutputFormat::Equations;
    else if (cbOptionA_->isChecked()) o.output = TOutputFormat::Abel;
    else o.output = TOutputFormat::Table;
    o.inverted = cbOptionI_->isChecked();
    o.library = Bytes(cbLibrary_->currentText());
    o.nodeExtension = Bytes(editNNE_->text());
    o.flipflop = flipT_->isChecked() ? "T" : flipJK_->isChecked() ? "JK" : flipSR_->isChecked() ? "SR" : "D";
    o.moore = cbOptionM_->isChecked();
    o.registerOutput = cbOptionR_->isChecked();
    o.tableFile = tableFile_;
    o.kmap = cbKmap_->isVisibleTo(this) && cbKmap_->isChecked();
    o.verilog = cbVerilog_->isVisibleTo(this) && cbVerilog_->isChecked();
    o.vhdl = cbVhdl_->isVisibleTo(this) && cbVhdl_->isChecked();
    return o;
}

std::string TFormQuorlet::CommandLine() const { return Bytes(editCmd_->text()); }

void TFormQuorlet::BuildCommandLine()
{
    const bool stateMachine = DeclaresStateMachine(tableFile_);
    groupBoxState_->setEnabled(stateMachine);
    QPalette captionColour = groupBoxState_->palette();
    const QColor colour = stateMachine ? QColor(Qt::black) : QColor(128, 128, 128);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        captionColour.setColor(group, QPalette::WindowText, colour);
    groupBoxState_->setPalette(captionColour);

    std::string dir = DirectoryPart(tableFile_);
    if (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    labelWD_->setText(QStringLiteral("Work Directory: ") + Text(dir));

    const bool gates = cbOptionF_->isChecked() || cbOptionD_->isChecked();
    panelOutputFormat_->setVisible(gates);
    panelNoRegisterOutput_->setVisible(gates || cbOptionA_->isChecked());
    panelNodeExtention_->setVisible(cbOptionF_->isChecked());
    panel6_->setVisible(!cbOptionA_->isChecked());
    label9_->setText(cbOptionA_->isChecked() ? QStringLiteral("Flipflop Type:  Device Dependent")
                                             : QStringLiteral("Flipflop Type:"));

    editCmd_->setText(Text(quorlet::BuildCommandLine(Options())));
    setWindowTitle(QStringLiteral("Quorlet 4.61  -  ") + Text(FileNamePart(tableFile_)));
}

void TFormQuorlet::Refresh()
{
    BuildCommandLine();
    ApplyWindowSize();
}

void TFormQuorlet::Minimize()
{
    if (!output_ || output_->Running()) return;
    BuildCommandLine();
    DebugEnabled = debugAllowed_ && cbDebug_->isChecked();
    output_->ShowAndRun(x() + 40, y() + 80, Text(FileNamePart(tableFile_)), CommandLine(), DirectoryPart(tableFile_));
    if (cbOptionT_->isChecked() || cbOptionE_->isChecked()) {
        QApplication::processEvents();
        output_->raise();
        output_->activateWindow();
    }
}

void TFormQuorlet::CheckAnswers(const std::vector<std::string>& answerFiles)
{
    if (!output_ || output_->Running() || answerFiles.empty()) return;
    BuildCommandLine();
    DebugEnabled = debugAllowed_ && cbDebug_->isChecked();
    // The check makes runs of its own; the extra outputs are no part of them.
    TCommandOptions options = Options();
    options.kmap = options.verilog = options.vhdl = false;
    std::string caption = FileNamePart(answerFiles.front());
    if (answerFiles.size() > 1) caption += " ...";
    output_->ShowAndCheck(x() + 40, y() + 80, Text(caption + "  -  " + FileNamePart(tableFile_)), answerFiles,
                          quorlet::BuildCommandLine(options), DirectoryPart(tableFile_));
}

void TFormQuorlet::ChooseAnswers()
{
    const QStringList chosen =
        QFileDialog::getOpenFileNames(this, QStringLiteral("Check Answer"), Text(DirectoryPart(tableFile_)),
                                      QStringLiteral("Answer Files (*.txt *.equ);;All Files (*)"));
    std::vector<std::string> answers;
    for (const QString& file : chosen) answers.push_back(Bytes(file));
    CheckAnswers(answers);
}

void TFormQuorlet::OpenTableFile(const std::string& path)
{
    tableFile_ = path;
    if (output_) output_->ClearMemo();
    BuildCommandLine();
}

void TFormQuorlet::ChooseTableFile()
{
    std::string start = tableFile_;
    if (!FileExists(start)) start = DirectoryPart(tableFile_) + kUnknownTable;
    const QString chosen = QFileDialog::getOpenFileName(this, QStringLiteral("Open"), Text(start),
                                                        QStringLiteral("Table Files (*.tbl);;All Files (*)"));
    if (chosen.isEmpty()) BuildCommandLine();
    else OpenTableFile(Bytes(chosen));
}

bool TFormQuorlet::SaveOutputTo(const std::string& path)
{
    if (output_ && output_->SaveLines(path)) return true;
    ShowMessage("Unable to write " + path + "!");
    return false;
}

void TFormQuorlet::SaveOutput()
{
    const QString chosen =
        QFileDialog::getSaveFileName(this, QStringLiteral("Save Output"), Text(OutputSaveName(tableFile_)),
                                     QStringLiteral("Text Files (*.txt);;All Files (*)"));
    if (!chosen.isEmpty()) SaveOutputTo(Bytes(chosen));
}

void TFormQuorlet::EditTable()
{
    if (!FileExists(tableFile_)) {
        ShowMessage(tableFile_ + " not found!");
        return;
    }
    const QUrl url = QUrl::fromLocalFile(Text(tableFile_));
    const bool opened = desktopOpener ? desktopOpener(url) : QDesktopServices::openUrl(url);
    if (!opened && !StartFallbackEditor()) ShowMessage(NoEditorMessage(tableFile_));
}

bool TFormQuorlet::StartFallbackEditor()
{
    TEditorLookup lookup{[](const std::string& name) { return Bytes(qEnvironmentVariable(name.c_str())); },
                         [](const std::string& name) { return Bytes(QStandardPaths::findExecutable(Text(name))); }};
    for (const TEditorCommand& command : EditorCommands(tableFile_, lookup)) {
        QStringList arguments;
        for (const std::string& a : command.arguments) arguments << Text(a);
        if (QProcess::startDetached(Text(command.program), arguments, Text(DirectoryPart(tableFile_)))) return true;
    }
    return false;
}

TQuorletWindows::TQuorletWindows(std::string programDir, std::vector<std::string> arguments)
    : main_(std::make_unique<TFormQuorlet>(std::move(programDir), std::move(arguments))),
      output_(std::make_unique<TFormGo>()),
      about_(std::make_unique<TAboutBox>()),
      cover_(std::make_unique<TFormCover>()),
      input_(std::make_unique<TFormInput>()),
      questions_(std::make_unique<TWindowQuestions>(*input_, *cover_))
{
    output_->setWindowIcon(ProgramIcon());
    main_->Attach(*output_, *about_);
    SetQuestions(questions_.get());
}

TQuorletWindows::~TQuorletWindows()
{
    SetQuestions(nullptr);
    Console().Unbind();
}

}  // namespace quorlet
