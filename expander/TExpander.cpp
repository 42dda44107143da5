// The table reader: command line, table file language, function and state tables, and the
// intermediate files of a run.
#include "TExpander.h"

#include <filesystem>
#include <system_error>

#include "Clock.h"
#include "Excitation.h"
#include "ExpanderLayout.h"

namespace quorlet {

namespace {

bool IsInputChar(char c) { return c == '0' || c == '1' || c == '-'; }
bool IsOutputChar(char c) { return c == '0' || c == '1' || c == '-' || c == '.'; }
bool IsCodeChar(char c) { return c == '0' || c == '1' || c == '-' || c == '.'; }

// Reads `count` vector characters; missing ones become blanks. False when one is missing or
// fails the test.
template <class Valid>
bool ReadVector(WordScanner& scan, int count, std::string& vector, Valid valid)
{
    bool ok = true;
    for (int i = 0; i < count; ++i) {
        std::optional<char> c = scan.NextChar();
        if (!c) {
            vector.push_back(' ');
            ok = false;
        } else {
            vector.push_back(*c);
            if (!valid(*c)) ok = false;
        }
    }
    return ok;
}

// Whether two names lead to one file (the result file would overwrite the table file).
bool SameFile(const std::string& a, const std::string& b)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (a == b) return true;
    if (!fs::exists(a, ec) || !fs::exists(b, ec)) return false;
    return fs::equivalent(a, b, ec);
}

}  // namespace

void TExpander::Reset()
{
    options_.fill(false);
    outputOptionCount_ = 0;
    nodeExtension_.clear();
    flipFlopParam_.clear();
    flipFlop_.clear();
    tableName_.clear();
    resultName_.clear();
    line_.clear();
    title_.clear();
    headComment_.clear();
    nameComment_.clear();
    primaryInputs_.clear();
    primaryOutputs_.clear();
    inputs_.clear();
    outputs_.clear();
    stateTable_ = false;
    n_ = 0;
    m_ = 0;
    states_.clear();
    terms_.clear();
    ErrorFlag = false;
}

void TExpander::Execute()
{
    Reset();
    WriteBanner();
    if (ScanCommandLine() && OpenTableAndResult()) ReadTable();
    Finish();
}

// ---- Output helpers ----

void TExpander::ToResult(std::string_view text)
{
    if (result_.IsOpen()) result_.WriteLine(text);
}

void TExpander::Report(std::string_view text)
{
    WriteLine(text);
    ToResult(text);
}

bool TExpander::Fail(std::string_view message)
{
    Report(message);
    ErrorFlag = true;
    return false;
}

bool TExpander::FailOnConsole(std::string_view message)
{
    WriteLine(message);
    ErrorFlag = true;
    return false;
}

// ---- Banner and command line ----

void TExpander::WriteBanner()
{
    for (const std::string& line : BannerLines()) WriteLine(line);
    Clock().Sleep(2000);
}

bool TExpander::ScanCommandLine()
{
    int index = 1;
    for (; index <= ParamCount(); ++index) {
        std::string word = Param(index);
        if (word.empty() || word[0] != '/') break;
        if (!ScanOption(word)) return false;
    }
    if (outputOptionCount_ > 1) return FailOnConsole("/E, /F, /D, /J AND /A OPTIONS CAN'T BE COMBINED");
    if (Has('I') && !Has('F') && !Has('D')) {
        WriteLine("I OPTION WITHOUT EITHER F OR D OPTION IS IGNORED");
        WriteLine();
    }

    std::string name;
    if (index <= ParamCount()) {
        name = Param(index++);
    } else {
        LineAnswer answer = AskLine("ENTER NAME OF TABLE FILE > ");
        WriteLine();
        WriteLine();
        WordScanner scan(answer.text);
        name = scan.FirstWord();
    }
    if (name.empty()) {
        ErrorFlag = true;
        return false;
    }
    if (index <= ParamCount()) flipFlopParam_ = Param(index);
    if (Has('A')) flipFlopParam_ = "D";
    return TakeFileNames(name);
}

bool TExpander::ScanOption(const std::string& word)
{
    char letter = word.size() > 1 ? UpperCopy(word.substr(1, 1))[0] : '\0';
    switch (letter) {
    case 'F': ScanNodeExtension(word); [[fallthrough]];
    case 'D':
    case 'E':
    case 'J':
    case 'A': ++outputOptionCount_; break;
    case 'S':
    case 'P':
    case 'O':
    case 'I':
    case 'R':
    case 'M': break;
    default: return FailOnConsole("ERROR IN COMMAND LINE");
    }
    options_[static_cast<std::size_t>(letter - 'A')] = true;
    return true;
}

void TExpander::ScanNodeExtension(const std::string& word)
{
    // The text between the letter and a second "/" names the gate library (the driver's).
    std::size_t slash = word.find('/', 2);
    if (slash == std::string::npos) return;
    for (std::size_t i = slash + 1; i < word.size(); ++i) {
        if (nodeExtension_.size() < kMaxNodeExtension) {
            nodeExtension_.push_back(word[i]);
            continue;
        }
        WriteLine("NODE EXTENSION TRUNCATED TO " + nodeExtension_);
        AskLine("press RETURN to continue . . .");
        WriteLine();
        break;
    }
}

bool TExpander::TakeFileNames(const std::string& name)
{
    // Only the file-name part counts: a point in a directory name ("../t", "my.dir/t") must not
    // cut the base name there and send the result file elsewhere.
    std::size_t slash = name.rfind('/');
    std::size_t dot = name.find('.', slash == std::string::npos ? 0 : slash + 1);
    std::string base = name.substr(0, dot);
    tableName_ = ShortString(dot == std::string::npos ? name + ".tbl" : name);
    std::string extension = Has('D') ? ".sch" : Has('F') ? ".net" : Has('E') ? ".equ" : Has('A') ? ".abl" : ".min";
    resultName_ = ShortString(base + extension);
    return true;
}

bool TExpander::OpenTableAndResult()
{
    std::string path = FileExists(tableName_) ? tableName_ : FindFileNoCase(tableName_);
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec) || !OpenIn(table_, path))
        return FailOnConsole("FATAL ERROR: UNABLE TO OPEN TABLE FILE " + tableName_);
    tableName_ = path;
    // Creating the result file would truncate the user's own table.
    if (SameFile(tableName_, resultName_))
        return FailOnConsole("FATAL ERROR: OUTPUTFILE " + resultName_ + " IS THE TABLE FILE ITSELF");
    if (!OpenOut(result_, resultName_)) return FailOnConsole("FATAL ERROR: UNABLE TO OPEN OUTPUTFILE " + resultName_);
    return true;
}

// ---- Reading the table file ----

std::string TExpander::FirstWordUpper(std::string_view line) const
{
    WordScanner scan(line);
    return UpperCopy(scan.FirstWord());
}

bool TExpander::ReadUsefulLine(Comments comments, std::string* remembered)
{
    while (table_.ReadLine(line_)) {
        if (IsBlankLine(line_)) continue;
        if (!IsCommentLine(line_)) return true;
        if (comments == Comments::CopyToResult) ToResult(line_);
        if (comments == Comments::RememberFirst && remembered && remembered->empty()) *remembered = line_;
    }
    line_.clear();
    return false;
}

bool TExpander::ReadTable()
{
    if (!ReadHeading()) return false;
    WriteResultHead();
    if (!ReadNameLines()) return false;
    if (FirstWordUpper(line_) == "STATES" && !ReadStateSection()) return false;
    // Without an output there is nothing to minimize; the minimizer would only fail on ".o 0".
    if (!stateTable_ && primaryOutputs_.empty()) return Fail("NO OUTPUT SIGNALS DEFINED");
    if (!CheckLimits()) return false;

    inputs_ = StateVariableNames(nodeExtension_, n_);
    inputs_.insert(inputs_.end(), primaryInputs_.begin(), primaryInputs_.end());
    outputs_ = stateTable_ ? ExcitationNames(flipFlop_, nodeExtension_, n_) : std::vector<std::string>{};
    outputs_.insert(outputs_.end(), primaryOutputs_.begin(), primaryOutputs_.end());

    Report(stateTable_ ? "STATE TRANSITION AND EXCITATION TABLES" : "FUNCTION TABLE");
    Report("");
    WriteColumnHeader();
    if (!stateTable_ && !nameComment_.empty()) ToResult(nameComment_);
    if (!ReadTermLines()) return false;
    return true;
}

bool TExpander::ReadHeading()
{
    if (!ReadUsefulLine(Comments::RememberFirst, &headComment_)) return Fail("NO QUORLET INPUT FILE");
    WordScanner scan(line_);
    if (UpperCopy(scan.FirstWord()) != "TABLE") return Fail("NO QUORLET INPUT FILE");
    title_ = UpperCopy(scan.NextWord());
    return true;
}

void TExpander::WriteResultHead()
{
    ToResult("QUORLET  LOGIC MINIMIZER           " + DateLine(Clock().Now()));
    std::string mode = Has('P') && Has('O') ? " OFF COVER P.O.S."
                       : Has('P')           ? " PRODUCT OF SUMS"
                       : Has('O')           ? " OFF COVER S.O.P."
                                            : " SUM OF PRODUCTS";
    ToResult("INPUT FILE: " + RightAlign(tableName_, 12) + std::string(10, ' ') +
             (Has('S') ? " SINGLE OUTPUT" : " MULTIPLE OUTPUT") + mode + " MODE");
    if (!headComment_.empty()) ToResult(headComment_);
    ToResult("");
}

bool TExpander::ReadNameLines()
{
    for (;;) {
        if (!ReadUsefulLine(Comments::RememberFirst, &nameComment_)) return Fail("END LINE MISSING");
        WordScanner scan(line_);
        std::string keyword = UpperCopy(scan.FirstWord());
        if (keyword != "INPUT" && keyword != "OUTPUT") return true;
        // Only a comment after the last name line is kept.
        nameComment_.clear();
        if (!AddNames(scan, keyword == "INPUT" ? primaryInputs_ : primaryOutputs_)) return false;
    }
}

bool TExpander::AddNames(WordScanner& scan, std::vector<std::string>& names)
{
    for (std::string word = scan.NextWord(); !word.empty(); word = scan.NextWord()) {
        if (static_cast<int>(names.size()) >= kMaxNames)
            return Fail("MORE THAN " + std::to_string(kMaxNames) + " INPUTS OR OUTPUTS");
        names.push_back(UpperCopy(word));
    }
    return true;
}

// ---- State section ----

bool TExpander::ReadStateSection()
{
    stateTable_ = true;
    if (!ChooseFlipFlopType()) return false;
    ToResult("USING  " + flipFlop_ + "-TYPE FLIPFLOPS");
    if (!nameComment_.empty()) ToResult(nameComment_);
    ToResult("");

    for (;;) {
        if (!ReadUsefulLine(Comments::CopyToResult)) return Fail("END LINE MISSING");
        if (FirstWordUpper(line_) == "END") break;
        if (!ReadStateLine()) return false;
    }
    // A state list without states leaves nothing to encode.
    if (states_.empty()) return Fail("ERROR IN STATE ENCODING");
    if (!ReadUsefulLine(Comments::Drop)) return Fail("END LINE MISSING");
    m_ = ExcitationCount(flipFlop_, n_);
    return CheckReservedNames();
}

bool TExpander::ChooseFlipFlopType()
{
    flipFlop_ = UpperCopy(flipFlopParam_);
    if (IsFlipFlopType(flipFlop_)) return true;
    if (!flipFlop_.empty()) return Fail("ILLEGAL FLIPFLOP TYPE");
    for (;;) {
        LineAnswer answer = AskLine("ENTER FLIPFLOP TYPE (D,T,JK,SR) > ");
        WriteLine();
        // Input that has ended can never give a type: stop instead of asking forever.
        if (answer.ended) return Fail("ILLEGAL FLIPFLOP TYPE");
        WordScanner scan(answer.text);
        flipFlop_ = UpperCopy(scan.FirstWord());
        if (IsFlipFlopType(flipFlop_)) return true;
    }
}

bool TExpander::ReadStateLine()
{
    if (static_cast<int>(states_.size()) >= kMaxStates)
        return Fail("CAN'T HANDLE MORE THAN " + std::to_string(kMaxStates) + " STATES");
    WordScanner scan(line_);
    std::string symbol = UpperCopy(scan.FirstWord());
    std::string code = scan.RemainingChars();
    std::string shown = "state " + RightAlign(symbol, 4) + ":  ";
    if (static_cast<int>(symbol.size()) > kMaxStateSymbol) return Fail(shown + "ILLEGAL STATE SYMBOL");
    if (FindState(symbol)) return Fail(shown + "DUPLICATE STATE SYMBOL");
    Report(shown + code);

    bool encodingOk = states_.empty() ? !code.empty() && static_cast<int>(code.size()) <= kMaxNames
                                      : static_cast<int>(code.size()) == n_;
    for (char c : code)
        if (!IsCodeChar(c)) encodingOk = false;
    if (!encodingOk) return Fail("ERROR IN STATE ENCODING");
    for (const State& s : states_)
        if (s.code == code) return Fail("DUPLICATE STATE CODE");
    if (states_.empty()) n_ = static_cast<int>(code.size());
    states_.push_back({symbol, code});
    return true;
}

const TExpander::State* TExpander::FindState(std::string_view symbol) const
{
    for (const State& s : states_)
        if (s.symbol == symbol) return &s;
    return nullptr;
}

bool TExpander::CheckReservedNames()
{
    bool bad = false;
    bool stateNamedOutput = false;
    for (const std::string& name : primaryInputs_) {
        if (!IsReservedInputName(name, n_)) continue;
        WriteLine("ERROR: ILLEGAL INPUT NAME " + name);
        bad = true;
    }
    for (const std::string& name : primaryOutputs_) {
        if (!IsReservedOutputName(name, n_)) continue;
        WriteLine("ERROR: ILLEGAL OUTPUT NAME " + name);
        bad = true;
        if (IsStateVariableName(name, n_)) stateNamedOutput = true;
    }
    if (stateNamedOutput) WriteLine("NOTE:  USE /R SWITCH FOR FLIPFLOP OUTPUTS AS PRIMARIES");
    if (bad) ErrorFlag = true;
    return !bad;
}

// ---- Limits, header, terms ----

bool TExpander::CheckLimits()
{
    const int ni = static_cast<int>(primaryInputs_.size());
    const int no = static_cast<int>(primaryOutputs_.size());
    if (n_ + ni > kMaxNames || m_ + no > kMaxNames)
        return Fail("MORE THAN " + std::to_string(kMaxNames) + " INPUTS OR OUTPUTS");
    if (Has('E') && ni + no + n_ + m_ > kMaxEquationVariables)
        return Fail("EQUATIONS OUTPUT IS INCOMPATIBLE WITH MORE THAN 26 VARIABLES");
    return true;
}

void TExpander::WriteColumnHeader()
{
    ColumnHeaderLayout layout;
    layout.stateTable = stateTable_;
    layout.letters = Has('E');
    layout.n = n_;
    layout.m = m_;
    layout.primaryInputs = primaryInputs_;
    layout.primaryOutputs = primaryOutputs_;
    layout.inputs = inputs_;
    layout.outputs = outputs_;
    for (const std::string& line : ColumnHeader(layout)) Report(line);
}

bool TExpander::ReadTermLines()
{
    for (;;) {
        if (!(stateTable_ ? ReadTransition() : ReadFunctionTerm())) return false;
        if (!ReadUsefulLine(Comments::CopyToResult)) return Fail("END LINE MISSING");
        if (FirstWordUpper(line_) == "END") {
            WriteLine();
            return true;
        }
    }
}

bool TExpander::ReadFunctionTerm()
{
    if (static_cast<int>(terms_.size()) >= kMaxTerms)
        return Fail("CAN'T HANDLE MORE THAN " + std::to_string(kMaxTerms) + " INPUT TERMS");
    WordScanner scan(line_);
    std::string input, output;
    bool inputOk = ReadVector(scan, static_cast<int>(primaryInputs_.size()), input, IsInputChar);
    bool outputOk = ReadVector(scan, static_cast<int>(primaryOutputs_.size()), output, IsOutputChar);
    if (!inputOk) return Fail(input + "   INCORRECT INPUT VECTOR");
    std::string rest = scan.RemainingChars();
    Report(input + " | " + output + rest);
    if (!rest.empty() || !outputOk) return Fail("INCORRECT OUTPUT VECTOR");
    return StoreTerm({input, output});
}

bool TExpander::ReadTransition()
{
    if (static_cast<int>(terms_.size()) >= kMaxTerms)
        return Fail("CAN'T HANDLE MORE THAN " + std::to_string(kMaxTerms) + " INPUT TERMS");
    WordScanner scan(line_);
    std::string present = UpperCopy(scan.FirstWord());
    std::string input;
    bool inputOk = ReadVector(scan, static_cast<int>(primaryInputs_.size()), input, IsInputChar);
    std::string echo = RightAlign(present, 4) + " " + input + " | ";
    if (!inputOk) return Fail(echo + "     INCORRECT INPUT VECTOR");

    std::string next = UpperCopy(scan.NextWord());
    std::string output;
    bool outputOk = ReadVector(scan, static_cast<int>(primaryOutputs_.size()), output, IsOutputChar);
    echo += RightAlign(next, 4) + " " + output;
    std::string rest = scan.RemainingChars();
    if (!rest.empty()) {
        Report(echo + rest);
        return Fail("INCORRECT OUTPUT VECTOR");
    }
    echo += "    >>>    ";

    const State* from = FindState(present);
    const State* to = FindState(next);
    if (!from || !to) return Fail(echo + "STATE SYMBOL NOT FOUND");
    ExcitationResult excitation = ExcitationFor(flipFlop_, from->code, to->code);
    if (!excitation.ok) return Fail(echo + "UNSPECIFIED PRIOR STATE " + "FOR TOGGLES NOT ALLOWED");

    Report(echo + from->code + " " + input + " | " + excitation.value + " " + output);
    if (!outputOk) return Fail("INCORRECT OUTPUT VECTOR");
    return StoreTerm({from->code + input, excitation.value + output});
}

std::string TExpander::ConflictEcho(const Term& earlier) const
{
    if (!stateTable_) return earlier.input + " | " + earlier.output;
    std::size_t n = static_cast<std::size_t>(n_), m = static_cast<std::size_t>(m_);
    std::string indent(primaryInputs_.size() + primaryOutputs_.size() + 24, ' ');
    return indent + earlier.input.substr(0, n) + " " + earlier.input.substr(n) + " | " + earlier.output.substr(0, m) +
           " " + earlier.output.substr(m);
}

bool TExpander::StoreTerm(Term term)
{
    for (char& c : term.input)
        if (c == '.') c = '-';
    for (std::size_t j = 0; j < terms_.size(); ++j) {
        if (!TermsConflict(term, terms_[j])) continue;
        return Fail("LINE " + std::to_string(terms_.size() + 1) + " IS CONFLICTING WITH LINE " + std::to_string(j + 1) +
                    ":   " + ConflictEcho(terms_[j]));
    }
    terms_.push_back(std::move(term));
    return true;
}

// ---- Files of the run ----

void TExpander::Finish()
{
    if (table_.IsOpen() && !CloseText(table_) && !ErrorFlag) FailOnConsole("DISK READ OR WRITE ERROR");
    if (result_.IsOpen() && !CloseText(result_)) FailOnConsole("ERROR WRITING OUTPUT, PROBABLY DISK FULL");
    if (!ErrorFlag) WriteTables();
    WriteSettingsLogFile();
}

void TExpander::WriteTables()
{
    CoverTable cover;
    cover.inputs = n_ + static_cast<int>(primaryInputs_.size());
    cover.outputs = m_ + static_cast<int>(primaryOutputs_.size());
    cover.terms = terms_;
    for (Term& t : cover.terms)
        for (char& c : t.output)
            if (c == '.') c = '~';

    // The check table is written only when the cover table made it to disk.
    auto writeTable = [this](std::string_view name, const CoverTable& table) {
        TextFile file;
        if (!OpenOut(file, name)) return FailOnConsole("FATAL ERROR: UNABLE TO OPEN INTERMEDIATE FILE");
        WriteCoverTable(file, table);
        if (!CloseText(file)) return FailOnConsole("ERROR WRITING TABLE, PROBABLY DISK FULL");
        return true;
    };
    if (writeTable(kCoverTableFile, cover)) writeTable(kCheckTableFile, MakeCheckTable(cover));
}

void TExpander::WriteSettingsLogFile()
{
    SettingsLog log;
    log.error = ErrorFlag;
    if (!ErrorFlag) {
        const bool netlistLike = Has('F') || Has('D') || Has('A');
        log.minimizerArgs = std::string("-o ") + std::string(kMinimizedFile) + " " +
                            (Has('P') != Has('O') ? "-pos " : "") + std::string(kCoverTableFile);
        log.resultFile = resultName_;
        log.tableFile = tableName_;
        if (Has('E')) log.converterOptions = "-e ";
        if (netlistLike) {
            log.converterOptions = "-F" + nodeExtension_ + " ";
            if (stateTable_) log.converterOptions += flipFlop_ + " " + std::to_string(n_);
        }
        log.title = title_;
        log.inputNames = inputs_;
        log.outputNames = outputs_;
        log.pos = Has('P');
        log.off = Has('O');
        log.ni = static_cast<int>(primaryInputs_.size());
        log.no = static_cast<int>(primaryOutputs_.size());
        log.n = n_;
        log.m = m_;
        log.inv = Has('I') && (Has('F') || Has('D'));
        log.regOut = Has('R') && n_ > 0;
    }
    TextFile file;
    if (!OpenOut(file, kSettingsLogFile)) {
        FailOnConsole("FATAL ERROR: UNABLE TO OPEN INTERMEDIATE FILE");
        return;
    }
    WriteSettingsLog(file, log);
    if (!CloseText(file)) FailOnConsole("ERROR WRITING LOGFILE, PROBABLY DISK FULL");
}

}  // namespace quorlet
