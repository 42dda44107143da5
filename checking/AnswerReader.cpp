// Answer files: lines grouped into equations (a line that begins with an operator continues the
// one before), each split into tokens and parsed by recursive descent with the usual binding,
// NOT before AND before OR. Errors name the line and what was expected.
#include "AnswerReader.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "Words.h"

namespace quorlet {
namespace {

std::string Upper(std::string_view text)
{
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

bool IsNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}

bool IsAllLetters(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return std::isalpha(static_cast<unsigned char>(c)); });
}

bool IsBinaryOperator(char c) { return c == '+' || c == '|' || c == '*' || c == '&' || c == '.'; }

// What the names of an answer stand for: table names, or the letters of an equations file.
class NameSpace {
public:
    void AddInput(std::string name, int index) { inputs_.emplace_back(std::move(name), index); }
    void AddOutput(std::string name, int index) { outputs_.emplace_back(std::move(name), index); }

    int Input(const std::string& name) const { return Find(inputs_, name); }
    // An excitation function may be named without its leading "_": D0 for _D0.
    int Output(const std::string& name) const
    {
        int index = Find(outputs_, name);
        return index >= 0 ? index : Find(outputs_, "_" + name);
    }
    // Adjacent letters are separate names when every input is named by one letter.
    bool SingleLetters() const
    {
        return !inputs_.empty() &&
               std::all_of(inputs_.begin(), inputs_.end(), [](const auto& e) { return e.first.size() == 1; });
    }
    bool Empty() const { return inputs_.empty() && outputs_.empty(); }

private:
    static int Find(const std::vector<std::pair<std::string, int>>& list, const std::string& name)
    {
        for (const auto& [n, index] : list)
            if (n == name) return index;
        return -1;
    }
    std::vector<std::pair<std::string, int>> inputs_;
    std::vector<std::pair<std::string, int>> outputs_;
};

enum class TokenKind { Name, Equals, Or, And, NotPrefix, NotPostfix, Open, Close, Bad, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;
    int line = 0;
};

struct SourceLine {
    int number = 0;
    std::string text;
};

struct ParseError {
    int line;
    std::string message;
};

bool EndsOperand(const std::vector<Token>& tokens)
{
    if (tokens.empty()) return false;
    TokenKind k = tokens.back().kind;
    return k == TokenKind::Name || k == TokenKind::NotPostfix || k == TokenKind::Close;
}

// "#" is OR after an operand and starts a comment anywhere else; a double quote always does.
std::vector<Token> Tokenize(const std::vector<SourceLine>& lines)
{
    std::vector<Token> tokens;
    for (const SourceLine& line : lines) {
        const std::string& t = line.text;
        for (std::size_t i = 0; i < t.size();) {
            char c = t[i];
            if (c == ' ' || c == '\t') {
                ++i;
                continue;
            }
            if (c == '"' || (c == '#' && !EndsOperand(tokens))) break;
            if (IsNameChar(c)) {
                std::size_t end = i;
                while (end < t.size() && IsNameChar(t[end])) ++end;
                tokens.push_back({TokenKind::Name, Upper(std::string_view(t).substr(i, end - i)), line.number});
                i = end;
                continue;
            }
            TokenKind kind = TokenKind::Bad;
            switch (c) {
            case '=': kind = TokenKind::Equals; break;
            case '+':
            case '#':
            case '|': kind = TokenKind::Or; break;
            case '*':
            case '&':
            case '.': kind = TokenKind::And; break;
            case '!':
            case '~':
            case '/': kind = TokenKind::NotPrefix; break;
            case '\'': kind = TokenKind::NotPostfix; break;
            case '(': kind = TokenKind::Open; break;
            case ')': kind = TokenKind::Close; break;
            default: break;
            }
            tokens.push_back({kind, std::string(1, c), line.number});
            ++i;
        }
    }
    return tokens;
}

class EquationParser {
public:
    EquationParser(std::vector<Token> tokens, int lastLine, const NameSpace& names)
        : tokens_(std::move(tokens)), lastLine_(lastLine), names_(names)
    {
    }

    AnswerEquation Parse()
    {
        AnswerEquation equation;
        const Token& name = Peek();
        equation.line = name.line;
        if (name.kind != TokenKind::Name) throw ParseError{name.line, "EXPECTED NAME = EXPRESSION"};
        ++pos_;
        if (Peek().kind == TokenKind::NotPostfix) {
            equation.complemented = true;
            ++pos_;
        }
        if (Peek().kind != TokenKind::Equals) throw ParseError{Peek().line, "EXPECTED = AFTER " + name.text};
        ++pos_;
        equation.output = names_.Output(name.text);
        if (equation.output < 0) throw ParseError{name.line, "UNKNOWN FUNCTION " + name.text};
        SplitLetters();
        int root = ParseSum();
        const Token& rest = Peek();
        if (rest.kind == TokenKind::Close) throw ParseError{rest.line, "UNEXPECTED )"};
        if (rest.kind != TokenKind::End)
            throw ParseError{rest.line, "EXPECTED OPERATOR OR END OF EQUATION BEFORE " + rest.text};
        expression_.SetRoot(root);
        equation.expression = std::move(expression_);
        return equation;
    }

private:
    const Token& Peek() const
    {
        if (pos_ < tokens_.size()) return tokens_[pos_];
        end_.line = lastLine_;
        return end_;
    }

    // AB'C over one-letter inputs is A B' C.
    void SplitLetters()
    {
        if (!names_.SingleLetters()) return;
        std::vector<Token> split(tokens_.begin(), tokens_.begin() + static_cast<std::ptrdiff_t>(pos_));
        for (std::size_t i = pos_; i < tokens_.size(); ++i) {
            const Token& t = tokens_[i];
            if (t.kind == TokenKind::Name && t.text.size() > 1 && names_.Input(t.text) < 0 && IsAllLetters(t.text)) {
                for (char c : t.text) split.push_back({TokenKind::Name, std::string(1, c), t.line});
            } else {
                split.push_back(t);
            }
        }
        tokens_ = std::move(split);
    }

    int ParseSum()
    {
        std::vector<int> terms{ParseProduct()};
        while (Peek().kind == TokenKind::Or) {
            ++pos_;
            terms.push_back(ParseProduct());
        }
        return expression_.AddOr(std::move(terms));
    }

    static bool StartsFactor(TokenKind k)
    {
        return k == TokenKind::Name || k == TokenKind::NotPrefix || k == TokenKind::Open;
    }

    int ParseProduct()
    {
        std::vector<int> factors{ParseFactor()};
        while (true) {
            TokenKind k = Peek().kind;
            if (k == TokenKind::And) {
                ++pos_;
            } else if (!StartsFactor(k)) {
                break;
            }
            factors.push_back(ParseFactor());
        }
        return expression_.AddAnd(std::move(factors));
    }

    // Parentheses and negations nest the reading and the evaluation; a bound keeps a hostile
    // answer from exhausting the stack.
    static constexpr int kMaxNesting = 200;

    void Nest(const Token& t, int levels)
    {
        depth_ += levels;
        if (depth_ > kMaxNesting)
            throw ParseError{t.line, "EXPRESSION NESTED MORE THAN " + std::to_string(kMaxNesting) + " LEVELS DEEP"};
    }

    int ParseFactor()
    {
        const Token& t = Peek();
        if (t.kind == TokenKind::NotPrefix) {
            Nest(t, 1);
            ++pos_;
            int node = expression_.AddNot(ParseFactor());
            --depth_;
            return node;
        }
        int node = -1;
        if (t.kind == TokenKind::Name) {
            node = Operand(t);
            ++pos_;
        } else if (t.kind == TokenKind::Open) {
            Nest(t, 1);
            ++pos_;
            node = ParseSum();
            --depth_;
            if (Peek().kind != TokenKind::Close) throw ParseError{Peek().line, "EXPECTED ) " + Where(Peek())};
            ++pos_;
            expression_.MarkGrouped(node);
        } else {
            throw ParseError{t.line, "EXPECTED SIGNAL, 0, 1 OR ( " + Where(t)};
        }
        int negations = 0;
        for (; Peek().kind == TokenKind::NotPostfix; ++negations) {
            Nest(Peek(), 1);
            ++pos_;
            node = expression_.AddNot(node);
        }
        depth_ -= negations;
        return node;
    }

    static std::string Where(const Token& t)
    {
        return t.kind == TokenKind::End ? "AT END OF EQUATION" : "BEFORE " + t.text;
    }

    int Operand(const Token& t)
    {
        if (t.text == "0" || t.text == "1") return expression_.AddConstant(t.text == "1");
        int input = names_.Input(t.text);
        if (input < 0) throw ParseError{t.line, "UNKNOWN SIGNAL " + t.text};
        return expression_.AddInput(input);
    }

    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    int depth_ = 0;
    int lastLine_;
    mutable Token end_;
    const NameSpace& names_;
    Expression expression_;
};

std::vector<SourceLine> NumberedLines(std::string_view text)
{
    std::vector<SourceLine> lines;
    for (std::string& line : SplitLines(text)) lines.push_back({static_cast<int>(lines.size()) + 1, std::move(line)});
    return lines;
}

std::size_t FirstNonBlank(const std::string& text) { return text.find_first_not_of(" \t"); }

// Groups the lines into equations and reads each; an equation's error leaves it out.
void ReadEquations(const std::vector<SourceLine>& lines, std::size_t first, const NameSpace& names, Answer& answer)
{
    std::vector<std::vector<SourceLine>> groups;
    for (std::size_t i = first; i < lines.size(); ++i) {
        const SourceLine& line = lines[i];
        std::size_t p = FirstNonBlank(line.text);
        if (p == std::string::npos || line.text[p] == '"' || line.text[p] == '#') continue;
        if (IsBinaryOperator(line.text[p])) {
            if (groups.empty()) {
                answer.errors.push_back({line.number, "CONTINUATION LINE WITHOUT EQUATION"});
                continue;
            }
            groups.back().push_back(line);
        } else {
            groups.push_back({line});
        }
    }
    for (const auto& group : groups) {
        try {
            AnswerEquation equation = EquationParser(Tokenize(group), group.back().number, names).Parse();
            auto seen = std::find_if(answer.equations.begin(), answer.equations.end(),
                                     [&](const AnswerEquation& e) { return e.output == equation.output; });
            if (seen != answer.equations.end()) {
                answer.errors.push_back({equation.line, "SECOND EQUATION FOR THE SAME FUNCTION, FIRST ON LINE " +
                                                            std::to_string(seen->line)});
                continue;
            }
            answer.equations.push_back(std::move(equation));
        } catch (const ParseError& error) {
            answer.errors.push_back({error.line, error.message});
        }
    }
}

constexpr std::string_view kRepresentationHeading = "OUTPUT SIGNAL  REPRESENTATION";
constexpr std::string_view kEquationsHeading = "MINIMIZED EQUATIONS";

// One row of the representation table: "A : NAME" entries, inputs left of the bar, outputs right.
void ReadRepresentationRow(const SourceLine& line, const AnswerSignals& signals, NameSpace& letters, Answer& answer)
{
    std::size_t bar = line.text.find('|');
    for (int side = 0; side < 2; ++side) {
        std::string part =
            side == 0 ? line.text.substr(0, bar) : (bar == std::string::npos ? "" : line.text.substr(bar + 1));
        std::istringstream words(part);
        std::string letter, colon, name;
        while (words >> letter) {
            if (!(words >> colon >> name) || letter.size() != 1 || !IsAllLetters(letter) || colon != ":") {
                answer.errors.push_back({line.number, "EXPECTED LETTER : NAME IN THE SIGNAL REPRESENTATION TABLE"});
                return;
            }
            const std::vector<std::string>& list = side == 0 ? signals.inputs : signals.outputs;
            std::string upper = Upper(name);
            auto found = std::find(list.begin(), list.end(), upper);
            if (found == list.end()) {
                answer.errors.push_back({line.number, "UNKNOWN SIGNAL " + upper});
                continue;
            }
            int index = static_cast<int>(found - list.begin());
            if (side == 0) letters.AddInput(Upper(letter), index);
            else letters.AddOutput(Upper(letter), index);
        }
    }
}

}  // namespace

Answer ReadAnswerText(std::string_view text, const AnswerSignals& signals)
{
    Answer answer;
    const std::vector<SourceLine> lines = NumberedLines(text);
    auto heading = std::find_if(lines.begin(), lines.end(), [](const SourceLine& l) {
        return l.text.find(kRepresentationHeading) != std::string::npos;
    });
    if (heading == lines.end()) {
        NameSpace names;
        for (std::size_t i = 0; i < signals.inputs.size(); ++i) names.AddInput(signals.inputs[i], static_cast<int>(i));
        for (std::size_t j = 0; j < signals.outputs.size(); ++j)
            names.AddOutput(signals.outputs[j], static_cast<int>(j));
        ReadEquations(lines, 0, names, answer);
        return answer;
    }
    // An equations file: the head, the echo and the statistics before the table are the run's own.
    NameSpace letters;
    auto row = heading + 1;
    for (; row != lines.end() && row->text.find(kEquationsHeading) == std::string::npos; ++row)
        if (FirstNonBlank(row->text) != std::string::npos) ReadRepresentationRow(*row, signals, letters, answer);
    if (row == lines.end()) {
        answer.errors.push_back({lines.back().number, "EXPECTED " + std::string(kEquationsHeading)});
        return answer;
    }
    ReadEquations(lines, static_cast<std::size_t>(row - lines.begin()) + 1, letters, answer);
    return answer;
}

Answer ReadAnswerFile(const std::string& path, const AnswerSignals& signals)
{
    std::error_code ec;
    std::ifstream in;
    if (!std::filesystem::is_directory(path, ec)) in.open(path, std::ios::binary);
    std::ostringstream text;
    if (in) text << in.rdbuf();
    if (!in.is_open() || in.bad()) {
        Answer answer;
        answer.errors.push_back({0, "CANNOT READ FILE"});
        return answer;
    }
    return ReadAnswerText(text.str(), signals);
}

std::string FormatAnswerError(std::string_view file, const AnswerError& error)
{
    std::string text(file);
    if (error.line > 0) text.append(":").append(std::to_string(error.line));
    text.append(": ").append(error.message);
    return text;
}

}  // namespace quorlet
