// Whole checks through the real pipeline, judged by meaning: random tables with don't-cares and
// open points, the run's own equations, answers changed by one literal or term (compared with
// the table point by point), product-of-sums answers, and D and JK state tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "AnswerCheckRun.h"
#include "StageTable.h"
#include "TestSupport.h"

namespace {

namespace fs = std::filesystem;
using namespace quorlet;
using namespace quorlet::test;

// A random function table: per output and point '1', '0', '-' or '.' (not stated).
struct RandomTable {
    std::vector<std::string> inputs;
    std::vector<std::string> outputs;
    std::vector<std::string> values;  // values[j][point]

    int Points() const { return 1 << inputs.size(); }

    std::string Point(int p) const
    {
        std::string point;
        for (int i = static_cast<int>(inputs.size()) - 1; i >= 0; --i) point += (p >> i) & 1 ? '1' : '0';
        return point;
    }

    std::string Text() const
    {
        std::string text = "TABLE RANDOM\nINPUT";
        for (const auto& n : inputs) text += " " + n;
        text += "\nOUTPUT";
        for (const auto& n : outputs) text += " " + n;
        text += "\n";
        for (int p = 0; p < Points(); ++p) {
            std::string out;
            for (const auto& v : values) out += v[static_cast<std::size_t>(p)];
            if (out.find_first_not_of('.') == std::string::npos) continue;  // left open altogether
            text += Point(p) + " " + out + "\n";
        }
        return text + "END\n";
    }
};

RandomTable MakeRandomTable(std::mt19937& rng, int ni, bool letters)
{
    RandomTable t;
    for (int i = 0; i < ni; ++i)
        t.inputs.push_back(letters ? std::string(1, static_cast<char>('A' + i)) : "IN" + std::to_string(i));
    const int no = 1 + static_cast<int>(rng() % 3);
    for (int j = 0; j < no; ++j) t.outputs.push_back("F" + std::to_string(j));
    for (int j = 0; j < no; ++j) {
        std::string v;
        for (int p = 0; p < t.Points(); ++p) {
            unsigned r = rng() % 20;
            v += r < 7 ? '1' : r < 14 ? '0' : r < 17 ? '-' : '.';
        }
        t.values.push_back(v);
    }
    bool stated = false;
    for (const auto& v : t.values) stated = stated || v.find_first_not_of('.') != std::string::npos;
    if (!stated) t.values[0][0] = '1';  // a table has one term line at least
    return t;
}

// An answer as cubes ("1-0": A B' ... over the inputs), the oracle's view of a sum of products.
using Cubes = std::vector<std::string>;

bool Covers(const std::string& cube, const std::string& point)
{
    for (std::size_t i = 0; i < cube.size(); ++i)
        if (cube[i] != '-' && cube[i] != point[i]) return false;
    return true;
}

char ValueOf(const Cubes& cubes, const std::string& point)
{
    for (const auto& c : cubes)
        if (Covers(c, point)) return '1';
    return '0';
}

// Writes a sum of products in one of the many ways an answer may be written.
std::string WriteSum(const Cubes& cubes, const std::vector<std::string>& names, std::mt19937& rng)
{
    if (cubes.empty()) return "0";
    const bool letters = names.front().size() == 1 && names.back().size() == 1;
    static const char* const kOr[] = {" + ", " | ", " # ", "+"};
    static const char* const kAnd[] = {" ", "*", " & ", ".", ""};
    std::string text;
    for (std::size_t k = 0; k < cubes.size(); ++k) {
        if (k > 0) text += rng() % 5 == 0 ? std::string("\n    + ") : std::string(kOr[rng() % 4]);
        const char* join = kAnd[rng() % (letters ? 5 : 4)];
        bool first = true;
        std::string term;
        for (std::size_t i = 0; i < cubes[k].size(); ++i) {
            if (cubes[k][i] == '-') continue;
            if (!first) term += join;
            first = false;
            if (cubes[k][i] == '1') {
                term += names[i];
            } else {
                switch (rng() % 4) {
                case 0: term += names[i] + "'"; break;
                case 1: term += "!" + names[i]; break;
                case 2: term += "~" + names[i]; break;
                default: term += "/" + names[i]; break;
                }
            }
        }
        text += first ? "1" : term;
    }
    return text;
}

struct CheckRun {
    AnswerCheckResult result;
    std::vector<std::string> lines;
};

class AnswerCheckRunTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterQuorletStages(); }

    // A run of the pipeline itself, as a student would make it (for the run's own equations).
    std::vector<std::string> Minimize(const std::string& commandLine, const std::string& cover = "-")
    {
        ScriptedQuestions questions({}, {cover});
        SetQuestions(&questions);
        FixedClock clock(quorlet::test::FixedTestTime());
        SetClock(&clock);
        std::vector<std::string> lines;
        StringListTarget target(lines);
        Console().Bind(&target);
        RunPipeline(ExecutableDir() + "quorlet.exe", commandLine, DirectoryWait::Refuse);
        Console().Unbind();
        SetQuestions(nullptr);
        SetClock(nullptr);
        return lines;
    }

    CheckRun Check(const std::vector<std::string>& answers, const std::string& commandLine,
                   const std::string& cover = "", const std::string& csv = "")
    {
        AnswerCheckRequest request;
        request.answerFiles = answers;
        ReadPipelineCommandLine(commandLine, request);
        request.cover = cover;
        request.csvFile = csv;
        CheckRun run;
        StringListTarget target(run.lines);
        Console().Bind(&target);
        run.result = RunAnswerCheck(request);
        Console().Unbind();
        return run;
    }

    TempWorkDir dir_;
};

const std::regex kCorrect(
    R"(^(\S+): CORRECT, (\d+) PRODUCT TERMS, (\d+) LITERALS; MINIMUM (\d+) PRODUCT TERMS, (\d+) LITERALS$)");

// Every function line is CORRECT at the minimum's cost.
void ExpectCorrectAtMinimum(const CheckRun& run, std::size_t functions, const std::string& context)
{
    EXPECT_TRUE(run.result.AllCorrect()) << context;
    ASSERT_EQ(run.lines.size(), functions + 1) << context;
    for (std::size_t j = 0; j < functions; ++j) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(run.lines[j], m, kCorrect)) << context << ": " << run.lines[j];
        EXPECT_EQ(m[2], m[4]) << context << ": " << run.lines[j];
        EXPECT_EQ(m[3], m[5]) << context << ": " << run.lines[j];
    }
    EXPECT_EQ(run.lines.back(),
              "RESULT: " + std::to_string(functions) + " OF " + std::to_string(functions) + " CORRECT");
}

// The equations of an equations file with every letter replaced by its signal's name.
std::string WithNames(const std::string& equFile, const std::vector<std::string>& inputs,
                      const std::vector<std::string>& outputs)
{
    std::string text = equFile.substr(equFile.find("MINIMIZED EQUATIONS"));
    text = text.substr(text.find('\n') + 1);
    std::string named;
    const int firstOutput = 'Z' - static_cast<int>(outputs.size()) + 1;
    for (char c : text) {
        if (c >= 'A' && c <= 'Z') {
            named += " " + (c >= firstOutput ? outputs[static_cast<std::size_t>(c - firstOutput)]
                                             : inputs[static_cast<std::size_t>(c - 'A')]);
        } else {
            named += c;
        }
    }
    return named;
}

std::set<std::string> FilesHere()
{
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(".")) names.insert(e.path().filename().string());
    return names;
}

TEST_F(AnswerCheckRunTest, OwnEquationsAreCorrectAtTheMinimumAndNothingLandsBesideTheTable)
{
    std::mt19937 rng(2020);
    for (int round = 0; round < 12; ++round) {
        const int ni = 1 + round % 10;
        const bool letters = round % 2 == 0;
        RandomTable table = MakeRandomTable(rng, ni, letters);
        WriteFile("t.tbl", table.Text());
        for (const bool pos : {false, true}) {
            fs::remove("t.equ");
            Minimize(pos ? " /E /P t.tbl " : " /E t.tbl ");
            const std::string equ = ReadFile("t.equ");
            ASSERT_NE(equ.find("MINIMIZED EQUATIONS"), std::string::npos) << table.Text();
            WriteFile("named.txt", WithNames(equ, table.inputs, table.outputs));
            const std::string context = "round " + std::to_string(round) + (pos ? " /P\n" : "\n") + table.Text();

            const std::set<std::string> before = FilesHere();
            // Checked with the run's options: a constant or a lone literal is compared in their mode.
            const std::string options = pos ? " /P t.tbl " : " t.tbl ";
            ExpectCorrectAtMinimum(Check({"t.equ"}, options), table.outputs.size(), context + equ);
            ExpectCorrectAtMinimum(Check({"named.txt"}, options), table.outputs.size(),
                                   context + ReadFile("named.txt"));
            EXPECT_EQ(FilesHere(), before);
        }
    }
}

// The oracle: the first specified point, in counting order, where the answer differs.
std::string ExpectedLine(const RandomTable& t, std::size_t j, const Cubes& answer)
{
    for (int p = 0; p < t.Points(); ++p) {
        const char want = t.values[j][static_cast<std::size_t>(p)];
        if (want != '0' && want != '1') continue;
        const std::string point = t.Point(p);
        const char got = ValueOf(answer, point);
        if (got == want) continue;
        std::string line = t.outputs[j] + ": WRONG AT";
        for (std::size_t i = 0; i < t.inputs.size(); ++i) line += " " + t.inputs[i] + "=" + point[i];
        return line + ": TABLE " + want + ", ANSWER " + got;
    }
    int literals = 0, terms = 0;
    for (const auto& c : answer) {
        const auto k = static_cast<int>(std::count_if(c.begin(), c.end(), [](char ch) { return ch != '-'; }));
        literals += k;
        terms += k > 0 ? 1 : 0;  // a universal term is the constant 1
    }
    return t.outputs[j] + ": CORRECT, " + std::to_string(terms) + " PRODUCT TERMS, " + std::to_string(literals) +
           " LITERALS";
}

Cubes Mutate(Cubes cubes, std::mt19937& rng, int ni)
{
    const unsigned kind = cubes.empty() ? 3 : rng() % 4;
    std::size_t k = cubes.empty() ? 0 : rng() % cubes.size();
    std::size_t i = rng() % static_cast<unsigned>(ni);
    switch (kind) {
    case 0: cubes.erase(cubes.begin() + static_cast<std::ptrdiff_t>(k)); break;  // a term dropped
    case 1: cubes[k][i] = '-'; break;                                            // a literal dropped
    case 2: cubes[k][i] = cubes[k][i] == '1' ? '0' : '1'; break;                 // a literal changed
    default: {                                                                   // a term added
        std::string cube;
        for (int n = 0; n < ni; ++n) cube += "01-"[rng() % 3];
        cubes.push_back(cube);
    }
    }
    return cubes;
}

TEST_F(AnswerCheckRunTest, ChangedAnswersAreWrongExactlyWhereASpecifiedPointChanges)
{
    std::mt19937 rng(7);
    int wrong = 0, correct = 0;
    for (int round = 0; round < 20; ++round) {
        const int ni = 1 + round % 10;
        RandomTable table = MakeRandomTable(rng, ni, round % 3 != 0);
        WriteFile("t.tbl", table.Text());
        // A correct but far from minimal answer: the ON points and some don't-care and open
        // points as full products; then one change each.
        std::vector<Cubes> answers(table.outputs.size());
        for (std::size_t j = 0; j < table.outputs.size(); ++j) {
            for (int p = 0; p < table.Points(); ++p) {
                char v = table.values[j][static_cast<std::size_t>(p)];
                if (v == '1' || ((v == '-' || v == '.') && rng() % 2 == 0)) answers[j].push_back(table.Point(p));
            }
            if (answers[j].size() > 24) answers[j].resize(24);  // keeps the files short; still an answer to judge
        }
        for (int variant = 0; variant < 3; ++variant) {
            std::string text;
            std::vector<Cubes> given = answers;
            for (std::size_t j = 0; j < given.size(); ++j) {
                if (variant > 0) given[j] = Mutate(given[j], rng, ni);
                text += table.outputs[j] + " = " + WriteSum(given[j], table.inputs, rng) + "\n";
            }
            WriteFile("answer.txt", text);
            CheckRun run = Check({"answer.txt"}, " t.tbl ");
            ASSERT_EQ(run.lines.size(), table.outputs.size() + 1) << text;
            for (std::size_t j = 0; j < table.outputs.size(); ++j) {
                const std::string expected = ExpectedLine(table, j, given[j]);
                const std::string& got = run.lines[j];
                EXPECT_EQ(got.substr(0, std::min(got.size(), got.find("; MINIMUM"))), expected) << table.Text() << text;
                (expected.find("WRONG") != std::string::npos ? wrong : correct)++;
                std::smatch m;
                if (variant == 0 && std::regex_match(got, m, kCorrect)) {
                    EXPECT_GE(std::stoi(m[3]), std::stoi(m[5])) << "an answer below the minimum: " << got;
                }
            }
        }
    }
    // Both kinds occurred often enough for the test to mean something.
    EXPECT_GT(wrong, 20);
    EXPECT_GT(correct, 20);
}

TEST_F(AnswerCheckRunTest, DifferencesOnDontCaresAndOpenPointsOnlyAreCorrect)
{
    WriteFile("open.tbl", ReadFile(std::string(QUORLET_EXAMPLES) + "/incomplete.tbl"));
    // F: 0 at 000, 1 at 001 and 01-, don't care at 110, 1 at 111; 100 and 101 open.
    // G: 0 at 01-, 1 at 11-; 00- and 10- open.
    WriteFile("a.txt", "F = A'C + A'B + AB\nG = A B\n");
    WriteFile("b.txt", "F = C + B + A   \" every open and don't-care point as 1\nG = A\n");
    WriteFile("c.txt", "F = A'C + A'B + ABC\nG = A B + A B' C\n");
    CheckRun run = Check({"a.txt", "b.txt", "c.txt"}, " open.tbl ");
    EXPECT_TRUE(run.result.AllCorrect());
    EXPECT_EQ(run.result.answersAllCorrect, 3);

    WriteFile("d.txt", "F = A'C + B C'\nG = A + B\n");  // F wrong at 111, G at 010
    CheckRun wrong = Check({"d.txt"}, " open.tbl ");
    ASSERT_EQ(wrong.lines.size(), 3u);
    EXPECT_EQ(wrong.lines[0], "F: WRONG AT A=1 B=1 C=1: TABLE 1, ANSWER 0");
    EXPECT_EQ(wrong.lines[1], "G: WRONG AT A=0 B=1 C=0: TABLE 0, ANSWER 1");
    EXPECT_EQ(wrong.lines[2], "RESULT: 0 OF 2 CORRECT");
    EXPECT_FALSE(wrong.result.AllCorrect());
}

TEST_F(AnswerCheckRunTest, CoverChoiceGivesTheMinimumOfTheCompletedTable)
{
    WriteFile("open.tbl", ReadFile(std::string(QUORLET_EXAMPLES) + "/incomplete.tbl"));
    // Completed with ON, as the run with that choice minimizes it.
    Minimize(" /E open.tbl ", "1");
    ExpectCorrectAtMinimum(Check({"open.equ"}, " open.tbl ", "1"), 2, ReadFile("open.equ"));
    // The same equations against the table as written, with the open points don't-cares: still
    // correct, and the minimum is not larger than theirs.
    CheckRun dc = Check({"open.equ"}, " open.tbl ");
    ASSERT_EQ(dc.lines.size(), 3u);
    for (int j = 0; j < 2; ++j) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(dc.lines[static_cast<std::size_t>(j)], m, kCorrect))
            << dc.lines[static_cast<std::size_t>(j)];
        EXPECT_LE(std::stoi(m[5]), std::stoi(m[3]));
    }
    // Abort leaves no minimum to compare with.
    CheckRun aborted = Check({"open.equ"}, " open.tbl ", "Q");
    EXPECT_FALSE(aborted.result.tableMinimized);
    EXPECT_EQ(aborted.lines.back(), "TABLE NOT MINIMIZED, NO ANSWER CHECKED");
}

TEST_F(AnswerCheckRunTest, ProductOfSumsAnswersAreComparedWithTheProductOfSumsMinimum)
{
    WriteFile("adder.tbl", ReadFile(std::string(QUORLET_EXAMPLES) + "/adder.tbl"));
    WriteFile("pos.txt", "SUM = (A+B+CIN).(A+B'+CIN').(A'+B+CIN').(A'+B'+CIN)\nCOUT = (A+B)(A+CIN)(B+CIN)\n");
    CheckRun run = Check({"pos.txt"}, " adder.tbl ");
    ExpectCorrectAtMinimum(run, 2, "pos.txt");
    WriteFile("off.txt", "COUT' = A'B' + A'CIN' + B'CIN'\nSUM = A'B'CIN + A'B CIN' + A B' CIN' + A B CIN\n");
    ExpectCorrectAtMinimum(Check({"off.txt"}, " /P adder.tbl "), 2, "off.txt");
    // One factor short: wrong where only that factor is 0.
    WriteFile("short.txt", "COUT = (A+B)(A+CIN)\n");
    CheckRun shortRun = Check({"short.txt"}, " adder.tbl ");
    ASSERT_EQ(shortRun.lines.size(), 3u);
    EXPECT_EQ(shortRun.lines[0], "SUM: MISSING");
    EXPECT_EQ(shortRun.lines[1], "COUT: WRONG AT A=1 B=0 CIN=0: TABLE 0, ANSWER 1");
}

// A machine with an unused state code: A=00, B=01, C=11; 10 is free.
const char* const kMachine =
    "TABLE MACHINE\n"
    "INPUT X\n"
    "OUTPUT Z\n"
    "STATES\n"
    "A 00\n"
    "B 01\n"
    "C 11\n"
    "END\n"
    "A 0 A 0\n"
    "A 1 B 0\n"
    "B 0 A 0\n"
    "B 1 C 0\n"
    "C 0 A 1\n"
    "C 1 C 1\n"
    "END\n";

TEST_F(AnswerCheckRunTest, StateTablesForDAndJKFlipFlops)
{
    WriteFile("m.tbl", kMachine);
    for (const std::string ff : {"D", "JK"}) {
        fs::remove("m.equ");
        Minimize(" /E m.tbl " + ff + " ");
        const std::string equ = ReadFile("m.equ");
        const std::vector<std::string> outputs = ff == "D" ? std::vector<std::string>{"_D1", "_D0", "Z"}
                                                           : std::vector<std::string>{"_J1", "_K1", "_J0", "_K0", "Z"};
        ExpectCorrectAtMinimum(Check({"m.equ"}, " m.tbl " + ff + " "), outputs.size(), ff + equ);
        WriteFile("named.txt", WithNames(equ, {"Q1", "Q0", "X"}, outputs));
        ExpectCorrectAtMinimum(Check({"named.txt"}, " m.tbl " + ff + " "), outputs.size(), ff + ReadFile("named.txt"));
    }
    // D: D1 = Q0 X and D0 = X are right (10 is free); names without the underscore.
    WriteFile("d.txt", "D1 = Q0 X\nD0 = X\nZ = Q1\n");
    CheckRun d = Check({"d.txt"}, " m.tbl D ");
    EXPECT_TRUE(d.result.AllCorrect()) << d.lines[0];
    // D1 = X is wrong first at 00 1 (A goes to B = 01: D1 must be 0).
    WriteFile("d1.txt", "D1 = X\nD0 = X\nZ = Q1\n");
    CheckRun d1 = Check({"d1.txt"}, " m.tbl D ");
    ASSERT_FALSE(d1.lines.empty());
    EXPECT_EQ(d1.lines[0], "_D1: WRONG AT Q1=0 Q0=0 X=1: TABLE 0, ANSWER 1");
    // JK: from 01, input 1, to 11: J1 = 1 there. J1 = Q0 X' is wrong first at 01 0 (to 00: J1=0).
    WriteFile("jk.txt", "J1 = Q0 X'\nK1 = X'\nJ0 = X\nK0 = X'\nZ = Q1\n");
    CheckRun jk = Check({"jk.txt"}, " m.tbl JK ");
    ASSERT_FALSE(jk.lines.empty());
    EXPECT_EQ(jk.lines[0], "_J1: WRONG AT Q1=0 Q0=1 X=0: TABLE 0, ANSWER 1");
}

TEST_F(AnswerCheckRunTest, BatchBlocksGradebookAndTheCallersConsole)
{
    WriteFile("adder.tbl", ReadFile(std::string(QUORLET_EXAMPLES) + "/adder.tbl"));
    WriteFile("good, one.txt", "SUM = A'B'CIN + A'B CIN' + A B' CIN' + A B CIN\nCOUT = A B + A CIN + B CIN\n");
    WriteFile("bad.txt", "SUM = A + Q\nCOUT = A B + A CIN\n");
    fs::create_directory("out");
    CheckRun run = Check({"good, one.txt", "bad.txt", "none.txt"}, " /E /S adder.tbl ", "", "out/grades.csv");
    EXPECT_EQ(run.result.answersAllCorrect, 1);
    EXPECT_FALSE(run.result.AllCorrect());
    const std::vector<std::string> expected = {
        "good, one.txt",
        "SUM: CORRECT, 4 PRODUCT TERMS, 12 LITERALS; MINIMUM 4 PRODUCT TERMS, 12 LITERALS",
        "COUT: CORRECT, 3 PRODUCT TERMS, 6 LITERALS; MINIMUM 3 PRODUCT TERMS, 6 LITERALS",
        "RESULT: 2 OF 2 CORRECT",
        "",
        "bad.txt",
        "bad.txt:1: UNKNOWN SIGNAL Q",
        "SUM: MISSING",
        "COUT: WRONG AT A=0 B=1 CIN=1: TABLE 1, ANSWER 0",
        "RESULT: 0 OF 2 CORRECT",
        "",
        "none.txt",
        "none.txt: CANNOT READ FILE",
        "SUM: MISSING",
        "COUT: MISSING",
        "RESULT: 0 OF 2 CORRECT",
    };
    EXPECT_EQ(run.lines, expected);
    EXPECT_EQ(ReadFile("out/grades.csv"),
              "file,function,verdict,terms,literals,minimum terms,minimum literals\n"
              "\"good, one.txt\",SUM,CORRECT,4,12,4,12\n"
              "\"good, one.txt\",COUT,CORRECT,3,6,3,6\n"
              "bad.txt,SUM,MISSING,,,4,12\n"
              "bad.txt,COUT,WRONG,2,4,3,6\n"
              "none.txt,SUM,MISSING,,,4,12\n"
              "none.txt,COUT,MISSING,,,3,6\n");
    EXPECT_FALSE(fs::exists("adder.equ"));

    // The window's output keeps what it showed before the check, and gets the verdict after it.
    std::vector<std::string> window;
    StringListTarget target(window);
    Console().Bind(&target);
    Console().WriteLine("EARLIER LINE");
    Console().WriteLine("EARLIER LINE 2");
    AnswerCheckRequest request;
    request.answerFiles = {"bad.txt"};
    request.tableFile = "adder";
    RunAnswerCheck(request);
    Console().Unbind();
    ASSERT_GE(window.size(), 3u);
    EXPECT_EQ(window[1], "EARLIER LINE 2");
    EXPECT_EQ(window.back(), "RESULT: 0 OF 2 CORRECT");
}

TEST_F(AnswerCheckRunTest, TableThatCannotBeMinimizedChecksNothing)
{
    WriteFile("bad.tbl", "TABLE BAD\nINPUT A\nOUTPUT F\n0 1\n1 x\nEND\n");
    WriteFile("a.txt", "F = A\n");
    CheckRun run = Check({"a.txt"}, " bad.tbl ");
    EXPECT_FALSE(run.result.tableMinimized);
    ASSERT_GE(run.lines.size(), 2u);
    EXPECT_NE(std::find(run.lines.begin(), run.lines.end(), "INCORRECT OUTPUT VECTOR"), run.lines.end());
    EXPECT_EQ(run.lines.back(), "TABLE NOT MINIMIZED, NO ANSWER CHECKED");

    CheckRun none = Check({"a.txt"}, " missing.tbl ");
    EXPECT_EQ(none.lines, std::vector<std::string>{"FATAL ERROR: UNABLE TO OPEN TABLE FILE missing.tbl"});
    EXPECT_FALSE(none.result.AllCorrect());
}

}  // namespace
