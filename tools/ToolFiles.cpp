// Reading helpers shared by the table tools.
#include "ToolFiles.h"

namespace quorlet {

bool DigitCount(std::string_view word, int& value)
{
    long long total = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        total = total * 10 + (c - '0');
        if (total > kCountCeiling) total = kCountCeiling;
    }
    value = static_cast<int>(total);
    return true;
}

int CheckedNumber(TSubExec& stage, std::string_view word)
{
    int value = 0;
    if (DigitCount(word, value)) return value;
    stage.WriteLine("NUMBER CHECK ERROR");
    stage.ErrorFlag = true;
    // The digits before the first bad character, as far as a value can be made of them.
    std::size_t good = 0;
    while (good < word.size() && word[good] >= '0' && word[good] <= '9') ++good;
    DigitCount(word.substr(0, good), value);
    return value;
}

bool ReadCountHeader(TSubExec& stage, TextFile& file, const HeaderCount& onCount)
{
    std::string line;
    while (file.ReadLine(line)) {
        std::string upper = UpperCopy(line);
        std::string key = stage.FirstWord(upper);
        std::string word = stage.NextWord(upper);
        if (key != ".I" && key != ".O" && key != ".P") continue;
        if (!onCount(key[1], word)) return false;
        if (key == ".P") return true;
    }
    return false;
}

Term TermWords(TSubExec& stage, std::string_view line)
{
    Term term;
    term.input = stage.FirstWord(line);
    term.output = stage.NextWord(line);
    return term;
}

bool FitsLine(std::size_t inputWidth, std::size_t outputWidth)
{
    return inputWidth + 1 + outputWidth <= kMaxLine;
}

bool MarkRunFailed(TSubExec& stage)
{
    TextFile log;
    if (!stage.OpenOut(log, kSettingsLogFile)) return false;
    log.WriteLine("ERROR");
    return stage.CloseText(log);
}

std::string TooManyTermsMessage()
{
    return "CAN'T HANDLE MORE THAN " + std::to_string(kMaxTerms) + " TERMS";
}

bool ReadStateCounts(TSubExec& stage, TextFile& log, int& stateBits, int& excitations)
{
    std::string line;
    bool found = false;
    while (log.ReadLine(line)) {
        if (UpperCopy(line) == "NO_ERRORS") {
            found = true;
            break;
        }
    }
    if (!found || !log.ReadLine(line)) return false;
    line = UpperCopy(line);
    stage.FirstWord(line);
    stage.NextWord(line);
    std::string third = stage.NextWord(line);
    std::string fourth = stage.NextWord(line);
    stateBits = CheckedNumber(stage, third);
    excitations = CheckedNumber(stage, fourth);
    return true;
}

}  // namespace quorlet
