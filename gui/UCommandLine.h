// What the main window derives from its options and its table file: the pipeline command line,
// the state-machine test of the table, and the table path rebuilt from program arguments.
// Free of Qt so that the rules can be tested on their own.
#pragma once

#include <string>
#include <vector>

namespace quorlet {

enum class TOutputFormat { Table, Netlist, Drawing, Equations, Abel };

struct TCommandOptions {
    bool singleOutput = false;   // "SOM"
    bool productOfSums = false;  // "POS"
    bool offCover = false;       // "Off Cover"
    TOutputFormat output = TOutputFormat::Table;
    bool inverted = false;  // gate polarity "Inverted"
    std::string library = "GENERICS.LIB";
    std::string nodeExtension;
    std::string flipflop = "D";  // "D", "T", "JK" or "SR"
    bool moore = false;
    bool registerOutput = false;
    std::string tableFile;  // full path
    // Extra outputs written beside the result: "--kmap", "--verilog", "--vhdl".
    bool kmap = false;
    bool verilog = false;
    bool vhdl = false;
};

// The file-name part of a path ("/a/b/exa.tbl" -> "exa.tbl").
std::string FileNamePart(const std::string& path);
// The directory part with its trailing "/" ("/a/b/exa.tbl" -> "/a/b/").
std::string DirectoryPart(const std::string& path);

// The library as the converters want it: its file-name part without a ".LIB" extension.
std::string LibraryWord(const std::string& library);

// The slash options, the table file's name and the flip-flop word; extra outputs go before them
// as leading words (" --kmap --vhdl /E exa.tbl D "). Without extra outputs the line is the one
// the options alone give.
std::string BuildCommandLine(const TCommandOptions& options);

// True when the table's first keyword line, past TABLE, INPUT and OUTPUT lines and comments,
// is "STATES"; a file that cannot be read is no state machine.
bool DeclaresStateMachine(const std::string& tableFile);

// A path with blanks may arrive cut into several arguments: they are joined with one blank
// until an existing file results; without one, the first argument stands.
std::string TableFileFromArguments(const std::vector<std::string>& args);

// The proposal for saving the output window: the table path with "txt" for its last three
// characters.
std::string OutputSaveName(const std::string& tableFile);

}  // namespace quorlet
