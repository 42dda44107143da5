// The output window.
#include "UFormGo.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSplitter>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>
#include <exception>
#include <fstream>
#include <system_error>

#ifdef QUORLET_HAVE_SVG
#include <QSvgRenderer>
#include <QSvgWidget>
#endif

#include "UCommandLine.h"
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

}  // namespace

void TMemoTarget::AddLine(std::string_view text)
{
    lines_.emplace_back(text);
    if (lines_.size() == 1)
        memo_.setPlainText(FromBytes(text));
    else
        memo_.appendPlainText(FromBytes(text));
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
      pictureArea_(new QScrollArea(splitter_)),
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
    pictureArea_->setObjectName(QStringLiteral("PictureSchematic"));
    pictureArea_->setBackgroundRole(QPalette::Base);
    pictureArea_->setAlignment(Qt::AlignCenter);
    pictureArea_->hide();
    splitter_->addWidget(memo_);
    splitter_->addWidget(pictureArea_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter_);
}

TFormGo::~TFormGo()
{
    // The console must never be left writing into a memo that is gone.
    Console().Unbind();
}

void TFormGo::ClearMemo()
{
    target_.Clear();
    HidePicture();
}

bool TFormGo::SaveLines(const std::string& fileName) const
{
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const std::string& line : target_.Lines()) out << line << '\n';
    out.close();
    return !out.fail();
}

bool TFormGo::PictureShown() const { return !pictureArea_->isHidden() && pictureArea_->widget(); }

// A drawing run ("/D...") leaves the circuit picture beside the sheet. Its time before the run
// tells a picture of this run from one left by an earlier run.
std::optional<TFormGo::PictureStamp> TFormGo::PictureOfRun(const std::string& commandLine)
{
    bool drawing = false;
    std::string table;
    for (const std::string& word : SplitCommandLine(commandLine)) {
        if (word.starts_with("/D") || word.starts_with("/d"))
            drawing = true;
        else if (table.empty() && !word.starts_with('/'))
            table = word;
    }
    if (!drawing || table.empty()) return std::nullopt;
    // The result file, and the picture beside it, are named after the table up to its first point.
    const std::string name = FileNamePart(table);
    PictureStamp stamp{fs::absolute(DirectoryPart(table) + name.substr(0, name.find('.')) + ".svg"), std::nullopt};
    std::error_code ec;
    auto time = fs::last_write_time(stamp.path, ec);
    if (!ec) stamp.before = time;
    return stamp;
}

void TFormGo::HidePicture()
{
    pictureArea_->hide();
    delete pictureArea_->takeWidget();
}

void TFormGo::ShowPictureIfNew(const std::optional<PictureStamp>& stamp)
{
    HidePicture();
#ifdef QUORLET_HAVE_SVG
    if (!stamp) return;
    std::error_code ec;
    auto time = fs::last_write_time(stamp->path, ec);
    if (ec || (stamp->before && *stamp->before == time)) return;
    auto* picture = new QSvgWidget(QString::fromStdString(stamp->path.string()));
    if (!picture->renderer()->isValid()) {
        delete picture;
        return;
    }
    QSize size = picture->renderer()->defaultSize();
    if (size.isEmpty()) size = QSize(800, 600);
    picture->setFixedSize(size);
    pictureArea_->setWidget(picture);
    pictureArea_->show();
    splitter_->setSizes({height() / 2, height() - height() / 2});
#else
    (void)stamp;
#endif
}

void TFormGo::ShowAndRun(int left, int top, const QString& caption, const std::string& commandLine,
                         const std::string& workDir)
{
    if (running_) return;
    running_ = true;
    struct EndRun {
        bool& running;
        ~EndRun() { running = false; }
    } endRun{running_};

    std::error_code ec;
    std::filesystem::current_path(workDir, ec);
    if (!isVisible()) {
        move(left, top);
        show();
    }
    raise();
    activateWindow();
    setWindowTitle(caption);

    ClearMemo();
    if (ec) {
        // Running elsewhere would read and write the intermediate files of another directory.
        target_.AddLine("WORK DIRECTORY NOT FOUND: " + workDir);
        return;
    }
    QApplication::processEvents();
    const auto picture = PictureOfRun(commandLine);
    try {
        RunInWindow("quorlet", commandLine, &target_);
    } catch (const std::exception& e) {
        target_.AddLine(std::string("INTERNAL ERROR: ") + e.what());
    } catch (...) {
        target_.AddLine("INTERNAL ERROR");
    }
    ShowPictureIfNew(picture);
}

}  // namespace quorlet
