// The intermediate files that the stages of one run hand to each other: cover table, check
// table, one-output table, minimized tables and the settings log. Readers turn lines into these
// value types, writers turn them back into the exact lines every stage expects.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "TextFile.h"
#include "Words.h"

namespace quorlet {

// File names of the work directory.
inline constexpr std::string_view kCoverTableFile = "exp_tbl.$$$";
inline constexpr std::string_view kCheckTableFile = "exp_chk.$$$";
inline constexpr std::string_view kSettingsLogFile = "exp_log.$$$";
inline constexpr std::string_view kMinimizedFile = "esp_tbl.$$$";
inline constexpr std::string_view kMissingCoverFile = "esp_chk.$$$";
inline constexpr std::string_view kOneOutputTableFile = "exp_tbl.###";
inline constexpr std::string_view kOneOutputMinimizedFile = "esp_tbl.###";
inline constexpr std::string_view kSchematicLogFile = "isp_log.$$$";

inline constexpr int kMaxTerms = 2000;

struct Term {
    std::string input;   // "0", "1", "-"
    std::string output;  // "1", "0", "-", "~" (or "?"/"." in the completeness check's store)
    bool operator==(const Term&) const = default;
};

// Cover table and its relatives: ".i", ".o", ".type", ".phase", ".p", terms, ".e".
struct CoverTable {
    int inputs = 0;
    int outputs = 0;
    std::string type = "fdr";
    std::vector<Term> terms;
};

// Writes ".i I", ".o O", ".type T", ".phase 1..1", ".p P", the terms, ".e".
void WriteCoverTable(TextFile& file, const CoverTable& table);
// The check table: ".type f", each "." or "~" of an output part "~", every other character "1".
CoverTable MakeCheckTable(const CoverTable& cover);
// The one-output table of column k (1-based): ".o 1", ".phase 1", the single column.
CoverTable MakeOneOutputTable(const CoverTable& cover, int column);

// Minimized tables ("esp_tbl.$$$", "esp_chk.$$$", "esp_tbl.###").
struct MinimizedTable {
    int inputs = 0;
    int outputs = 0;
    std::vector<Term> terms;
};

enum class TableReadStatus {
    Ok,
    NoCountLine,  // the file ended before the ".p" line
    BadNumber,    // a ".i", ".o" or ".p" count that is not all digits, or beyond nine digits
    ShortTable,   // fewer term lines than ".p" says
    BadWidth,     // a term whose parts do not have the widths of ".i" / ".o"
    Refused,      // the reader's count check ended the header
};

// The header of every table file. Lines whose first word is ".I", ".O" or ".P" (any case) carry
// their count as second word; ".type" gives the type; every other header line is skipped; the
// header ends with the ".P" line. A count whose line never came stays -1.
struct TableHeader {
    int inputs = -1;
    int outputs = -1;
    int terms = -1;
    std::string type;
    bool countTooLarge = false;  // a count went beyond kCountCeiling (and reads as the ceiling)
};

// Looks at each count as it is read (key 'I', 'O' or 'P'); false ends the header at once. A
// reader with a check leaves the judging of bad numbers to it.
using CountCheck = std::function<bool(char key, const ParsedNumber& count)>;

// Reads the header up to and including its ".P" line. Without a check a count that is no
// number gives BadNumber; with one, a false answer gives Refused.
TableReadStatus ReadTableHeader(TextFile& file, TableHeader& header, const CountCheck& check = {});

// How the term lines of a table are taken.
struct TermRules {
    bool checkWidths = true;  // the parts must have exactly these widths (and both be there)
    int inputs = 0;
    int outputs = 0;
    bool skipBlankLines = false;  // blank lines are neither terms nor counted
};

// Reads one term line: its first word is the input part, its second the output part (empty
// when missing). ShortTable at the end of the file, BadWidth for parts the rules refuse.
TableReadStatus ReadTableTerm(TextFile& file, Term& term, const TermRules& rules);
// Reads count term lines, appending them; stops at the first refusal.
TableReadStatus ReadTableTerms(TextFile& file, int count, const TermRules& rules, std::vector<Term>& terms);

// The whole table: header, then exactly P term lines of the widths of ".I" / ".O" (a width whose
// line never came is -1, which any term then fails).
TableReadStatus ReadMinimizedTable(TextFile& file, MinimizedTable& table);
// The cover table (and the check and one-output tables) by the same rules, its type included.
TableReadStatus ReadCoverTable(TextFile& file, CoverTable& table);
// Writes the four header lines the converters rely on: ".i", ".o", "#.phase 1..1", ".p".
void WriteMinimizedTable(TextFile& file, const MinimizedTable& table);

// Settings log ("exp_log.$$$").
struct SettingsLog {
    bool error = false;            // the whole file is the line "ERROR"
    std::string minimizerArgs;     // line 1
    std::string resultFile;        // line 3, first word
    std::string tableFile;         // line 3, second word
    std::string converterOptions;  // line 4, as written
    std::string title;             // line 5
    std::vector<std::string> inputNames;
    std::vector<std::string> outputNames;
    bool pos = false;
    bool off = false;
    int ni = 0, no = 0, n = 0, m = 0;
    bool inv = false;
    bool regOut = false;
};

// Writes every line of the settings log in its order; a log with `error` set is "ERROR".
void WriteSettingsLog(TextFile& file, const SettingsLog& log);
// The name lines: "INPUT"/"OUTPUT" with eight names a line, none when the list is empty.
void WriteNameLines(TextFile& file, std::string_view keyword, const std::vector<std::string>& names);

enum class LogReadStatus {
    Ok,
    Error,          // the log is the line "ERROR"
    Truncated,      // the file ended before "NO_ERRORS"
    Malformed,      // the name lists are followed by something else than "POS", "OFF", "NO_ERRORS"
    NoCounts,       // nothing after "NO_ERRORS"
    BadNumber,      // fewer than four counts, or one that is no number
    CountMismatch,  // the name lists do not hold ni + n inputs and no + m outputs
};

// Reads a log written by WriteSettingsLog: line 1; the file line, the first after it that is
// neither blank nor a "-o" line; the options line and the title line after it; the name lists
// ("INPUT"/"OUTPUT" lines in any order, blank lines and lines of a double quote passed over,
// a word beginning with a double quote or "#" ending its line); "POS", "OFF", "NO_ERRORS"; the
// four counts; "INV"/"REG_OUT" on any later line. Whatever was read stays in the log also when
// the status is not Ok, and the lines after "NO_ERRORS" are read to the end whatever their counts.
LogReadStatus ReadSettingsLog(TextFile& file, SettingsLog& log);
// Reads the counts alone: every line up to "NO_ERRORS" is passed over, the rest is read as
// above (Ok, Truncated, NoCounts or BadNumber), for the stages that want nothing else.
LogReadStatus ReadSettingsLogCounts(TextFile& file, SettingsLog& log);

}  // namespace quorlet
