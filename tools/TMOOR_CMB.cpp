// The Moore combination: "esp_tbl.$$$" and "esp_tbl.###" joined into "esp_tbl.$$$".
#include "TMOOR_CMB.h"

#include "ToolFiles.h"

namespace quorlet {

namespace {
constexpr std::string_view kOpenError = "FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE";
constexpr std::string_view kFileError = "TEMPORARY FILE ERROR";
constexpr std::string_view kTooLong = "MINIMIZED TABLE TOO LONG";

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

void TMOOR_CMB::ReadSettings()
{
    TextFile log;
    if (!OpenIn(log, kSettingsLogFile)) {
        WriteLine("ERROR OPENING TEMPORARY FILE 1");
        ErrorFlag = true;
        return;
    }
    std::string line;
    bool headOk = log.ReadLine(line) && log.ReadLine(line) && log.ReadLine(line);
    if (headOk) logLine3_ = line;
    if (!headOk || !ReadStateCounts(*this, log, stateBits_, excitations_)) {
        CloseText(log);
        WriteLine("ERROR OPENING TEMPORARY FILE 2");
        ErrorFlag = true;
        return;
    }
    CloseText(log);
}

void TMOOR_CMB::ReadNextStateCover()
{
    TextFile file;
    if (!OpenIn(file, kMinimizedFile)) {
        WriteLine(kOpenError);
        ErrorFlag = true;
        return;
    }
    int terms = 0;
    ReadCounts(*this, file, inputs_, outputs_, terms);
    if (!ErrorFlag && terms > kMaxTerms) {
        WriteLine(kTooLong);
        ErrorFlag = true;
    }
    std::string line;
    for (int i = 0; !ErrorFlag && i < terms; ++i) {
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
    if (ErrorFlag) WriteLine("TEMPORARY FILE FORMAT ERROR");
}

void TMOOR_CMB::JoinOutputCover()
{
    TextFile file;
    if (!OpenIn(file, kOneOutputMinimizedFile)) {
        WriteLine(kOpenError);
        ErrorFlag = true;
        return;
    }
    int ni2 = 0, no2 = 0, np2 = 0;
    ReadCounts(*this, file, ni2, no2, np2);
    if (ErrorFlag) {
        CloseText(file);
        return;
    }
    if (ni2 != inputs_) {
        WriteLine(kFileError);
        ErrorFlag = true;
        CloseText(file);
        return;
    }
    // Every joined term line must stay readable as one line.
    if (!FitsLine(static_cast<std::size_t>(inputs_), static_cast<std::size_t>(outputs_) + static_cast<std::size_t>(no2))) {
        WriteLine(kTooLong);
        ErrorFlag = true;
        CloseText(file);
        return;
    }
    const std::size_t oldOutputs = static_cast<std::size_t>(outputs_);
    for (Term& term : store_) term.output += std::string(static_cast<std::size_t>(no2), '0');

    std::string line;
    for (int i = 0; i < np2; ++i) {
        if (!file.ReadLine(line)) {
            WriteLine(kFileError);
            ErrorFlag = true;
            break;
        }
        Term term = TermWords(*this, line);
        // A term of another input width could neither be tested nor joined.
        if (static_cast<int>(term.output.size()) != no2 || static_cast<int>(term.input.size()) != inputs_) {
            WriteLine(kFileError);
            ErrorFlag = true;
            break;
        }
        for (int k = stateBits_; k < inputs_; ++k)
            if (term.input[static_cast<std::size_t>(k)] != '-') inputDependent_ = true;
        bool shared = false;
        for (Term& stored : store_) {
            if (stored.input != term.input) continue;
            stored.output.replace(oldOutputs, term.output.size(), term.output);
            shared = true;
        }
        if (shared) continue;
        if (static_cast<int>(store_.size()) >= kMaxTerms) {
            WriteLine(kTooLong);
            ErrorFlag = true;
            break;
        }
        store_.push_back({term.input, std::string(oldOutputs, '0') + term.output});
    }
    outputs_ += no2;
    CloseText(file);
}

void TMOOR_CMB::WriteJoinedCover()
{
    TextFile out;
    if (!OpenOut(out, kMinimizedFile)) {
        WriteLine(kOpenError);
        ErrorFlag = true;
        return;
    }
    MinimizedTable table;
    table.inputs = inputs_;
    table.outputs = outputs_;
    table.terms = store_;
    WriteMinimizedTable(out, table);
    if (!CloseText(out)) {
        WriteLine("ERROR WRITING TABLE, PROBABLY DISK FULL");
        ErrorFlag = true;
    }
}

void TMOOR_CMB::Execute()
{
    ErrorFlag = false;
    inputDependent_ = false;
    logLine3_.clear();
    stateBits_ = excitations_ = 0;
    inputs_ = outputs_ = 0;
    store_.clear();

    ReadSettings();
    if (ErrorFlag) return;
    ReadNextStateCover();
    if (ErrorFlag) return;
    JoinOutputCover();
    if (ErrorFlag) return;
    WriteJoinedCover();
    if (ErrorFlag) return;
    // An output cover that uses primary inputs leaves "exp_tbl.###" in place, which the driver
    // reports as a table that is no Moore machine. Nothing else is erased then: the log's third
    // line names the result and table files together, and no file of the user's may go.
    if (inputDependent_) return;
    EraseFile(kOneOutputTableFile);
    EraseFile(kOneOutputMinimizedFile);
}

}  // namespace quorlet
