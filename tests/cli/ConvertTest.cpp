// pointlink convert in-process: the same bytes as the window programs'
// Import and Export for every pair of formats, the refusals that leave a
// target untouched, and how inputs, outputs and messages go together.
#include "cli/Convert.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <limits>

#include "CliFixture.h"
#include "app/families/FamilyTable.h"
#include "fakes/AppFakes.h"

namespace {

const char* const kExchangeNames[] = {"", "ruvo", "topcom", "sv300", "gzkass", "southkass"};

// Points that every exchange format holds, with the texts and values that
// differ most between them: spaces, commas, GBK bytes, empty and full-length
// fields, negative zero, rounding at the fourth and third decimal.
std::vector<PointRecord> awkwardPoints() {
    return {
        makePoint("P1", "TREE", 100.5, 200.25, 3),
        makePoint("", "", -0.0, -0.00005, 0),
        makePoint("NINECHARS", "THIRTEENCHARS", 9999999.999, -9999999.999, 0.00049),
        makePoint("A B", "C D", 1.23456789, -2.5, 1e-9),
        makePoint("x,y", "m,n", 12.5, 13.5, 14.5),
        makePoint("\xB5\xE7\xCF\xDF", "\xB8\xCB", -1234.5678, 765.4321, -0.5),
        makePoint("  lead", "tail  ", 0.00051, 2.0005, 2.00049),
    };
}

// The window program's own way: the points go into the list, and Export
// writes them in the format.
std::string exportedBy(const std::vector<PointRecord>& points, int format, ScratchFolder& folder,
                       const std::string& name) {
    AppHarness h(kKorvelFamily);
    for (const PointRecord& point : points) h.app.appendRow(point);
    h.files.picks.push_back({true, folder.path(name), format});
    h.app.exportFile();
    EXPECT_TRUE(h.boxes.shown.empty()) << "Export refused";
    return folder.read(name);
}

// Import of a file in one format, then Export in another.
std::string windowConversion(const std::string& source, int from, int to, ScratchFolder& folder) {
    AppHarness h(kKorvelFamily);
    h.files.picks.push_back({true, folder.path(source), from});
    h.app.importFile();
    h.files.picks.push_back({true, folder.path("window.out"), to});
    h.app.exportFile();
    EXPECT_TRUE(h.boxes.shown.empty()) << "the window program refused";
    return folder.read("window.out");
}

TEST(Convert, WritesTheBytesOfTheWindowProgramsExportForEveryPairOfFormats) {
    for (int from = 1; from <= 5; ++from) {
        for (int to = 1; to <= 5; ++to) {
            ConvertRun run;
            // A source as the window program writes it, plus lines that the
            // reader cannot read whole and a last line without its line end.
            std::string source = exportedBy(awkwardPoints(), from, run, "source.in");
            source += "\r\n,,,\r\nno separators at all\nP9,1,2,3,TAIL";
            run.write("source.in", source);
            std::string expected = windowConversion("source.in", from, to, run);
            ASSERT_FALSE(expected.empty());
            EXPECT_EQ(run.run({"source.in"}, kExchangeNames[from], kExchangeNames[to], "cli.out"), 0)
                << run.messages();
            EXPECT_EQ(run.read("cli.out"), expected) << kExchangeNames[from] << " to " << kExchangeNames[to];
        }
    }
}

TEST(Convert, RefusesThePointsExportRefusesAndLeavesTheTargetAsItWas) {
    struct Case {
        const char* to;
        int toNumber;
        const char* source;  // topcom
        long line;
    } cases[] = {
        {"ruvo", 1, "P1,1,2,3,A\nP2,1,2,3,B\nBIG,10000000,2,3,C\n", 3},
        {"topcom", 2, "HUGE,1e400,2,3,C\n", 1},
        {"csv", 0, "P1,1,2,3,A\nHUGE,2,-1e999,3,C\n", 2},
        {"geojson", 0, "HUGE,1,2,1e309\n", 1},
        {"dxf", 0, "P1,1,2,3\nP2,1,2,3\nHUGE,1e400,2,3\n", 3},
    };
    for (const Case& c : cases) {
        ConvertRun run;
        run.write("in.pts", c.source);
        run.write("out.file", "old content");
        EXPECT_EQ(run.run({"in.pts"}, "topcom", c.to, "out.file"), 1) << c.to;
        EXPECT_EQ(run.read("out.file"), "old content");
        EXPECT_EQ(run.names(), (std::vector<std::string>{"in.pts", "out.file"}));  // no file left behind
        std::string messages = run.messages();
        EXPECT_NE(messages.find("in.pts:" + std::to_string(c.line) + ": point \"" +
                                std::string(c.line == 1 ? "HUGE" : (c.toNumber == 1 ? "BIG" : "HUGE")) +
                                "\" cannot be written as " + c.to + " without changing it"),
                  std::string::npos)
            << messages;
        EXPECT_NE(messages.find("out.file: not written; the file is as it was"), std::string::npos);
        if (c.toNumber > 0) {  // the window program refuses the same list
            AppHarness h(kKorvelFamily);
            h.files.picks.push_back({true, run.path("in.pts"), 2});
            h.app.importFile();
            h.files.picks.push_back({true, run.path("window.out"), c.toNumber});
            h.app.exportFile();
            EXPECT_EQ(h.boxes.shown.size(), 1u) << c.to;
            EXPECT_FALSE(fs::exists(run.path("window.out")));
        }
    }
}

TEST(Convert, ReportsUnreadableLinesByNumberAndStrictMakesThemErrors) {
    ConvertRun run;
    std::string longLine(2000, 'x');
    run.write("in.pts", "P1,1,2,3,A\r\n\r\n" + longLine + ",1,2,3\r\nP4,1,2,3\nP5,oops\n");
    EXPECT_EQ(run.run({"in.pts"}, "topcom", "csv", "out.csv"), 0);
    std::string messages = run.messages();
    EXPECT_NE(messages.find("in.pts:2: warning: not a line of topcom; taken as far as it could be read"),
              std::string::npos)
        << messages;
    EXPECT_NE(messages.find("in.pts:3: warning"), std::string::npos);  // the first piece of the long line
    EXPECT_NE(messages.find("in.pts:5: warning"), std::string::npos) << messages;
    EXPECT_EQ(messages.find("in.pts:4:"), std::string::npos) << messages;
    EXPECT_EQ(messages.find("in.pts:1:"), std::string::npos);
    // Each line still becomes a point, as in the window programs.
    std::string csv = run.read("out.csv");
    EXPECT_NE(csv.find("\r\n,,0.0000,0.0000,0.0000\r\n"), std::string::npos);

    run.write("out.csv", "kept");
    EXPECT_EQ(run.run({"in.pts"}, "topcom", "csv", "out.csv", true), 1);
    messages = run.messages();
    EXPECT_NE(messages.find("in.pts:2: not a line of topcom (--strict)"), std::string::npos) << messages;
    EXPECT_EQ(run.read("out.csv"), "kept");
}

TEST(Convert, ShowsTenUnreadableLinesAndCountsTheRest) {
    ConvertRun run;
    std::string source;
    for (int i = 0; i < 25; ++i) source += "bad\n";
    run.write("in.pts", source);
    EXPECT_EQ(run.run({"in.pts"}, "topcom", "topcom", "out.pts"), 0);
    std::string messages = run.messages();
    EXPECT_NE(messages.find("in.pts:10: warning"), std::string::npos);
    EXPECT_EQ(messages.find("in.pts:11: warning"), std::string::npos);
    EXPECT_NE(messages.find("in.pts: warning: 15 more lines that are not lines of topcom"), std::string::npos)
        << messages;
}

TEST(Convert, ManyInputsGoIntoOneOutputNumberedOn) {
    ConvertRun run;
    run.write("a.pts", "A1,1,2,3,M\nA2,1,2,3,M\n");
    run.write("b.pts", "B1,4,5,6,M\n");
    EXPECT_EQ(run.run({"a.pts", "b.pts", "a.pts"}, "2", "3", "all.svf"), 0);
    EXPECT_EQ(run.read("all.svf"),
              "1,A1,M,2.0000,1.0000,3.0000\r\n2,A2,M,2.0000,1.0000,3.0000\r\n3,B1,M,5.0000,4.0000,6.0000\r\n"
              "4,A1,M,2.0000,1.0000,3.0000\r\n5,A2,M,2.0000,1.0000,3.0000\r\n");
}

TEST(Convert, AnOutputFolderGetsOneFileForEachInputNamedAfterIt) {
    ConvertRun run;
    run.write("a.pts", "A1,1,2,3,M\n");
    run.write("b.field.pts", "B1,1,2,3,M\n");
    run.write("plain", "C1,1,2,3,M\n");
    fs::create_directories(run.dir / "out");
    ConvertRequest request;
    request.inputs = {run.path("a.pts"), run.path("missing.pts"), run.path("b.field.pts"), run.path("plain")};
    request.from = findPointFormat("topcom");
    request.to = findPointFormat("geojson");
    request.outDir = run.path("out");
    ASSERT_EQ(checkConvertRequest(request, run.consoleFiles), "");
    EXPECT_EQ(run.run(request), 1);  // one input is missing; the others are written
    std::vector<std::string> written;
    for (const auto& entry : fs::directory_iterator(run.dir / "out")) written.push_back(entry.path().filename());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(written, (std::vector<std::string>{"a.geojson", "b.field.geojson", "plain.geojson"}));
    EXPECT_NE(run.messages().find("missing.pts: cannot open: No such file or directory"), std::string::npos);

    EXPECT_EQ(outputNameIn("dir/", "x/y/z.pts", *findPointFormat("dxf")), "dir/z.dxf");
    EXPECT_EQ(outputNameIn("dir", ".hidden", *findPointFormat("csv")), "dir/.hidden.csv");
    request.inputs = {run.path("a.pts"), run.path("sub/a.dat")};
    EXPECT_NE(checkConvertRequest(request, run.consoleFiles).find("two inputs would both be written to"), std::string::npos);
    request.inputs = {"-"};
    EXPECT_NE(checkConvertRequest(request, run.consoleFiles).find("standard input"), std::string::npos);
}

TEST(Convert, OutputsThatNameOneFileInTheirFolderAreWrongUsage) {
    struct FoldingFiles : PosixConsoleFiles {
        bool fold = false;
        bool foldsCase(const std::string&) override { return fold; }
    } files;
    const struct Case {
        std::vector<std::string> inputs;
        const char* apart;   // the reason where the folder tells case apart ("" none)
        const char* folded;  // and where it folds case
    } cases[] = {
        {{"a/P1.pts", "b/p1.pts"}, "", "out/P1.csv and out/p1.csv differ only in case"},
        {{"a/Ab.pts", "c.pts", "b/aB.dat"}, "", "out/Ab.csv and out/aB.csv differ only in case"},
        {{"a/x.pts", "b/x.dat"}, "two inputs would both be written to out/x.csv", "written to out/x.csv"},
        {{"x.pts", "y.pts", "\xB5\xE3.pts"}, "", ""},
    };
    for (const Case& c : cases) {
        ConvertRequest request;
        request.inputs = c.inputs;
        request.to = findPointFormat("csv");
        request.outDir = "out";
        for (bool fold : {false, true}) {
            files.fold = fold;
            const std::string reason = checkConvertRequest(request, files);
            const std::string expected = fold ? c.folded : c.apart;
            if (expected.empty())
                EXPECT_EQ(reason, "") << c.inputs[0] << " fold " << fold;
            else
                EXPECT_NE(reason.find(expected), std::string::npos) << reason;
        }
    }
    // A POSIX folder tells case apart, and the look leaves nothing behind.
    ScratchFolder folder;
    PosixConsoleFiles posix;
    EXPECT_FALSE(posix.foldsCase(folder.dir.string()));
    EXPECT_TRUE(folder.names().empty());
    EXPECT_EQ(posix.compareFileNames("a/P1.CSV", "a/p1.csv", true), 0);
    EXPECT_LT(posix.compareFileNames("a/P1.CSV", "a/p1.csv", false), 0);
    EXPECT_LT(posix.compareFileNames("a/p1.csv", "a/P2.csv", true), 0);
}

TEST(Convert, StandardInputAndOutput) {
    ConvertRun run;
    run.standardInput("P1,1,2,3,A\nP2,4,5,6,B\n");
    EXPECT_EQ(run.run({"-"}, "topcom", "southkass", "-"), 0);
    EXPECT_EQ(run.standardOutput(), "P1,A,1.0000,2.0000,3.0000\r\nP2,B,4.0000,5.0000,6.0000\r\n");
}

TEST(Convert, StandardOutputGetsNothingWhenAFileHoldsAPointThatCannotBeWritten) {
    ConvertRun run;
    run.write("in.pts", "P1,1,2,3,A\nP2,1e400,2,3,B\n");
    EXPECT_EQ(run.run({"in.pts"}, "topcom", "csv", "-"), 1);
    EXPECT_EQ(run.standardOutput(), "");
    EXPECT_NE(run.messages().find("in.pts:2: point \"P2\""), std::string::npos);

    // Standard input is read once: the output ends before the refused point.
    ConvertRun piped;
    piped.standardInput("P1,1,2,3,A\nP2,1e400,2,3,B\nP3,1,2,3,C\n");
    EXPECT_EQ(piped.run({"-"}, "topcom", "topcom", "-"), 1);
    EXPECT_EQ(piped.standardOutput(), "P1,1.0000,2.0000,3.0000,A\r\n");
    std::string messages = piped.messages();
    EXPECT_NE(messages.find("<stdin>:2: point \"P2\""), std::string::npos) << messages;
    EXPECT_NE(messages.find("<stdout>: output ends before the point that failed"), std::string::npos);
}

TEST(Convert, AReplacedFileKeepsItsPermissionsAndALinkStaysALink) {
    ConvertRun run;
    run.write("in.pts", "P1,1,2,3,A\n");
    run.write("out.csv", "old");
    ASSERT_EQ(::chmod(run.path("out.csv").c_str(), 0604), 0);
    EXPECT_EQ(run.run({"in.pts"}, "topcom", "csv", "out.csv"), 0);
    struct stat st;
    ASSERT_EQ(::stat(run.path("out.csv").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    EXPECT_EQ(run.read("out.csv"), "name,mark,N,E,Z\r\nP1,A,2.0000,1.0000,3.0000\r\n");

    fs::create_directories(run.dir / "real");
    run.write("real/target.csv", "old");
    fs::create_symlink(run.dir / "real" / "target.csv", run.dir / "link.csv");
    EXPECT_EQ(run.run({"in.pts"}, "topcom", "csv", "link.csv"), 0);
    EXPECT_TRUE(fs::is_symlink(run.dir / "link.csv"));
    EXPECT_EQ(run.read("real/target.csv"), run.read("out.csv"));
    EXPECT_EQ(fs::directory_iterator(run.dir / "real")->path().filename(), "target.csv");  // nothing else there
}

TEST(Convert, TargetsThatCannotBeWrittenAreReported) {
    ConvertRun run;
    run.write("in.pts", "P1,1,2,3,A\n");
    fs::create_directories(run.dir / "folder");
    EXPECT_EQ(run.run({"in.pts"}, "topcom", "csv", "folder"), 1);
    EXPECT_NE(run.messages().find("folder: cannot replace: Is a directory; the file is as it was"),
              std::string::npos);
    EXPECT_TRUE(fs::is_directory(run.dir / "folder"));
    EXPECT_EQ(run.run({"in.pts"}, "topcom", "csv", "nowhere/out.csv"), 1);
    EXPECT_NE(run.messages().find("nowhere/out.csv: cannot write a file in its folder: No such file or directory"),
              std::string::npos);
    EXPECT_EQ(run.names(), (std::vector<std::string>{"folder", "in.pts"}));
}

TEST(Convert, AStopLeavesTheTargetAsItWas) {
    ConvertRun run;
    std::string source;
    for (int i = 0; i < 10000; ++i) source += "P,1,2,3,A\n";
    run.write("in.pts", source);
    run.write("out.pts", "old");
    run.stop = true;
    EXPECT_EQ(run.run({"in.pts"}, "topcom", "topcom", "out.pts"), 1);
    EXPECT_EQ(run.read("out.pts"), "old");
    EXPECT_EQ(run.names(), (std::vector<std::string>{"in.pts", "out.pts"}));
    EXPECT_NE(run.messages().find("pointlink: stopped"), std::string::npos);
}

}  // namespace
