// `quorlet --kmap` on whole tables: the maps are read back from NAME.kmap and checked by meaning
// against the table the test wrote (every cell, every heading, every group), the result file is
// the same as without --kmap, and the picture renders.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <sstream>

#include "ProgramRun.h"

namespace {

namespace fs = std::filesystem;
using namespace quorlet::test;

const fs::path kExamples = QUORLET_EXAMPLES;

std::vector<std::string> Words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool Covers(const std::string& cube, unsigned point)
{
    const std::size_t n = cube.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char bit = ((point >> (n - 1 - i)) & 1u) ? '1' : '0';
        if (cube[i] != '-' && cube[i] != bit) return false;
    }
    return true;
}

// The headings a map must show, in the order textbooks use.
std::vector<std::string> ExpectedCodes(int bits)
{
    if (bits == 0) return {"-"};
    if (bits == 1) return {"0", "1"};
    return {"00", "01", "11", "10"};
}

std::string Join(const std::vector<std::string>& names, std::size_t first, std::size_t count)
{
    std::string text;
    for (std::size_t i = first; i < first + count; ++i) text += (i > first ? " " : "") + names[i];
    return text;
}

struct FunctionMaps {
    std::string name;
    std::map<unsigned, char> cells;
    std::vector<std::string> groups;
};

// Reads NAME.kmap back, checking every line of its layout for the given variables on the way.
std::vector<FunctionMaps> ReadMaps(const std::string& text, const std::vector<std::string>& variables)
{
    const std::size_t n = variables.size();
    const std::size_t selectors = n > 4 ? n - 4 : 0;
    const std::size_t rows = (n - selectors) / 2, columns = n - selectors - rows;
    const std::vector<std::string> selectorCodes =
        selectors ? ExpectedCodes(static_cast<int>(selectors)) : std::vector<std::string>{""};
    const std::vector<std::string> rowCodes = ExpectedCodes(static_cast<int>(rows));
    const std::vector<std::string> columnCodes = ExpectedCodes(static_cast<int>(columns));

    std::vector<FunctionMaps> functions;
    std::vector<std::string> lines = Lines(text);
    std::size_t k = 0;
    auto next = [&]() -> std::string {
        if (k >= lines.size()) {
            ADD_FAILURE() << "the map file ends early";
            return {};
        }
        return lines[k++];
    };
    while (k < lines.size()) {
        FunctionMaps function;
        for (const std::string& selector : selectorCodes) {
            std::vector<std::string> title = Words(next());
            if (title.size() < 2 || title[0] != "MAP") {
                ADD_FAILURE() << "expected a MAP line at line " << k;
                return functions;
            }
            if (function.name.empty()) function.name = title[1];
            EXPECT_EQ(title[1], function.name);
            std::string expectedTitle = "MAP " + function.name;
            if (selectors) expectedTitle += " WITH " + Join(variables, 0, selectors) + "=" + selector;
            EXPECT_EQ(lines[k - 1], expectedTitle);
            EXPECT_EQ(Words(next()), Words("ROWS " + Join(variables, selectors, rows)));
            EXPECT_EQ(Words(next()), Words("COLUMNS " + Join(variables, selectors + rows, columns)));
            EXPECT_EQ(Words(next()), columnCodes) << "column heading of " << expectedTitle;
            for (const std::string& rowCode : rowCodes) {
                std::vector<std::string> row = Words(next());
                if (row.size() != columnCodes.size() + 1) {
                    ADD_FAILURE() << "row " << rowCode << " of " << expectedTitle << " has " << row.size() << " words";
                    return functions;
                }
                EXPECT_EQ(row[0], rowCode) << "row heading of " << expectedTitle;
                for (std::size_t c = 0; c < columnCodes.size(); ++c) {
                    std::string code = selector + (rows ? rowCode : "") + (columns ? columnCodes[c] : "");
                    unsigned point = 0;
                    for (char b : code) point = point * 2 + (b == '1');
                    EXPECT_EQ(row[c + 1].size(), 1u);
                    EXPECT_TRUE(function.cells.emplace(point, row[c + 1][0]).second) << "point twice: " << point;
                }
            }
        }
        for (std::string line = next(); !line.empty(); line = next()) {
            std::vector<std::string> group = Words(line);
            if (group.size() != 2 || group[0] != "GROUP") {
                ADD_FAILURE() << "expected a GROUP or an empty line, got \"" << line << "\"";
                return functions;
            }
            EXPECT_EQ(group[1].size(), n);
            EXPECT_EQ(group[1].find_first_not_of("01-"), std::string::npos);
            function.groups.push_back(group[1]);
        }
        EXPECT_EQ(function.cells.size(), std::size_t{1} << n);
        functions.push_back(std::move(function));
    }
    return functions;
}

// The groups loop cells of their value only, and together every cell of it.
void ExpectGroupsCoverTheirValue(const FunctionMaps& function, char grouped)
{
    const char other = grouped == '1' ? '0' : '1';
    for (const auto& [point, value] : function.cells) {
        bool looped = false;
        for (const std::string& group : function.groups) looped |= Covers(group, point);
        if (value == grouped) {
            EXPECT_TRUE(looped) << function.name << ": cell " << point << " in no group";
        }
        if (value == other) {
            EXPECT_FALSE(looped) << function.name << ": cell " << point << " of value " << other;
        }
    }
}

std::string WithoutDateLine(const std::string& result)
{
    return result.substr(std::min(result.find('\n'), result.size()));
}

struct Mode {
    std::vector<std::string> words;
    char grouped;    // the value the groups loop
    char mark;       // a term's mark in the output part of the result
    bool exchanged;  // the result shows sum factors: 0 and 1 exchanged against the looped cells
};

// A random function table: per output and point '1', '0', '-' or '.' (no statement), written as
// term lines that join points of equal outputs into cubes.
struct RandomTable {
    int inputs = 0, outputs = 0;
    std::vector<std::vector<char>> values;  // [output][point]
    std::string text;
};

RandomTable MakeRandomTable(int inputs, int outputs, std::mt19937& random)
{
    RandomTable t;
    t.inputs = inputs;
    t.outputs = outputs;
    const unsigned points = 1u << inputs;
    const char kinds[] = {'1', '1', '1', '0', '0', '0', '-', '.'};
    std::uniform_int_distribution<int> pick(0, 7);
    t.values.assign(outputs, std::vector<char>(points));
    for (auto& column : t.values)
        for (char& v : column) v = kinds[pick(random)];
    auto vector = [&](unsigned p) {
        std::string out;
        for (int j = 0; j < outputs; ++j) out += std::string(j ? " " : "") + t.values[j][p];
        return out;
    };
    std::vector<bool> written(points, false);
    std::string terms;
    for (unsigned p = 0; p < points; ++p) {
        if (written[p]) continue;
        std::string cube;
        for (int i = 0; i < inputs; ++i) cube += ((p >> (inputs - 1 - i)) & 1u) ? '1' : '0';
        std::vector<int> order(inputs);
        for (int i = 0; i < inputs; ++i) order[i] = i;
        std::shuffle(order.begin(), order.end(), random);
        for (int i : order) {
            if (random() % 2) continue;
            std::string wider = cube;
            wider[i] = '-';
            bool same = true;
            for (unsigned q = 0; q < points; ++q)
                if (Covers(wider, q) && (written[q] || vector(q) != vector(p))) same = false;
            if (same) cube = wider;
        }
        for (unsigned q = 0; q < points; ++q)
            if (Covers(cube, q)) written[q] = true;
        // A line that says nothing is left out now and then: its points stay unnamed.
        if (vector(p).find_first_not_of(". ") == std::string::npos && random() % 2 && !terms.empty()) continue;
        terms += cube + "  " + vector(p) + "\n";
    }
    const char* inputNames[] = {"A", "B", "C", "D", "E", "G", "H"};
    const char* outputNames[] = {"X", "Y", "Z"};
    t.text = "TABLE RANDOM\nINPUT ";
    for (int i = 0; i < inputs; ++i) t.text += std::string(" ") + inputNames[i];
    t.text += "\nOUTPUT";
    for (int j = 0; j < outputs; ++j) t.text += std::string(" ") + outputNames[j];
    t.text += "\n" + terms + "END\n";
    return t;
}

class KmapPipelineTest : public ::testing::Test {
protected:
    RunResult Run(const std::string& table, const std::vector<std::string>& words, const std::string& cover, bool kmap)
    {
        std::vector<std::string> args;
        if (kmap) args.push_back("--kmap");
        args.push_back("--cover=" + cover);
        args.insert(args.end(), words.begin(), words.end());
        args.push_back(table);
        return RunBuiltProgram(QUORLET_BIN, args);
    }

    TempWorkDir dir_;
};

TEST_F(KmapPipelineTest, RandomTablesShowTheirFunctionAndTheResultsGroupsInEveryMode)
{
    const Mode modes[] = {{{}, '1', '1', false},     {{"/S"}, '1', '1', false},      {{"/P"}, '0', '1', true},
                          {{"/O"}, '0', '0', false}, {{"/P", "/O"}, '1', '0', true}, {{"/S", "/P"}, '0', '1', true}};
    const std::pair<std::string, char> covers[] = {{"on", '1'}, {"dc", '-'}, {"off", '0'}};
    const std::vector<std::string> names = {"A", "B", "C", "D", "E", "G"};
    std::mt19937 random(20261209);
    int runs = 0;
    for (int inputs = 1; inputs <= 6; ++inputs) {
        for (const Mode& mode : modes) {
            const int outputs = 1 + static_cast<int>(random() % 3);
            const RandomTable table = MakeRandomTable(inputs, outputs, random);
            const auto& [coverWord, completion] = covers[random() % 3];
            std::string modeText;
            for (const auto& w : mode.words) modeText += w + " ";
            SCOPED_TRACE(std::to_string(inputs) + " inputs, " + modeText + "--cover=" + coverWord + "\n" + table.text);
            WriteFile("rand.tbl", table.text);

            RunResult plain = Run("rand.tbl", mode.words, coverWord, false);
            ASSERT_EQ(plain.status, 0) << plain.output;
            const std::string plainResult = ReadFile("rand.min");
            ASSERT_FALSE(Exists("rand.kmap"));
            ASSERT_FALSE(Exists("rand.kmap.svg"));

            RunResult withMaps = Run("rand.tbl", mode.words, coverWord, true);
            ASSERT_EQ(withMaps.status, 0) << withMaps.output;
            const std::string result = ReadFile("rand.min");
            EXPECT_EQ(WithoutDateLine(result), WithoutDateLine(plainResult)) << "--kmap changed the result";
            ASSERT_TRUE(Exists("rand.kmap.svg"));

            const std::vector<std::string> variables(names.begin(), names.begin() + inputs);
            std::vector<FunctionMaps> maps = ReadMaps(ReadFile("rand.kmap"), variables);
            ASSERT_EQ(maps.size(), static_cast<std::size_t>(outputs));
            const auto terms = ReadMinimizedTerms(result);
            for (int j = 0; j < outputs; ++j) {
                const FunctionMaps& function = maps[j];
                EXPECT_EQ(function.name, std::string(1, "XYZ"[j]));
                for (const auto& [point, cell] : function.cells) {
                    const char value = table.values[j][point] == '.' ? completion : table.values[j][point];
                    EXPECT_EQ(cell, value) << function.name << " at point " << point;
                }
                ExpectGroupsCoverTheirValue(function, mode.grouped);
                // The groups are the result's terms of this output (the result shows the sum
                // factors' literals in product-of-sums mode, and writes a constant 1 as the
                // all-"-" term, a constant 0 as no term).
                std::multiset<std::string> fromResult, groups(function.groups.begin(), function.groups.end());
                for (const auto& [in, out] : terms) {
                    if (out[j] != mode.mark) continue;
                    std::string cube = in;
                    if (mode.exchanged)
                        for (char& c : cube) c = c == '0' ? '1' : c == '1' ? '0' : c;
                    fromResult.insert(cube);
                }
                if (mode.exchanged) {
                    const std::string universal(inputs, '-');
                    fromResult.erase(universal);
                    groups.erase(universal);
                }
                EXPECT_EQ(groups, fromResult) << function.name;
            }
            fs::remove("rand.kmap");
            fs::remove("rand.kmap.svg");
            ++runs;
        }
    }
    EXPECT_EQ(runs, 36);
}

// Transition lines of a three-state machine over the codes 00, 01, 10 (11 is left open): present
// code, input X, next code, output Z.
const char* const kMachine[][4] = {{"00", "0", "00", "0"}, {"00", "1", "01", "0"}, {"01", "0", "10", "0"},
                                   {"01", "1", "01", "0"}, {"10", "0", "00", "1"}, {"10", "1", "01", "0"}};

std::string MachineTable()
{
    const std::map<std::string, std::string> symbols = {{"00", "S0"}, {"01", "S1"}, {"10", "S2"}};
    std::string text = "TABLE SEQ\nINPUT X\nOUTPUT Z\nSTATES\nS0 00\nS1 01\nS2 10\nEND\n";
    for (const auto& line : kMachine)
        text += symbols.at(line[0]) + " " + line[1] + " " + symbols.at(line[2]) + " " + line[3] + "\n";
    return text + "END\n";
}

TEST_F(KmapPipelineTest, StateTablesMapTheExcitationFunctionsOverStateVariablesAndInputsForEveryFlipFlop)
{
    WriteFile("seq.tbl", MachineTable());
    for (const std::string ff : {"D", "JK", "T", "SR"}) {
        SCOPED_TRACE(ff);
        std::vector<std::string> args = {"--kmap", "--cover=dc", "seq.tbl", ff};
        RunResult r = RunBuiltProgram(QUORLET_BIN, args);
        ASSERT_EQ(r.status, 0) << r.output;
        std::vector<FunctionMaps> maps = ReadMaps(ReadFile("seq.kmap"), {"Q1", "Q0", "X"});
        std::vector<std::string> names;
        for (const auto& m : maps) names.push_back(m.name);
        const std::map<std::string, std::vector<std::string>> allNames = {{"D", {"_D1", "_D0", "Z"}},
                                                                          {"T", {"_T1", "_T0", "Z"}},
                                                                          {"JK", {"_J1", "_K1", "_J0", "_K0", "Z"}},
                                                                          {"SR", {"_S1", "_R1", "_S0", "_R0", "Z"}}};
        const std::vector<std::string>& expectedNames = allNames.at(ff);
        EXPECT_EQ(names, expectedNames);
        if (names.size() != maps.size() || maps.empty()) continue;
        for (const auto& line : kMachine) {
            const unsigned point = (line[0][0] - '0') * 4 + (line[0][1] - '0') * 2 + (line[1][0] - '0');
            std::string expected;
            for (int bit = 0; bit < 2; ++bit) {
                const char p = line[0][bit], c = line[2][bit];
                if (ff == "D") expected += c;
                if (ff == "T") expected += p == c ? '0' : '1';
                if (ff == "JK") expected += p == '0' ? std::string{c, '-'} : std::string{'-', c == '1' ? '0' : '1'};
                if (ff == "SR") expected += c == '1' ? (p == '1' ? "-0" : "10") : (p == '0' ? "0-" : "01");
            }
            expected += line[3];
            for (std::size_t f = 0; f < maps.size(); ++f)
                EXPECT_EQ(maps[f].cells[point], expected[f]) << maps[f].name << " at " << line[0] << line[1];
        }
        for (const auto& m : maps) {
            EXPECT_EQ(m.cells.at(6), '-') << m.name;  // present state 11 was completed as don't care
            EXPECT_EQ(m.cells.at(7), '-') << m.name;
            ExpectGroupsCoverTheirValue(m, '1');
        }
    }
}

TEST_F(KmapPipelineTest, MooreSecondPassStillMapsEveryFunction)
{
    // Z may share _D0's term Q0'X in the first pass, which makes the second pass run.
    WriteFile("moore.tbl",
              "TABLE M\nINPUT X\nOUTPUT Z\nSTATES\nA 0\nB 1\nEND\nA 0 A -\nA 1 B 1\nB 0 A 0\nB 1 A 0\nEND\n");
    RunResult r = RunBuiltProgram(QUORLET_BIN, {"--kmap", "/M", "moore.tbl", "D"});
    ASSERT_EQ(r.status, 0) << r.output;
    ASSERT_NE(r.output.find("SECOND PASS REQUIRED FOR MOORE TYPE REALISATION"), std::string::npos) << r.output;
    std::vector<FunctionMaps> maps = ReadMaps(ReadFile("moore.kmap"), {"Q0", "X"});
    ASSERT_EQ(maps.size(), 2u);
    EXPECT_EQ(maps[0].name, "_D0");
    EXPECT_EQ(maps[1].name, "Z");
    const std::map<unsigned, char> d = {{0, '0'}, {1, '1'}, {2, '0'}, {3, '0'}},
                                   z = {{0, '-'}, {1, '1'}, {2, '0'}, {3, '0'}};
    EXPECT_EQ(maps[0].cells, d);
    EXPECT_EQ(maps[1].cells, z);
    for (const auto& m : maps) ExpectGroupsCoverTheirValue(m, '1');
    // The output's group is the second pass's: it uses the state only.
    ASSERT_EQ(maps[1].groups.size(), 1u);
    EXPECT_EQ(maps[1].groups[0], "0-");
}

TEST_F(KmapPipelineTest, SevenVariablesGiveTheOneLineAndNoPicture)
{
    WriteFile("seven.tbl",
              "TABLE S\nINPUT A B C D E G H\nOUTPUT F\n0000000 1\n1------ 0\n01----- 1\n001---- 0\n0001--- 1\n"
              "00001-- 0\n000001- 1\n0000001 0\nEND\n");
    WriteFile("seven.kmap.svg", "<svg/>\n");  // left over from an earlier run
    RunResult r = RunBuiltProgram(QUORLET_BIN, {"--kmap", "seven.tbl"});
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(Exists("seven.min"));
    EXPECT_EQ(ReadFile("seven.kmap"), "K-MAP: MORE THAN 6 VARIABLES\n");
    EXPECT_FALSE(Exists("seven.kmap.svg"));
}

TEST_F(KmapPipelineTest, RefusedTablesWriteNoMapsAndKeepTheRunsMessage)
{
    WriteFile("bad.tbl", "TABLE\nINPUT A B\nOUTPUT F\n0 1\nEND\n");
    RunResult bad = RunBuiltProgram(QUORLET_BIN, {"--kmap", "bad.tbl"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.output.find("INCORRECT OUTPUT VECTOR"), std::string::npos) << bad.output;
    EXPECT_EQ(bad.output.find("K-MAP"), std::string::npos) << bad.output;

    fs::copy_file(kExamples / "incomplete.tbl", "incomplete.tbl");
    RunResult aborted = RunBuiltProgram(QUORLET_BIN, {"--kmap", "--cover=abort", "incomplete.tbl"});
    EXPECT_EQ(aborted.status, 1);
    EXPECT_NE(aborted.output.find("SELECTED COVER"), std::string::npos);

    fs::copy_file(kExamples / "seq101.tbl", "seq101.tbl");
    RunResult mealy = RunBuiltProgram(QUORLET_BIN, {"--kmap", "/M", "seq101.tbl", "D"});
    EXPECT_EQ(mealy.status, 1);
    for (const auto& entry : fs::directory_iterator("."))
        EXPECT_EQ(entry.path().string().find(".kmap"), std::string::npos) << entry.path();
}

TEST_F(KmapPipelineTest, PicturesRenderWithRsvgConvert)
{
    std::mt19937 random(7);
    for (int inputs : {2, 4, 5, 6}) {
        SCOPED_TRACE(inputs);
        WriteFile("pic.tbl", MakeRandomTable(inputs, 2, random).text);
        ASSERT_EQ(Run("pic.tbl", {"/P"}, "dc", true).status, 0);
        const std::string svg = ReadFile("pic.kmap.svg");
        EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
        RunResult render = RunBuiltProgram("rsvg-convert", {"-o", "pic.png", "pic.kmap.svg"});
        ASSERT_EQ(render.status, 0) << render.output;
        EXPECT_EQ(ReadFile("pic.png").substr(0, 4), "\x89PNG");
    }
}

}  // namespace
