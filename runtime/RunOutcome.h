// The outcome of one pipeline run: whether its result file was finished and whether any stage
// ended on an error. The front end opens a RunScope around the driver and reads the outcome the
// run returns; stages record into the run in progress.
#pragma once

#include <string>
#include <string_view>

namespace quorlet {

struct RunOutcome {
    bool resultWritten = false;
    std::string resultFile;
    bool errorSeen = false;
    // What the exit status and the window report: a result, and no error message on the way.
    bool Succeeded() const { return resultWritten && !errorSeen; }
};

// How a run meets a work directory that another run is using.
enum class DirectoryWait {
    Refuse,  // say so and do not start (the window, which must not freeze)
    Wait,    // say once that it waits, then wait (the command line; an interrupt ends it)
};

// The run in progress for the length of one scope. Scopes nest; the innermost one is current.
class RunScope {
public:
    explicit RunScope(DirectoryWait wait = DirectoryWait::Refuse);
    ~RunScope();
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

    RunOutcome& Outcome() { return outcome_; }
    DirectoryWait Wait() const { return wait_; }

private:
    RunOutcome outcome_;
    DirectoryWait wait_;
    RunScope* outer_;
};

// The outcome of the run in progress. Outside any scope, a scratch outcome that each new
// outermost scope starts afresh and that no front end reads.
RunOutcome& CurrentRunOutcome();
DirectoryWait CurrentDirectoryWait();

// A converter marks the run once its result file is complete.
void MarkResultWritten(std::string_view resultFile);
// A stage's failure that has already been told to the user (or that needs no words).
void RecordRunError();

}  // namespace quorlet
