// The intermediate files that the stages of one run hand to each other: cover table, check
// table, one-output table, minimized tables and the settings log. Readers turn lines into these
// value types, writers turn them back into the exact lines every stage expects.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "TextFile.h"

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
    NoCountLine,   // the file ended before the ".p" line
    BadNumber,     // a ".i", ".o" or ".p" count that is not all digits
    ShortTable,    // fewer term lines than ".p" says
    BadWidth,      // a term whose parts do not have the widths of ".i" / ".o"
};

// Header: lines whose first word is ".I", ".O" or ".P" (any case) carry their count as second
// word; every other header line is skipped; the header ends with the ".P" line. Then exactly P
// term lines, first word input part of .I characters, second word output part of .O characters.
// A ".i"/".o" line that never came gives a width of -1, which any term then fails.
TableReadStatus ReadMinimizedTable(TextFile& file, MinimizedTable& table);
// Writes the four header lines the converters rely on: ".i", ".o", "#.phase 1..1", ".p".
void WriteMinimizedTable(TextFile& file, const MinimizedTable& table);

// Settings log ("exp_log.$$$").
struct SettingsLog {
    bool error = false;              // the whole file is the line "ERROR"
    std::string minimizerArgs;       // line 1
    std::string resultFile;          // line 3, first word
    std::string tableFile;           // line 3, second word
    std::string converterOptions;    // line 4, as written
    std::string title;               // line 5
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

enum class LogReadStatus { Ok, Error, Truncated, BadNumber, CountMismatch };

// Reads a log written by WriteSettingsLog: line 1, line 3 (result and table file), line 4,
// line 5, the name lists up to "NO_ERRORS", the four counts after it, "INV"/"REG_OUT" after
// them. Stages with a reading rule of their own apply it on top of this.
LogReadStatus ReadSettingsLog(TextFile& file, SettingsLog& log);

// Splits a line into its words (blank, tab, ",", ";", "|" separate; any run counts as one).
std::vector<std::string> SplitWords(std::string_view line);

}  // namespace quorlet
