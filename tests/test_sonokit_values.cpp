#include <gtest/gtest.h>

#include <vector>

#include "components/sonokit/sonokit_values.h"

using namespace sonokit;

namespace {
TEST(SonokitValues, EachLineAndKindHasItsOwnIdAndNothingElseHasOne)
{
    struct Case {
        uint32_t line, kind, id;
    };
    const Case cases[] = {
        {0, 0, 1}, {0, 1, 2}, {8, 0, 9}, {8, 1, 10}, {0, 2, 0}, {8, 7, 0}, {1, 0, 0}, {7, 1, 0}, {9, 0, 0}, {16, 1, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ControlId(c.line, c.kind), c.id) << c.line << "/" << c.kind;
}

TEST(SonokitValues, ValuesMapOntoServerVolumesAndBackUnchanged)
{
    struct Case {
        uint32_t value;
        pa_volume_t volume;
    };
    const Case cases[] = {
        {0, PA_VOLUME_MUTED}, {1, 1}, {4096, 4096}, {32768, 32768}, {65534, 65534}, {65535, PA_VOLUME_NORM},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToVolume(c.value), c.volume) << c.value;
        EXPECT_EQ(ToValue(ToVolume(c.value)), c.value) << c.value;
    }
    // Anything at or past the server's full volume is the top; past the top is the top too.
    for (pa_volume_t loud : {pa_volume_t{65535}, PA_VOLUME_NORM, PA_VOLUME_NORM * 3 / 2, PA_VOLUME_MAX})
        EXPECT_EQ(ToValue(loud), MaximumValue) << loud;
    EXPECT_EQ(ToVolume(70000), PA_VOLUME_NORM);
}

TEST(SonokitValues, AWriteTakesOneValuePerChannelOrOneForAll)
{
    struct Case {
        std::vector<uint32_t> values;
        uint8_t channels;
        bool fits;
        std::vector<uint32_t> written;
    };
    const Case cases[] = {
        {{100, 200}, 2, true, {100, 200}},
        {{500}, 2, true, {500, 500}},
        {{500}, 1, true, {500}},
        {{65535, 0, 7}, 3, true, {65535, 0, 7}},
        {{1, 2, 3}, 2, false, {}},
        {{1, 2}, 6, false, {}},
        {{}, 2, false, {}},
        {{1}, 0, false, {}},
    };
    for (const Case& c : cases) {
        const auto volume = ToVolumes(c.values, c.channels);
        ASSERT_EQ(volume.has_value(), c.fits) << c.values.size() << " for " << int(c.channels);
        if (volume) {
            EXPECT_EQ(ToValues(*volume), c.written);
        }
    }
}

TEST(SonokitValues, KeptValuesFollowTheChannelsOfTheStreamTheyAreGivenTo)
{
    LineValues stereo;
    pa_channel_map_init_stereo(&stereo.map);
    stereo.volume = {20000, 30000};

    pa_channel_map same;
    pa_channel_map_init_stereo(&same);
    EXPECT_EQ(ToValues(VolumesFor(stereo, same)), (std::vector<uint32_t>{20000, 30000}));

    pa_channel_map swapped;
    pa_channel_map_parse(&swapped, "front-right,front-left");
    EXPECT_EQ(ToValues(VolumesFor(stereo, swapped)), (std::vector<uint32_t>{30000, 20000}));

    pa_channel_map mono;
    pa_channel_map_init_mono(&mono);
    const std::vector<uint32_t> mixed = ToValues(VolumesFor(stereo, mono));
    ASSERT_EQ(mixed.size(), 1u);
    EXPECT_GE(mixed[0], 20000u);
    EXPECT_LE(mixed[0], 30000u);

    LineValues none;
    EXPECT_EQ(ToValues(VolumesFor(none, same)), (std::vector<uint32_t>{65535, 65535}));
}
}  // namespace
