// The run in progress and its outcome.
#include "RunOutcome.h"

namespace quorlet {
namespace {
RunScope* g_current = nullptr;

RunOutcome& Scratch()
{
    static RunOutcome scratch;
    return scratch;
}
}  // namespace

RunScope::RunScope(DirectoryWait wait) : wait_(wait), outer_(g_current)
{
    if (!outer_) Scratch() = RunOutcome{};
    g_current = this;
}

RunScope::~RunScope() { g_current = outer_; }

RunOutcome& CurrentRunOutcome() { return g_current ? g_current->Outcome() : Scratch(); }

DirectoryWait CurrentDirectoryWait() { return g_current ? g_current->Wait() : DirectoryWait::Refuse; }

void MarkResultWritten(std::string_view resultFile)
{
    RunOutcome& outcome = CurrentRunOutcome();
    outcome.resultWritten = true;
    outcome.resultFile = std::string(resultFile);
}

void RecordRunError() { CurrentRunOutcome().errorSeen = true; }

}  // namespace quorlet
