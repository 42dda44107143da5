// The word scanner and the number parser of all stages.
#include "Words.h"

namespace quorlet {

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == ';' || c == '|'; }

bool IsBlankLine(std::string_view line)
{
    for (char c : line)
        if (!IsSeparator(c)) return false;
    return true;
}

bool IsCommentLine(std::string_view line)
{
    std::string word = WordScanner(line).FirstWord();
    return !word.empty() && (word.front() == '"' || word.front() == '#');
}

void WordScanner::SkipSeparators()
{
    while (pos_ < line_.size() && IsSeparator(line_[pos_])) ++pos_;
}

bool WordScanner::AtCommentStart() const { return pos_ < line_.size() && (line_[pos_] == '"' || line_[pos_] == '#'); }

std::string WordScanner::TakeWord()
{
    std::size_t start = pos_;
    while (pos_ < line_.size() && !IsSeparator(line_[pos_])) ++pos_;
    return std::string(line_.substr(start, pos_ - start));
}

std::string WordScanner::FirstWord()
{
    pos_ = 0;
    ended_ = false;
    SkipSeparators();
    return TakeWord();
}

std::string WordScanner::NextWord()
{
    if (ended_) return {};
    SkipSeparators();
    if (pos_ >= line_.size() || AtCommentStart()) {
        ended_ = true;
        return {};
    }
    return TakeWord();
}

std::string WordScanner::NextRawWord()
{
    SkipSeparators();
    return TakeWord();
}

std::optional<char> WordScanner::NextChar()
{
    if (ended_) return std::nullopt;
    SkipSeparators();
    if (pos_ >= line_.size() || AtCommentStart()) {
        ended_ = true;
        return std::nullopt;
    }
    return line_[pos_++];
}

std::string WordScanner::RemainingChars()
{
    std::string rest;
    while (auto c = NextChar()) rest.push_back(*c);
    return rest;
}

std::vector<std::string> SplitWords(std::string_view line)
{
    std::vector<std::string> words;
    WordScanner scan(line);
    for (std::string word = scan.FirstWord(); !word.empty(); word = scan.NextRawWord()) words.push_back(word);
    return words;
}

ParsedNumber ParseDecimal(std::string_view word, const NumberRules& rules)
{
    ParsedNumber number;
    for (char c : word)
        number.rawValue = number.rawValue * 10u + (static_cast<unsigned>(static_cast<unsigned char>(c)) - '0');
    bool negative = false;
    if (!word.empty() && ((rules.minusAllowed && word.front() == '-') || (rules.plusAllowed && word.front() == '+'))) {
        negative = word.front() == '-';
        word.remove_prefix(1);
    }
    long long digits = 0;
    bool leading = true;
    for (char c : word) {
        if (c < '0' || c > '9') {
            ++number.badChars;
            leading = false;
            continue;
        }
        if (!leading) continue;
        digits = digits * 10 + (c - '0');
        if (digits > rules.ceiling) {
            digits = rules.ceiling;
            number.capped = true;
        }
    }
    number.empty = word.empty();
    number.isNumber = number.badChars == 0 && (rules.emptyIsZero || !word.empty());
    number.value = static_cast<int>(negative ? -digits : digits);
    return number;
}

bool ParseCount(std::string_view word, int& value)
{
    ParsedNumber number = ParseDecimal(word);
    if (!number.isNumber) return false;
    value = number.value;
    return true;
}

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string line(text.substr(start, end - start));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::string XmlEscaped(std::string_view text, bool apostrophe)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'':
            if (apostrophe) out += "&apos;";
            else out += c;
            break;
        default: out += c;
        }
    }
    return out;
}

}  // namespace quorlet
