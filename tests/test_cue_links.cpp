#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "components/discbay/cue_links.h"
#include "components/discbay/vcd_disc.h"
#include "tests/support/vcd_image.h"
#include "tests/test_vcd_layout.h"

namespace fs = std::filesystem;

namespace {

using namespace vcdlayout;

TEST(CueDataFile, TheFirstFileLineNamesTheData)
{
    const struct {
        const char* text;
        std::optional<std::string> file;
    } cases[] = {
        {"FILE \"disc.bin\" BINARY\n  TRACK 01 MODE2/2352\n", "disc.bin"},
        {"REM made by hand\r\n  FILE \"Film (Track 1).bin\" BINARY\r\n", "Film (Track 1).bin"},
        {"FILE\tplain.bin BINARY\r\n", "plain.bin"},
        {"FILE \"a.bin\" BINARY\nFILE \"b.bin\" BINARY\n", "a.bin"},
        {"FILENAME \"x.bin\"\n  TRACK 01 MODE2/2352\n", std::nullopt},
        {"FILE \"unterminated.bin BINARY\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CueDataFile(c.text), c.file) << c.text;
}

// What libcdio's reader is handed: it crashes on tracks that do not count up from 1 and leaks
// the name of a FILE line without a track; a real Video CD cue passes.
TEST(CueSheetIsSound, OnlySheetsLibcdioReadsSafelyPass)
{
    const std::string longLine = "REM " + std::string(kLongestCueLine, ' ') + "FILE \"x.bin\" BINARY\n";
    const struct {
        const char* what;
        std::string text;
        bool sound;
    } cases[] = {
        {"vcdimager's", "FILE \"disc.bin\" BINARY\n  TRACK 01 MODE2/2352\n    FLAGS DCP\n    INDEX 01 00:00:00\n"
                        "  TRACK 02 MODE2/2352\n    INDEX 00 00:04:00\n    INDEX 01 00:06:00\n", true},
        {"one file a track", "FILE a.bin BINARY\r\nTRACK 1 MODE2/2352\r\nfile b.bin BINARY\r\ntrack 2 AUDIO\r\n", true},
        {"first track 99", "FILE \"disc.bin\" BINARY\nTRACK 99 MODE2/2352\n", false},
        {"first track 0", "FILE \"disc.bin\" BINARY\nTRACK 00 MODE2/2352\n", false},
        {"a track left out", "FILE \"disc.bin\" BINARY\nTRACK 01 MODE2/2352\nTRACK 03 MODE2/2352\n", false},
        {"a track number with more", "FILE \"disc.bin\" BINARY\nTRACK 1x MODE2/2352\n", false},
        {"a track without a number", "FILE \"disc.bin\" BINARY\nTRACK\n", false},
        {"a track before any file", "TRACK 01 MODE2/2352\nFILE \"disc.bin\" BINARY\n", false},
        {"a file without a track", "FILE \"disc.bin\" BINARY\n", false},
        {"a file replaced before its track", "FILE a.bin BINARY\nFILE b.bin BINARY\nTRACK 01 MODE2/2352\n", false},
        {"a track on the file's line", "FILE a.bin BINARY\rTRACK 01 MODE2/2352\n", false},
        {"a NUL", std::string("FILE a.bin BINARY\nTRACK 01 MODE2/2352\n") + '\0' + "TRACK 02 AUDIO\n", false},
        {"a line libcdio reads as two", "FILE a.bin BINARY\nTRACK 01 MODE2/2352\n" + longLine, false},
        {"no file at all", "REM nothing\n", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CueSheetIsSound(c.text), c.sound) << c.what;
}

// A rip in a folder of its own, named as the cases say, with its links' folder private too.
class RipNames : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* old = std::getenv("TMPDIR");
        oldTmp_ = old ? std::optional<std::string>(old) : std::nullopt;
        links_ = fs::path(image.scratch().path()) / "links";
        fs::create_directories(links_);
        setenv("TMPDIR", links_.c_str(), 1);
    }
    void TearDown() override
    {
        if (oldTmp_)
            setenv("TMPDIR", oldTmp_->c_str(), 1);
        else
            unsetenv("TMPDIR");
    }

    std::string rip(const std::string& folder, const std::string& cueName, const std::string& fileLine,
                    const std::string& binName)
    {
        const fs::path at = fs::path(image.scratch().path()) / "rips" / folder;
        fs::create_directories(at);
        std::string cue = readAll(image.cue);
        cue.replace(cue.find("\"disc.bin\""), 10, "\"" + fileLine + "\"");
        writeAll(at / cueName, cue);
        if (!binName.empty())
            fs::copy_file(image.bin, at / binName, fs::copy_options::overwrite_existing);
        return (at / cueName).string();
    }

    bool linksLeft() const { return !fs::is_empty(links_); }

    const VcdImage& image = VcdImage::get();

private:
    fs::path links_;
    std::optional<std::string> oldTmp_;
};

TEST_F(RipNames, ARipOpensWhateverItsFilesAreCalled)
{
    const struct {
        const char* name;
        const char* cue;
        const char* fileLine;
        const char* bin;
        bool opens;
    } cases[] = {
        {"paired", "film.cue", "film.bin", "film.bin", true},
        {"capitals", "FILM.CUE", "FILM.BIN", "FILM.BIN", true},
        {"mixed case cue", "Film.Cue", "Film.bin", "Film.bin", true},
        {"another data file", "Film.cue", "Film (Track 1).bin", "Film (Track 1).bin", true},
        // Renamed without the cue's text: the data named like the cue is found.
        {"stale file line", "Movie.cue", "image.bin", "Movie.bin", true},
        {"no data at all", "Lost.cue", "gone.bin", "", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string cue = rip(c.name, c.cue, c.fileLine, c.bin);
        {
            const std::unique_ptr<VcdDisc> disc = VcdDisc::open(cue);
            ASSERT_EQ(disc != nullptr, c.opens);
            if (!disc)
                continue;
            EXPECT_EQ(disc->label(), VcdImage::kLabel);
            const std::unique_ptr<VcdFile> stream = disc->openFile("/MPEGAV/AVSEQ02.DAT");
            ASSERT_NE(stream, nullptr);
            char bytes[4] = {};
            EXPECT_EQ(stream->read(stream->size() - 4, bytes, 4), 4);
        }
        EXPECT_FALSE(linksLeft()) << "the links go with the disc";
    }
}

}  // namespace
