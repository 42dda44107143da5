// Console line rules (128-character buffer, CR LF, the current-line range rule) and questions.
#include "IORedirect.h"

#include <istream>
#include <ostream>

namespace quorlet {

void TConsole::ReleaseHeldCarriageReturn()
{
    if (heldCarriageReturn_ && stream_) {
        *stream_ << '\r';
        stream_->flush();
    }
    heldCarriageReturn_ = false;
}

void TConsole::Bind(LineTarget* lines)
{
    Flush();
    ReleaseHeldCarriageReturn();
    stream_ = nullptr;
    lines_ = lines;
    currentLine_ = 0;
    if (lines_) lines_->Clear();
}

void TConsole::Bind(std::ostream& stream)
{
    Flush();
    ReleaseHeldCarriageReturn();
    lines_ = nullptr;
    stream_ = &stream;
    currentLine_ = 0;
}

void TConsole::Unbind()
{
    Flush();
    ReleaseHeldCarriageReturn();
    lines_ = nullptr;
    stream_ = nullptr;
    currentLine_ = 0;
}

void TConsole::Restore(const Binding& binding)
{
    Flush();
    lines_ = binding.lines;
    stream_ = binding.stream;
    currentLine_ = binding.currentLine;
}

void TConsole::Write(std::string_view text)
{
    while (!text.empty()) {
        std::size_t room = kBufferSize - buffer_.size();
        std::size_t take = text.size() < room ? text.size() : room;
        buffer_.append(text.substr(0, take));
        text.remove_prefix(take);
        if (buffer_.size() >= kBufferSize || buffer_.find('\n') != std::string::npos) Flush();
    }
}

void TConsole::WriteLine(std::string_view text)
{
    Write(text);
    Write("\r\n");
}

void TConsole::Flush()
{
    if (buffer_.empty()) return;
    std::string text;
    text.swap(buffer_);
    Hand(text);
}

void TConsole::Hand(std::string_view text)
{
    if (text.empty()) return;
    if (stream_) {
        std::string out;
        out.reserve(text.size() + 1);
        if (heldCarriageReturn_ && text.front() != '\n') out.push_back('\r');
        heldCarriageReturn_ = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
            if (text[i] == '\r' && i + 1 == text.size()) {
                heldCarriageReturn_ = true;
                continue;
            }
            out.push_back(text[i]);
        }
        *stream_ << out;
        stream_->flush();
        return;
    }
    if (!lines_) return;
    std::size_t start = 0;
    while (true) {
        std::size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            if (start < text.size()) AppendPiece(text.substr(start), false);
            break;
        }
        std::string_view piece = text.substr(start, lf - start);
        if (!piece.empty() && piece.back() == '\r') piece.remove_suffix(1);
        AppendPiece(piece, true);
        start = lf + 1;
    }
}

void TConsole::AppendPiece(std::string_view piece, bool endsLine)
{
    const int count = lines_->LineCount();
    if (currentLine_ < count - 1 || currentLine_ > count) currentLine_ = count;
    if (currentLine_ == count - 1) lines_->AppendToLine(currentLine_, piece);
    else lines_->AddLine(piece);
    if (endsLine) ++currentLine_;
}

TConsole& Console()
{
    static TConsole console;
    return console;
}

void BindConsole(LineTarget* lines)
{
    if (lines) Console().Bind(lines);
    else Console().Unbind();
}

namespace {

bool ReadStreamLine(std::istream& in, std::string& line)
{
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

class EndedQuestions : public TQuestions {
public:
    LineAnswer AskLine() override { return {"", true}; }
    std::string AskCover() override { return "Q"; }
};

TQuestions* g_questions = nullptr;

}  // namespace

LineAnswer StreamQuestions::AskLine()
{
    std::string line;
    if (!ReadStreamLine(in_, line)) return {"", true};
    return {line, false};
}

std::string StreamQuestions::AskCover()
{
    if (!fixedCover_.empty()) return fixedCover_;
    std::string line;
    if (!ReadStreamLine(in_, line)) return "Q";
    return line;
}

LineAnswer ScriptedQuestions::AskLine()
{
    ++linesAsked_;
    if (lines_.empty()) return {"", true};
    LineAnswer answer{lines_.front(), false};
    lines_.pop_front();
    return answer;
}

std::string ScriptedQuestions::AskCover()
{
    ++coversAsked_;
    if (covers_.empty()) return "Q";
    std::string answer = covers_.front();
    covers_.pop_front();
    return answer;
}

TQuestions& Questions()
{
    static EndedQuestions ended;
    return g_questions ? *g_questions : ended;
}

void SetQuestions(TQuestions* questions) { g_questions = questions; }

}  // namespace quorlet
