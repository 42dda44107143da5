// The main window's rules for its command line and table file.
#include "UCommandLine.h"

#include <fstream>

#include "USubExec.h"

namespace quorlet {

std::string FileNamePart(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DirectoryPart(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string LibraryWord(const std::string& library)
{
    std::string name = FileNamePart(library);
    if (name.size() >= 4 && UpperCopy(name.substr(name.size() - 4)) == ".LIB") name.resize(name.size() - 4);
    return name;
}

std::string BuildCommandLine(const TCommandOptions& o)
{
    const bool gates = o.output == TOutputFormat::Netlist || o.output == TOutputFormat::Drawing;
    std::string line = " ";
    if (o.singleOutput) line += "/S ";
    if (o.output == TOutputFormat::Equations) line += "/E ";
    if (o.offCover) line += "/O ";
    if (o.moore) line += "/M ";
    if (o.output == TOutputFormat::Abel) line += "/A ";
    if (o.productOfSums) line += "/P ";
    if (gates) {
        line += o.output == TOutputFormat::Netlist ? "/F" : "/D";
        line += LibraryWord(o.library);
        if (o.output == TOutputFormat::Netlist && !o.nodeExtension.empty()) line += "/" + o.nodeExtension;
        line += " ";
        if (o.registerOutput) line += "/R ";
        if (o.inverted) line += "/I ";
    }
    if (o.output == TOutputFormat::Abel && o.registerOutput) line += "/R ";
    if (line == " ") line.clear();
    line += FileNamePart(o.tableFile) + " ";
    line += o.flipflop + " ";

    std::string extra;
    if (o.kmap) extra += " --kmap";
    if (o.verilog) extra += " --verilog";
    if (o.vhdl) extra += " --vhdl";
    if (extra.empty()) return line;
    return extra + (line.starts_with(' ') ? line : " " + line);
}

namespace {

// The keyword of a table line, or empty for a blank or comment line.
std::string LineKeyword(std::string line)
{
    std::size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    line = line.substr(first);
    if (line.starts_with('"') || line.starts_with('#')) return {};
    for (char& c : line)
        if (c == '\t') c = ' ';
    return UpperCopy(line.substr(0, line.find(' ')));
}

}  // namespace

bool DeclaresStateMachine(const std::string& tableFile)
{
    std::ifstream in(FindFileNoCase(tableFile), std::ios::binary);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string keyword = LineKeyword(line);
        if (keyword == "STATES") return true;
        if (keyword.empty() || keyword == "TABLE" || keyword == "INPUT" || keyword == "OUTPUT") continue;
        return false;
    }
    return false;
}

std::string TableFileFromArguments(const std::vector<std::string>& args)
{
    if (args.empty()) return {};
    std::string path = args[0];
    for (std::size_t next = 1; !FileExists(path) && next < args.size(); ++next) path += " " + args[next];
    return FileExists(path) ? path : args[0];
}

std::string OutputSaveName(const std::string& tableFile)
{
    if (tableFile.size() < 3) return tableFile + "txt";
    return tableFile.substr(0, tableFile.size() - 3) + "txt";
}

}  // namespace quorlet
