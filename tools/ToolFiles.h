// Reading helpers shared by the table tools: the count header of a table, term lines, numbers
// that never overflow, and the settings log's "ERROR" line that makes the rest of a run stop.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "USubExec.h"
#include "UTables.h"

namespace quorlet {

// Counts beyond this are treated as this value: far more than any store holds, and safe to
// compare and add without overflow.
inline constexpr int kCountCeiling = 999'999'999;

// The stage's number reader without its overflow: a non-digit writes "NUMBER CHECK ERROR" once
// and sets the stage's ErrorFlag; an empty word is 0; a value above the ceiling is the ceiling.
int CheckedNumber(TSubExec& stage, std::string_view word);

// A word of digits only ("" counts as 0); false for any other character. Saturates at the ceiling.
bool DigitCount(std::string_view word, int& value);

// One count line of a table header: key is 'I', 'O' or 'P', word the count word as read.
using HeaderCount = std::function<bool(char key, const std::string& word)>;

// Reads header lines, each in capitals, up to and including the first whose first word is ".P",
// or to the end of the file. Every ".I", ".O" or ".P" line is handed to onCount; a false return
// ends the header at once. True when the ".P" line was read and accepted.
bool ReadCountHeader(TSubExec& stage, TextFile& file, const HeaderCount& onCount);

// Reads the settings log on to its "NO_ERRORS" line and takes n and m, the third and fourth
// counts of the line after it. False when the file ends first; the caller says so.
bool ReadStateCounts(TSubExec& stage, TextFile& log, int& stateBits, int& excitations);

// The first two words of a term line, as written.
Term TermWords(TSubExec& stage, std::string_view line);

// True when a term line of these parts stays within a line of 255 characters.
bool FitsLine(std::size_t inputWidth, std::size_t outputWidth);

// Replaces the settings log by the single line "ERROR", so that the driver and the converters
// refuse to go on with this run. False when the log could not be written.
bool MarkRunFailed(TSubExec& stage);

// The message of a store that would exceed its 2000 terms.
std::string TooManyTermsMessage();

}  // namespace quorlet
