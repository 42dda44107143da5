// The combiner: "esp_tbl.###" joins "esp_tbl.$$$" as its last output column.
#include "TCombiner.h"

#include "ToolFiles.h"

namespace quorlet {

namespace {
constexpr std::string_view kFileError = "TEMPORARY FILE ERROR";
constexpr std::string_view kTooLong = "MINIMIZED TABLE TOO LONG";
}  // namespace

void TCombiner::Fail(std::string_view message)
{
    if (!message.empty()) WriteLine(message);
    ErrorFlag = true;
}

bool TCombiner::ReadAccumulated()
{
    TextFile file;
    // The first column of a run finds no accumulated cover and starts empty.
    if (!OpenIn(file, kMinimizedFile)) return true;
    int count = 0;
    bool numbersOk = true;
    ReadCountHeader(*this, file, [&](char key, const std::string& word) {
        int value = 0;
        if (!DigitCount(word, value)) {
            WriteLine("NUMBER CHECK ERROR");
            numbersOk = false;
            return false;
        }
        if (key == 'I') inputs_ = value;
        if (key == 'O') outputs_ = value;
        if (key == 'P') count = value;
        return true;
    });
    bool ok = numbersOk;
    if (ok && count > kMaxTerms) {
        WriteLine(kTooLong);
        ok = false;
    }
    std::string line;
    for (int i = 0; ok && i < count; ++i) {
        if (!file.ReadLine(line)) {
            ok = false;
            break;
        }
        Term term = TermWords(*this, line);
        if (static_cast<int>(term.input.size()) != inputs_ || static_cast<int>(term.output.size()) != outputs_) {
            ok = false;
            break;
        }
        store_.push_back(std::move(term));
    }
    CloseText(file);
    if (!ok) Fail("TEMPORARY FILE FORMAT ERROR");
    return ok;
}

bool TCombiner::MergeNewColumn()
{
    TextFile file;
    if (!OpenIn(file, kOneOutputMinimizedFile)) {
        Fail("FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE");
        return false;
    }
    int newTerms = 0;
    std::string_view failure;
    ReadCountHeader(*this, file, [&](char key, const std::string& word) {
        int value = 0;
        if (!DigitCount(word, value)) {
            failure = "NUMBER CHECK ERROR";
            return false;
        }
        if (key == 'I') {
            if (inputs_ == 0) inputs_ = value;
            if (value != inputs_) {
                failure = kFileError;
                return false;
            }
        }
        if (key == 'O' && value != 1) {
            failure = kFileError;
            return false;
        }
        if (key == 'P') newTerms = value;
        return true;
    });
    if (!failure.empty()) {
        CloseText(file);
        Fail(failure);
        return false;
    }
    // Every line of the accumulated cover must stay readable after the column is added.
    if (!FitsLine(static_cast<std::size_t>(inputs_), static_cast<std::size_t>(outputs_) + 1)) {
        CloseText(file);
        Fail(kTooLong);
        return false;
    }
    ++outputs_;
    for (Term& term : store_) term.output += '0';

    std::string line;
    for (int i = 0; i < newTerms; ++i) {
        if (!file.ReadLine(line)) {
            failure = kFileError;
            break;
        }
        Term term = TermWords(*this, line);
        // A term of another input width would make the accumulated cover unreadable.
        if (term.output.size() != 1 || static_cast<int>(term.input.size()) != inputs_) {
            failure = kFileError;
            break;
        }
        bool shared = false;
        for (Term& stored : store_) {
            if (stored.input != term.input) continue;
            stored.output.back() = '1';
            shared = true;
        }
        if (shared) continue;
        if (static_cast<int>(store_.size()) >= kMaxTerms) {
            failure = kTooLong;
            break;
        }
        store_.push_back({term.input, std::string(static_cast<std::size_t>(outputs_ - 1), '0') + "1"});
    }
    CloseText(file);
    if (!failure.empty()) {
        Fail(failure);
        return false;
    }
    return true;
}

void TCombiner::WriteAccumulated()
{
    TextFile out;
    if (!OpenOut(out, kMinimizedFile)) {
        Fail("FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE");
        return;
    }
    MinimizedTable table;
    table.inputs = inputs_;
    table.outputs = outputs_;
    table.terms = store_;
    WriteMinimizedTable(out, table);
    if (!CloseText(out)) Fail("ERROR WRITING TABLE, PROBABLY DISK FULL");
}

void TCombiner::Execute()
{
    inputs_ = 0;
    outputs_ = 0;
    store_.clear();

    if (!ReadAccumulated()) return;
    if (!MergeNewColumn()) return;
    WriteAccumulated();
}

}  // namespace quorlet
