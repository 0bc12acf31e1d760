// Replays the seed corpora of the media readers' fuzz targets, and any input that once made one of them
// fail (tests/fixtures/bad/crashes/<target>), under the test build's sanitizers: OBJ and MTL text, flame
// descriptions and animation companions, beat files and pictures. Passing means no sanitizer report, no
// trap and no hang.
#include "fuzz_inputs.h"
#include "replay.h"

using namespace replay_support;

namespace
{

struct Target {
    const char* name;
    int (*input)(const uint8_t*, size_t);
};

const Target kTargets[] = {
    {"obj_reader_fuzz", obj_reader_input}, {"mtl_reader_fuzz", mtl_reader_input},
    {"flame_file_fuzz", flame_file_input}, {"flame_ani_fuzz", flame_ani_input},
    {"beat_file_fuzz", beat_file_input},   {"picture_decode_fuzz", picture_decode_input},
};

TEST(MediaFuzzReplay, EveryReaderSurvivesItsSeedsAndCrashes)
{
    for (const Target& target : kTargets) {
        SCOPED_TRACE(target.name);
        EXPECT_GT(replay(target.input, {kCorpus / target.name, kBad / "crashes" / target.name}), size_t(0));
    }
}

} // namespace
