// The PLA reader's conventions and messages, table semantics per type and phase, and the
// quor_esp program end to end (files, exit status, check table, verification).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "Function.h"
#include "QuorEsp.h"
#include "TruthTable.h"

namespace quorlet::test {
namespace {

std::string Error(const std::string& text)
{
    try {
        ParsePla(text, "t.pla");
    } catch (const PlaError& e) {
        return e.what();
    }
    return "";
}

TEST(Pla, ReaderConventions)
{
    PlaTable t = ParsePla(
        "# comment\n.i 3\r\n.o 2\n.ilb a b c\n.ob x y\n.phase 11\n.p 3\n"
        "0 1 2 | 4 3\n"
        "1-0\n 0\n2\n"  // a term over three lines
        "  --1|-~   # trailing comment\n"
        ".end\n101 11\n",
        "t.pla");
    EXPECT_EQ(t.ni, 3);
    EXPECT_EQ(t.no, 2);
    EXPECT_EQ(t.type, PlaType::FD);
    EXPECT_EQ(t.ilb, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(t.ob, (std::vector<std::string>{"x", "y"}));
    ASSERT_EQ(t.terms.size(), 3u);  // nothing after .end
    EXPECT_EQ(t.terms[0].in, "01-");
    EXPECT_EQ(t.terms[0].out, "1~");
    EXPECT_EQ(t.terms[1].in, "1-0");
    EXPECT_EQ(t.terms[1].out, "0-");
    EXPECT_EQ(t.terms[1].line, 9);
    EXPECT_EQ(t.terms[2].in, "--1");
    EXPECT_EQ(t.terms[2].out, "-~");
    for (auto [text, type] :
         {std::pair{"f", PlaType::F}, {"fr", PlaType::FR}, {"fdr", PlaType::FDR}, {"fd", PlaType::FD}})
        EXPECT_EQ(ParsePla(std::string(".i 1\n.o 1\n.type ") + text + "\n1 1\n.e\n", "t").type, type);
}

TEST(Pla, ReaderErrorsNameFileAndLine)
{
    const std::pair<const char*, const char*> cases[] = {
        {".i 2\n.o 1\n01 1\n011 1\n", "t.pla:4: term has more than 2 input and 1 output characters"},
        {".i 2\n.o 2\n01 1\n.e\n", "t.pla:4: keyword .e inside the term that starts on line 3"},
        {".i 2\n.o 2\n01 1\n", "t.pla:3: term is incomplete: 2 of 2 input and 1 of 2 output characters"},
        {".i 2x\n", "t.pla:1: .i needs a decimal count, not \"2x\""},
        {".i\n", "t.pla:1: .i needs a count"},
        {".i 2\n.o 1\n0a 1\n", "t.pla:3: input part holds 'a' (allowed: 0 1 - 2)"},
        {".i 2\n.o 1\n01 5\n", "t.pla:3: output part holds '5' (allowed: 1 4 0 - 2 ~ 3)"},
        {".i 2\n01 1\n", "t.pla:2: term before .o"},
        {".i 2\n.o 1\n.type fx\n", "t.pla:3: unknown .type \"fx\" (f, fd, fr, fdr or r)"},
        {".i 2\n.o 1\n.ilb a\n", "t.pla:3: .ilb names 1 signals, .i says 2"},
        {".i 2\n.o 1\n.mv 3\n", "t.pla:3: unknown keyword .mv"},
        {".o 1\n", "t.pla: no .i line"},
        {".i 0\n", "t.pla:1: .i must be at least 1"},
    };
    for (auto [text, message] : cases) EXPECT_EQ(Error(text), message) << text;
    EXPECT_NE(Error(".i 99999999999\n").find("at most"), std::string::npos);
    try {
        ReadPlaFile("/nonexistent/x.pla");
        ADD_FAILURE();
    } catch (const PlaError& e) {
        EXPECT_EQ(std::string(e.what()), "/nonexistent/x.pla: cannot open file");
    }
}

TEST(Pla, WriterHasFourHeaderLinesAndRoundTrips)
{
    PlaTable t = ParsePla(".i 3\n.o 2\n.p 2\n01- 10\n1-1 11\n.e\n", "t");
    std::string text = FormatPla(t);
    EXPECT_EQ(text, ".i 3\n.o 2\n.type f\n.p 2\n01- 10\n1-1 11\n.e\n");
    PlaTable back = ParsePla(text, "again");
    EXPECT_EQ(back.terms.size(), 2u);
    EXPECT_EQ(back.terms[1].out, "11");
    t.ilb = {"a", "b", "c"};
    EXPECT_EQ(FormatPla(t).substr(0, 34), ".i 3\n.o 2\n.ilb a b c\n.type f\n.p 2\n");
}

// Points of each output in the phase's ON, OFF and don't-care sets.
std::vector<std::string> Classes(const std::string& text, bool pos)
{
    Problem p = BuildProblem(ParsePla(text, "t"), pos);
    Table on = TableOf(p.on), dc = TableOf(p.dc), off = TableOf(p.off);
    std::vector<std::string> r;
    for (int j = 0; j < p.space.no; ++j) {
        std::string s;
        for (unsigned m = 0; m < (1u << p.space.ni); ++m)
            s += on[j][m] && !dc[j][m] ? '1' : dc[j][m] ? '-' : off[j][m] ? '0' : '?';
        r.push_back(s);
    }
    return r;
}

TEST(Pla, TypesAndPhasesGiveTheRightSets)
{
    // Points m = 0..3 with input 0 as the low bit: term "01" is m = 2.
    const char* body = "00 1\n01 0\n10 -\n";
    auto v = [](std::string s) { return std::vector<std::string>{s}; };
    EXPECT_EQ(Classes(std::string(".i 2\n.o 1\n.type f\n") + body, false), v("1000"));
    EXPECT_EQ(Classes(std::string(".i 2\n.o 1\n.type fd\n") + body, false), v("1-00"));
    EXPECT_EQ(Classes(std::string(".i 2\n.o 1\n.type fr\n") + body, false), v("1-0-"));
    EXPECT_EQ(Classes(std::string(".i 2\n.o 1\n.type fdr\n") + body, false), v("1-0-"));
    EXPECT_EQ(Classes(std::string(".i 2\n.o 1\n.type fd\n") + body, true), v("0-11"));
    EXPECT_EQ(Classes(std::string(".i 2\n.o 1\n.type fdr\n") + body, true), v("0-1-"));
    // "~" says nothing; a don't-care wins over ON, ON over OFF.
    EXPECT_EQ(Classes(".i 2\n.o 2\n.type fdr\n0- 1~\n00 -0\n", false), (std::vector<std::string>{"--1-", "0---"}));
    // Type r lists the OFF-set; the ON-set is the rest, "1" and "-" say nothing.
    EXPECT_EQ(Classes(std::string(".i 2\n.o 1\n.type r\n") + body, false), v("1101"));
    EXPECT_EQ(Classes(std::string(".i 2\n.o 1\n.type r\n") + body, true), v("0010"));
    EXPECT_EQ(Classes(".i 2\n.o 2\n.type r\n0- 01\n-1 10\n", false), (std::vector<std::string>{"0101", "1100"}));
}

TEST(Pla, ReaderWarnsAboutWhatItDoesNotUse)
{
    // A phase asking for OFF-sets is read and left unapplied, with a warning naming its line.
    PlaTable t = ParsePla(".i 2\n.o 2\n.phase 01\n00 11\n.e\n", "t.pla");
    ASSERT_EQ(t.warnings.size(), 1u);
    EXPECT_EQ(t.warnings[0].rfind("t.pla:3: .phase is ignored", 0), 0u) << t.warnings[0];
    EXPECT_TRUE(ParsePla(".i 2\n.o 2\n.phase 11\n00 11\n", "t.pla").warnings.empty());
    EXPECT_EQ(Classes(".i 2\n.o 1\n.phase 0\n00 1\n", false), (std::vector<std::string>{"1000"}));
    // A bare title word on the first line is a comment; two words there are still refused.
    t = ParsePla("# made by hand\nadder\n.i 2\n.o 1\n11 1\n", "t.pla");
    ASSERT_EQ(t.warnings.size(), 1u);
    EXPECT_EQ(t.warnings[0], "t.pla:2: \"adder\" taken as a title and ignored");
    EXPECT_EQ(t.terms.size(), 1u);
    EXPECT_NE(Error("two words\n.i 2\n.o 1\n11 1\n"), "");
    EXPECT_NE(Error(".i 2\n.o 1\nadder\n11 1\n"), "");  // only the first line may be a title
}

class QuorEspFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() /
               ("quor_esp_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const std::string& n) const { return (dir_ / n).string(); }
    void Write(const std::string& n, const std::string& text) const
    {
        std::ofstream(Path(n), std::ios::binary) << text;
    }
    std::string Read(const std::string& n) const
    {
        std::ifstream in(Path(n), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    int Run(std::vector<std::string> args)
    {
        err_.str("");
        return RunQuorEsp(args, err_);
    }
    std::filesystem::path dir_;
    std::ostringstream err_;
};

TEST_F(QuorEspFiles, CheckTableWithPosGivesExactlyTheOpenPoints)
{
    // The check table: ".type f", outputs "1" where the user's table says something, "~" else.
    std::mt19937 rng(17);
    for (int round = 0; round < 10; ++round) {
        int ni = 3 + round % 4, no = 1 + round % 3;
        std::string text = ".i " + std::to_string(ni) + "\n.o " + std::to_string(no) + "\n.type f\n.phase " +
                           std::string(no, '1') + "\n";
        std::vector<std::string> terms;
        for (int k = 0; k < 6 + round; ++k) {
            std::string in, out;
            for (int v = 0; v < ni; ++v) in += "01-"[rng() % 3 == 0 ? 2 : rng() % 2];
            for (int j = 0; j < no; ++j) out += rng() % 3 ? '1' : '~';
            terms.push_back(in + " " + out);
        }
        text += ".p " + std::to_string(terms.size()) + "\n";
        for (auto& t : terms) text += t + "\n";
        text += ".e\n";
        Write("exp_chk.$$$", text);
        ASSERT_EQ(Run({"-o", Path("esp_chk.$$$"), "-pos", Path("exp_chk.$$$")}), 0) << err_.str();
        PlaTable in = ParsePla(text, "in"), out = ParsePla(Read("esp_chk.$$$"), "out");
        Table said = TableOf(TermCover(in, '1')), open = TableOf(TermCover(out, '1'));
        for (int j = 0; j < no; ++j)
            for (unsigned m = 0; m < (1u << ni); ++m) ASSERT_NE(said[j][m], open[j][m]) << "round " << round;
        ASSERT_EQ(Run({"--verify", Path("exp_chk.$$$"), Path("esp_chk.$$$"), "-pos"}), 0) << err_.str();
    }
}

TEST_F(QuorEspFiles, ResultFormatDeterminismAndVerification)
{
    const std::string src =
        ".i 4\n.o 2\n.type fdr\n.phase 11\n.p 6\n0000 10\n0001 11\n0011 01\n0111 1~\n1111 0-\n1-00 00\n.e\n";
    Write("exp_tbl.$$$", src);
    for (bool pos : {false, true}) {
        std::vector<std::string> args = {"-o", Path("esp_tbl.$$$")};
        if (pos) args.push_back("-pos");
        args.push_back(Path("exp_tbl.$$$"));
        ASSERT_EQ(Run(args), 0) << err_.str();
        std::string first = Read("esp_tbl.$$$");
        ASSERT_EQ(Run(args), 0);
        EXPECT_EQ(Read("esp_tbl.$$$"), first) << "same input, same output";
        std::istringstream lines(first);
        std::string l1, l2, l3, l4;
        std::getline(lines, l1);
        std::getline(lines, l2);
        std::getline(lines, l3);
        std::getline(lines, l4);
        EXPECT_EQ(l1, ".i 4");
        EXPECT_EQ(l2, ".o 2");
        EXPECT_EQ(l4.substr(0, 3), ".p ");
        EXPECT_EQ(first.find('\r'), std::string::npos);
        EXPECT_EQ(first.substr(first.size() - 3), ".e\n");
        std::vector<std::string> verify = {"--verify", Path("exp_tbl.$$$"), Path("esp_tbl.$$$")};
        if (pos) verify.push_back("-pos");
        EXPECT_EQ(Run(verify), 0) << err_.str();
        // The other phase's result is wrong for this phase.
        verify.resize(3);
        if (!pos) verify.push_back("-pos");
        EXPECT_EQ(Run(verify), 1);
        EXPECT_NE(err_.str().find("output "), std::string::npos) << err_.str();
    }
    // A result that misses an ON point, and one that covers an OFF point.
    Write("short.pla", ".i 4\n.o 2\n.type f\n.p 1\n0000 10\n.e\n");
    EXPECT_EQ(Run({"--verify", Path("exp_tbl.$$$"), Path("short.pla")}), 1);
    EXPECT_NE(err_.str().find("output 1: ON point 0001 of original term \"0001 11\" is not covered"), std::string::npos)
        << err_.str();
    Write("wide.pla", ".i 4\n.o 2\n.type f\n.p 3\n000- 10\n00-1 01\n---- 00\n.e\n");
    EXPECT_EQ(Run({"--verify", Path("exp_tbl.$$$"), Path("wide.pla")}), 1);
    Write("wide.pla", ".i 4\n.o 2\n.type f\n.p 4\n000- 10\n00-1 01\n0111 10\n1111 10\n.e\n");
    EXPECT_EQ(Run({"--verify", Path("exp_tbl.$$$"), Path("wide.pla")}), 1);
    EXPECT_NE(err_.str().find("output 1: result term 4 \"1111 10\" covers OFF point 1111"), std::string::npos)
        << err_.str();
}

TEST_F(QuorEspFiles, TypeRTableIsMinimizedAndVerifiedAgainstItsOffSet)
{
    // OFF points 000 and 111 of the first output, 1-- of the second; a phase left unapplied.
    Write("r.pla", "r3\n.i 3\n.o 2\n.type r\n.phase 10\n000 01\n111 0~\n1-- ~0\n.e\n");
    ASSERT_EQ(Run({"-o", Path("r.out"), Path("r.pla")}), 0) << err_.str();
    EXPECT_NE(err_.str().find("warning: " + Path("r.pla") + ":5: .phase is ignored"), std::string::npos) << err_.str();
    EXPECT_NE(err_.str().find("\"r3\" taken as a title"), std::string::npos) << err_.str();
    PlaTable r = ReadPlaFile(Path("r.out"));
    Table t = TableOf(TermCover(r, '1'));
    for (unsigned m = 0; m < 8; ++m) {
        EXPECT_EQ(t[0][m] != 0, m != 0 && m != 7) << m;
        EXPECT_EQ(t[1][m] != 0, (m & 1) == 0) << m;  // input 0 (the first column) is the low bit
    }
    EXPECT_EQ(Run({"--verify", Path("r.pla"), Path("r.out")}), 0) << err_.str();
    ASSERT_EQ(Run({"-o", Path("r.pos"), "-pos", Path("r.pla")}), 0) << err_.str();
    EXPECT_EQ(Run({"--verify", Path("r.pla"), Path("r.pos"), "-pos"}), 0) << err_.str();
    EXPECT_NE(Run({"--verify", Path("r.pla"), Path("r.out"), "-pos"}), 0);
}

TEST_F(QuorEspFiles, BadInputLeavesNoOutputFile)
{
    Write("bad.pla", ".i 3\n.o 1\n011 1\n0x1 1\n");
    Write("out.pla", "stale");
    EXPECT_EQ(Run({"-o", Path("out.pla"), Path("bad.pla")}), 1);
    EXPECT_NE(err_.str().find("bad.pla:4: input part holds 'x'"), std::string::npos) << err_.str();
    EXPECT_FALSE(std::filesystem::exists(Path("out.pla")));
    EXPECT_EQ(Run({"-o", Path("out.pla"), Path("missing.pla")}), 1);
    EXPECT_NE(err_.str().find("missing.pla: cannot open file"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Path("out.pla")));
    EXPECT_EQ(Run({"-o"}), 2);
    EXPECT_EQ(Run({"--bogus"}), 2);
    // A pipe (or device) named as the output is written into, never replaced or removed. The
    // reading end is open already, so the small result fits the pipe and nothing blocks.
    ASSERT_EQ(mkfifo(Path("pipe").c_str(), 0600), 0);
    int reader = open(Path("pipe").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    Write("good.pla", ".i 2\n.o 1\n00 1\n01 1\n");
    EXPECT_EQ(Run({"-o", Path("pipe"), Path("good.pla")}), 0) << err_.str();
    char buf[256];
    ssize_t got = read(reader, buf, sizeof buf);
    close(reader);
    EXPECT_EQ(std::string(buf, got > 0 ? std::size_t(got) : 0), ".i 2\n.o 1\n.type f\n.p 1\n0- 1\n.e\n");
    EXPECT_TRUE(std::filesystem::is_fifo(Path("pipe")));
    EXPECT_EQ(Run({"-o", Path("pipe"), Path("bad.pla")}), 1);
    EXPECT_TRUE(std::filesystem::is_fifo(Path("pipe")));
    EXPECT_EQ(Run({"--verify", Path("bad.pla")}), 2);
    // Standard input and output when no files are named.
    std::istringstream in(".i 2\n.o 1\n00 1\n01 1\n");
    std::ostringstream out;
    EXPECT_EQ(RunQuorEsp(std::vector<std::string>{"--stats"}, err_, &in, &out), 0);
    EXPECT_EQ(out.str(), ".i 2\n.o 1\n.type f\n.p 1\n0- 1\n.e\n");
    EXPECT_NE(err_.str().find("cubes 1 literals 2"), std::string::npos) << err_.str();
}

}  // namespace
}  // namespace quorlet::test
