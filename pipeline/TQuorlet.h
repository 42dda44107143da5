// The pipeline driver: reads the slash options and runs the stages of one minimization run.
#pragma once

#include <string>

#include "USubExec.h"

namespace quorlet {

class TQuorlet : public TSubExec {
public:
    void Execute() override;

private:
    void Reset();
    void ReadToolDir();
    bool ReadOptions();
    // First line of the settings log, or false (with its message) when it cannot be opened.
    bool ReadMinimizerArgs();
    void MinimizeSingleOutputs();
    void MinimizeWholeTable();
    bool CanOpen(std::string_view name);
    void RunTool(std::string_view program, std::string_view arguments);

    std::string ToolDir;
    std::string CommandLine;
    int OutputKind = 1;
    int OutputOptionCount = 0;
    std::string LibraryName;
    bool SingleOutput = false;
    bool MooreMode = false;
    std::string MinimizerArgs;
    bool MooreFailed = false;
    bool Stopped = false;
};

}  // namespace quorlet
