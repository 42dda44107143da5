// The minimized cover as every output converter sees it: the settings log "exp_log.$$$" and the
// minimized table "esp_tbl.$$$" read into one record, the converters' shared opening sequence,
// and the result statistics block that most converters write.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "TextFile.h"

namespace quorlet {

class TSubExec;

inline constexpr int kMaxCoverSignals = 40;      // input names, and output names
inline constexpr int kMaxCoverTerms = 2000;      // table, equations and ABEL outputs
inline constexpr int kMaxGateCoverTerms = 1100;  // netlist and schematic outputs

// One product term (in product-of-sums mode: one sum factor), already in the converters' view:
// input characters "1" (true), "0" (complemented), "-" (absent); output characters "1" (belongs
// to the output), "." (does not); "0" instead of "1" in off-cover mode.
struct CoverTerm {
    std::string InputPart;
    std::string OutputPart;
    bool operator==(const CoverTerm&) const = default;
};

// Why a reading refused its file. The log cases the converters end on silently; the table and
// capacity cases get a message from the opening sequence.
enum class CoverReadProblem {
    None,
    MalformedLog,    // end of file too early, no "NO_ERRORS", bad flip-flop count, "ERROR" log
    TooManySignals,  // more than 40 input or 40 output names in the log
    ShortTable,      // "esp_tbl.$$$" ends before its header or before its term count
    TooManyTerms,    // more terms than the store takes (the appended universal term included)
    BadTermCount,    // a term count that reads as negative
};

// The console line for a refusal that is not silent; empty for None and MalformedLog.
std::string_view CoverProblemMessage(CoverReadProblem problem);

struct MinimizedCover {
    std::string OutputFileName;  // case as written in the log
    std::string TableFileName;
    std::string TitleLine;      // upper case
    std::string NodeExtension;  // upper case, empty without a "-F" line
    bool IsStateMachine = false;
    std::string FlipFlopType;  // "D", "T", "JK", "SR"
    int FlipFlopCount = 0;

    // Index 0 is signal 1. NumInputs/NumOutputs always equal the sizes of the lists.
    std::vector<std::string> InputNames;
    int NumInputs = 0;
    std::vector<std::string> OutputNames;
    int NumOutputs = 0;

    bool ProductOfSums = false;
    bool OffCover = false;
    bool InvFlag = false;
    bool RegOutFlag = false;

    // Index 0 is term 1; NumTerms always equals Terms.size().
    std::vector<CoverTerm> Terms;
    int NumTerms = 0;

    bool Failed = false;
    CoverReadProblem Problem = CoverReadProblem::None;

    // Clears Failed, Problem, ProductOfSums and OffCover (step 1 of every converter).
    void ClearForRun();

    // Reads the already opened settings log; sets Failed on a malformed log.
    void ReadSettingsLog(TextFile& log);
    // Reads the already opened minimized table with the counts and modes of the log (so it
    // runs second). A table that ends early or holds more than maxTerms terms sets Failed.
    void ReadMinimizedTable(TextFile& table, int maxTerms = kMaxCoverTerms);

    // Character of input i / output j (0-based) of a term, safe for parts that are too short:
    // a missing input character reads "-", a missing output character reads ".".
    static char InputChar(const CoverTerm& term, int i);
    static char OutputChar(const CoverTerm& term, int j);
    // True when output j (0-based) has the term, i.e. its character is not ".".
    static bool HasOutput(const CoverTerm& term, int j) { return OutputChar(term, j) != '.'; }
    // True when the first NumInputs input characters are all "-".
    bool IsUniversal(const CoverTerm& term) const;
    // FlipFlopCount limited to what the signal lists hold (0 to min(NumInputs, NumOutputs)), so
    // that "the first F inputs/outputs" never reaches past the lists.
    int StateCount() const;
};

// The figures of the statistics block, computed over all terms.
struct CoverStatistics {
    int termCount = 0;
    int maxFanIn = 0;              // largest use of one input
    int totalLiterals = 0;         // literals of all terms plus the sizes of all outputs
    int maxTermSize = 0;           // most literals in one term
    int maxOutputSize = 0;         // most terms of one output
    std::vector<int> outputSizes;  // index 0 is output 1
};

CoverStatistics ComputeStatistics(const MinimizedCover& cover);

struct StatisticsOptions {
    std::string prefix;                // leads every file line but the two empty ones
    bool withIndividualSizes = false;  // the per-output size table
    bool flipFlopNames = false;        // outputs 1..FlipFlopCount named by their state variable
};

// The lines of the block between its two empty lines, without prefix.
std::vector<std::string> FormatStatistics(const MinimizedCover& cover, const StatisticsOptions& options);

// Writes the block to the console, and, when file is not null, to the file as well: an empty
// line, the block with the prefix, an empty line (the first empty line goes to the file only).
void WriteStatistics(const MinimizedCover& cover, TextFile* file, const StatisticsOptions& options);

// ---- Equations, as the equation and ABEL outputs write them ----
// The terms of output j (0-based), in their order.
std::vector<const CoverTerm*> OutputTerms(const MinimizedCover& cover, int j);
// The literals of a term in input order, each as `literal(input, complemented)` gives it, joined
// by `join`; in product-of-sums mode the whole is put in parentheses.
std::string TermText(const MinimizedCover& cover, const CoverTerm& term, std::string_view join,
                     const std::function<std::string(int input, bool complemented)>& literal);
// Lays out the pieces after the head, which is taken to end at `column`: a piece that would end
// at or beyond `limit` starts a new line of four blanks. The last line is left open.
std::vector<std::string> WrapPieces(std::string head, std::size_t column, const std::vector<std::string>& pieces,
                                    std::size_t limit);

// The converters' result file: appended to or replaced; "nul" may name the null device, as it
// does for the equation and ABEL outputs. Writes "ERROR OPENING OUTPUT FILE" (or "ERROR OPENING
// NULL DEVICE") and returns false when it cannot be opened.
enum class ResultWrite { Append, Replace };
bool OpenResultFile(TSubExec& stage, TextFile& out, const MinimizedCover& cover, ResultWrite mode, bool nulIsDevice);
// Closes the result file: "ERROR WRITING OUTPUT FILE, PROBABLY DISK FULL" when that fails,
// otherwise the run's result is marked as written. True when the result is complete.
bool FinishResultFile(TSubExec& stage, TextFile& out, const MinimizedCover& cover);

// The whole run of a converter whose result is text: the cover read, an empty console line, the
// statistics block, then the lines from `format`, each to the console and appended to the result
// file, which is finished at the end.
void WriteTextResult(TSubExec& stage, MinimizedCover& cover, bool nulIsDevice,
                     const std::function<std::vector<std::string>(const MinimizedCover&)>& format);

// Opens the work file `name` through the stage's file operations, hands it to `read` and closes
// it. False, with "ERROR OPENING TEMPORARY FILES" written, when it cannot be opened.
bool ReadWorkFile(TSubExec& stage, std::string_view name, const std::function<void(TextFile&)>& read);

// The converters' opening sequence: clears the run flags, opens and reads "exp_log.$$$" and
// "esp_tbl.$$$" through the stage's file operations and closes them. False when the converter
// must stop; the messages are written ("ERROR OPENING TEMPORARY FILES", the table refusals),
// a malformed log stops silently. maxTerms is the store of the converter (2000 or 1100).
bool OpenMinimizedCover(TSubExec& stage, MinimizedCover& cover, int maxTerms = kMaxCoverTerms);

}  // namespace quorlet
