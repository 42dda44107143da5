// Reading helpers shared by the table tools.
#include "ToolFiles.h"

#include <algorithm>

namespace quorlet {

namespace {
bool Refuse(TSubExec& stage, std::string_view message)
{
    stage.WriteLine(message);
    stage.ErrorFlag = true;
    return false;
}
}  // namespace

bool OpenToolFile(TSubExec& stage, TextFile& file, std::string_view name, std::string_view message)
{
    return stage.OpenIn(file, name) || Refuse(stage, message);
}

bool WriteToolFile(TSubExec& stage, std::string_view name, const std::function<void(TextFile&)>& write,
                   std::string_view openMessage, std::string_view writeMessage)
{
    TextFile out;
    if (!stage.OpenOut(out, name)) return Refuse(stage, openMessage);
    write(out);
    return stage.CloseText(out) || Refuse(stage, writeMessage);
}

bool WriteToolTable(TSubExec& stage, std::string_view name, const CoverTable& table, std::string_view openMessage,
                    std::string_view writeMessage)
{
    return WriteToolFile(
        stage, name, [&](TextFile& out) { WriteCoverTable(out, table); }, openMessage, writeMessage);
}

bool WriteMinimizedStore(TSubExec& stage, int inputs, int outputs, const std::vector<Term>& store)
{
    const MinimizedTable table{inputs, outputs, store};
    return WriteToolFile(
        stage, kMinimizedFile, [&](TextFile& out) { WriteMinimizedTable(out, table); },
        "FATAL ERROR: UNABLE TO OPEN TEMPORARY FILE");
}

CountCheck StageNumberCheck(TSubExec& stage)
{
    return [&stage](char, const ParsedNumber& count) { return count.isNumber || Refuse(stage, "NUMBER CHECK ERROR"); };
}

StoreRead ReadTermStore(TSubExec& stage, TextFile& file, TableHeader& header, std::vector<Term>& store,
                        std::string_view tooLongMessage, const std::function<bool(const TableHeader&)>& accept)
{
    TableReadStatus status = ReadTableHeader(file, header, StageNumberCheck(stage));
    header.inputs = std::max(header.inputs, 0);
    header.outputs = std::max(header.outputs, 0);
    header.terms = std::max(header.terms, 0);
    if (status == TableReadStatus::Refused) return StoreRead::Failed;
    if (accept && !accept(header)) return StoreRead::Failed;
    if (header.terms > kMaxTerms) {
        stage.WriteLine(tooLongMessage);
        return StoreRead::TooLong;
    }
    const TermRules rules{.inputs = header.inputs, .outputs = header.outputs};
    return ReadTableTerms(file, header.terms, rules, store) == TableReadStatus::Ok ? StoreRead::Ok : StoreRead::Failed;
}

bool JoinOutputColumns(TSubExec& stage, TextFile& file, int count, int inputs, int oldWidth, int width,
                       std::vector<Term>& store, const std::function<void(Term&)>& onTerm)
{
    auto fail = [&stage](std::string_view message) { return Refuse(stage, message); };
    // Every joined term line must stay readable as one line.
    if (!FitsLine(static_cast<std::size_t>(inputs),
                  static_cast<std::size_t>(oldWidth) + static_cast<std::size_t>(width)))
        return fail(kMinimizedTooLong);
    for (Term& stored : store) stored.output.append(static_cast<std::size_t>(width), '0');

    const TermRules rules{.inputs = inputs, .outputs = width};
    for (int i = 0; i < count; ++i) {
        Term term;
        // A term of another input width could neither be tested nor joined.
        if (ReadTableTerm(file, term, rules) != TableReadStatus::Ok) return fail(kTempFileError);
        if (onTerm) onTerm(term);
        bool shared = false;
        for (Term& stored : store) {
            if (stored.input != term.input) continue;
            stored.output.replace(static_cast<std::size_t>(oldWidth), term.output.size(), term.output);
            shared = true;
        }
        if (shared) continue;
        if (static_cast<int>(store.size()) >= kMaxTerms) return fail(kMinimizedTooLong);
        store.push_back({term.input, std::string(static_cast<std::size_t>(oldWidth), '0') + term.output});
    }
    return true;
}

namespace {
void ReadStateCounts(TSubExec& stage, int& stateBits, int& excitations)
{
    TextFile file;
    if (!OpenToolFile(stage, file, kSettingsLogFile, "ERROR OPENING TEMPORARY FILE 1")) return;
    SettingsLog log;
    LogReadStatus status = ReadSettingsLogCounts(file, log);
    stage.CloseText(file);
    switch (status) {
    case LogReadStatus::Ok:
    case LogReadStatus::CountMismatch: break;
    case LogReadStatus::BadNumber: Refuse(stage, "NUMBER CHECK ERROR"); return;
    case LogReadStatus::Error:
    case LogReadStatus::Truncated:
    case LogReadStatus::Malformed:
    case LogReadStatus::NoCounts: Refuse(stage, "ERROR OPENING TEMPORARY FILE 2"); return;
    }
    stateBits = log.n;
    excitations = log.m;
}
}  // namespace

bool TMooreStage::StartMooreRun()
{
    ErrorFlag = false;
    stateBits_ = excitations_ = 0;
    inputs_ = outputs_ = 0;
    store_.clear();
    ReadStateCounts(*this, stateBits_, excitations_);
    return !ErrorFlag;
}

bool FitsLine(std::size_t inputWidth, std::size_t outputWidth) { return inputWidth + 1 + outputWidth <= kMaxLine; }

bool MarkRunFailed(TSubExec& stage)
{
    TextFile log;
    if (!stage.OpenOut(log, kSettingsLogFile)) return false;
    log.WriteLine("ERROR");
    return stage.CloseText(log);
}

std::string TooManyTermsMessage() { return "CAN'T HANDLE MORE THAN " + std::to_string(kMaxTerms) + " TERMS"; }

}  // namespace quorlet
