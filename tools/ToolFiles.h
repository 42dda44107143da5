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

// Reads the state counts n and m of the settings log for the Moore tools. Writes "ERROR OPENING
// TEMPORARY FILE 1" when the log cannot be opened, "ERROR OPENING TEMPORARY FILE 2" when it has
// no counts, "NUMBER CHECK ERROR" for a bad count, and sets ErrorFlag in each case.
void ReadStateCounts(TSubExec& stage, int& stateBits, int& excitations);

// True when a term line of these parts stays within a line of 255 characters.
bool FitsLine(std::size_t inputWidth, std::size_t outputWidth);

// Replaces the settings log by the single line "ERROR", so that the driver and the converters
// refuse to go on with this run. False when the log could not be written.
bool MarkRunFailed(TSubExec& stage);

// The message of a store that would exceed its 2000 terms.
std::string TooManyTermsMessage();

}  // namespace quorlet
