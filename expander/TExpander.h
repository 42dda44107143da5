// The table reader stage "EXPANDER": reads the user's table file (function table or state
// table), echoes it into the head of the result file and writes the cover table, the check
// table and the settings log for the stages that follow.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "Words.h"
#include "TextFile.h"
#include "UTables.h"
#include "USubExec.h"

namespace quorlet {

class TExpander : public TSubExec {
public:
    static constexpr int kMaxNames = 40;  // input columns, and output columns
    static constexpr int kMaxStates = 256;
    static constexpr int kMaxStateSymbol = 4;
    static constexpr int kMaxEquationVariables = 26;
    static constexpr std::size_t kMaxNodeExtension = 2;

    void Execute() override;

private:
    struct State {
        std::string symbol;
        std::string code;
    };
    // What a comment line met while reading on is good for.
    enum class Comments { Drop, CopyToResult, RememberFirst };

    void Reset();
    void WriteBanner();

    bool ScanCommandLine();
    bool ScanOption(const std::string& word);
    void ScanNodeExtension(const std::string& word);
    bool TakeFileNames(const std::string& name);
    bool OpenTableAndResult();

    bool ReadTable();
    bool ReadHeading();
    void WriteResultHead();
    bool ReadNameLines();
    bool AddNames(WordScanner& scan, std::vector<std::string>& names);
    bool ReadStateSection();
    bool ChooseFlipFlopType();
    bool ReadStateLine();
    bool CheckReservedNames();
    bool CheckLimits();
    void WriteColumnHeader();
    bool ReadTermLines();
    bool ReadFunctionTerm();
    bool ReadTransition();
    bool StoreTerm(Term term);
    std::string ConflictEcho(const Term& earlier) const;
    const State* FindState(std::string_view symbol) const;

    void Finish();
    void WriteTables();
    void WriteSettingsLogFile();

    // Next line of the table file that is neither empty nor a comment line; false at its end.
    bool ReadUsefulLine(Comments comments, std::string* remembered = nullptr);
    std::string FirstWordUpper(std::string_view line) const;

    bool Has(char letter) const { return options_[static_cast<std::size_t>(letter - 'A')]; }
    void ToResult(std::string_view text);
    // To the console and the result file.
    void Report(std::string_view text);
    // Reports the message and sets the error state; always false.
    bool Fail(std::string_view message);
    bool FailOnConsole(std::string_view message);

    std::array<bool, 26> options_{};
    int outputOptionCount_ = 0;
    std::string nodeExtension_;
    std::string flipFlopParam_;
    std::string flipFlop_;

    std::string tableName_;
    std::string resultName_;
    TextFile table_;
    TextFile result_;
    std::string line_;  // the line in hand

    std::string title_;
    std::string headComment_;
    std::string nameComment_;
    std::vector<std::string> primaryInputs_;
    std::vector<std::string> primaryOutputs_;
    std::vector<std::string> inputs_;   // state variables first
    std::vector<std::string> outputs_;  // excitation functions first

    bool stateTable_ = false;
    int n_ = 0;
    int m_ = 0;
    std::vector<State> states_;
    std::vector<Term> terms_;
};

}  // namespace quorlet
