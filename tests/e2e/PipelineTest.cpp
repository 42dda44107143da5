// Whole tables through `quorlet`, as a student runs them: every output kind and mode, checked
// for what the user relies on — the result is right, the run says how it ended, and nothing of
// the user's is lost.
#include <gtest/gtest.h>

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

class PipelineTest : public ::testing::Test {
protected:
    // Copies a bundled table into the scratch directory and runs quorlet on it there.
    RunResult Run(const std::string& table, std::vector<std::string> words, const std::string& cover = "")
    {
        if (!fs::exists(table)) fs::copy_file(kExamples / table, table);
        original_ = ReadFile(table);
        std::vector<std::string> args;
        if (!cover.empty()) args.push_back("--cover=" + cover);
        bool placed = false;
        for (const auto& w : words) {
            if (!placed && w == "@") {
                args.push_back(table);
                placed = true;
            } else {
                args.push_back(w);
            }
        }
        if (!placed) args.push_back(table);
        RunResult r = quorlet::test::RunBuiltProgram(QUORLET_BIN, args);
        EXPECT_EQ(ReadFile(table), original_) << "the table file was changed";
        return r;
    }

    static void ExpectNoIntermediateFiles()
    {
        for (const auto& e : fs::directory_iterator("."))
            EXPECT_TRUE(e.path().extension() != ".$$$" && e.path().extension() != ".###") << e.path();
    }

    TempWorkDir dir_;
    std::string original_;
};

// A function table's points, read from its term lines: for every output the ON and OFF points.
struct TablePoints {
    int inputs = 0, outputs = 0;
    std::vector<std::map<unsigned, char>> values;  // per output: point -> '1', '0', '-'
};

void ExpandPoints(const std::string& in, std::size_t pos, unsigned point, const std::string& out, TablePoints& t)
{
    if (pos == in.size()) {
        for (int j = 0; j < t.outputs; ++j)
            if (out[j] != '.') t.values[j][point] = out[j];
        return;
    }
    for (char v : {'0', '1'})
        if (in[pos] == '-' || in[pos] == v) ExpandPoints(in, pos + 1, point * 2 + (v - '0'), out, t);
}

TablePoints ReadFunctionTable(const std::string& text, int inputs, int outputs)
{
    TablePoints t;
    t.inputs = inputs;
    t.outputs = outputs;
    t.values.resize(outputs);
    std::istringstream lines(text);
    std::string line;
    bool inTerms = false;
    while (std::getline(lines, line)) {
        std::string chars;
        for (char c : line) {
            if (c == '"' || c == '#') break;
            if (c != ' ' && c != '\t' && c != ',' && c != ';' && c != '|') chars += c;
        }
        std::string upper = chars;
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (upper.rfind("TABLE", 0) == 0 || upper.rfind("INPUT", 0) == 0 || upper.rfind("OUTPUT", 0) == 0) continue;
        if (upper == "END") break;
        if (chars.size() != static_cast<std::size_t>(inputs + outputs)) continue;
        inTerms = true;
        ExpandPoints(chars.substr(0, inputs), 0, 0, chars.substr(inputs), t);
    }
    EXPECT_TRUE(inTerms);
    return t;
}

bool Covers(const std::string& cube, unsigned point, int inputs)
{
    for (int i = 0; i < inputs; ++i) {
        char bit = ((point >> (inputs - 1 - i)) & 1u) ? '1' : '0';
        if (cube[i] != '-' && cube[i] != bit) return false;
    }
    return true;
}

// How a mode shows its minimized table: which points its terms cover, whether the input parts
// show a sum factor's literals (0 and 1 exchanged), and the output mark of a term.
struct Mode {
    std::vector<std::string> words;
    char covered, avoided;
    bool exchanged;
    char mark;
};

std::string Exchanged(std::string cube)
{
    for (char& c : cube) c = c == '0' ? '1' : c == '1' ? '0' : c;
    return cube;
}

// Every point of the covered value of each output is covered by a term of that output, and no
// term of it covers a point of the opposite value.
void ExpectCorrectCover(const TablePoints& t, const std::vector<std::pair<std::string, std::string>>& terms,
                        const Mode& mode)
{
    const char covered = mode.covered, avoided = mode.avoided;
    ASSERT_FALSE(terms.empty());
    for (int j = 0; j < t.outputs; ++j) {
        for (const auto& [point, value] : t.values[j]) {
            bool hit = false;
            for (const auto& [in, out] : terms)
                if (out[j] == mode.mark && Covers(mode.exchanged ? Exchanged(in) : in, point, t.inputs)) hit = true;
            if (value == covered) EXPECT_TRUE(hit) << "output " << j << " point " << point << " not covered";
            if (value == avoided) EXPECT_FALSE(hit) << "output " << j << " point " << point << " wrongly covered";
        }
    }
}

TEST_F(PipelineTest, AdderEquationsAsInTheTypicalRun)
{
    RunResult r = Run("adder.tbl", {"/E", "@", "D"});
    ASSERT_EQ(r.status, 0) << r.output;
    std::string result = ReadFile("adder.equ");
    EXPECT_NE(result.find("Y = A'B'C + A'BC' + AB'C' + ABC\nZ = BC + AC + AB\n"), std::string::npos) << result;
    EXPECT_NE(result.find("A : A         C : CIN           |       Y : SUM"), std::string::npos);
    EXPECT_NE(r.output.find("MINIMIZING FUNCTION TABLE"), std::string::npos);
    ExpectNoIntermediateFiles();
}

TEST_F(PipelineTest, ProductOfSumsEquations)
{
    RunResult r = Run("adder.tbl", {"/E", "/P"});
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_NE(ReadFile("adder.equ").find("Z = (A+B).(A+C).(B+C)"), std::string::npos);
}

TEST_F(PipelineTest, MinimizedTablesAreCorrectInEveryMode)
{
    const Mode modes[] = {{{}, '1', '0', false, '1'},
                          {{"/S"}, '1', '0', false, '1'},
                          {{"/P"}, '0', '1', true, '1'},
                          {{"/O"}, '0', '1', false, '0'},
                          {{"/P", "/O"}, '1', '0', true, '0'}};
    const std::tuple<const char*, int, int> tables[] = {
        {"adder.tbl", 3, 2}, {"bcd7seg.tbl", 4, 7}, {"mult2.tbl", 4, 4}};
    for (const auto& [table, ni, no] : tables) {
        for (const Mode& mode : modes) {
            SCOPED_TRACE(std::string(table) + " " + (mode.words.empty() ? "SOP" : mode.words[0]));
            RunResult r = Run(table, mode.words);
            ASSERT_EQ(r.status, 0) << r.output;
            std::string base = std::string(table).substr(0, std::string(table).find('.'));
            TablePoints points = ReadFunctionTable(ReadFile(table), ni, no);
            ExpectCorrectCover(points, ReadMinimizedTerms(ReadFile(base + ".min")), mode);
            ExpectNoIntermediateFiles();
        }
    }
}

TEST_F(PipelineTest, SingleOutputModeSharesTermsAndNeverDoesWorse)
{
    ASSERT_EQ(Run("bcd7seg.tbl", {}).status, 0);
    std::size_t together = ReadMinimizedTerms(ReadFile("bcd7seg.min")).size();
    ASSERT_EQ(Run("bcd7seg.tbl", {"/S"}).status, 0);
    std::size_t single = ReadMinimizedTerms(ReadFile("bcd7seg.min")).size();
    EXPECT_GT(single, 0u);
    EXPECT_LE(together, single);
}

TEST_F(PipelineTest, IncompleteTableAsksAndFollowsTheAnswer)
{
    RunResult on = Run("incomplete.tbl", {}, "on");
    ASSERT_EQ(on.status, 0) << on.output;
    EXPECT_NE(on.output.find("INCOMPLETELY SPECIFIED INPUT TABLE; MISSING COVER:"), std::string::npos);
    EXPECT_NE(on.output.find("SELECTED COVER: ( 1 = ON; - = DC; 0 = OFF; Q = Abort ) > \n1\n"), std::string::npos);
    std::string onResult = ReadFile("incomplete.min");

    EXPECT_NE(onResult.find("10- | 1.\n-0- | .1\n"), std::string::npos) << onResult;

    RunResult abort = Run("incomplete.tbl", {}, "abort");
    EXPECT_EQ(abort.status, 1);
    EXPECT_NE(ReadFile("incomplete.min").find("10- | ?.\n-0- | .?\n"), std::string::npos);
    EXPECT_EQ(abort.output.find("MINIMIZING"), std::string::npos);
    ExpectNoIntermediateFiles();

    // Without --cover the question is asked on standard input; ended input aborts.
    RunResult ended = Run("incomplete.tbl", {});
    EXPECT_EQ(ended.status, 1);
}

TEST_F(PipelineTest, StateMachinesForEveryFlipFlop)
{
    for (const char* ff : {"D", "T", "JK", "SR"}) {
        SCOPED_TRACE(ff);
        RunResult r = Run("counter.tbl", {"/E", "@", ff});
        ASSERT_EQ(r.status, 0) << r.output;
        std::string result = ReadFile("counter.equ");
        EXPECT_NE(result.find("MINIMIZED EQUATIONS"), std::string::npos);
        ExpectNoIntermediateFiles();
    }
}

TEST_F(PipelineTest, MooreModeAcceptsAMooreMachineAndRefusesAMealyMachine)
{
    RunResult moore = Run("traffic.tbl", {"/M", "@", "D"});
    EXPECT_EQ(moore.status, 0) << moore.output;
    RunResult mealy = Run("seq101.tbl", {"/M", "@", "D"});
    EXPECT_EQ(mealy.status, 1);
    EXPECT_NE(mealy.output.find("ERROR: INPUT TABLE NOT SPECIFIED AS MOORE TYPE STATE MACHINE"), std::string::npos);
    ExpectNoIntermediateFiles();
}

TEST_F(PipelineTest, AbelSourceForAFunctionAndAMachine)
{
    ASSERT_EQ(Run("adder.tbl", {"/A"}).status, 0);
    std::string adder = ReadFile("adder.abl");
    EXPECT_EQ(adder.rfind("Module ADDER\n", 0), 0u);
    EXPECT_NE(adder.find("SUM = !A&!B&CIN # !A&B&!CIN # A&!B&!CIN # A&B&CIN;"), std::string::npos);
    ASSERT_EQ(Run("counter.tbl", {"/A", "@", "JK"}).status, 0);
    EXPECT_NE(ReadFile("counter.abl").find(":="), std::string::npos);
}

TEST_F(PipelineTest, TableErrorsEndTheRunWithStatusOne)
{
    WriteFile("bad.tbl", "TABLE\nINPUT A B\nOUTPUT F\n0 1\nEND\n");
    RunResult r = Run("bad.tbl", {});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("INCORRECT OUTPUT VECTOR"), std::string::npos) << r.output;
    ExpectNoIntermediateFiles();

    RunResult missing = quorlet::test::RunBuiltProgram(QUORLET_BIN, {"absent.tbl"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.output.find("FATAL ERROR: UNABLE TO OPEN TABLE FILE"), std::string::npos) << missing.output;
}

// A table of a few scattered minterms over 40 inputs and 40 outputs (fixed seed), each output
// 0 or 1, or left open (".") with the given chance: the completeness check's hardest kind of
// table, whose missing cover is the complement of the rows in 40 dimensions.
struct WideRows {
    std::string text;
    std::vector<std::pair<std::string, std::string>> rows;  // input point, outputs
};

WideRows ScatteredMinterms(unsigned seed, int rows, int openPercent)
{
    std::mt19937 rng(seed);
    WideRows t;
    t.text = "TABLE WIDE\nINPUT";
    for (int i = 0; i < 40; ++i) t.text += " I" + std::to_string(i);
    t.text += "\nOUTPUT";
    for (int j = 0; j < 40; ++j) t.text += " O" + std::to_string(j);
    t.text += "\n";
    std::set<std::string> seen;
    while (int(t.rows.size()) < rows) {
        std::string in, out;
        for (int i = 0; i < 40; ++i) in += rng() % 2 ? '1' : '0';
        for (int j = 0; j < 40; ++j) out += int(rng() % 100) < openPercent ? '.' : rng() % 2 ? '1' : '0';
        if (!seen.insert(in).second) continue;
        t.rows.emplace_back(in, out);
        t.text += in + " " + out + "\n";
    }
    t.text += "END\n";
    return t;
}

bool CubeHolds(const std::string& cube, const std::string& point)
{
    for (std::size_t i = 0; i < point.size(); ++i)
        if (cube[i] != '-' && cube[i] != point[i]) return false;
    return true;
}

TEST_F(PipelineTest, WideSparseTableIsCompletedAndMinimizedByMeaning)
{
    for (int openPercent : {0, 30}) {
        SCOPED_TRACE("outputs left open: " + std::to_string(openPercent) + "%");
        WideRows t = ScatteredMinterms(40 + openPercent, 30, openPercent);
        WriteFile("wide.tbl", t.text);
        RunResult r = Run("wide.tbl", {}, "dc");
        ASSERT_EQ(r.status, 0) << r.output;
        EXPECT_NE(r.output.find("CHECKING COMPLETENESS OF INPUT TABLE"), std::string::npos);
        EXPECT_NE(r.output.find("INCOMPLETELY SPECIFIED INPUT TABLE; MISSING COVER:"), std::string::npos);
        const std::string result = ReadFile("wide.min");

        // The missing terms, shown with "-" (don't care) in the outputs the table leaves open.
        std::vector<std::pair<std::string, std::string>> missing;
        std::istringstream lines(result);
        for (std::string line; std::getline(lines, line);)
            if (line.size() == 83 && line.substr(40, 3) == " | " && line.find('-', 43) != std::string::npos)
                missing.emplace_back(line.substr(0, 40), line.substr(43));
        ASSERT_FALSE(missing.empty());
        ASSERT_LT(missing.size(), 2000u);
        // None of them takes a value the table gives ...
        for (const auto& [cube, outs] : missing)
            for (const auto& [point, values] : t.rows)
                if (CubeHolds(cube, point))
                    for (int j = 0; j < 40; ++j)
                        ASSERT_FALSE(outs[j] == '-' && values[j] != '.') << cube << " takes output " << j << " of " << point;
        // ... and every other point is among them: the rows' neighbours one and two inputs away,
        // where the complement's cubes must reach closest to a row, and random points.
        std::mt19937 rng(7);
        std::vector<std::string> probes;
        for (const auto& [point, values] : t.rows) {
            probes.push_back(point);
            for (int a = 0; a < 40; ++a) {
                std::string p = point;
                p[a] ^= 1;
                probes.push_back(p);
                int b = int(rng() % 40);
                if (b != a) p[b] ^= 1;
                probes.push_back(p);
            }
        }
        for (int k = 0; k < 2000; ++k) {
            std::string p;
            for (int i = 0; i < 40; ++i) p += rng() % 2 ? '1' : '0';
            probes.push_back(p);
        }
        for (const std::string& p : probes) {
            std::string given(40, '.'), open(40, '.');
            for (const auto& [point, values] : t.rows)
                if (point == p) given = values;
            for (const auto& [cube, outs] : missing)
                if (CubeHolds(cube, p))
                    for (int j = 0; j < 40; ++j)
                        if (outs[j] == '-') open[j] = '-';
            for (int j = 0; j < 40; ++j)
                ASSERT_NE(given[j] != '.', open[j] == '-') << "point " << p << " output " << j;
        }

        // The minimized table keeps every value the table gives.
        auto terms = ReadMinimizedTerms(result);
        ASSERT_FALSE(terms.empty());
        for (const auto& [point, values] : t.rows)
            for (int j = 0; j < 40; ++j) {
                if (values[j] == '.') continue;
                bool hit = false;
                for (const auto& [in, out] : terms) hit |= out[j] == '1' && CubeHolds(in, point);
                ASSERT_EQ(hit, values[j] == '1') << "point " << point << " output " << j;
            }
        ExpectNoIntermediateFiles();
    }
}

TEST_F(PipelineTest, WideTableAskedForEquationsIsRefusedAtOnce)
{
    WriteFile("wide.tbl", ScatteredMinterms(40, 30, 0).text);
    RunResult r = Run("wide.tbl", {"/E"}, "dc");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.output.find("EQUATIONS OUTPUT IS INCOMPATIBLE WITH MORE THAN 26 VARIABLES"), std::string::npos)
        << r.output;
    EXPECT_EQ(r.output.find("CHECKING COMPLETENESS OF INPUT TABLE"), std::string::npos);
    ExpectNoIntermediateFiles();
}

}  // namespace
