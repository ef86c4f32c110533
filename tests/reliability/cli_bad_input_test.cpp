// Every bad input a user can give trelvanic-cli, and what they get: the exit
// code that names the kind of failure, a message that says what went wrong,
// and no file half written or damaged.
#include "cli_runner.h"
#include "scratch_mount.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

using trelvanic::test::CliResult;
using trelvanic::test::ReadWholeFile;
using trelvanic::test::RunCli;
using trelvanic::test::ScratchMount;

constexpr int Failure = 1, TextTooBig = 3, BadCodewords = 4;

// A picture far larger than a small disk: 30 columns, 10 pixels a module.
const std::vector<std::string> BigPicture = {"encode", "--text", std::string(900, 'x'), "--columns", "30",
                                             "--format", "pbm", "--dot-size", "10"};

std::vector<std::string> Args(std::vector<std::string> head, const std::vector<std::string>& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// `count` codewords, the first claiming that many.
std::string Numbers(int count) {
    std::string text = std::to_string(count);
    for (int i = 1; i < count; ++i) text += " 1";
    return text;
}

// The tool's own report is its last line of standard error.
void ExpectRefused(const CliResult& result, int exitCode, const std::string& message) {
    EXPECT_EQ(result.ExitCode, exitCode) << result.Err;
    ASSERT_TRUE(result.Err.ends_with("\n")) << result.Err;
    const std::string last = result.Err.substr(result.Err.find_last_of('\n', result.Err.size() - 2) + 1);
    EXPECT_TRUE(last.starts_with("trelvanic-cli: ")) << result.Err;
    EXPECT_NE(last.find(message), std::string::npos) << result.Err;
}

TEST(CliBadInput, EveryRefusalHasItsExitCodeAndMessage) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string aFile = dir.filePath("a-file").toStdString();
    const std::string kept = dir.filePath("kept.svg").toStdString();
    std::ofstream(aFile) << "not a folder";
    std::ofstream(kept) << "the previous picture";

    struct Case {
        const char* Name;
        std::vector<std::string> Args;
        int ExitCode;
        const char* Message;
    };
    const std::vector<Case> cases{
        {"raw codeword above 928", {"encode", "--raw", "3 5 929"}, BadCodewords, "929 (codeword 3) is outside 0 to 928"},
        {"raw codeword negative", {"encode", "--raw", "2 -1"}, BadCodewords, "-1 (codeword 2) is outside"},
        {"raw codeword not a number", {"encode", "--raw", "2 1e3"}, BadCodewords, "\"1e3\" (codeword 2) is not a whole number"},
        {"raw count above its descriptor", {"encode", "--raw", "2 1 1"}, BadCodewords, "The raw codewords were refused"},
        {"raw count below its descriptor", {"encode", "--raw", "5 1"}, BadCodewords, "The raw codewords were refused"},
        {"no raw codewords", {"encode", "--raw", " "}, BadCodewords, "The raw codewords were refused"},
        {"927 raw codewords", {"encode", "--raw", Numbers(927)}, BadCodewords, "The raw codewords were refused"},
        {"929 raw codewords", {"encode", "--raw", Numbers(900) + " " + Numbers(29)}, BadCodewords, "More than 928 raw codewords"},
        {"text too big", {"encode", "--text", std::string(5421, '7')}, TextTooBig, "The text is too big"},
        {"too many codewords", {"encode", "--text", std::string(2000, '\xB1')}, TextTooBig, "The text is too big"},
        {"record too big for its document",
         {"document", "--custom-field", std::string(3000, 'x'), "--output", kept}, TextTooBig, "The text is too big"},
        {"character outside GBK", {"record", "--issuing-unit", "单位😀"}, Failure, "\"发文单位\" contains the character"},
        {"not UTF-8", {"record", "--document-title", "\xFF"}, Failure, "\"文件标题\" is not valid UTF-8"},
        {"input file missing", {"encode", dir.filePath("missing").toStdString()}, Failure, "Cannot read"},
        {"input file is a folder", {"encode", folder}, Failure, "Cannot read"},
        {"output under a file", {"encode", "--text", "x", "-o", aFile + "/out.svg", "--format", "svg"}, Failure,
         "Cannot write"},
        {"output is a folder", {"encode", "--text", "x", "-o", folder}, Failure, "it is a folder"},
        {"output device full", Args(BigPicture, {"-o", "/dev/full"}), Failure, "Cannot write \"/dev/full\""},
        {"output in /proc", {"encode", "--text", "x", "-o", "/proc/trelvanic.svg", "--format", "svg"}, Failure,
         "Cannot write"},
        {"document folder missing",
         {"document", "--output", dir.filePath("missing/doc.docx").toStdString()}, Failure, "Cannot write"},
        {"failed encoding keeps the old output", {"encode", "--raw", "9", "-o", kept}, BadCodewords, "refused"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        ExpectRefused(RunCli(c.Args), c.ExitCode, c.Message);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
        EXPECT_EQ(ReadWholeFile(kept), "the previous picture");
    }

    // Standard output that cannot be written is an error too, not a silent loss.
    ExpectRefused(RunCli(BigPicture, {}, "/dev/full"), Failure, "Cannot write to standard output");
}

// A disk that fills up or refuses writes: the tool says so, and the folder
// holds exactly what it held before, an earlier output file unchanged.
TEST(CliBadInput, AFullOrReadOnlyDiskLeavesNoPartialFile) {
    struct Case {
        const char* Name;
        std::function<bool(const ScratchMount&)> Break;
        std::vector<std::string> Args; // the output path is added
        const char* Output;
    };
    const std::vector<Case> cases{
        {"full disk, new picture", [](const ScratchMount& disk) { disk.FillUp(); return true; }, BigPicture, "new.pbm"},
        {"full disk, replacing a picture", [](const ScratchMount&) { return true; }, BigPicture, "old.pbm"},
        // Small enough to sit in a write buffer until the file is committed.
        {"full disk, small picture", [](const ScratchMount& disk) { disk.FillUp(); return true; },
         {"encode", "--text", "x", "--format", "svg"}, "new.svg"},
        {"read-only disk", [](const ScratchMount& disk) { return disk.MakeReadOnly(); },
         {"encode", "--text", "x", "--format", "svg"}, "new.svg"},
        {"read-only disk, replacing", [](const ScratchMount& disk) { return disk.MakeReadOnly(); },
         {"encode", "--text", "x", "--format", "svg"}, "old.pbm"},
        {"full disk, document", [](const ScratchMount& disk) { disk.FillUp(); return true; }, {"document"}, "new.docx"},
        {"read-only disk, document", [](const ScratchMount& disk) { return disk.MakeReadOnly(); }, {"document"},
         "new.docx"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const ScratchMount disk;
        if (!disk.Mounted()) GTEST_SKIP() << disk.Why;
        {
            QFile old(disk.FilePath("old.pbm"));
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("P4\n1 1\n\x80");
        }
        ASSERT_TRUE(c.Break(disk));
        const QStringList before = disk.Entries();

        ExpectRefused(RunCli(Args(c.Args, {"--output", disk.FilePath(c.Output).toStdString()})), Failure,
                      "Cannot write");
        EXPECT_EQ(disk.Entries(), before);
        EXPECT_EQ(ReadWholeFile(disk.FilePath("old.pbm").toStdString()), std::string("P4\n1 1\n\x80"));
    }
}

} // namespace
