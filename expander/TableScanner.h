// Reading one line of a table file: its words and its vector characters, with the comment rule
// that a word or a vector position beginning with a double quote or "#" ends the useful part.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorlet {

// True for a line whose first word begins with a double quote or "#".
bool IsCommentLine(std::string_view line);
// True for a line that holds nothing but separators.
bool IsBlankLine(std::string_view line);

class TableLineScanner {
public:
    explicit TableLineScanner(std::string_view line) : line_(line) {}

    // The first word of the line, unchanged even when it begins a comment.
    std::string FirstWord();
    // The next word, or empty at the end of the line or at a comment (which ends the line).
    std::string NextWord();
    // The next vector character, separators skipped; none at the end of the line or a comment.
    std::optional<char> NextChar();
    // Every vector character still on the line before its end or a comment.
    std::string RemainingChars();

private:
    void SkipSeparators();
    bool AtCommentStart() const;

    std::string_view line_;
    std::size_t pos_ = 0;
    bool ended_ = false;
};

}  // namespace quorlet
