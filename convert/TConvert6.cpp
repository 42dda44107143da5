// ABEL output: header, pin declarations, registers, statistics, equations, warnings and the
// test-vector skeleton.
#include "TConvert6.h"

#include <cstdio>

#include "Clock.h"
#include "UTables.h"

namespace quorlet {
namespace {

const std::string kComment = "\" ";
const std::string kNoDevice(10, '?');
const std::string kNoSignal(20, '?');

std::string TwoDigits(int value)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d", value);
    return buf;
}

bool IsAbelLine(const std::string& line)
{
    std::size_t pos = line.find_first_not_of(" \t");
    return pos != std::string::npos && line[pos] == '#';
}

}  // namespace

DeviceDataMode ReadDeviceDataMode(TSubExec& stage, const std::string& configFile)
{
    DeviceDataMode mode;
    TextFile config;
    if (!stage.OpenIn(config, FindFileNoCase(configFile))) return mode;
    std::string line;
    while (config.ReadLine(line)) {
        std::string first = stage.FirstWord(line);
        if (!first.empty() && first[0] == '"') continue;
        std::string upper = UpperCopy(line);
        for (char& c : upper)
            if (c == '=') c = ' ';
        if (stage.FirstWord(upper) != "ABEL_DEVICE_DATA") continue;
        std::string value = stage.NextWord(upper);
        if (value == "REQUEST") {
            mode.requestDeviceData = true;
        } else if (value == "SKIP") {
            mode.useDeviceData = false;
        } else if (value != "NORMAL") {
            stage.WriteLine();
            stage.WriteLine("WARNING: ILLEGAL VALUE " + value + " FOR " +
                            "ABEL_DEVICE_DATA IN CONFIGURATION FILE QUORLET.CFG;");
            stage.WriteLine("         ASSUMING VALUE NORMAL");
            stage.WriteLine();
        }
    }
    stage.CloseText(config);
    return mode;
}

std::string AbelDateText()
{
    static const char* const kWeekdays[] = {"Monday, ", "Tuesday, ",  "Wednesday, ", "Thursday ",
                                            "Friday, ", "Saturday, ", "Sunday, "};
    static const char* const kMonths[] = {"January ", "February ", "March ",     "April ",   "May ",      "June ",
                                          "July ",    "August ",   "September ", "October ", "November ", "December "};
    // One reading, so that the date and the time cannot fall on either side of midnight.
    const ClockTime now = Clock().Now();
    std::string text = (now.weekday >= 1 && now.weekday <= 7) ? kWeekdays[now.weekday - 1] : "";
    text += (now.month >= 1 && now.month <= 12) ? kMonths[now.month - 1] : "";
    text += std::to_string(now.day) + ", " + std::to_string(now.year) + "; " + TwoDigits(now.hour) + ":" +
            TwoDigits(now.minute);
    return text;
}

void TConvert6::Execute()
{
    cover_ = MinimizedCover();
    mode_ = DeviceDataMode();
    deviceName_ = kNoDevice;
    deviceGiven_ = false;
    pins_.clear();

    cover_.ClearForRun();
    if (!ReadWorkFile(*this, kSettingsLogFile, [this](TextFile& log) { cover_.ReadSettingsLog(log); })) return;
    if (cover_.Failed) {
        std::string_view message = CoverProblemMessage(cover_.Problem);
        if (!message.empty()) WriteLine(message);
        return;
    }
    if (!ReadWorkFile(*this, kMinimizedFile,
                      [this](TextFile& table) { cover_.ReadMinimizedTable(table, kMaxCoverTerms); }))
        return;

    ReadDeviceDataMode();
    if (cover_.Failed) {
        std::string_view message = CoverProblemMessage(cover_.Problem);
        if (!message.empty()) WriteLine(message);
        return;
    }
    BuildPinTable();
    ReadAbelLines();
    if (cover_.Failed) return;
    WriteAbelFile();
}

void TConvert6::ReadDeviceDataMode() { mode_ = quorlet::ReadDeviceDataMode(*this, ExecutableDir() + "Quorlet.cfg"); }

void TConvert6::BuildPinTable()
{
    const int f = StateCount();
    pins_.push_back({f >= 1 ? "FF.AR" : kNoSignal});
    pins_.push_back({f >= 1 ? "FF.CLK" : kNoSignal});
    for (int i = f; i < cover_.NumInputs; ++i) pins_.push_back({cover_.InputNames[i]});
    for (int j = f; j < cover_.NumOutputs; ++j) pins_.push_back({cover_.OutputNames[j]});
    for (int i = 0; i < f; ++i) pins_.push_back({cover_.InputNames[i]});
}

void TConvert6::ReadAbelLines()
{
    TextFile file;
    if (!OpenIn(file, FindFileNoCase(cover_.TableFileName))) {
        WriteLine("ERROR OPENING TABLE FILE");
        cover_.Failed = true;
        return;
    }
    std::string line;
    bool found = false;
    while (file.ReadLine(line)) {
        line = UpperCopy(line);
        if (IsAbelLine(line)) {
            found = true;
            break;
        }
        std::string first = FirstWord(line);
        if (!first.empty() && first[0] != '"' && first != "TABLE" && first != "INPUT" && first != "OUTPUT") break;
    }
    while (found) {
        line[line.find('#')] = ' ';
        std::string keyword = FirstWord(line);
        if (keyword == "DEVICE") {
            TreatDeviceLine(line);
        } else if (keyword == "PINS") {
            TreatPinsLine(line);
        } else {
            WriteLine("ERROR IN ABEL DATA LINE: #" + line);
            cover_.Failed = true;
        }
        found = file.ReadLine(line);
        if (found) {
            line = UpperCopy(line);
            found = IsAbelLine(line);
        }
    }
    CloseText(file);
}

void TConvert6::TreatDeviceLine(const std::string& line)
{
    FirstWord(line);
    std::string name = NextWord(line);
    std::string extra = NextWord(line);
    if (deviceGiven_ || name.empty() || !extra.empty()) {
        WriteLine("ERROR IN ABEL DEVICE LINE: #" + line);
        cover_.Failed = true;
        return;
    }
    deviceName_ = name;
    deviceGiven_ = true;
}

void TConvert6::TreatPinsLine(const std::string& line)
{
    bool faulty = false;
    FirstWord(line);
    for (std::string word = NextWord(line); !word.empty(); word = NextWord(line)) {
        std::size_t sign = word.rfind('=');
        if (sign == std::string::npos || sign == 0) {
            faulty = true;
            continue;
        }
        std::string number = word.substr(0, sign);
        std::string name = word.substr(sign + 1);
        bool wordFaulty = false;
        if (!IsAllDigits(number)) {
            WriteLine("INCORRECT PIN NUMBER: " + number);
            wordFaulty = true;
        }
        if (name.empty()) wordFaulty = true;
        if (wordFaulty) {
            faulty = true;
            continue;
        }
        PinEntry* entry = nullptr;
        for (PinEntry& candidate : pins_)
            if (candidate.name == name) entry = &candidate;
        if (!entry) {
            WriteLine("PIN NAME NOT FOUND: " + name);
            faulty = true;
            continue;
        }
        if (entry->pin != "???") {
            WriteLine("DUPLICATE PIN NAME: " + name);
            faulty = true;
            continue;
        }
        for (const PinEntry& other : pins_) {
            if (other.pin == number) {
                WriteLine("DUPLICATE PIN: " + number);
                faulty = true;
            }
        }
        entry->pin = number;
    }
    if (faulty) {
        WriteLine("ERROR IN ABEL PINS LINE: #" + line);
        cover_.Failed = true;
    }
}

void TConvert6::Warn(TextFile& out, const std::string& text)
{
    WriteLine(text);
    out.WriteLine(kComment + text);
}

void TConvert6::WriteAbelFile()
{
    const int f = StateCount();
    WriteLine("CREATING ABEL HDL FILE " + cover_.OutputFileName);
    TextFile out;
    if (!OpenResultFile(*this, out, cover_, ResultWrite::Replace, true)) return;

    out.WriteLine("Module " + cover_.TitleLine);
    out.WriteLine("Title        'Quorlet table: " + cover_.TableFileName + "'");
    if (mode_.useDeviceData && (deviceGiven_ || mode_.requestDeviceData))
        out.WriteLine("PAL device   '" + deviceName_ + "';");
    out.WriteLine(kComment + "Generated by Quorlet 4.61 on " + AbelDateText());
    out.WriteLine();

    for (PinEntry& entry : pins_)
        if (!mode_.useDeviceData || (entry.pin == "???" && !mode_.requestDeviceData)) entry.pin.clear();
    auto declaration = [](const std::string& name) { return PadRight(name, 14); };

    if (f >= 1) {
        out.WriteLine(declaration("cp") + " pin " + pins_[1].pin + " ;");
        out.WriteLine(declaration("ar") + " pin " + pins_[0].pin + " ;");
    }
    const std::size_t firstState = pins_.size() - static_cast<std::size_t>(f);
    for (std::size_t k = 2; k < firstState; ++k)
        out.WriteLine(declaration(pins_[k].name) + " pin " + pins_[k].pin + " ;");
    for (std::size_t k = firstState; k < pins_.size(); ++k) {
        if (cover_.RegOutFlag) out.WriteLine(declaration(pins_[k].name) + " pin " + pins_[k].pin + " IsType 'Reg' ;");
        else out.WriteLine(declaration(pins_[k].name) + " node IsType 'Reg' ;");
    }
    out.WriteLine();
    out.WriteLine("h,l,z,c,x = 1,0,.z.,.c.,.x.;");
    if (f >= 1) {
        std::string registers = "flipflops = [";
        for (int i = 0; i < f; ++i) registers += " " + cover_.InputNames[i] + (i + 1 < f ? "," : "");
        out.WriteLine(registers + " ];");
    }
    out.WriteLine();
    WriteLine();

    StatisticsOptions statistics;
    statistics.prefix = kComment;
    statistics.withIndividualSizes = true;
    statistics.flipFlopNames = true;
    WriteStatistics(cover_, &out, statistics);

    out.WriteLine("Equations");
    out.WriteLine();
    if (f >= 1) {
        out.WriteLine("flipflops.clk = cp;");
        out.WriteLine("flipflops.ar  = ar;");
        out.WriteLine();
    }
    for (int j = 0; j < cover_.NumOutputs; ++j) WriteEquation(out, j);
    WriteUnusedWarnings(out);

    out.WriteLine();
    out.WriteLine(kComment + "TO SUPPLY TESTVECTORS UNQUOTE THE FOLLOWING" +
                  " LINES AND APPEND THE REQUIRED BIT PATTERNS");
    WriteTestVectors(out);
    out.WriteLine();
    out.WriteLine("End " + cover_.TitleLine);
    if (FinishResultFile(*this, out, cover_)) WriteLine("Abel file successfully created");
}

void TConvert6::WriteEquation(TextFile& out, int j)
{
    const int f = StateCount();
    const std::string& outputName = cover_.OutputNames[j];
    std::string line = cover_.OffCover ? "!" : "";
    line += j < f ? cover_.InputNames[j] + " := " : outputName + " = ";

    const std::vector<const CoverTerm*> terms = OutputTerms(cover_, j);
    const bool constant = terms.empty() || (terms.size() == 1 && cover_.IsUniversal(*terms.front()));

    if (terms.empty()) {
        line += "0";
    } else if (constant) {
        line += "1";
    } else {
        std::vector<std::string> pieces;
        for (const CoverTerm* term : terms) {
            std::string text =
                TermText(cover_, *term, cover_.ProductOfSums ? "#" : "&",
                         [this](int i, bool complemented) { return (complemented ? "!" : "") + cover_.InputNames[i]; });
            pieces.push_back(pieces.empty() ? text : (cover_.ProductOfSums ? " & " : " # ") + text);
        }
        std::vector<std::string> lines = WrapPieces(line, outputName.size() + 4, pieces, 146);
        line = lines.back();
        lines.pop_back();
        for (const std::string& full : lines) out.WriteLine(full);
    }
    out.WriteLine(line + ";");
    if (constant) Warn(out, "WARNING:  SIGNAL " + outputName + " STUCK AT FIXED LEVEL !!!!!");
}

void TConvert6::WriteUnusedWarnings(TextFile& out)
{
    const int f = StateCount();
    for (int i = 0; i < cover_.NumInputs; ++i) {
        bool used = false;
        for (const CoverTerm& term : cover_.Terms)
            if (MinimizedCover::InputChar(term, i) != '-') used = true;
        if (used) continue;
        Warn(out,
             (i < f ? "WARNING:  SIGNAL " : "WARNING:  INPUT SIGNAL ") + cover_.InputNames[i] + " IS NEVER USED !!!!!");
    }
}

void TConvert6::WriteTestVectors(TextFile& out)
{
    const int f = StateCount();
    // Names separated by ",", wrapped when the column count passes the limit.
    auto writeNames = [&out](std::string line, const std::vector<std::string>& names, std::size_t limit,
                             const std::string& closing) {
        std::size_t column = 15;
        for (std::size_t k = 0; k < names.size(); ++k) {
            if (k > 0) line += ",";
            column += names[k].size() + 1;
            if (column > limit) {
                out.WriteLine(line);
                column = names[k].size() + 15;
                line = "\"" + std::string(16, ' ');
            }
            line += names[k];
        }
        out.WriteLine(line + closing);
    };

    std::vector<std::string> inputs(cover_.InputNames.begin() + f, cover_.InputNames.end());
    writeNames(kComment + "Test_vectors ([", inputs, 100, "]");
    std::vector<std::string> outputs;
    if (cover_.RegOutFlag) outputs.assign(cover_.InputNames.begin(), cover_.InputNames.begin() + f);
    outputs.insert(outputs.end(), cover_.OutputNames.begin() + f, cover_.OutputNames.end());
    writeNames("\"" + std::string(12, ' ') + "-> [", outputs, 145, "])");
}

}  // namespace quorlet
