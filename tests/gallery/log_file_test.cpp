// The gallery's log file: what is saved loads back line for line, and every file that is not a whole
// gallery log that fits (a foreign file, a damaged one, one with lines this log cannot hold) leaves the log
// exactly as it was and says which it is.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
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

} // namespace
