// Pictures of the windows: the main window, the output window after a run of the adder, with the
// traffic light's circuit and with Karnaugh maps, the About box and the cover dialog; under a
// real X server also the whole screen. They go to $QUORLET_SCREENSHOT_DIR when set, else to a
// scratch directory. docs/screenshots/ is made on a 1024 x 700 screen, with
//   QUORLET_SCREENSHOT_DIR=$PWD/docs/screenshots QT_QPA_PLATFORM=xcb
//   xvfb-run -s "-screen 0 1024x700x24" build/bin/test_gui_screenshots
// and its help page by a browser:
//   firefox-esr --headless --window-size=1024,700 --screenshot docs/screenshots/help-page.png
//   docs/help/getting-started.html
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QScreen>
#include <QtTest>
#include <filesystem>

#include "Clock.h"
#include "StageTable.h"
#include "TestSupport.h"
#include "UFormAbout.h"
#include "UFormCover.h"
#include "UFormGo.h"
#include "UFormQuorlet.h"

using namespace quorlet;
namespace fs = std::filesystem;

class Screenshots : public QObject {
    Q_OBJECT

    test::TempWorkDir dir_;
    FixedClock clock_{test::FixedTestTime()};
    QString out_;

    void Save(QWidget& window, const char* name)
    {
        window.show();
        QApplication::processEvents();
        const QString path = out_ + "/" + name;
        const QImage image = window.grab().toImage();
        QVERIFY(!image.isNull());
        QVERIFY(image.save(path, "PNG"));
        QVERIFY(QImage(path).size() == image.size());
    }

private slots:
    void initTestCase()
    {
        out_ = qEnvironmentVariable("QUORLET_SCREENSHOT_DIR", QString::fromStdString(dir_.Path().string()));
        QVERIFY(QDir().mkpath(out_));
        SetClock(&clock_);
        RegisterQuorletStages();
    }
    void cleanupTestCase() { SetClock(nullptr); }

    void windows()
    {
        const std::string d = dir_.Path().string() + "/";
        test::WriteFile(d + "QUORLET.CFG", "DEBUG = ON\nDEFAULT_LIB = GENERICS.LIB\n");
        test::WriteFile(d + "GENERICS.LIB", "");
        test::WriteFile(d + "CMOS.LIB", "");
        const std::string examples = std::string(QUORLET_SOURCE_DIR) + "/examples/";
        for (const char* table : {"adder.tbl", "traffic.tbl"})
            if (fs::exists(examples + table)) fs::copy_file(examples + table, d + table);
        if (!fs::exists(d + "traffic.tbl")) test::WriteFile(d + "traffic.tbl", "TABLE traffic\nSTATES S0 S1\nEND\n");

        TQuorletWindows windows(d, {d + "traffic.tbl"});
        TFormQuorlet& main = windows.Main();
        main.show();
        main.findChild<QRadioButton*>("CBOptionF")->click();
        main.findChild<QRadioButton*>("FlipJK")->click();
        Save(main, "main-window.png");
        main.findChild<QRadioButton*>("CBOptionA")->click();
        Save(main, "main-window-abel.png");
        QVERIFY(main.size() == QSize(563, 368) || main.screen()->logicalDotsPerInch() > 100);

        if (fs::exists(d + "adder.tbl")) {
            main.OpenTableFile(d + "adder.tbl");
            main.findChild<QRadioButton*>("CBOptionE")->click();
            main.findChild<QCheckBox*>("CBDebug")->setChecked(false);
            main.Minimize();
            QVERIFY(!windows.Output().Lines().empty());
        }
        Save(windows.Output(), "output-window.png");
        if (fs::exists(d + "traffic.tbl")) {
            // The circuit opens fitted to the pane, in the window as it stands on the screen.
            main.OpenTableFile(d + "traffic.tbl");
            main.findChild<QRadioButton*>("CBOptionD")->click();
            main.findChild<QRadioButton*>("FlipJK")->click();
            main.Minimize();
            QVERIFY(windows.Output().PictureShown());
            QTest::qWait(300);  // the window's place is settled after it appears
            Save(windows.Output(), "output-window-drawing.png");
            if (QGuiApplication::platformName() == "xcb") {
                const QImage screen = main.screen()->grabWindow(0).toImage();
                QVERIFY(screen.save(out_ + "/screen.png", "PNG"));
            }
        }
        if (fs::exists(examples + "kmap4.tbl")) {
            // The Karnaugh maps below the text, fitted as the circuit is.
            fs::copy_file(examples + "kmap4.tbl", d + "kmap4.tbl");
            main.OpenTableFile(d + "kmap4.tbl");
            main.findChild<QRadioButton*>("CBOptionE")->click();
            main.findChild<QCheckBox*>("CBKmap")->setChecked(true);
            main.Minimize();
            main.findChild<QCheckBox*>("CBKmap")->setChecked(false);
            QVERIFY(windows.Output().MapsShown());
            Save(windows.Output(), "output-window-maps.png");
        }
        Save(windows.About(), "about-box.png");
        Save(windows.Cover(), "cover-dialog.png");
    }
};

QTEST_MAIN(Screenshots)
#include "Screenshots.moc"
