// The output window.
#include "UFormGo.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <fstream>
#include <system_error>

#include "AnswerCheckRun.h"
#include "UCommandLine.h"
#include "UPicturePane.h"
#include "USubExec.h"

namespace fs = std::filesystem;

namespace quorlet {

namespace {

QString FromBytes(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QFont MemoFont()
{
    if (QFontDatabase::families().contains(QStringLiteral("Courier New"))) {
        QFont font(QStringLiteral("Courier New"));
        font.setPointSize(10);
        return font;
    }
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}

// Until the window has been shown once its frame is unknown; a title bar and thin borders are
// what most window managers draw.
const QMargins kLikelyFrame(4, 30, 4, 4);

}  // namespace

QRect FitOnScreen(const QRect& wanted, const QRect& available, const QMargins& frame)
{
    const int roomWidth = available.width() - frame.left() - frame.right();
    const int roomHeight = available.height() - frame.top() - frame.bottom();
    QRect placed(wanted.topLeft(), QSize(std::max(1, std::min(wanted.width(), roomWidth)),
                                         std::max(1, std::min(wanted.height(), roomHeight))));
    const int right = available.right() - frame.right();
    const int bottom = available.bottom() - frame.bottom();
    if (placed.right() > right) placed.moveRight(right);
    if (placed.bottom() > bottom) placed.moveBottom(bottom);
    if (placed.left() < available.left() + frame.left()) placed.moveLeft(available.left() + frame.left());
    if (placed.top() < available.top() + frame.top()) placed.moveTop(available.top() + frame.top());
    return placed;
}

void TMemoTarget::AddLine(std::string_view text)
{
    lines_.emplace_back(text);
    if (lines_.size() == 1) memo_.setPlainText(FromBytes(text));
    else memo_.appendPlainText(FromBytes(text));
}

// The whole line is shown again rather than the piece, so that a character the console's buffer
// cut in two is still shown whole.
void TMemoTarget::AppendToLine(int index, std::string_view text)
{
    if (index < 0 || index >= LineCount()) return;
    lines_[index].append(text);
    QTextBlock block = memo_.document()->findBlockByNumber(index);
    if (!block.isValid()) return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(FromBytes(lines_[index]));
}

void TMemoTarget::Clear()
{
    lines_.clear();
    memo_.clear();
}

TFormGo::TFormGo(QWidget* parent)
    : QWidget(parent, Qt::Window),
      splitter_(new QSplitter(Qt::Vertical, this)),
      memo_(new QPlainTextEdit(splitter_)),
      circuit_(new TPicturePane(tr("Circuit"), splitter_)),
      maps_(new TPicturePane(tr("Karnaugh maps"), splitter_)),
      target_(*memo_)
{
    setObjectName(QStringLiteral("FormGo"));
    resize(870, 600);
    memo_->setObjectName(QStringLiteral("MemoOutput"));
    memo_->setReadOnly(true);
    memo_->setFont(MemoFont());
    memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    circuit_->setObjectName(QStringLiteral("PictureSchematic"));
    maps_->setObjectName(QStringLiteral("PictureKmap"));
    circuit_->hide();
    maps_->hide();
    splitter_->addWidget(memo_);
    splitter_->addWidget(circuit_);
    splitter_->addWidget(maps_);
    splitter_->setChildrenCollapsible(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter_);

    auto action = [this](const char* name, const QString& caption, QList<QKeySequence> keys, auto slot) {
        auto* a = new QAction(caption, this);
        a->setObjectName(QString::fromUtf8(name));
        a->setShortcuts(keys);
        connect(a, &QAction::triggered, this, slot);
        addAction(a);
    };
    action("ZoomIn1", tr("Zoom In"), {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
           &TFormGo::ZoomIn);
    action("ZoomOut1", tr("Zoom Out"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, &TFormGo::ZoomOut);
    action("ZoomFit1", tr("Fit to Width"), {QKeySequence(Qt::CTRL | Qt::Key_0)}, &TFormGo::FitToWidth);
}

TFormGo::~TFormGo()
{
    // The console must never be left writing into a memo that is gone.
    Console().Unbind();
}

void TFormGo::ClearMemo()
{
    target_.Clear();
    HidePictures();
}

bool TFormGo::SaveLines(const std::string& fileName) const
{
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const std::string& line : target_.Lines()) out << line << '\n';
    out.close();
    return !out.fail();
}

bool TFormGo::PictureShown() const { return !circuit_->isHidden() && circuit_->HasPicture(); }
bool TFormGo::MapsShown() const { return !maps_->isHidden() && maps_->HasPicture(); }

// A drawing run ("/D...") leaves the circuit picture NAME.svg beside the sheet, a run with
// "--kmap" the maps NAME.kmap.svg. Their times before the run tell this run's pictures from ones
// left by an earlier run.
TFormGo::RunPictures TFormGo::PicturesOfRun(const std::string& commandLine)
{
    bool drawing = false, maps = false;
    std::string table;
    for (const std::string& word : SplitCommandLine(commandLine)) {
        if (word.starts_with("--")) {
            if (word == "--kmap") maps = true;
        } else if (word.starts_with("/D") || word.starts_with("/d")) {
            drawing = true;
        } else if (table.empty() && !word.starts_with('/')) {
            table = word;
        }
    }
    RunPictures pictures;
    if (table.empty()) return pictures;
    // The result file, and the pictures beside it, are named after the table up to its first point.
    const std::string name = FileNamePart(table);
    const std::string base = DirectoryPart(table) + name.substr(0, name.find('.'));
    auto stamp = [](const std::string& file) {
        PictureStamp s{fs::absolute(file), std::nullopt};
        std::error_code ec;
        auto time = fs::last_write_time(s.path, ec);
        if (!ec) s.before = time;
        return s;
    };
    if (drawing) pictures.circuit = stamp(base + ".svg");
    if (maps) pictures.maps = stamp(base + ".kmap.svg");
    return pictures;
}

void TFormGo::HidePictures()
{
    for (TPicturePane* pane : {circuit_, maps_}) {
        pane->hide();
        pane->Clear();
    }
}

bool TFormGo::ShowIfNew(TPicturePane& pane, const std::optional<PictureStamp>& stamp)
{
    if (!stamp) return false;
    std::error_code ec;
    auto time = fs::last_write_time(stamp->path, ec);
    if (ec || (stamp->before && *stamp->before == time)) return false;
    if (!pane.Load(QString::fromStdString(stamp->path.string()))) return false;
    pane.show();
    return true;
}

void TFormGo::ShowPictures(const RunPictures& pictures)
{
    HidePictures();
    const int shown = int(ShowIfNew(*circuit_, pictures.circuit)) + int(ShowIfNew(*maps_, pictures.maps));
    if (shown == 0) return;
    // The text keeps the upper half; the pictures share the rest.
    const int total = splitter_->height();
    const int text = total / 2;
    const int picture = (total - text) / shown;
    splitter_->setSizes({text, circuit_->isHidden() ? 0 : picture, maps_->isHidden() ? 0 : picture});
    for (TPicturePane* pane : {circuit_, maps_})
        if (!pane->isHidden()) pane->FitToWidth();
}

std::vector<TPicturePane*> TFormGo::ZoomTargets() const
{
    std::vector<TPicturePane*> shown;
    for (TPicturePane* pane : {circuit_, maps_}) {
        if (pane->isHidden() || !pane->HasPicture()) continue;
        QWidget* focus = QApplication::focusWidget();
        if (focus && pane->isAncestorOf(focus)) return {pane};
        shown.push_back(pane);
    }
    return shown;
}

void TFormGo::ZoomIn()
{
    for (TPicturePane* pane : ZoomTargets()) pane->ZoomIn();
}

void TFormGo::ZoomOut()
{
    for (TPicturePane* pane : ZoomTargets()) pane->ZoomOut();
}

void TFormGo::FitToWidth()
{
    for (TPicturePane* pane : ZoomTargets()) pane->FitToWidth();
}

void TFormGo::KeepOnScreen()
{
    QScreen* display = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!display || !isVisible()) return;
    const QRect frameRect = frameGeometry();
    const QRect inner = geometry();
    const QMargins frame(inner.left() - frameRect.left(), inner.top() - frameRect.top(),
                         frameRect.right() - inner.right(), frameRect.bottom() - inner.bottom());
    const QRect placed = FitOnScreen(inner, display->availableGeometry(), frame);
    if (placed == inner) return;
    resize(placed.size());
    move(placed.topLeft() - QPoint(frame.left(), frame.top()));
}

// The window keeps its design size where the screen has room for it; on a small screen (a lab's
// 1024 x 700) it moves up and shrinks rather than hide its last lines and scroll bar.
void TFormGo::PlaceAndShow(int left, int top)
{
    QScreen* display = QGuiApplication::screenAt(QPoint(left, top));
    if (!display) display = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect wanted(QPoint(left, top), QSize(870, 600));
    if (display) {
        // move() places the frame's corner, so the client area starts by the frame further in.
        const QRect placed = FitOnScreen(wanted.translated(kLikelyFrame.left(), kLikelyFrame.top()),
                                         display->availableGeometry(), kLikelyFrame);
        resize(placed.size());
        move(placed.topLeft() - QPoint(kLikelyFrame.left(), kLikelyFrame.top()));
    } else {
        resize(wanted.size());
        move(wanted.topLeft());
    }
    show();
    // The window manager adds its frame after the window appears; correct the guess then.
    KeepOnScreen();
    QTimer::singleShot(250, this, &TFormGo::KeepOnScreen);
}

bool TFormGo::RunInMemo(int left, int top, const QString& caption, const std::string& workDir,
                        const std::function<void()>& work)
{
    if (running_) return false;
    running_ = true;
    struct EndRun {
        bool& running;
        ~EndRun() { running = false; }
    } endRun{running_};

    std::error_code ec;
    std::filesystem::current_path(workDir, ec);
    if (!isVisible()) PlaceAndShow(left, top);
    raise();
    activateWindow();
    setWindowTitle(caption);

    ClearMemo();
    if (ec) {
        // Running elsewhere would read and write the intermediate files of another directory.
        target_.AddLine("WORK DIRECTORY NOT FOUND: " + workDir);
        return false;
    }
    QApplication::processEvents();
    try {
        work();
    } catch (const std::exception& e) {
        Console().Unbind();
        target_.AddLine(std::string("INTERNAL ERROR: ") + e.what());
    } catch (...) {
        Console().Unbind();
        target_.AddLine("INTERNAL ERROR");
    }
    return true;
}

void TFormGo::ShowAndRun(int left, int top, const QString& caption, const std::string& commandLine,
                         const std::string& workDir)
{
    std::optional<RunPictures> pictures;
    const bool ran = RunInMemo(left, top, caption, workDir, [&] {
        pictures = PicturesOfRun(commandLine);
        RunInWindow("quorlet", commandLine, &target_);
    });
    if (ran && pictures) ShowPictures(*pictures);
}

void TFormGo::ShowAndCheck(int left, int top, const QString& caption, const std::vector<std::string>& answerFiles,
                           const std::string& commandLine, const std::string& workDir)
{
    RunInMemo(left, top, caption, workDir, [&] {
        AnswerCheckRequest request;
        request.answerFiles = answerFiles;
        ReadPipelineCommandLine(commandLine, request);
        request.headed = answerFiles.size() > 1;
        request.showRunLines = DebugEnabled;  // the debug box shows what the runs did
        BindConsole(&target_);
        RunAnswerCheck(request);
        Console().Unbind();
    });
}

}  // namespace quorlet
