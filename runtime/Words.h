// The words and numbers of a line, as every stage reads them: the one word scanner and the one
// decimal number parser of the system.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorlet {

// Blank, tab, ",", ";" and "|" separate words; any run of them counts as one.
bool IsSeparator(char c);
// True for a line that holds nothing but separators.
bool IsBlankLine(std::string_view line);
// True for a line whose first word begins with a double quote or "#".
bool IsCommentLine(std::string_view line);

// Reads one line word by word, or character by character for the vectors of a table. A word
// or vector position after the first that begins with a double quote or "#" starts a comment,
// which ends the line; the first word is taken as it stands.
class WordScanner {
public:
    explicit WordScanner(std::string_view line) : line_(line) {}

    // Where a scan stands, so that a stage can go on with the same line in a later call.
    struct Position {
        std::size_t offset = 0;
        bool ended = false;
    };
    WordScanner(std::string_view line, Position from) : line_(line), pos_(from.offset), ended_(from.ended) {}
    Position Where() const { return {pos_, ended_}; }

    // The first word of the line (the scan starts again), unchanged even when it begins a comment.
    std::string FirstWord();
    // The next word, or empty at the end of the line or at a comment.
    std::string NextWord();
    // The next word as it stands, comment characters included; empty at the end of the line.
    std::string NextRawWord();
    // The next vector character, separators skipped; none at the end of the line or a comment.
    std::optional<char> NextChar();
    // Every vector character still on the line before its end or a comment.
    std::string RemainingChars();

private:
    void SkipSeparators();
    bool AtCommentStart() const;
    std::string TakeWord();

    std::string_view line_;
    std::size_t pos_ = 0;
    bool ended_ = false;
};

// Every word of a line, comment characters included (the intermediate files have no comments).
std::vector<std::string> SplitWords(std::string_view line);

// The lines of a text without their ends ("\n" or "\r\n"); a last line without an end counts.
std::vector<std::string> SplitLines(std::string_view text);

// The text with "&", "<", ">" and the double quote (and the apostrophe when asked) written as XML
// entities, for the pictures' text and attribute values.
std::string XmlEscaped(std::string_view text, bool apostrophe = false);

// Counts beyond this are read as this value: far more than any store holds, and safe to compare
// and add without overflow.
inline constexpr int kCountCeiling = 999'999'999;

struct NumberRules {
    bool minusAllowed = false;    // a leading "-" belongs to the number
    bool plusAllowed = false;     // a leading "+" belongs to the number
    bool emptyIsZero = true;      // "" (or a lone sign) reads as 0; otherwise it is no number
    int ceiling = kCountCeiling;  // larger values read as this (before the sign is applied)
};

struct ParsedNumber {
    bool isNumber = false;  // digits only (after the sign the rules allow)
    bool empty = true;      // no digit and no other character after the sign
    int value = 0;          // the digits before the first other character, up to the ceiling, signed
    bool capped = false;    // the digits went beyond the ceiling
    int badChars = 0;       // characters that are no digits
    // Every character taken as a digit, in unsigned arithmetic that wraps: the stage number
    // reader's value of a word with bad characters.
    unsigned rawValue = 0;
};

// The decimal number parser of every reader in the system.
ParsedNumber ParseDecimal(std::string_view word, const NumberRules& rules = {});

// A count: digits only ("" is 0), saturating at the ceiling. False for any other character.
bool ParseCount(std::string_view word, int& value);

}  // namespace quorlet
