// The gallery's log file: what is saved loads back line for line, and every file that is not a whole
// gallery log that fits (a foreign file, a damaged one, one with lines this log cannot hold) leaves the log
// exactly as it was and says which it is.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "gallery/log_file.h"
#include "tests/support/cp949.h"
#include "tests/textlog/text_log_fixture.h"
#include "util/block_packer.h"

namespace {

class LogFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/velquist-log-file.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        path = std::string(pattern) + "/gallery-log.vqlog";
        directory = pattern;
        ASSERT_TRUE(log.Make(galleryLogLineSize, galleryLogLines));
    }
    void TearDown() override { EXPECT_EQ(system(("rm -rf '" + directory + "'").c_str()), 0); }
    std::string Read() {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void Write(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    // A file as the gallery writes it, around any text.
    static std::string FileOf(const std::string& text, uint32_t version = 1) {
        std::vector<uint8_t> packed(PackBlocksBound(static_cast<uint32_t>(text.size())));
        int64_t n =
            PackBlocks(reinterpret_cast<const uint8_t*>(text.data()), static_cast<uint32_t>(text.size()),
                       packed.data(), static_cast<uint32_t>(packed.size()));
        uint32_t hash = 2166136261u;
        for (char c : text) hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
        std::string file("VQLOG\r\n\x1A", 8);
        for (uint32_t word : {version, static_cast<uint32_t>(text.size()), hash}) {
            for (int i = 0; i < 4; i++) file += static_cast<char>(word >> (8 * i));
        }
        return file + std::string(reinterpret_cast<const char*>(packed.data()), static_cast<size_t>(n));
    }
    std::string path, directory;
    TestLog log;
};

TEST_F(LogFileTest, WhatIsSavedLoadsBackLineForLine) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"Korean and Latin, an empty line last", {Cp949("2024년5월1일(수) 안녕하세요"), "hello", ""}},
        {"one empty line", {""}},
        {"the longest line", {std::string(galleryLogLineSize - 1, 'x'), Cp949("가")}},
        {"every slot in use", std::vector<std::string>(galleryLogLines, Cp949("가나다 abc"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        log.Fill(c.lines);
        ASSERT_EQ(SaveLogFile(&log.log, path.c_str()), logFileDone);
        TestLog other;
        ASSERT_TRUE(other.Make(galleryLogLineSize, galleryLogLines));
        other.Fill({"something", "else"});
        EXPECT_EQ(LoadLogFile(&other.log, path.c_str()), logFileDone);
        EXPECT_EQ(other.Lines(), c.lines);
        EXPECT_EQ(other.log.currentLine, other.log.lineCount - 1) << "the last line is current";
    }
    // A line break inside a line is saved as a space, so the lines stay as many.
    log.Fill({"a\rb", "c\nd"});
    ASSERT_EQ(SaveLogFile(&log.log, path.c_str()), logFileDone);
    EXPECT_EQ(LoadLogFile(&log.log, path.c_str()), logFileDone);
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"a b", "c d"}));
}

TEST_F(LogFileTest, AnythingButAWholeLogThatFitsChangesNothing) {
    log.Fill({"keep", "these"});
    ASSERT_EQ(SaveLogFile(&log.log, path.c_str()), logFileDone);
    const std::string good = Read();
    std::string flipped = good, shortened = good, wrongSize = good, wrongHash = good;
    flipped[good.size() - 3] ^= 0x10;
    shortened.resize(good.size() - 2);
    wrongSize[12] ^= 1;
    wrongHash[16] ^= 1;
    struct Case {
        const char* name;
        std::string file; // empty with write false: no file
        bool write;
        LogFileResult result;
    };
    const Case cases[] = {
        {"no file", "", false, logFileNotRead},
        {"an empty file", "", true, logFileForeign},
        {"text", "hello, world\n", true, logFileForeign},
        {"a picture", "\x89PNG\r\n\x1A\n\0\0\0\rIHDR", true, logFileForeign},
        {"another version", FileOf("x", 2), true, logFileForeign},
        {"the magic alone", good.substr(0, 8), true, logFileDamaged},
        {"a changed byte", flipped, true, logFileDamaged},
        {"cut short", shortened, true, logFileDamaged},
        {"the size changed", wrongSize, true, logFileDamaged},
        {"the hash changed", wrongHash, true, logFileDamaged},
        {"larger than any log", good + std::string(logFileSizeLimit, 'z'), true, logFileDamaged},
        {"larger, and foreign", std::string(logFileSizeLimit + 10, 'z'), true, logFileForeign},
        {"a line feed alone", FileOf("a\nb"), true, logFileDamaged},
        {"a carriage return alone", FileOf("a\rb"), true, logFileDamaged},
        {"a zero byte", FileOf(std::string("a\0b", 3)), true, logFileDamaged},
        {"a line too long", FileOf(std::string(galleryLogLineSize, 'y')), true, logFileDoesNotFit},
        {"too many lines", FileOf([] {
             std::string many; // one line more than the slots
             for (uint32_t i = 0; i < galleryLogLines; i++) many += "a\r\n";
             return many + "a";
         }()),
         true, logFileDoesNotFit},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.write)
            Write(c.file);
        else
            remove(path.c_str());
        log.log.currentLine = 1;
        EXPECT_EQ(LoadLogFile(&log.log, path.c_str()), c.result);
        EXPECT_EQ(log.Lines(), (std::vector<std::string>{"keep", "these"}));
        EXPECT_EQ(log.log.currentLine, 1u);
    }
    // The same text with its lines within the slots loads.
    Write(FileOf(std::string(galleryLogLineSize - 1, 'y') + "\r\nz"));
    EXPECT_EQ(LoadLogFile(&log.log, path.c_str()), logFileDone);
    EXPECT_EQ(log.Lines().back(), "z");
}

TEST_F(LogFileTest, ALogWithSmallerSlotsTakesOnlyFilesThatFitIt) {
    log.Fill({"a line of twenty-one", "short"});
    ASSERT_EQ(SaveLogFile(&log.log, path.c_str()), logFileDone);
    TestLog narrow;
    ASSERT_TRUE(narrow.Make(16, 4));
    narrow.Fill({"mine"});
    EXPECT_EQ(LoadLogFile(&narrow.log, path.c_str()), logFileDoesNotFit);
    EXPECT_EQ(narrow.Lines(), (std::vector<std::string>{"mine"}));
    log.Fill({"1", "2", "3", "4", "5"});
    ASSERT_EQ(SaveLogFile(&log.log, path.c_str()), logFileDone);
    EXPECT_EQ(LoadLogFile(&narrow.log, path.c_str()), logFileDoesNotFit) << "five lines, four slots";
    EXPECT_EQ(SaveLogFile(&log.log, (directory + "/missing/log").c_str()), logFileNotWritten);
}

// The first bytes of a regular file at path (following links); "" for anything else.
static std::string Head(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return "";
    std::ifstream in(path, std::ios::binary);
    char bytes[64];
    in.read(bytes, sizeof bytes);
    return std::string(bytes, static_cast<size_t>(in.gcount()));
}

// Whatever is in the way of the file, a save is refused and leaves what was there, and a load is refused at
// once and leaves the log.
TEST_F(LogFileTest, WhatIsInTheWayIsRefusedAndChangesNothing) {
    log.Fill({"keep", "these"});
    ASSERT_EQ(SaveLogFile(&log.log, path.c_str()), logFileDone);
    const std::string good = Read(), other = directory + "/other";
    auto save = [&] { // lines that pack poorly, so the file outgrows the previous one
        std::vector<std::string> lines;
        for (uint32_t i = 0; i < 64; i++)
            lines.push_back(std::to_string(i * 2654435761u) + std::to_string(i));
        log.Fill(lines);
        return SaveLogFile(&log.log, path.c_str());
    };
    auto fullDisk = [&] { // as a file-size limit gives it
        rlimit was, limit;
        getrlimit(RLIMIT_FSIZE, &was);
        limit = was;
        limit.rlim_cur = good.size();
        setrlimit(RLIMIT_FSIZE, &limit);
        LogFileResult result = save();
        setrlimit(RLIMIT_FSIZE, &was);
        return result;
    };
    auto readOnlyFolder = [&] { // for a user who may not write there (root may write anywhere)
        chmod(directory.c_str(), 0555);
        pid_t child = fork();
        if (child == 0) _exit(geteuid() == 0 && setuid(65534) != 0 ? 99 : static_cast<int>(save()));
        int status = 0;
        waitpid(child, &status, 0);
        chmod(directory.c_str(), 0700);
        return static_cast<LogFileResult>(WEXITSTATUS(status));
    };
    auto load = [&] { return LoadLogFile(&log.log, path.c_str()); };
    auto replace = [](int made) { EXPECT_EQ(made, 0); };
    const std::string temporary = path + "." + std::to_string(getpid()) + ".new"; // this program's own
    auto clear = [&] { EXPECT_EQ(system(("rm -rf '" + path + "' '" + temporary + "'").c_str()), 0); };
    struct Case {
        const char* name;
        std::function<void()> prepare; // after the path was cleared
        std::function<LogFileResult()> act;
        LogFileResult result;
        std::string kept; // the head of the regular file at the path afterwards
    };
    const Case cases[] = {
        {"a full disk", [&] { Write(good); }, fullDisk, logFileNotWritten, good},
        {"a read-only folder", [&] { Write(good); }, readOnlyFolder, logFileNotWritten, good},
        {"a stale temporary linked to another file",
         [&] {
             Write(good);
             std::ofstream(other) << "other";
             replace(symlink(other.c_str(), temporary.c_str()));
         },
         fullDisk, logFileNotWritten, good},
        {"a directory", [&] { replace(mkdir(path.c_str(), 0700)); }, save, logFileNotWritten, ""},
        {"a dangling link", [&] { replace(symlink("missing", path.c_str())); }, save, logFileNotWritten, ""},
        {"a link to a device", [&] { replace(symlink("/dev/null", path.c_str())); }, save, logFileNotWritten,
         ""},
        {"1 GB of zeros",
         [&] {
             Write("");
             replace(truncate(path.c_str(), 1 << 30));
         },
         load, logFileForeign, std::string(64, '\0')},
        {"a FIFO", [&] { replace(mkfifo(path.c_str(), 0600)); }, load, logFileNotRead, ""},
        {"/dev/zero behind a link", [&] { replace(symlink("/dev/zero", path.c_str())); }, load,
         logFileNotRead, ""},
        {"a directory to load", [&] { replace(mkdir(path.c_str(), 0700)); }, load, logFileNotRead, ""},
    };
    alarm(60); // a load that waits on a FIFO ends the test rather than hanging it
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        clear();
        c.prepare();
        log.Fill({"keep", "these"});
        bool loads = c.result == logFileForeign || c.result == logFileNotRead;
        EXPECT_EQ(c.act(), c.result);
        EXPECT_EQ(Head(path), c.kept.substr(0, 64));
        if (loads) {
            EXPECT_EQ(log.Lines(), (std::vector<std::string>{"keep", "these"}));
        }
    }
    alarm(0);
    EXPECT_EQ(Head(other), "other") << "the link at the temporary name is not written through";
    // A link to a regular file is followed: that file is replaced and the link stays.
    clear();
    replace(symlink(other.c_str(), path.c_str()));
    EXPECT_EQ(save(), logFileDone);
    struct stat st;
    EXPECT_TRUE(lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode));
    EXPECT_EQ(Head(other).substr(0, 8), "VQLOG\r\n\x1A");
    // Every cut of a real file is refused and leaves the log.
    clear();
    for (size_t n = 0; n < good.size(); n++) {
        Write(good.substr(0, n));
        log.Fill({"keep"});
        EXPECT_NE(load(), logFileDone) << n << " bytes";
        EXPECT_EQ(log.Lines(), std::vector<std::string>{"keep"}) << n << " bytes";
    }
}

} // namespace
