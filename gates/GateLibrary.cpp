// Reading gate library files: head line, options line, limits line and component lines.
#include "GateLibrary.h"

#include <cctype>

#include "USubExec.h"

namespace quorlet {
namespace {

constexpr std::string_view kInputsSetTo8 = " MAXIMUM NUMBER OF GATE INPUTS SET TO 8";
constexpr std::string_view kDrawingIllegal = "ILLEGAL GATE LIBRARY, SCHEMATICS GENERATION ABORTED";

bool IsCommentWord(std::string_view word) { return word.empty() || word.front() == '"'; }

// An optional "-" and decimal digits; "*" is the absent number. Values stop at six digits, so
// that a value times the grid unit stays an int.
bool ParseLibraryNumber(std::string_view word, int& value)
{
    if (word == "*") {
        value = kAbsentNumber * kGridUnit;
        return true;
    }
    ParsedNumber number =
        ParseDecimal(word, NumberRules{.minusAllowed = true, .emptyIsZero = false, .ceiling = 999'999});
    if (!number.isNumber) return false;
    value = number.value * kGridUnit;
    return true;
}

// Words of the line up to the first empty one, with the stage's word rule.
std::vector<std::string> LineWords(TSubExec& stage, std::string_view line)
{
    std::vector<std::string> words;
    std::string w = stage.FirstWord(line);
    while (!w.empty()) {
        words.push_back(w);
        w = stage.NextWord(line);
    }
    return words;
}

}  // namespace

GateLimits ParseLimitsWord(std::string_view word, bool invertingGates)
{
    std::string text = UpperCopy(word);
    std::vector<std::string> parts;
    std::string current;
    for (char c : text) {
        if (c == '/') {
            if (!current.empty()) parts.push_back(current);
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) parts.push_back(current);
    std::string t1 = parts.size() > 0 ? parts[0] : "";
    std::string t2 = parts.size() > 1 ? parts[1] : "";
    auto digit = [](const std::string& t) { return t.empty() ? -1 : t.front() - '0'; };
    auto inRange = [](int v) { return v >= 2 && v <= 6; };
    GateLimits limits;
    if (invertingGates && !t2.empty()) {
        limits.maxGateInputs = digit(t2);
        limits.maxPlainGateInputs = digit(t1);
    } else {
        limits.maxGateInputs = limits.maxPlainGateInputs = digit(t1);
    }
    // A second number that is no limit makes the word malformed even where it is not used.
    limits.valid = inRange(limits.maxGateInputs) && inRange(limits.maxPlainGateInputs) && t1.size() == 1 &&
                   t2.size() <= 1 && (t2.empty() || inRange(digit(t2)));
    if (!limits.valid) limits.maxGateInputs = limits.maxPlainGateInputs = 8;
    return limits;
}

bool ParseComponentWords(const std::vector<std::string>& words, LibraryComponent& c)
{
    std::size_t next = 0;
    bool good = true;
    auto word = [&]() -> std::string {
        if (next < words.size()) return words[next++];
        good = false;
        return {};
    };
    auto number = [&]() {
        int v = 0;
        std::string w = word();
        if (!w.empty() && !ParseLibraryNumber(w, v)) good = false;
        return v;
    };
    c = LibraryComponent{};
    c.Name = UpperCopy(word());
    c.Symbol = word();
    for (int k = 1; k <= kMaxComponentInputPins; ++k) {
        LibraryPin& pin = c.InputPins[k - 1];
        std::string first = word();
        std::size_t split = std::string::npos;
        for (std::size_t i = 1; i < first.size(); ++i) {
            char u = static_cast<char>(std::toupper(static_cast<unsigned char>(first[i])));
            if (u == 'H' || u == 'L') {
                split = i;
                break;
            }
        }
        bool counted = true;
        if (split != std::string::npos) {
            pin.ActiveLow = std::toupper(static_cast<unsigned char>(first[split])) == 'L';
            if (!ParseLibraryNumber(first.substr(0, split), pin.x) ||
                !ParseLibraryNumber(first.substr(split + 1), pin.y))
                good = false;
            counted = first.substr(split + 1) != "*";
        } else {
            if (!first.empty() && !ParseLibraryNumber(first, pin.x)) good = false;
            std::string second = word();
            if (!second.empty() && !ParseLibraryNumber(second, pin.y)) good = false;
            counted = second != "*";
            pin.ActiveLow = (k == 4 || k == 5);
        }
        if (counted) ++c.NumInputPins;
    }
    for (int k = 0; k < 2; ++k) {
        c.OutputPins[k].x = number();
        std::size_t before = next;
        c.OutputPins[k].y = number();
        if (next > before && words[before] != "*") ++c.NumOutputPins;
    }
    c.Size.x = number();
    c.Size.y = number();
    c.UprightOffset.x = number();
    c.UprightOffset.y = number();
    c.TurnedOffset.x = number();
    c.TurnedOffset.y = number();
    return good;
}

std::string LibraryPath(const TSubExec& stage)
{
    std::string path = stage.ProgramDir();
    if (stage.ParamCount() == 1) path += stage.Param(1);
    return FindFileNoCase(path);
}

GateLibrary ReadLibraryForNetlist(TSubExec& stage, std::string_view path, bool invFlag)
{
    GateLibrary library;
    library.LibraryText = "NO LIBRARY";
    auto fallBack = [&](std::string_view reason) {
        stage.WriteLine();
        stage.WriteLine(std::string(reason) + std::string(kInputsSetTo8));
        library.MaxGateInputs = library.MaxPlainGateInputs = 8;
        library.LibraryText = "NO LIBRARY";
    };
    TextFile file;
    if (path.empty() || path.back() == '/' || !stage.OpenIn(file, path)) {
        fallBack("GATE LIBRARY NOT FOUND,");
        return library;
    }
    std::string line;
    file.ReadLine(line);
    std::string head = UpperCopy(line);
    std::string first = stage.FirstWord(head);
    if (first == "NO_LIBRARY") {
        fallBack("USING NO GATE LIBRARY,");
    } else if (first == "LIBRARY") {
        library.LibraryTitle = stage.NextWord(head);
        GateLimits limits;
        while (file.ReadLine(line)) {
            std::string w = UpperCopy(stage.FirstWord(line));
            if (IsCommentWord(w) || w == "OPTIONS") continue;
            limits = ParseLimitsWord(w, invFlag);
            break;
        }
        if (limits.valid) {
            stage.WriteLine(", USING LIBRARY " + library.LibraryTitle);
            stage.WriteLine("MAXIMUM NUMBER OF GATE INPUTS WILL BE LIMITED TO " + std::to_string(limits.maxGateInputs));
            library.MaxGateInputs = limits.maxGateInputs;
            library.MaxPlainGateInputs = limits.maxPlainGateInputs;
            library.LibraryText = "LIBRARY " + library.LibraryTitle;
        } else {
            fallBack("ILLEGAL GATE LIBRARY,");
        }
    } else {
        fallBack("ILLEGAL GATE LIBRARY,");
    }
    stage.CloseText(file);
    return library;
}

std::optional<GateLibrary> ReadLibraryHeadForDrawing(TSubExec& stage, TextFile& file, std::string_view path,
                                                     std::string_view sheetFileName, bool invFlag)
{
    if (path.empty() || path.back() == '/' || !stage.OpenIn(file, path)) {
        stage.WriteLine("GATE LIBRARY NOT FOUND, SCHEMATICS GENERATION ABORTED");
        return std::nullopt;
    }
    auto refuse = [&](std::string_view message) {
        stage.WriteLine(message);
        stage.CloseText(file);
        return std::nullopt;
    };
    std::string line;
    file.ReadLine(line);
    std::string head = UpperCopy(line);
    std::string first = stage.FirstWord(head);
    if (first == "NO_LIBRARY") return refuse("NO GATE LIBRARY SPECIFIED, SCHEMATICS GENERATION ABORTED");
    if (first != "LIBRARY") return refuse(kDrawingIllegal);
    GateLibrary library;
    library.LibraryTitle = stage.NextWord(head);
    library.LibraryText = "LIBRARY " + library.LibraryTitle;

    std::string word;
    bool found = false;
    while (file.ReadLine(line)) {
        word = stage.FirstWord(line);
        if (!IsCommentWord(word)) {
            found = true;
            break;
        }
    }
    if (found && UpperCopy(word) == "OPTIONS") {
        found = false;
        while (file.ReadLine(line)) {
            word = stage.FirstWord(line);
            if (!word.empty()) {
                found = true;
                break;
            }
        }
    }
    GateLimits limits;
    if (found) limits = ParseLimitsWord(word, invFlag);
    if (!limits.valid) return refuse(kDrawingIllegal);
    library.MaxGateInputs = limits.maxGateInputs;
    library.MaxPlainGateInputs = limits.maxPlainGateInputs;
    stage.WriteLine("CREATING ispTOOLS SCHEMATICS FILE " + std::string(sheetFileName) + ",");
    stage.WriteLine("   USING LIBRARY: " + library.LibraryTitle);
    stage.WriteLine("MAXIMUM NUMBER OF GATE INPUTS WILL BE LIMITED TO " + std::to_string(library.MaxGateInputs));
    return library;
}

bool ReadLibraryComponents(TSubExec& stage, TextFile& file, GateLibrary& library)
{
    library.Components.clear();
    library.NumComponents = 0;
    std::string line;
    int count = 0;
    for (;;) {
        bool component = false;
        // The line at which the file ends is never a component: the file's closing line.
        while (file.ReadLine(line)) {
            if (file.Eof()) break;
            if (!IsCommentWord(stage.FirstWord(line))) {
                component = true;
                break;
            }
        }
        if (!component) break;
        if (++count > kMaxLibraryComponents) {
            stage.WriteLine("LIBRARY FILE TOO LONG");
            stage.CloseText(file);
            return false;
        }
        LibraryComponent c;
        if (!ParseComponentWords(LineWords(stage, line), c)) {
            stage.WriteLine();
            stage.WriteLine("ERROR READING LIBRARY FILE");
            stage.CloseText(file);
            return false;
        }
        library.Components.push_back(std::move(c));
    }
    library.NumComponents = static_cast<int>(library.Components.size());
    stage.CloseText(file);
    return true;
}

const LibraryComponent* FindComponent(const GateLibrary& library, std::string_view name)
{
    for (const LibraryComponent& c : library.Components)
        if (c.Name == name) return &c;
    return nullptr;
}

}  // namespace quorlet
