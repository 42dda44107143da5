// The pipeline driver: reads the slash options and runs the stages of one minimization run.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "USubExec.h"
#include "UTables.h"
#include "WorkDirectory.h"

namespace quorlet {

class TQuorlet : public TSubExec {
public:
    void Execute() override;

private:
    void Reset();
    void ReadToolDir();
    // The stages of the run, with the work directory already locked and cleared.
    void RunStages();
    // The table file as the table reader will open it, or empty when the line names none.
    std::string TableFilePath();
    // False, with its message, when the table is a file that the chosen run writes or erases.
    bool CheckTableIsSafe();
    // The files the chosen run writes, renames or erases besides its result file.
    std::vector<std::string> FilesOfTheRun(const std::string& tableWord);
    bool LockWorkDirectory();
    // Removes every intermediate file; false, with its message, when a name is held by
    // something that is not a plain file.
    bool ClearIntermediateFiles(bool reportProblems);
    // False, with a message, when a signal name of the table is also a state variable or
    // excitation name that the run generates.
    bool CheckGeneratedNames();
    // Moves the leading extra-output words ("--kmap", ...) of the command line into
    // ExtraOutputs; false, with its message, for one the driver does not know.
    bool TakeExtraOutputs();
    bool ReadOptions();
    // First line of the settings log, or false (with its message) when it cannot be opened.
    bool ReadMinimizerArgs();
    void MinimizeSingleOutputs();
    void MinimizeWholeTable();
    bool CanOpen(std::string_view name);
    // The cover table, kept across the Moore second pass (which splits the table in
    // two) so that the extra outputs still find the whole table as it was minimized.
    void SaveCoverTable();
    void RestoreCoverTable();
    void RunTool(std::string_view program, std::string_view arguments);

    std::string ToolDir;
    std::string CommandLine;
    std::string ExtraOutputs;  // the extra-output words, each with a leading blank
    int OutputKind = 1;
    int OutputOptionCount = 0;
    std::string LibraryName;
    bool SingleOutput = false;
    bool MooreMode = false;
    std::string MinimizerArgs;
    bool MooreFailed = false;
    bool Stopped = false;
    std::optional<CoverTable> SavedCoverTable;
    WorkDirLock Lock;
};

}  // namespace quorlet
