// The word and character reader of the table file language.
#include "TableScanner.h"

#include "USubExec.h"

namespace quorlet {

bool IsCommentLine(std::string_view line)
{
    TableLineScanner scan(line);
    std::string word = scan.FirstWord();
    return !word.empty() && (word.front() == '"' || word.front() == '#');
}

bool IsBlankLine(std::string_view line)
{
    for (char c : line)
        if (!IsSeparator(c)) return false;
    return true;
}

void TableLineScanner::SkipSeparators()
{
    while (pos_ < line_.size() && IsSeparator(line_[pos_])) ++pos_;
}

bool TableLineScanner::AtCommentStart() const
{
    return pos_ < line_.size() && (line_[pos_] == '"' || line_[pos_] == '#');
}

std::string TableLineScanner::FirstWord()
{
    pos_ = 0;
    ended_ = false;
    SkipSeparators();
    std::size_t start = pos_;
    while (pos_ < line_.size() && !IsSeparator(line_[pos_])) ++pos_;
    return std::string(line_.substr(start, pos_ - start));
}

std::string TableLineScanner::NextWord()
{
    if (ended_) return {};
    SkipSeparators();
    if (pos_ >= line_.size() || AtCommentStart()) {
        ended_ = true;
        return {};
    }
    std::size_t start = pos_;
    while (pos_ < line_.size() && !IsSeparator(line_[pos_])) ++pos_;
    return std::string(line_.substr(start, pos_ - start));
}

std::optional<char> TableLineScanner::NextChar()
{
    if (ended_) return std::nullopt;
    SkipSeparators();
    if (pos_ >= line_.size() || AtCommentStart()) {
        ended_ = true;
        return std::nullopt;
    }
    return line_[pos_++];
}

std::string TableLineScanner::RemainingChars()
{
    std::string rest;
    while (auto c = NextChar()) rest.push_back(*c);
    return rest;
}

}  // namespace quorlet
