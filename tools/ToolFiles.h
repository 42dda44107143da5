// Reading helpers shared by the table tools: the number check of their table headers, the term
// store they read a table into, the joining of a minimized cover's columns into the store, the
// state counts of the settings log, and the log's "ERROR" line that makes the rest of a run stop.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "USubExec.h"
#include "UTables.h"

namespace quorlet {

inline constexpr std::string_view kTempFileError = "TEMPORARY FILE ERROR";
inline constexpr std::string_view kMinimizedTooLong = "MINIMIZED TABLE TOO LONG";

// Opens an intermediate file for reading; when it cannot be opened, writes the message, sets the
// stage's ErrorFlag and returns false.
bool OpenToolFile(TSubExec& stage, TextFile& file, std::string_view name, std::string_view message);

inline constexpr std::string_view kDiskFull = "ERROR WRITING TABLE, PROBABLY DISK FULL";

// Writes an intermediate file through `write`; writes openMessage when the file cannot be
// created, writeMessage when writing it fails, sets ErrorFlag and returns false then.
bool WriteToolFile(TSubExec& stage, std::string_view name, const std::function<void(TextFile&)>& write,
                   std::string_view openMessage, std::string_view writeMessage = kDiskFull);
// The same for a cover table.
bool WriteToolTable(TSubExec& stage, std::string_view name, const CoverTable& table, std::string_view openMessage,
                    std::string_view writeMessage = kDiskFull);

// Writes the store as the minimized table "esp_tbl.$$$"; writes "FATAL ERROR: UNABLE TO OPEN
// TEMPORARY FILE" or "ERROR WRITING TABLE, PROBABLY DISK FULL", sets ErrorFlag and returns
// false when that fails.
bool WriteMinimizedStore(TSubExec& stage, int inputs, int outputs, const std::vector<Term>& store);

// The tools' check of a header count: the first that is no number writes "NUMBER CHECK ERROR",
// sets the stage's ErrorFlag and ends the header.
CountCheck StageNumberCheck(TSubExec& stage);

enum class StoreRead { Ok, Failed, TooLong };

// Reads a whole table into the store: the header with the stage's number check (its counts
// handed back, a missing one as 0; a table without a ".p" line has no terms), then, when
// `accept` (if given) takes the header, a count above the store writes tooLongMessage, then
// exactly that many terms of the header's widths. No other message is written.
StoreRead ReadTermStore(TSubExec& stage, TextFile& file, TableHeader& header, std::vector<Term>& store,
                        std::string_view tooLongMessage, const std::function<bool(const TableHeader&)>& accept = {});

// Joins `count` terms of `width` output columns from the file into the store (terms of oldWidth
// columns), as new last columns: a stored term with the same input part takes the new columns, any other term is
// appended with zeros in the old columns. onTerm sees (and may change) each term first. Writes
// "MINIMIZED TABLE TOO LONG" when a line or the store would overflow, "TEMPORARY FILE ERROR"
// for a missing or misshapen term, sets ErrorFlag and returns false then.
bool JoinOutputColumns(TSubExec& stage, TextFile& file, int count, int inputs, int oldWidth, int width,
                       std::vector<Term>& store, const std::function<void(Term&)>& onTerm = {});

// What the Moore check and the Moore combination share: the state counts of the log and the
// table they read into their store.
class TMooreStage : public TSubExec {
protected:
    // Clears the state of the last run and reads the state counts n and m of the settings log.
    // False when the run cannot go on: "ERROR OPENING TEMPORARY FILE 1" when the log cannot be
    // opened, "... 2" when it has no counts, "NUMBER CHECK ERROR" for a bad count.
    bool StartMooreRun();

    int stateBits_ = 0;    // A: present-state input columns, first in every input part
    int excitations_ = 0;  // B: next-state output columns, first in every output part
    int inputs_ = 0;       // NI
    int outputs_ = 0;      // NO
    std::vector<Term> store_;
};

// True when a term line of these parts stays within a line of 255 characters.
bool FitsLine(std::size_t inputWidth, std::size_t outputWidth);

// Replaces the settings log by the single line "ERROR", so that the driver and the converters
// refuse to go on with this run. False when the log could not be written.
bool MarkRunFailed(TSubExec& stage);

// The message of a store that would exceed its 2000 terms.
std::string TooManyTermsMessage();

}  // namespace quorlet
