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
