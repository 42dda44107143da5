// The one console that every stage writes to, and the questions a stage may ask the user.
#pragma once

#include <deque>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace quorlet {

// A list of lines that the console appends to (the output window's memo, a test's list, ...).
class LineTarget {
public:
    virtual ~LineTarget() = default;
    virtual int LineCount() const = 0;
    virtual void AppendToLine(int index, std::string_view text) = 0;
    virtual void AddLine(std::string_view text) = 0;
    virtual void Clear() = 0;
};

class StringListTarget : public LineTarget {
public:
    explicit StringListTarget(std::vector<std::string>& lines) : lines_(lines) {}
    int LineCount() const override { return static_cast<int>(lines_.size()); }
    void AppendToLine(int index, std::string_view text) override { lines_[index].append(text); }
    void AddLine(std::string_view text) override { lines_.emplace_back(text); }
    void Clear() override { lines_.clear(); }

private:
    std::vector<std::string>& lines_;
};

class TConsole {
public:
    static constexpr std::size_t kBufferSize = 128;

    // Binds to a line list (emptied, CurrentLine 0), to a stream, or with nothing to the
    // discarding target. Buffered text of the previous binding is handed over first.
    void Bind(LineTarget* lines);
    void Bind(std::ostream& stream);
    void Unbind();

    void Write(std::string_view text);
    void WriteLine(std::string_view text = {});
    void Flush();

    int CurrentLine() const { return currentLine_; }

    // The binding in force, and giving it back later with its lines as they are (Bind would
    // empty them): for a front end that runs stages of its own in the middle of its writing.
    struct Binding {
        LineTarget* lines = nullptr;
        std::ostream* stream = nullptr;
        int currentLine = 0;
    };
    Binding Current() const { return {lines_, stream_, currentLine_}; }
    void Restore(const Binding& binding);

private:
    void Hand(std::string_view text);
    void ReleaseHeldCarriageReturn();
    void AppendPiece(std::string_view piece, bool endsLine);

    LineTarget* lines_ = nullptr;
    std::ostream* stream_ = nullptr;
    std::string buffer_;
    // A stream's CR that ended a handed piece: dropped when the next piece starts with LF
    // (a line end cut by the full buffer), written otherwise.
    bool heldCarriageReturn_ = false;
    int currentLine_ = 0;
};

TConsole& Console();

// Binds the console to a line list, or with none to the discarding target.
void BindConsole(LineTarget* lines);

// Keeps the console bound to a line list for one scope and unbinds it at the end, so that a
// run can never leave the console writing into a list that no longer exists.
class ScopedConsole {
public:
    explicit ScopedConsole(LineTarget* lines) { BindConsole(lines); }
    ~ScopedConsole() { Console().Unbind(); }
    ScopedConsole(const ScopedConsole&) = delete;
    ScopedConsole& operator=(const ScopedConsole&) = delete;
};

struct LineAnswer {
    std::string text;
    bool ended = false;  // input has ended: the answer is empty
};

class TQuestions {
public:
    virtual ~TQuestions() = default;
    // A line of input (table file name, flip-flop type, "press RETURN").
    virtual LineAnswer AskLine() = 0;
    // The "Select Cover" question: "1", "-", "0" or "Q" (abort); anything else is asked again.
    virtual std::string AskCover() = 0;
};

// Questions answered from a stream (standard input for the command line).
class StreamQuestions : public TQuestions {
public:
    explicit StreamQuestions(std::istream& in, std::string fixedCover = {})
        : in_(in), fixedCover_(std::move(fixedCover))
    {
    }
    LineAnswer AskLine() override;
    std::string AskCover() override;

private:
    std::istream& in_;
    std::string fixedCover_;
};

// Questions answered from a script, for tests; an exhausted script behaves like ended input.
class ScriptedQuestions : public TQuestions {
public:
    ScriptedQuestions() = default;
    ScriptedQuestions(std::initializer_list<std::string> lines, std::initializer_list<std::string> covers = {})
        : lines_(lines), covers_(covers)
    {
    }
    void PushLine(std::string line) { lines_.push_back(std::move(line)); }
    void PushCover(std::string cover) { covers_.push_back(std::move(cover)); }
    LineAnswer AskLine() override;
    std::string AskCover() override;
    int LinesAsked() const { return linesAsked_; }
    int CoversAsked() const { return coversAsked_; }

private:
    std::deque<std::string> lines_;
    std::deque<std::string> covers_;
    int linesAsked_ = 0;
    int coversAsked_ = 0;
};

// The question interface in force; without one set, every question is answered as ended input.
TQuestions& Questions();
void SetQuestions(TQuestions* questions);

}  // namespace quorlet
