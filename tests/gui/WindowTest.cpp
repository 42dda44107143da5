// The windows on the offscreen platform: the command line the main window builds from its
// controls, its start-up from the configuration, the output window's runs, and the dialogs.
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QFileDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QPainter>
#include <QtTest>
#ifdef QUORLET_HAVE_SVG
#include <QSvgRenderer>
#endif
#include <filesystem>
#include <functional>
#include <memory>

#include "Clock.h"
#include "StageTable.h"
#include "TestSupport.h"
#include "UEditor.h"
#include "UFormCover.h"
#include "UFormGo.h"
#include "UFormInput.h"
#include "USvgClip.h"
#include "UFormQuorlet.h"
#include "UPicturePane.h"
#include "USubExec.h"

using namespace quorlet;
namespace fs = std::filesystem;

namespace {

// A stand-in for the pipeline driver, so that the window's runs can be checked on their own.
struct FakeDriver : TSubExec {
    static inline std::string commandLine, workDir, cover;
    static inline int runs = 0;
    void Execute() override
    {
        ++runs;
        workDir = CurrentDir();
        commandLine.clear();
        for (int i = 1; i <= ParamCount(); ++i) commandLine += Param(i) + " ";
        Write("RUN ");
        WriteLine(std::to_string(runs));
        WriteLine("A LINE OF " + std::string(300, '-'));
        if (commandLine.find("ASK") != std::string::npos) {
            Write("SELECTED COVER: > ");
            Console().Flush();
            cover = Questions().AskCover();
            WriteLine(cover);
        }
        // Pictures wider than any pane, as a real sheet is.
        auto picture = [](const char* name) {
            std::ofstream svg(name);
            svg << "<svg xmlns='http://www.w3.org/2000/svg' width='2400' height='1600'>"
                   "<rect x='10' y='10' width='2380' height='1580' fill='none' stroke='black'/></svg>";
        };
        if (commandLine.find("/D") != std::string::npos) picture("pic.svg");
        if (commandLine.find("--kmap") != std::string::npos) picture("pic.kmap.svg");
    }
};

// Stands for an extra output's stage, whose presence shows its check box.
struct IdleStage : TSubExec {
    void Execute() override {}
};

void UseFakeDriver()
{
    ClearSubTools();
    RegisterSubTool("QUORLET", &MakeStage<FakeDriver>);
}

// Answers the next modal dialog once it is up.
void WhenModal(std::function<void(QWidget*)> answer)
{
    QTimer::singleShot(0, [answer] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            WhenModal(answer);
            return;
        }
        answer(modal);
    });
}

template <class T>
T* Child(QObject& parent, const char* name)
{
    T* child = parent.findChild<T*>(QString::fromUtf8(name));
    if (!child) qFatal("no control %s", name);
    return child;
}

// Takes the place of the desktop's default application.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls << url; }
};

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempWorkDir> dir_;
    std::unique_ptr<TQuorletWindows> windows_;
    std::unique_ptr<FixedClock> clock_;
    QStringList messages_;
    std::string programDir_;

    std::string Dir() const { return dir_->Path().string() + "/"; }
    void Write(const std::string& name, const std::string& text) { test::WriteFile(Dir() + name, text); }

    // Starts the windows with the program in the scratch directory.
    TFormQuorlet& Start(std::vector<std::string> args = {})
    {
        windows_ = std::make_unique<TQuorletWindows>(Dir(), std::move(args));
        windows_->Main().messageHandler = [this](const QString& m) { messages_ << m; };
        windows_->Main().show();
        return windows_->Main();
    }
    TFormQuorlet& Main() { return windows_->Main(); }
    void Click(const char* name) { Child<QRadioButton>(Main(), name)->click(); }
    QString Cmd() { return Child<QLineEdit>(Main(), "EditCmd")->text(); }
    bool Visible(const char* name) { return !Child<QWidget>(Main(), name)->isHidden(); }
    QStringList Memo()
    {
        QStringList lines;
        for (const auto& l : windows_->Output().Lines()) lines << QString::fromStdString(l);
        return lines;
    }

private slots:
    void init()
    {
        dir_ = std::make_unique<test::TempWorkDir>();
        clock_ = std::make_unique<FixedClock>(test::FixedTestTime());
        SetClock(clock_.get());
        messages_.clear();
        Write("QUORLET.CFG", "\" test installation\n");
        Write("exa.tbl", "TABLE exa\nINPUT A\nOUTPUT Y\n0 1\nEND\n");
        Write("sm.tbl", "TABLE sm\nINPUT X\nOUTPUT Y\nSTATES S0 S1\nEND\n");
        Write("GENERICS.LIB", "");
        UseFakeDriver();
    }
    void cleanup()
    {
        windows_.reset();
        SetClock(nullptr);
        DebugEnabled = false;
        dir_.reset();
    }

    void startSettings()
    {
        Start({Dir() + "exa.tbl"});
        QCOMPARE(Cmd(), QString("exa.tbl D "));
        QCOMPARE(Main().windowTitle(), QString("Quorlet 4.61  -  exa.tbl"));
        QCOMPARE(Child<QLabel>(Main(), "LabelWD")->text(),
                 QString::fromStdString("Work Directory: " + dir_->Path().string()));
        QVERIFY(!Visible("PanelOutputFormat"));
        QVERIFY(!Visible("PanelNoRegisterOutput"));
        QVERIFY(!Visible("PanelNodeExtention"));
        QVERIFY(Visible("Panel6"));
        QVERIFY(!Visible("EditCmd"));
        QVERIFY(!Visible("CBDebug"));
        QVERIFY(Child<QCheckBox>(Main(), "CBDebug")->isChecked());
        QCOMPARE(Child<QLabel>(Main(), "Label9")->text(), QString("Flipflop Type:"));
        QCOMPARE(Main().pos(), QPoint(40, 40));
        const bool dense = Main().screen()->logicalDotsPerInch() > 100;
        QCOMPARE(Main().size(), dense ? QSize(692, 412) : QSize(563, 336));
        QVERIFY(messages_.isEmpty());
        for (const char* first : {"RadioButton21", "RadioButton4", "RadioButton6", "CBOptionT", "CBOptionsI", "FlipD",
                                  "RadioButton18", "RadioButton20"})
            QVERIFY2(Child<QRadioButton>(Main(), first)->isChecked(), first);
    }

    void optionWordsInTheirOrder()
    {
        Start({Dir() + "sm.tbl"});
        for (const char* b : {"CBoptionM", "CBOptionP", "CBOptionO", "CBOptionE", "CBOptionS", "FlipSR"}) Click(b);
        QCOMPARE(Cmd(), QString(" /S /E /O /M /P sm.tbl SR "));
        Click("RadioButton21");
        Click("RadioButton4");
        Click("RadioButton6");
        Click("RadioButton18");
        Click("CBOptionT");
        QCOMPARE(Cmd(), QString("sm.tbl SR "));
    }

    void somDrawingOnGenerics()
    {
        Write("OTHER.LIB", "");
        Start({Dir() + "sm.tbl"});
        QCOMPARE(Child<QComboBox>(Main(), "CBLibrary")->count(), 2);
        QCOMPARE(Child<QComboBox>(Main(), "CBLibrary")->currentText(), QString("GENERICS.LIB"));
        Click("CBOptionS");
        Click("CBOptionD");
        QCOMPARE(Cmd(), QString(" /S /DGENERICS sm.tbl D "));
        QVERIFY(Visible("PanelOutputFormat"));
        QVERIFY(Visible("PanelNoRegisterOutput"));
        QVERIFY(!Visible("PanelNodeExtention"));
        Click("CBOptionR");
        Click("CBOptionI");
        QCOMPARE(Cmd(), QString(" /S /DGENERICS /R /I sm.tbl D "));
        Child<QComboBox>(Main(), "CBLibrary")->setCurrentIndex(1);
        QCOMPARE(Cmd(), QString(" /S /DOTHER /R /I sm.tbl D "));
    }

    void abelWithRegisterOutput()
    {
        Start({Dir() + "sm.tbl"});
        Click("FlipJK");
        Click("CBOptionA");
        QVERIFY(Visible("PanelNoRegisterOutput"));
        QVERIFY(!Visible("PanelOutputFormat"));
        QVERIFY(!Visible("Panel6"));
        QCOMPARE(Child<QLabel>(Main(), "Label9")->text(), QString("Flipflop Type:  Device Dependent"));
        Click("CBOptionR");
        Click("CBOptionI");  // hidden with its panel, and no word for ABEL
        QCOMPARE(Cmd(), QString(" /A /R sm.tbl JK "));
        QCOMPARE(Cmd().count("/R "), 1);
        Click("RadioButton20");
        QCOMPARE(Cmd(), QString(" /A sm.tbl JK "));
    }

    void netlistWithNodeExtensionOnDefaultLibrary()
    {
        Write("QUORLET.CFG", "DEFAULT_LIB = mylib.lib\n");
        Write("MYLIB.LIB", "");
        Start({Dir() + "exa.tbl"});
        auto* library = Child<QComboBox>(Main(), "CBLibrary");
        QCOMPARE(library->currentText(), QString("MYLIB.LIB"));
        Click("CBOptionF");
        QVERIFY(Visible("PanelNodeExtention"));
        QCOMPARE(Cmd(), QString(" /FMYLIB exa.tbl D "));
        auto* nne = Child<QLineEdit>(Main(), "EditNNE");
        QTest::keyClicks(nne, "3");
        QCOMPARE(Cmd(), QString(" /FMYLIB/3 exa.tbl D "));
        QTest::keyClicks(nne, "45");
        QCOMPARE(nne->text(), QString("34"));
        Click("CBOptionD");  // the extension belongs to the netlist only
        QCOMPARE(Cmd(), QString(" /DMYLIB exa.tbl D "));
    }

    void libraryWithoutLibExtensionIsPassedWhole()
    {
        Start({Dir() + "exa.tbl"});
        Click("CBOptionD");
        auto* library = Child<QComboBox>(Main(), "CBLibrary");
        library->setEditText("CMOS.GAT");
        QCOMPARE(Cmd(), QString(" /DCMOS.GAT exa.tbl D "));
        library->setEditText("/opt/libs/cmos.lib");
        QCOMPARE(Cmd(), QString(" /Dcmos exa.tbl D "));
    }

    void stateMachineGroupFollowsTheTable()
    {
        Write("light.tbl", "\" traffic light\nTABLE light\nINPUT car\nOUTPUT red\nSTATES S0 S1\nEND\n");
        Start({Dir() + "light.tbl"});
        auto* group = Child<QGroupBox>(Main(), "GroupBoxState");
        QVERIFY(group->isEnabled());
        QCOMPARE(group->palette().color(QPalette::WindowText), QColor(Qt::black));
        Main().OpenTableFile(Dir() + "exa.tbl");
        QVERIFY(!group->isEnabled());
        QCOMPARE(group->palette().color(QPalette::Disabled, QPalette::WindowText), QColor(128, 128, 128));
        Click("FlipT");  // a disabled group takes no clicks
        QCOMPARE(Cmd(), QString("exa.tbl D "));
        Write("other.tbl", "TABLE other\nINPUT A\nTERMS\nSTATES S0\n");
        Main().OpenTableFile(Dir() + "other.tbl");
        QVERIFY(!group->isEnabled());
        Main().OpenTableFile(Dir() + "missing.tbl");  // unreadable: no state machine, still a command line
        QVERIFY(!group->isEnabled());
        QCOMPARE(Cmd(), QString("missing.tbl D "));
        QCOMPARE(Main().windowTitle(), QString("Quorlet 4.61  -  missing.tbl"));
    }

    void missingConfigurationSaysSoAndKeepsTheDefaults()
    {
        fs::remove(Dir() + "QUORLET.CFG");
        Start();
        QCOMPARE(messages_.size(), 1);
        QVERIFY(messages_[0].endsWith("QUORLET.CFG not found!"));
        QCOMPARE(Main().TableFile(), Dir() + "unknown.tbl");
        QCOMPARE(Main().ToolPath(), Dir());
        QVERIFY(!Main().DebugAllowed());
        QCOMPARE(Cmd(), QString("unknown.tbl D "));
        QCOMPARE(Child<QComboBox>(Main(), "CBLibrary")->currentText(), QString("GENERICS.LIB"));
    }

    void configurationSetsPathsDebugAndHelp()
    {
        fs::create_directories(Dir() + "tools");
        fs::create_directories(Dir() + "work");
        test::WriteFile(Dir() + "tools/b.lib", "");
        test::WriteFile(Dir() + "tools/A.LIB", "");
        Write("QUORLET.CFG", "QUORLET_PATH = ./tools\" the tools\nWORKDIR = " + Dir() +
                                 "work\nDEBUG = on\n"
                                 "DEFAULT_LIB = B.LIB\nHELP = Manual,manual.htm\n");
        Start();
        QVERIFY(messages_.isEmpty());
        QCOMPARE(Main().ToolPath(), fs::canonical(Dir() + "tools").string() + "/");
        QCOMPARE(Main().TableFile(), Dir() + "work/unknown.tbl");
        QVERIFY(Main().DebugAllowed());
        QVERIFY(Visible("EditCmd"));
        QVERIFY(Visible("CBDebug"));
        const bool dense = Main().screen()->logicalDotsPerInch() > 100;
        QCOMPARE(Main().height(), (dense ? 412 : 336) + 32);
        auto* library = Child<QComboBox>(Main(), "CBLibrary");
        QCOMPARE(library->count(), 2);
        QCOMPARE(library->currentText(), QString("b.lib"));
        QAction* help = Child<QAction>(Main(), "Help11");
        QVERIFY(help->isVisible());
        QCOMPARE(help->text(), QString(" Manual"));
        QVERIFY(!Child<QAction>(Main(), "Help21")->isVisible());
        QCOMPARE(Main().Config().HelpPath(1), Main().ToolPath() + "manual.htm");
    }

    void libraryDirectoryWithoutLibraries()
    {
        fs::create_directories(Dir() + "empty");
        Write("QUORLET.CFG", "QUORLET_PATH = " + Dir() + "empty\n");
        Start({Dir() + "exa.tbl"});
        auto* library = Child<QComboBox>(Main(), "CBLibrary");
        QCOMPARE(library->count(), 0);
        Click("CBOptionF");
        QCOMPARE(Cmd(), QString(" /FGENERICS exa.tbl D "));
        QVERIFY(messages_.isEmpty());
    }

    void pathCutAtItsBlankIsJoined()
    {
        fs::create_directories(Dir() + "My Tables");
        test::WriteFile(Dir() + "My Tables/a.tbl", "TABLE a\nEND\n");
        Start({Dir() + "My", "Tables/a.tbl"});
        QCOMPARE(Main().TableFile(), Dir() + "My Tables/a.tbl");
        QCOMPARE(Cmd(), QString("a.tbl D "));
    }

    void menuItemsAndShortcuts()
    {
        Start();
        const std::pair<const char*, QKeySequence> items[] = {
            {"Open1", QKeySequence("Ctrl+O")},  {"SaveOutput1", QKeySequence("Ctrl+S")},
            {"Exit1", QKeySequence("Ctrl+F4")}, {"Edit1", QKeySequence("F3")},
            {"Refresh1", QKeySequence("F5")},   {"Minimize1", QKeySequence("F9")},
            {"About1", QKeySequence("Ctrl+A")}};
        for (const auto& [name, keys] : items) QCOMPARE(Child<QAction>(Main(), name)->shortcut(), keys);
        QStringList menus;
        for (QAction* a : Child<QMenuBar>(Main(), "MainMenu1")->actions()) menus << a->text();
        QCOMPARE(menus, QStringList({"File", "Run", "Help"}));

        // Exit ends the program even while the output window is open.
        windows_->Output().show();
        QSignalSpy closed(&Main(), &TFormQuorlet::Closed);
        Child<QAction>(Main(), "Exit1")->trigger();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!Main().isVisible());
    }

    void helpAndEditOpenTheirFilesWithoutWaiting()
    {
        Write("QUORLET.CFG", "HELP = Manual,missing.htm\n");
        Start({Dir() + "exa.tbl"});
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler("file", &recorder, "Open");
        Child<QAction>(Main(), "Help11")->trigger();
        Child<QAction>(Main(), "Edit1")->trigger();
        Main().OpenTableFile(Dir() + "gone.tbl");
        Child<QAction>(Main(), "Edit1")->trigger();
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(recorder.urls, QList<QUrl>({QUrl::fromLocalFile(QString::fromStdString(Dir() + "missing.htm")),
                                             QUrl::fromLocalFile(QString::fromStdString(Dir() + "exa.tbl"))}));
        QCOMPARE(messages_, QStringList({QString::fromStdString(Dir() + "gone.tbl not found!")}));
    }

    void minimizeRunsTheDriverInTheTableDirectory()
    {
        Write("QUORLET.CFG", "DEBUG = ON\n");
        Start({Dir() + "exa.tbl"});
        Click("CBOptionE");
        QApplication::setActiveWindow(&Main());
        QVERIFY(QTest::qWaitForWindowActive(&Main()));
        QTest::keyClick(&Main(), Qt::Key_F9);
        TFormGo& go = windows_->Output();
        QVERIFY(go.isVisible());
        QCOMPARE(go.windowTitle(), QString("exa.tbl"));
        QCOMPARE(go.pos(), Main().pos() + QPoint(40, 80));
        QCOMPARE(FakeDriver::commandLine, std::string("/E exa.tbl D "));
        QCOMPARE(fs::canonical(FakeDriver::workDir), fs::canonical(dir_->Path()));
        QVERIFY(DebugEnabled);
        QVERIFY(Memo().contains("RUN 1"));
        QVERIFY(Memo().contains("A LINE OF " + QString(300, '-')));
        QVERIFY(Memo().first().startsWith("Created SubExec: "));  // debugging was allowed and ticked
        auto* memo = Child<QPlainTextEdit>(go, "MemoOutput");
        QCOMPARE(memo->toPlainText(), Memo().join('\n'));
        QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
        QVERIFY(memo->isReadOnly());
        QVERIFY(memo->font().fixedPitch() || QFontInfo(memo->font()).fixedPitch());

        // The user moves the window: the next run leaves it there.
        go.move(333, 222);
        const QPoint moved = go.pos();
        Child<QCheckBox>(Main(), "CBDebug")->setChecked(false);
        Main().Minimize();
        QCOMPARE(go.pos(), moved);
        QVERIFY(!DebugEnabled);
        QCOMPARE(Memo(), QStringList({"RUN 2", "A LINE OF " + QString(300, '-')}));

        // Save Output writes the memo's lines as they are; Open of another table empties it.
        QVERIFY(Main().SaveOutputTo(Dir() + "out.txt"));
        QCOMPARE(QString::fromStdString(test::ReadFile(Dir() + "out.txt")), Memo().join('\n') + "\n");
        QVERIFY(!Main().SaveOutputTo(Dir() + "no/such/dir/out.txt"));
        QCOMPARE(messages_.size(), 1);
        Main().OpenTableFile(Dir() + "exa.tbl");
        QVERIFY(Memo().isEmpty());
        QVERIFY(memo->toPlainText().isEmpty());
    }

    void tableInAMissingDirectoryIsNotRun()
    {
        Start({Dir() + "gone/exa.tbl"});
        FakeDriver::runs = 0;
        Main().Minimize();
        QCOMPARE(FakeDriver::runs, 0);
        QCOMPARE(Memo().size(), 1);
        QVERIFY(Memo()[0].contains("WORK DIRECTORY"));
    }

    void drawingRunShowsTheNewPicture()
    {
        Start({Dir() + "pic.v2.tbl"});
        Write("pic.v2.tbl", "TABLE pic\nEND\n");
        Click("CBOptionD");
        Main().Minimize();
        QVERIFY(windows_->Output().PictureShown());
        Click("CBOptionT");
        Main().Minimize();
        QVERIFY(!windows_->Output().PictureShown());
        // A picture left by an earlier run is not shown as this run's circuit.
        fs::remove(Dir() + "pic.svg");
        Click("CBOptionD");
        Main().Minimize();
        QVERIFY(windows_->Output().PictureShown());
        ClearSubTools();
        RegisterSubTool("QUORLET", &MakeStage<TSubExec>);
        Main().Minimize();
        QVERIFY(!windows_->Output().PictureShown());
    }

    void shippedConfigurationFillsTheHelpMenu()
    {
        fs::copy_file(std::string(QUORLET_SOURCE_DIR) + "/lib/QUORLET.CFG", Dir() + "QUORLET.CFG",
                      fs::copy_options::overwrite_existing);
        Start({Dir() + "exa.tbl"});
        QVERIFY(messages_.isEmpty());
        QStringList shown;
        for (QAction* a : Child<QMenu>(Main(), "Help1")->actions())
            if (a->isVisible() && !a->isSeparator()) shown << a->text();
        QCOMPARE(shown, QStringList({" Getting started", " Table language", " Options and outputs", " State machines",
                                     "About..."}));
        UrlRecorder recorder;
        QDesktopServices::setUrlHandler("file", &recorder, "Open");
        Child<QAction>(Main(), "Help31")->trigger();
        QDesktopServices::unsetUrlHandler("file");
        QCOMPARE(recorder.urls,
                 QList<QUrl>({QUrl::fromLocalFile(QString::fromStdString(Dir() + "help/options-and-outputs.html"))}));
    }

    void placementKeepsTheWindowOnTheScreen()
    {
        const QRect lab(0, 0, 1024, 700);
        const QMargins frame(4, 30, 4, 4);
        QCOMPARE(FitOnScreen(QRect(84, 150, 870, 500), lab, frame), QRect(84, 150, 870, 500));
        const QRect low = FitOnScreen(QRect(84, 150, 870, 600), lab, frame);
        QCOMPARE(low.size(), QSize(870, 600));
        QCOMPARE(low.left(), 84);
        QCOMPARE(low.marginsAdded(frame).bottom(), lab.bottom());
        const QRect right = FitOnScreen(QRect(900, 40, 870, 300), lab, frame);
        QCOMPARE(right.size(), QSize(870, 300));
        QCOMPARE(right.marginsAdded(frame).right(), lab.right());
        QCOMPARE(FitOnScreen(QRect(-50, -50, 2000, 1500), lab, frame).marginsAdded(frame), lab);
        const QRect offset(1280, 0, 1024, 700);  // a second screen right of the first
        QVERIFY(offset.contains(FitOnScreen(QRect(1300, 300, 870, 600), offset, frame).marginsAdded(frame)));
    }

    void outputWindowStaysOnALabScreen()
    {
        // The test platform (tests/gui/screens.json) has a lab screen of 1024 x 700.
        QScreen* lab = nullptr;
        for (QScreen* s : QGuiApplication::screens())
            if (s->geometry().size() == QSize(1024, 700)) lab = s;
        if (!lab) QFAIL("no 1024 x 700 screen: run with QT_QPA_PLATFORM=offscreen:configfile=tests/gui/screens.json");
        const QRect area = lab->availableGeometry();
        Write("pic.tbl", "TABLE pic\nEND\n");
        Start({Dir() + "pic.tbl"});
        TFormGo& go = windows_->Output();
        auto onScreen = [&](const char* what) {
            QApplication::processEvents();
            QVERIFY2(area.contains(go.frameGeometry()), what);
            auto* memo = Child<QPlainTextEdit>(go, "MemoOutput");
            QVERIFY2(area.contains(QRect(memo->mapToGlobal(QPoint(0, 0)), memo->size())), what);
        };
        for (QPoint corner : {area.topLeft() + QPoint(40, 40), area.bottomRight() - QPoint(120, 120),
                              area.topRight() - QPoint(100, -10)}) {
            go.hide();
            Main().move(corner);
            Main().Minimize();
            QVERIFY(go.isVisible());
            onScreen("after a run");
            QVERIFY(area.contains(Main().frameGeometry()) || corner != area.topLeft() + QPoint(40, 40));
        }
        // With the circuit below the text the window keeps its place and size.
        const QRect before = go.frameGeometry();
        Click("CBOptionD");
        Main().Minimize();
        QVERIFY(go.PictureShown());
        onScreen("with the circuit");
        QCOMPARE(go.frameGeometry(), before);
    }

    void outputWindowKeepsItsDesignPlaceWhereThereIsRoom()
    {
        Start({Dir() + "exa.tbl"});
        Main().Minimize();
        TFormGo& go = windows_->Output();
        QCOMPARE(go.pos(), Main().pos() + QPoint(40, 80));
        QCOMPARE(go.size(), QSize(870, 600));
    }

    void keysOfTheMainMenuWorkInTheOutputWindow()
    {
        Start({Dir() + "exa.tbl"});
        Main().Minimize();
        TFormGo& go = windows_->Output();
        QApplication::setActiveWindow(&go);
        QVERIFY(QTest::qWaitForWindowActive(&go));
        QString title, proposed;
        WhenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            title = dialog->windowTitle();
            proposed = dialog->selectedFiles().value(0);
            dialog->selectFile(QString::fromStdString(Dir() + "saved.txt"));
            static_cast<QDialog*>(dialog)->accept();
        });
        QTest::keyClick(&go, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(title, QString("Save Output"));
        QCOMPARE(proposed, QString::fromStdString(Dir() + "exa.txt"));
        QCOMPARE(QString::fromStdString(test::ReadFile(Dir() + "saved.txt")), Memo().join('\n') + "\n");

        // F9 runs again from there.
        const int runs = FakeDriver::runs;
        QApplication::setActiveWindow(&go);
        QVERIFY(QTest::qWaitForWindowActive(&go));
        QTest::keyClick(&go, Qt::Key_F9);
        QCOMPARE(FakeDriver::runs, runs + 1);
    }

    void picturesOpenFittedToTheWidthAndZoom()
    {
        RegisterSubTool("KMAP", &MakeStage<IdleStage>);
        Write("pic.tbl", "TABLE pic\nEND\n");
        Start({Dir() + "pic.tbl"});
        Click("CBOptionD");
        Child<QCheckBox>(Main(), "CBKmap")->click();
        Main().Minimize();
        TFormGo& go = windows_->Output();
        QVERIFY(go.PictureShown());
        QVERIFY(go.MapsShown());
        QApplication::processEvents();
        for (TPicturePane* pane : {&go.Circuit(), &go.Maps()}) {
            QVERIFY(pane->FittingWidth());
            const int room = pane->Area()->viewport()->width();
            const int drawn = pane->Area()->widget()->width();
            QVERIFY2(drawn <= room && drawn >= room - 4, qPrintable(QString("%1 in %2").arg(drawn).arg(room)));
            QVERIFY(pane->Scale() < 1.0);
            QCOMPARE(pane->Area()->horizontalScrollBar()->value(), 0);
        }
        const double circuit = go.Circuit().Scale(), maps = go.Maps().Scale();

        // With no picture in focus the keys zoom both.
        QApplication::setActiveWindow(&go);
        QVERIFY(QTest::qWaitForWindowActive(&go));
        go.setFocus();
        QTest::keyClick(&go, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(go.Circuit().Scale(), circuit * TPicturePane::kZoomStep);
        QCOMPARE(go.Maps().Scale(), maps * TPicturePane::kZoomStep);
        QVERIFY(!go.Circuit().FittingWidth());
        QTest::keyClick(&go, Qt::Key_Minus, Qt::ControlModifier);
        QTest::keyClick(&go, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(go.Circuit().Scale(), circuit / TPicturePane::kZoomStep);
        QTest::keyClick(&go, Qt::Key_0, Qt::ControlModifier);
        QCOMPARE(go.Circuit().Scale(), circuit);
        QVERIFY(go.Circuit().FittingWidth());

        // The wheel with Ctrl zooms the picture under the mouse; without Ctrl it scrolls.
        QWidget* viewport = go.Circuit().Area()->viewport();
        const QPointF at(20, 20);
        QWheelEvent zoom(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                         Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &zoom);
        QCOMPARE(go.Circuit().Scale(), circuit * TPicturePane::kZoomStep);
        QCOMPARE(go.Maps().Scale(), maps);
        QWheelEvent scroll(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                           Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &scroll);
        QCOMPARE(go.Circuit().Scale(), circuit * TPicturePane::kZoomStep);

        // The buttons, and the limits.
        Child<QToolButton>(go.Circuit(), "ZoomOutButton")->click();
        QCOMPARE(go.Circuit().Scale(), circuit);
        for (int i = 0; i < 40; ++i) go.Circuit().ZoomIn();
        QCOMPARE(go.Circuit().Scale(), TPicturePane::kMaxScale);
        for (int i = 0; i < 60; ++i) go.Circuit().ZoomOut();
        QCOMPARE(go.Circuit().Scale(), TPicturePane::kMinScale);
        Child<QToolButton>(go.Circuit(), "FitButton")->click();
        QCOMPARE(go.Circuit().Scale(), circuit);

        // A picture that is no picture is not shown, and says nothing.
        Write("pic.kmap.svg", "not a picture");
        Click("CBOptionT");
        Child<QCheckBox>(Main(), "CBKmap")->click();
        ClearSubTools();
        RegisterSubTool("KMAP", &MakeStage<IdleStage>);
        RegisterSubTool("QUORLET", &MakeStage<IdleStage>);
        Child<QCheckBox>(Main(), "CBKmap")->click();
        Write("pic.kmap.svg", "<svg");  // written during no run: not this run's picture either
        Main().Minimize();
        QVERIFY(!go.MapsShown());
        QVERIFY(!go.PictureShown());
    }

    void editFallsBackToTheUsersEditorThenOneOnThePath()
    {
        Start({Dir() + "exa.tbl"});
        Main().desktopOpener = [](const QUrl&) { return false; };
        const std::string bin = Dir() + "bin/";
        fs::create_directories(bin);
        // Each fake editor leaves a note of how it was started.
        auto editor = [&](const std::string& name) {
            Write("bin/" + name, "#!/bin/sh\necho \"$@\" > '" + Dir() + name + ".ran'\n");
            fs::permissions(bin + name, fs::perms::owner_all);
        };
        for (const char* name : {"my-visual", "my-editor", "mousepad", "xterm"}) editor(name);
        struct Environment {
            QByteArray path = qgetenv("PATH"), visual = qgetenv("VISUAL"), editor = qgetenv("EDITOR");
            bool hadVisual = qEnvironmentVariableIsSet("VISUAL"), hadEditor = qEnvironmentVariableIsSet("EDITOR");
            ~Environment()
            {
                qputenv("PATH", path);
                if (hadVisual) qputenv("VISUAL", visual);
                else qunsetenv("VISUAL");
                if (hadEditor) qputenv("EDITOR", editor);
                else qunsetenv("EDITOR");
            }
        } restore;
        const QString table = QString::fromStdString(Dir() + "exa.tbl");
        auto ran = [&](const std::string& name) {
            const std::string note = Dir() + name + ".ran";
            if (!QTest::qWaitFor([&] { return fs::exists(note) && fs::file_size(note) > 0; }, 5000)) return QString();
            QString text = QString::fromStdString(test::ReadFile(note)).trimmed();
            fs::remove(note);
            return text;
        };
        auto edit = [&] { Child<QAction>(Main(), "Edit1")->trigger(); };

        qputenv("PATH", QByteArray::fromStdString(bin));
        qputenv("VISUAL", QByteArray::fromStdString(bin + "my-visual"));
        qputenv("EDITOR", QByteArray::fromStdString(bin + "my-editor --wait"));
        edit();
        QCOMPARE(ran("my-visual"), table);
        qunsetenv("VISUAL");
        edit();
        QCOMPARE(ran("my-editor"), "--wait " + table);
        qputenv("VISUAL", "no-such-editor");  // cannot be started: the next one is tried
        qunsetenv("EDITOR");
        edit();
        QCOMPARE(ran("mousepad"), table);
        // A terminal editor runs in a terminal emulator.
        qunsetenv("VISUAL");
        qputenv("EDITOR", "nano");
        edit();
        QCOMPARE(ran("xterm"), "-e nano " + table);
        QVERIFY(messages_.isEmpty());

        fs::remove(bin + "mousepad");
        fs::remove(bin + "xterm");
        edit();  // nano without a terminal, and nothing else
        QCOMPARE(messages_, QStringList({QString::fromStdString(NoEditorMessage(Dir() + "exa.tbl"))}));
        QVERIFY(messages_[0].contains("VISUAL"));
    }

    void extraOutputsAddTheirWordsToTheRun()
    {
        RegisterSubTool("KMAP", &MakeStage<IdleStage>);
        RegisterSubTool("VHDL", &MakeStage<IdleStage>);
        Start({Dir() + "exa.tbl"});
        QVERIFY(Visible("GroupBoxExtra"));
        QVERIFY(Visible("CBKmap"));
        QVERIFY(!Visible("CBVerilog"));  // its stage is not in the program
        QVERIFY(Visible("CBVhdl"));
        Child<QCheckBox>(Main(), "CBVhdl")->click();
        QCOMPARE(Cmd(), QString(" --vhdl exa.tbl D "));
        Child<QCheckBox>(Main(), "CBKmap")->click();
        QCOMPARE(Cmd(), QString(" --kmap --vhdl exa.tbl D "));
        Click("CBOptionS");
        Click("CBOptionE");
        QCOMPARE(Cmd(), QString(" --kmap --vhdl /S /E exa.tbl D "));
        Main().Minimize();
        QCOMPARE(FakeDriver::commandLine, std::string("--kmap --vhdl /S /E exa.tbl D "));
        Child<QCheckBox>(Main(), "CBKmap")->click();
        Child<QCheckBox>(Main(), "CBVhdl")->click();
        QCOMPARE(Cmd(), QString(" /S /E exa.tbl D "));
    }

    void extraOutputsAreHiddenWithoutTheirStages()
    {
        Start({Dir() + "exa.tbl"});
        QVERIFY(!Visible("GroupBoxExtra"));
        QVERIFY(!Child<QAction>(Main(), "CheckAnswer1")->isVisible());
        Child<QCheckBox>(Main(), "CBKmap")->setChecked(true);  // hidden: no word
        QCOMPARE(Cmd(), QString("exa.tbl D "));
    }

    void answerCheckShowsItsVerdictsInTheOutputWindow()
    {
        const std::string example = std::string(QUORLET_SOURCE_DIR) + "/examples/adder.tbl";
        if (!fs::exists(example)) QSKIP("examples/adder.tbl is not there");
        RegisterQuorletStages();
        const auto stages = RegisteredSubTools();
        if (std::find(stages.begin(), stages.end(), "CHECK") == stages.end()) QSKIP("no answer check in the program");
        fs::copy_file(example, Dir() + "adder.tbl");
        Write("right.txt", "SUM = A' B' CIN + A' B CIN' + A B' CIN' + A B CIN\nCOUT = A B + A CIN + B CIN\n");
        Write("wrong.txt", "SUM = A B\nCOUT = A B + A CIN + B CIN\n");
        Start({Dir() + "adder.tbl"});
        QVERIFY(Child<QAction>(Main(), "CheckAnswer1")->isVisible());
        Click("CBOptionE");
        Child<QCheckBox>(Main(), "CBKmap")->click();  // extra outputs are no part of the check
        TFormGo& go = windows_->Output();

        Main().CheckAnswers({Dir() + "right.txt"});
        QVERIFY(go.isVisible());
        QVERIFY2(Memo().contains("RESULT: 2 OF 2 CORRECT"), qPrintable(Memo().join('\n')));
        QVERIFY(go.windowTitle().contains("right.txt"));
        QVERIFY(!fs::exists(Dir() + "adder.equ"));
        QVERIFY(!fs::exists(Dir() + "adder.kmap"));

        Main().CheckAnswers({Dir() + "right.txt", Dir() + "wrong.txt"});
        QVERIFY2(Memo().contains("SUM: WRONG AT A=0 B=0 CIN=1: TABLE 1, ANSWER 0"), qPrintable(Memo().join('\n')));
        QVERIFY(Memo().contains("RESULT: 1 OF 2 CORRECT"));

        // The menu item asks for the answer files; no choice, no check.
        QString title;
        WhenModal([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            title = dialog->windowTitle();
            dialog->selectFile(QString::fromStdString(Dir() + "wrong.txt"));
            static_cast<QDialog*>(dialog)->accept();
        });
        Child<QAction>(Main(), "CheckAnswer1")->trigger();
        QCOMPARE(title, QString("Check Answer"));
        QVERIFY(Memo().contains("RESULT: 1 OF 2 CORRECT"));
        QVERIFY(!Memo().contains("RESULT: 2 OF 2 CORRECT"));
        WhenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
        Child<QAction>(Main(), "CheckAnswer1")->trigger();
        QVERIFY(Memo().contains("RESULT: 1 OF 2 CORRECT"));
    }

    void clippedLoopsAreDrawnCutAtTheClip()
    {
#ifndef QUORLET_HAVE_SVG
        QSKIP("the window is built without SVG");
#else
        // A loop reaching past the map's left edge, as the maps draw a group that wraps around.
        const std::string svg =
            "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100'>"
            "<rect x='0' y='0' width='100' height='100' fill='#ffffff'/>\n"
            "<clipPath id=\"c1\"><rect x=\"20\" y=\"20\" width=\"60\" height=\"60\"/></clipPath>\n"
            "<clipPath id=\"other\"><circle cx=\"5\" cy=\"5\" r=\"5\"/></clipPath>\n"
            "<g clip-path=\"url(#c1)\" stroke-width=\"4\">\n"
            "<rect x=\"0\" y=\"30\" width=\"40\" height=\"40\" rx=\"5\" ry=\"5\" fill=\"#ff0000\" "
            "stroke=\"#0000ff\"/>\n"
            "<rect x=\"90\" y=\"90\" width=\"5\" height=\"5\" fill=\"#00ff00\"/>\n"
            "</g></svg>";
        const std::string applied = ApplyRectangleClips(svg);
        QVERIFY(applied.find("clipPath") == std::string::npos);
        QVERIFY(applied.find("clip-path") == std::string::npos);
        QSvgRenderer renderer(QByteArray::fromStdString(applied));
        QVERIFY(renderer.isValid());
        QImage image(100, 100, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        auto at = [&image](int x, int y) { return QColor(image.pixel(x, y)); };
        QCOMPARE(at(10, 50), QColor(Qt::white));  // outside the clip: not drawn
        QCOMPARE(at(30, 50), QColor(Qt::red));    // inside: filled
        QCOMPARE(at(21, 50), QColor(Qt::red));    // the cut edge has no outline
        QCOMPARE(at(40, 50), QColor(Qt::blue));   // the edge inside the clip has
        QCOMPARE(at(30, 30), QColor(Qt::blue));
        QCOMPARE(at(50, 50), QColor(Qt::white));  // no black shape of the clip path
        QCOMPARE(at(5, 5), QColor(Qt::white));
        QCOMPARE(at(92, 92), QColor(Qt::white));  // wholly outside the clip: gone
#endif
    }

    void coverQuestionIsAnsweredThroughTheDialog()
    {
        Start();
        auto answer = [](const char* radio, const char* button, bool checkStart) {
            WhenModal([=](QWidget* modal) {
                QCOMPARE(modal->windowTitle(), QString("Select Cover"));
                QVERIFY(Child<QLabel>(*modal, "LabelQuestion")->text().contains("output window"));
                if (checkStart) QVERIFY(Child<QRadioButton>(*modal, "RadioButton2")->isChecked());
                if (radio) Child<QRadioButton>(*modal, radio)->setChecked(true);
                if (button) Child<QPushButton>(*modal, button)->click();
                else modal->close();
            });
        };
        answer("RadioButton3", "Button1", true);
        QCOMPARE(Questions().AskCover(), std::string("0"));
        answer("RadioButton1", "Button1", true);  // "Don't Care" again at the next opening
        QCOMPARE(Questions().AskCover(), std::string("1"));
        answer(nullptr, "Button1", true);
        QCOMPARE(Questions().AskCover(), std::string("-"));
        answer("RadioButton1", "Button2", false);
        QCOMPARE(Questions().AskCover(), std::string("Q"));
        answer("RadioButton1", nullptr, false);
        QCOMPARE(Questions().AskCover(), std::string("Q"));

        // From inside a run, the stage gets the answer and the memo shows what it wrote.
        Write("ask.tbl", "");
        Main().OpenTableFile(Dir() + "ask.tbl");
        Child<QRadioButton>(Main(), "CBOptionD")->click();
        Child<QComboBox>(Main(), "CBLibrary")->setEditText("ASK");
        answer("RadioButton3", "Button1", true);
        Main().Minimize();
        QCOMPARE(FakeDriver::cover, std::string("0"));
        QCOMPARE(Memo().last(), QString("SELECTED COVER: > 0"));
    }

    void lineQuestionIsAnsweredThroughTheInputDialog()
    {
        Start();
        WhenModal([](QWidget* modal) {
            QCOMPARE(modal->windowTitle(), QString("Input..."));
            QTest::keyClicks(Child<QLineEdit>(*modal, "Edit1"), "traffic.tbl");
            QTest::keyClick(modal, Qt::Key_Return);
        });
        LineAnswer answer = Questions().AskLine();
        QCOMPARE(answer.text, std::string("traffic.tbl"));
        QVERIFY(!answer.ended);
        WhenModal([](QWidget* modal) { modal->close(); });  // the field was cleared at opening
        QCOMPARE(Questions().AskLine().text, std::string());
    }

    void incompleteTableAsksForItsCoverInTheDialog()
    {
        const std::string example = std::string(QUORLET_SOURCE_DIR) + "/examples/incomplete.tbl";
        if (!fs::exists(example)) QSKIP("examples/incomplete.tbl is not there");
        RegisterQuorletStages();
        if (ResolveProgramFile(ExecutableDir() + "quor_esp.exe").empty()) QSKIP("no minimizer program beside the test");
        fs::copy_file(example, Dir() + "incomplete.tbl");
        Start({Dir() + "incomplete.tbl"});
        int asked = 0;
        auto answer = [&asked](const char* button) {
            WhenModal([&asked, button](QWidget* modal) {
                ++asked;
                QCOMPARE(modal->windowTitle(), QString("Select Cover"));
                Child<QPushButton>(*modal, button)->click();
            });
        };
        answer("Button2");
        Main().Minimize();
        QCOMPARE(asked, 1);
        QVERIFY(Memo().contains("INCOMPLETELY SPECIFIED INPUT TABLE; MISSING COVER:"));
        QVERIFY(Memo().contains("Q"));
        QVERIFY(!Memo().contains("MINIMIZING FUNCTION TABLE"));

        answer("Button1");  // "Don't Care", as the dialog opens
        Main().Minimize();
        QCOMPARE(asked, 2);
        QVERIFY(Memo().contains("-"));
        QVERIFY(Memo().contains("MINIMIZING FUNCTION TABLE"));
        QVERIFY(Memo().contains("MINIMIZATION RESULT STATISTICS"));
    }

    void minimizeOfTheAdderShowsItsEquations()
    {
        const std::string example = std::string(QUORLET_SOURCE_DIR) + "/examples/adder.tbl";
        if (!fs::exists(example)) QSKIP("examples/adder.tbl is not there");
        RegisterQuorletStages();
        // The minimizer runs as a stage when the stage table has it, else as the program beside us.
        const auto stages = RegisteredSubTools();
        if (std::find(stages.begin(), stages.end(), "QUOR_ESP") == stages.end() &&
            ResolveProgramFile(ExecutableDir() + "quor_esp.exe").empty())
            QSKIP("no minimizer: neither the stage QUOR_ESP nor the program quor_esp is there");
        fs::copy_file(example, Dir() + "adder.tbl");
        Start({Dir() + "adder.tbl"});
        Click("CBOptionE");
        Main().Minimize();
        const QStringList memo = Memo();
        const QString end = memo.mid(std::max(0, int(memo.size()) - 12)).join('\n');
        QVERIFY2(memo.contains("MINIMIZED EQUATIONS"), qPrintable(end));
        // The minimizer may put the product terms in any order.
        auto terms = [&memo](const QString& output) {
            for (const QString& line : memo)
                if (line.startsWith(output + " = ")) {
                    QStringList t = line.mid(output.size() + 3).split(" + ");
                    t.sort();
                    return t;
                }
            return QStringList();
        };
        QVERIFY2(terms("Y") == QStringList({"A'B'C", "A'BC'", "AB'C'", "ABC"}), qPrintable(end));
        QVERIFY2(terms("Z") == QStringList({"AB", "AC", "BC"}), qPrintable(end));
        QVERIFY(fs::exists(Dir() + "adder.equ"));
        QCOMPARE(test::ReadFile(Dir() + "adder.tbl"), test::ReadFile(example));

        // A schematic drawing shows the circuit picture that the importer drew.
        if (!ResolveProgramFile(ExecutableDir() + "ascin.exe").empty() &&
            FileExists(ExecutableDir() + "GENERICS.LIB")) {
            Click("CBOptionD");
            Main().Minimize();
            QVERIFY(fs::exists(Dir() + "adder.svg"));
            QVERIFY(windows_->Output().PictureShown());
        }

        // With Karnaugh maps ticked the maps the stage drew show below the text.
        if (std::find(stages.begin(), stages.end(), "KMAP") != stages.end()) {
            Click("CBOptionE");
            Child<QCheckBox>(Main(), "CBKmap")->click();
            Main().Minimize();
            QVERIFY(fs::exists(Dir() + "adder.kmap.svg"));
            QVERIFY(windows_->Output().MapsShown());
            QVERIFY(!windows_->Output().PictureShown());
            Child<QCheckBox>(Main(), "CBKmap")->click();
        }

        // A table that is gone, or a directory in its place: the pipeline says so in the memo.
        for (const char* bad : {"gone.tbl", "folder.tbl"}) {
            if (std::string(bad) == "folder.tbl") fs::create_directory(Dir() + bad);
            Main().OpenTableFile(Dir() + bad);
            Main().Minimize();
            QVERIFY2(Memo().contains(QString("FATAL ERROR: UNABLE TO OPEN TABLE FILE ") + bad),
                     qPrintable(Memo().join('\n')));
        }
        QVERIFY(Main().isVisible());
    }
};

QTEST_MAIN(WindowTest)
#include "WindowTest.moc"
