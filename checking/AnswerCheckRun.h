// Checking answer files against a table: the entry point of the command line's --check and of
// the window. The table is minimized by the ordinary pipeline on a copy in a private temporary
// directory, so the minimum is the run's own and nothing lands beside the table.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace quorlet {

struct AnswerCheckRequest {
    std::vector<std::string> answerFiles;
    // The pipeline's slash options, the table file (a path, relative to the current directory)
    // and the flip-flop word ("D", "T", "JK", "SR"; may be empty for a function table). The
    // output options /E, /D and /J are left out of the runs, /P and /O are set per answer
    // (see CheckMode); the others are the run's.
    std::vector<std::string> options;
    std::string tableFile;
    std::string flipFlop;
    // The "Select Cover" choice for the minimum of an incompletely specified table: "1", "-",
    // "0" or "Q". Empty is "-": the open points are don't-cares, as they are for the answers.
    std::string cover;
    // When not empty: one line per answer file and function, for a gradebook.
    std::string csvFile;
    // Each answer's block is headed by its file name (always done for more than one answer).
    bool headed = false;
    // The runs' own console lines are written too, ahead of the verdicts (for --debug).
    bool showRunLines = false;
};

struct AnswerCheckResult {
    bool tableMinimized = false;  // false: nothing was checked, the run's messages were shown
    int answersAllCorrect = 0;    // answer files whose every function is correct
    int answers = 0;
    bool gradebookWritten = true;  // false: the CSV file could not be written
    bool AllCorrect() const { return tableMinimized && gradebookWritten && answersAllCorrect == answers; }
};

// Fills options, table file and flip-flop word from a pipeline command line as the window
// builds it (" /E /S traffic.tbl JK "): the words up to the first one not beginning with "/"
// are options, that one is the table file, the next the flip-flop word.
void ReadPipelineCommandLine(std::string_view commandLine, AnswerCheckRequest& request);

// Runs the check and writes everything through the console, which keeps its binding (the
// window's output window, standard output for the command line): per answer file its errors
// ("answer.txt:3: UNKNOWN SIGNAL X"), one verdict line per function of the table, and
// "RESULT: 2 OF 3 CORRECT". The stages must be registered; the current directory, the
// console's binding, the question interface and the clock are as before when it returns.
AnswerCheckResult RunAnswerCheck(const AnswerCheckRequest& request);

// The command line's "--check ANSWER [OPTIONS] TABLE [FF]" and "--check ANSWER... -- TABLE
// [FF]", with the words after "--check". Options: slash options, --cover=on|dc|off|abort,
// --csv FILE (or --csv=FILE), --debug (the runs' debug lines and their console, before the
// verdicts). Returns the exit status: 0 every function of every
// answer correct, 1 otherwise, 2 for a usage error (message on `errors`).
int RunCheckCommand(const std::vector<std::string>& words, std::ostream& errors);

}  // namespace quorlet
