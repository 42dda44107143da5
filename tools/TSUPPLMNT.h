// The completeness check: shows the points that the table leaves open, asks to which cover they
// belong, reports them in the result file and adds them to the cover table, or aborts the run.
#pragma once

#include <string>
#include <vector>

#include "USubExec.h"
#include "UTables.h"

namespace quorlet {

// The question block's column header: rule, vertical names, rule (names always shown).
std::vector<std::string> MissingCoverHeader(const SettingsLog& log);
// One missing term as shown on the console and in the result file.
std::string MissingTermLine(const SettingsLog& log, const Term& term);

class TSUPPLMNT : public TSubExec {
public:
    // Invalid answers in a row after which the question counts as aborted, so that an answer
    // source that keeps giving the same wrong text cannot hold the run for ever.
    static constexpr int kMaxCoverQuestions = 100;

    void Execute() override;

private:
    bool ReadSettings();
    // Reads a table up to its ".p" line; false, with its message, when the count is missing or bad.
    bool ReadTermCount(TextFile& file, int& count);
    // Reads the count and at most `room` terms of the log's widths into the store.
    bool ReadTermsOfLogWidths(TextFile& file, int room, std::vector<Term>& into);
    bool ReadMissingCover();
    void AskForCover();
    bool AppendToResultFile();
    bool RewriteCoverTable();
    void AbortRun();
    void Fail(std::string_view message = {});

    bool missing_ = false;
    char selection_ = '?';
    SettingsLog log_;
    std::vector<Term> store_;  // missing terms first, then those of the cover table
};

}  // namespace quorlet
