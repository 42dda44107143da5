// The maps' layout, cells, groups and text, and the pieces a group's loop is drawn in.
#include <gtest/gtest.h>

#include <bitset>
#include <set>

#include "KarnaughMap.h"
#include "TestSupport.h"

namespace quorlet::test {
namespace {

// The cover read from a settings log and a minimized table, as the stage reads it.
MinimizedCover ReadCover(const std::string& inputs, const std::string& outputs, const std::string& modeLines,
                         const std::string& minimized)
{
    WriteFile("exp_log.$$$", "-o esp_tbl.$$$ exp_tbl.$$$\n\nt.min t.tbl\n\nT\n\nINPUT " + inputs + "\n\nOUTPUT " +
                                 outputs + "\n\n" + modeLines + "NO_ERRORS\n1 1 0 0\n");
    WriteFile("esp_tbl.$$$", minimized);
    MinimizedCover cover;
    TextFile log, table;
    EXPECT_TRUE(log.OpenRead("exp_log.$$$"));
    cover.ReadSettingsLog(log);
    EXPECT_TRUE(table.OpenRead("esp_tbl.$$$"));
    cover.ReadMinimizedTable(table);
    EXPECT_FALSE(cover.Failed);
    return cover;
}

CoverTable Table(int inputs, int outputs, std::vector<Term> terms)
{
    CoverTable table;
    table.inputs = inputs;
    table.outputs = outputs;
    table.terms = std::move(terms);
    return table;
}

TEST(KarnaughLayout, RowsTakeTheFirstHalfAndHeadingsRunInGrayOrder)
{
    const int expected[7][3] = {{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {0, 1, 2}, {0, 2, 2}, {1, 2, 2}, {2, 2, 2}};
    for (int n = 0; n <= 6; ++n) {
        MapLayout layout = LayoutFor(n);
        EXPECT_EQ(layout.selectorCount, expected[n][0]) << n;
        EXPECT_EQ(layout.rowCount, expected[n][1]) << n;
        EXPECT_EQ(layout.columnCount, expected[n][2]) << n;
    }
    EXPECT_EQ(GrayCodes(2), (std::vector<std::string>{"00", "01", "11", "10"}));
    for (int bits = 1; bits <= 4; ++bits) {
        std::vector<std::string> codes = GrayCodes(bits);
        std::set<std::string> distinct(codes.begin(), codes.end());
        ASSERT_EQ(distinct.size(), 1u << bits);
        for (std::size_t k = 0; k < codes.size(); ++k) {
            const std::string& next = codes[(k + 1) % codes.size()];
            int differences = 0;
            for (int b = 0; b < bits; ++b) differences += codes[k][b] != next[b];
            EXPECT_EQ(differences, 1) << codes[k] << " " << next;
        }
    }
}

TEST(KarnaughText, TheAdderSumInTextbookLayout)
{
    TempWorkDir dir;
    MinimizedCover cover =
        ReadCover("A B CIN", "SUM", "", ".i 3\n.o 1\n.type f\n.p 4\n001 1\n010 1\n100 1\n111 1\n.e\n");
    std::vector<Term> terms;
    for (unsigned p = 0; p < 8; ++p) {
        std::string in = std::bitset<3>(p).to_string();
        const bool odd = std::bitset<3>(p).count() % 2 == 1;
        terms.push_back({in, odd ? "1" : "0"});
    }
    MapBuildResult built = BuildKarnaughMaps(cover, Table(3, 1, terms));
    ASSERT_EQ(built.problem, MapBuildProblem::None);
    EXPECT_EQ(FormatKarnaughMaps(built.maps),
              (std::vector<std::string>{"MAP SUM", "ROWS A", "COLUMNS B CIN", "    00 01 11 10", "0    0  1  0  1",
                                        "1    1  0  1  0", "GROUP 001", "GROUP 010", "GROUP 100", "GROUP 111", ""}));
}

TEST(KarnaughText, OneVariableHasNoRowVariablesAndSubMapsFollowGrayOrder)
{
    KarnaughMaps one;
    one.variables = {"X"};
    one.functions.push_back({"F", {'0', '1'}, '1', {"1"}});
    EXPECT_EQ(FormatKarnaughMaps(one),
              (std::vector<std::string>{"MAP F", "ROWS", "COLUMNS X", "    0 1", "-   0 1", "GROUP 1", ""}));

    KarnaughMaps six;
    six.variables = {"A", "B", "C", "D", "E", "G"};
    six.functions.push_back({"F", std::vector<char>(64, '0'), '1', {}});
    for (unsigned p : {0b010000u, 0b110111u}) six.functions[0].cells[p] = '1';
    std::vector<std::string> lines = FormatKarnaughMaps(six);
    std::vector<std::string> titles;
    for (const auto& line : lines)
        if (line.rfind("MAP ", 0) == 0) titles.push_back(line);
    EXPECT_EQ(titles, (std::vector<std::string>{"MAP F WITH A B=00", "MAP F WITH A B=01", "MAP F WITH A B=11",
                                                "MAP F WITH A B=10"}));
    // Sub-map A B=01, row C D=00, column E G=00 is point 010000; sub-map 11, row 01, column 11 is 110111.
    // Each sub-map takes 8 lines: title, ROWS, COLUMNS, heading, four rows.
    EXPECT_EQ(lines[1 * 8 + 4 + 0], "00    1  0  0  0");
    EXPECT_EQ(lines[2 * 8 + 4 + 1], "01    0  0  1  0");
    EXPECT_EQ(lines[2], "COLUMNS E G");

    KarnaughMaps seven;
    seven.variables = {"A", "B", "C", "D", "E", "G", "H"};
    EXPECT_EQ(FormatKarnaughMaps(seven), (std::vector<std::string>{"K-MAP: MORE THAN 6 VARIABLES"}));
}

TEST(KarnaughCells, DontCareOutweighsOnWhichOutweighsOffAndUnnamedPointsAreFree)
{
    TempWorkDir dir;
    MinimizedCover cover = ReadCover("A B", "F G", "", ".i 2\n.o 2\n.type f\n.p 0\n.e\n");
    // F: 00 OFF, 01 ON, 1- OFF but 10 also don't care, 11 also ON. G: 00 OFF and ON, 0- ON, 1- unnamed.
    MapBuildResult built = BuildKarnaughMaps(
        cover, Table(2, 2, {{"00", "00"}, {"01", "1~"}, {"1-", "0~"}, {"10", "-~"}, {"11", "1~"}, {"0-", "~1"}}));
    ASSERT_EQ(built.problem, MapBuildProblem::None);
    EXPECT_EQ(std::string(built.maps.functions[0].cells.begin(), built.maps.functions[0].cells.end()), "01-1");
    EXPECT_EQ(std::string(built.maps.functions[1].cells.begin(), built.maps.functions[1].cells.end()), "11--");
    EXPECT_EQ(built.maps.functions[0].groupedValue, '1');

    EXPECT_EQ(BuildKarnaughMaps(cover, Table(3, 2, {})).problem, MapBuildProblem::TableMismatch);
    EXPECT_EQ(BuildKarnaughMaps(cover, Table(2, 1, {})).problem, MapBuildProblem::TableMismatch);
}

TEST(KarnaughGroups, ProductOfSumsLoopsTheCellsTheMinimizerCovered)
{
    TempWorkDir dir;
    // OFF cubes: F has 10, G is constant 0 (the universal cube), H is constant 1 (no cube).
    const std::string minimized = ".i 2\n.o 3\n.type f\n.p 2\n10 100\n-- 010\n.e\n";
    MinimizedCover pos = ReadCover("A B", "F G H", "POS\n\n", minimized);
    MapBuildResult built = BuildKarnaughMaps(pos, Table(2, 3, {}));
    ASSERT_EQ(built.problem, MapBuildProblem::None);
    EXPECT_EQ(built.maps.functions[0].groups, (std::vector<std::string>{"10"}));
    EXPECT_EQ(built.maps.functions[1].groups, (std::vector<std::string>{"--"}));
    EXPECT_TRUE(built.maps.functions[2].groups.empty());
    EXPECT_EQ(built.maps.functions[0].groupedValue, '0');

    // An OFF cover alone loops the 0-cells with the cubes as they stand; with both modes the
    // minimizer covered the ON points again.
    MinimizedCover off = ReadCover("A B", "F G H", "OFF\n\n", minimized);
    built = BuildKarnaughMaps(off, Table(2, 3, {}));
    EXPECT_EQ(built.maps.functions[0].groups, (std::vector<std::string>{"10"}));
    EXPECT_EQ(built.maps.functions[1].groups, (std::vector<std::string>{"--"}));
    EXPECT_EQ(built.maps.functions[0].groupedValue, '0');
    MinimizedCover both = ReadCover("A B", "F G H", "POS\n\nOFF\n\n", minimized);
    built = BuildKarnaughMaps(both, Table(2, 3, {}));
    EXPECT_EQ(built.maps.functions[0].groups, (std::vector<std::string>{"10"}));
    EXPECT_EQ(built.maps.functions[0].groupedValue, '1');
}

TEST(KarnaughPieces, GroupsAcrossEdgesAreOpenTowardsTheEdgeTheyCross)
{
    const MapLayout four = LayoutFor(4);
    // The four corners: rows 00 and 10, columns 00 and 10.
    std::vector<GroupPiece> corners = GroupPieces(four, "-0-0", "");
    ASSERT_EQ(corners.size(), 4u);
    for (const GroupPiece& piece : corners) {
        EXPECT_EQ(piece.firstRow, piece.lastRow);
        EXPECT_EQ(piece.openTop, piece.firstRow == 0);
        EXPECT_EQ(piece.openBottom, piece.firstRow == 3);
        EXPECT_EQ(piece.openLeft, piece.firstColumn == 0);
        EXPECT_EQ(piece.openRight, piece.firstColumn == 3);
    }
    // Middle rows 01 and 11 hang together; columns 01 and 11 as well: one closed loop.
    std::vector<GroupPiece> middle = GroupPieces(four, "-1-1", "");
    ASSERT_EQ(middle.size(), 1u);
    EXPECT_EQ(middle[0].firstRow, 1);
    EXPECT_EQ(middle[0].lastRow, 2);
    EXPECT_FALSE(middle[0].openTop || middle[0].openBottom || middle[0].openLeft || middle[0].openRight);
    // A whole row wraps nothing.
    std::vector<GroupPiece> row = GroupPieces(four, "10--", "");
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0].firstColumn, 0);
    EXPECT_EQ(row[0].lastColumn, 3);
    EXPECT_FALSE(row[0].openLeft || row[0].openRight);

    // With selectors the group shows in the sub-maps it agrees with only.
    const MapLayout five = LayoutFor(5);
    EXPECT_TRUE(GroupPieces(five, "1----", "0").empty());
    EXPECT_EQ(GroupPieces(five, "1----", "1").size(), 1u);
    EXPECT_EQ(GroupPieces(five, "-0000", "0").size(), 1u);
    EXPECT_EQ(GroupPieces(five, "-0000", "1").size(), 1u);
    EXPECT_TRUE(GroupPieces(five, "0000", "0").empty());  // a cube of the wrong width
}

TEST(KarnaughPaths, MapsSitBesideTheResult)
{
    EXPECT_EQ(KmapTextPath("adder.min"), "adder.kmap");
    EXPECT_EQ(KmapPicturePath("adder.equ"), "adder.kmap.svg");
    EXPECT_EQ(KmapPicturePath("../x.y/t.sch"), "../x.y/t.kmap.svg");
    EXPECT_EQ(KmapTextPath("../x.y/t"), "../x.y/t.kmap");
}

}  // namespace
}  // namespace quorlet::test
