// The Moore check: "esp_tbl.$$$" tested, "exp_tbl.$$$" split into next-state and output tables.
#include "TMOOR_CHK.h"

#include "ToolFiles.h"

namespace quorlet {

namespace {

// Reads a table header with the stage's number reader; the header ends at the ".P" line or as
// soon as a count is bad.
void ReadCounts(TSubExec& stage, TextFile& file, int& inputs, int& outputs, int& terms)
{
    inputs = outputs = terms = 0;
    ReadCountHeader(stage, file, [&](char key, const std::string& word) {
        int value = CheckedNumber(stage, word);
        if (key == 'I') inputs = value;
        if (key == 'O') outputs = value;
        if (key == 'P') terms = value;
        return !stage.ErrorFlag;
    });
}

}  // namespace

void TMOOR_CHK::ReadSettings()
{
    TextFile log;
    if (!OpenIn(log, kSettingsLogFile)) {
        WriteLine("ERROR OPENING TEMPORARY FILE 1");
        ErrorFlag = true;
        return;
    }
    if (!ReadStateCounts(*this, log, stateBits_, excitations_)) {
        CloseText(log);
        WriteLine("ERROR OPENING TEMPORARY FILE 2");
        ErrorFlag = true;
        return;
    }
    CloseText(log);
}

void TMOOR_CHK::TestFirstPass()
{
    TextFile file;
    if (!OpenIn(file, kMinimizedFile)) {
        WriteLine("FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE 3");
        ErrorFlag = true;
    } else {
        int ni = 0, no = 0, np = 0;
        ReadCounts(*this, file, ni, no, np);
        std::string line;
        for (int i = 0; !ErrorFlag && i < np; ++i) {
            if (!file.ReadLine(line)) {
                ErrorFlag = true;
                break;
            }
            Term term = TermWords(*this, line);
            bool drivesOutput = false;
            for (int k = excitations_; k < no && k < static_cast<int>(term.output.size()); ++k)
                if (term.output[k] == '1') drivesOutput = true;
            bool usesInput = false;
            for (int k = stateBits_; k < ni && k < static_cast<int>(term.input.size()); ++k)
                if (term.input[k] != '-') usesInput = true;
            if (drivesOutput && usesInput) secondPass_ = true;
        }
        CloseText(file);
    }
    if (ErrorFlag) WriteLine("TEMPORARY FILE FORMAT ERROR 4");
}

void TMOOR_CHK::LoadExpandedTable()
{
    TextFile file;
    if (!OpenIn(file, kCoverTableFile)) {
        WriteLine("FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE 5");
        ErrorFlag = true;
    } else {
        ReadCounts(*this, file, inputs_, outputs_, terms_);
        // The log's state and excitation columns must lie within the table, or the split
        // would have no columns to take them from.
        if (!ErrorFlag && (stateBits_ > inputs_ || excitations_ > outputs_)) ErrorFlag = true;
        if (!ErrorFlag && terms_ > kMaxTerms) {
            WriteLine(TooManyTermsMessage());
            ErrorFlag = true;
            tooLong_ = true;
        }
        std::string line;
        for (int i = 0; !ErrorFlag && i < terms_; ++i) {
            if (!file.ReadLine(line)) {
                ErrorFlag = true;
                break;
            }
            Term term = TermWords(*this, line);
            if (static_cast<int>(term.input.size()) != inputs_ || static_cast<int>(term.output.size()) != outputs_) {
                ErrorFlag = true;
                break;
            }
            store_.push_back(std::move(term));
        }
        CloseText(file);
    }
    if (ErrorFlag) WriteLine("TEMPORARY FILE FORMAT ERROR 6");
}

void TMOOR_CHK::WriteSecondPassTables()
{
    CoverTable outputsTable;
    outputsTable.inputs = inputs_;
    outputsTable.outputs = outputs_ - excitations_;
    CoverTable nextStateTable;
    nextStateTable.inputs = inputs_;
    nextStateTable.outputs = excitations_;
    for (const Term& term : store_) {
        outputsTable.terms.push_back({term.input, term.output.substr(static_cast<std::size_t>(excitations_))});
        nextStateTable.terms.push_back({term.input, term.output.substr(0, static_cast<std::size_t>(excitations_))});
    }

    // "exp_tbl.###" tells the driver to run the second pass; it must not stay behind unless
    // both tables of that pass were written whole.
    TextFile out;
    if (!OpenOut(out, kOneOutputTableFile)) {
        WriteLine("FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE 7");
        ErrorFlag = true;
        return;
    }
    WriteCoverTable(out, outputsTable);
    if (!CloseText(out)) {
        WriteLine("ERROR WRITING TABLES, PROBABLY DISK FULL 8");
        ErrorFlag = true;
        EraseFile(kOneOutputTableFile);
        return;
    }
    if (!OpenOut(out, kCoverTableFile)) {
        WriteLine("FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE 9");
        ErrorFlag = true;
        EraseFile(kOneOutputTableFile);
        return;
    }
    WriteCoverTable(out, nextStateTable);
    if (!CloseText(out)) {
        WriteLine("ERROR WRITING TABLES, PROBABLY DISK FULL 10");
        ErrorFlag = true;
        EraseFile(kOneOutputTableFile);
    }
}

void TMOOR_CHK::Execute()
{
    ErrorFlag = false;
    secondPass_ = false;
    tooLong_ = false;
    stateBits_ = excitations_ = 0;
    inputs_ = outputs_ = terms_ = 0;
    store_.clear();

    ReadSettings();
    if (ErrorFlag) return;
    TestFirstPass();
    if (ErrorFlag || !secondPass_) return;
    LoadExpandedTable();
    if (ErrorFlag) {
        // A table beyond the store cannot be realised as Moore machine: the run is refused
        // rather than handing the unchecked first-pass result to the converter.
        if (tooLong_) MarkRunFailed(*this);
        return;
    }
    WriteSecondPassTables();
}

}  // namespace quorlet
