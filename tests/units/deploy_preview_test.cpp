// The deployment preview built from what is known of the clips' media: the
// counts, the lists and their cut, and the time estimate.

#include "units/deploy_preview.h"

#include "units/channel_media.h"

#include <gtest/gtest.h>

namespace vantic {
namespace {

std::string Name(int n) {
    return std::string(31, 'a') + static_cast<char>('0' + n);
}

// Ten clips on media 0-9, media 7-9 lacking on the server, of 1000, 2000
// and 3000 bytes; media 0 named twice, its second time by another path.
std::vector<ClipMediaFacts> TenClips() {
    std::vector<ClipMediaFacts> clips;
    for (int n = 0; n < 9; ++n) {
        clips.push_back({"/media/clip" + std::to_string(n) + ".mpg", Name(n),
                         n >= 7 ? std::optional<std::uint64_t>((n - 6) * 1000) : 5});
    }
    clips.push_back({"/other/copy.mpg", Name(0), 5});
    return clips;
}

std::map<std::string, bool> HeldUpTo(int last) {
    std::map<std::string, bool> held;
    for (int n = 0; n < 9; ++n) {
        held[Name(n)] = n <= last;
    }
    return held;
}

TEST(DeployPreviewTest, CountsUnitsClipsAndTheMediaToUpload) {
    std::vector<ClipMediaFacts> clips = TenClips();
    clips[9] = {"/media/clip9.mpg", Name(9), 3000};
    std::map<std::string, bool> held = HeldUpTo(6);
    held[Name(9)] = false;
    const DeployPreview preview =
        BuildDeployPreview(0, {4, 9}, clips, held, UploadRate{1000, 1000, 1000});
    EXPECT_EQ(preview.Count(MediaOutlook::Held), 7u);
    EXPECT_EQ(preview.Count(MediaOutlook::Upload), 3u);
    EXPECT_EQ(preview.BytesToSend(), 6000u);
    EXPECT_EQ(DeployPreviewText(preview),
              "Deployment preview: channel \"Video\"\n"
              "Units: 2 (4, 9)\n"
              "Clips: 10\n"
              "Media the server holds: 7\n"
              "  clip0.mpg\n  clip1.mpg\n  clip2.mpg\n  clip3.mpg\n  clip4.mpg\n  clip5.mpg\n"
              "  clip6.mpg\n"
              "Media to upload: 3, 6000 bytes\n"
              "  clip7.mpg (1000 bytes)\n  clip8.mpg (2000 bytes)\n  clip9.mpg (3000 bytes)\n"
              "Estimated upload time: about 6 seconds (at the last measured 8 kbit/sec)\n");
}

TEST(DeployPreviewTest, AMediaNamedTwiceIsSentOnceAndAMissingOneIsNamed) {
    std::vector<ClipMediaFacts> clips = TenClips();
    clips.push_back({"/gone/lost.mpg", "", std::nullopt});  // no file, no content name
    const DeployPreview preview = BuildDeployPreview(3, {17}, clips, HeldUpTo(6), std::nullopt);
    EXPECT_EQ(preview.media.size(), 10u);
    EXPECT_EQ(preview.Count(MediaOutlook::Upload), 2u);
    EXPECT_EQ(preview.BytesToSend(), 3000u);
    EXPECT_EQ(preview.media.back().outlook, MediaOutlook::Missing);
    const std::string text = DeployPreviewText(preview);
    EXPECT_NE(text.find("Clips: 11\n"), std::string::npos) << text;
    EXPECT_NE(text.find("Media that cannot be read here and the server lacks: 1\n"
                        "  /gone/lost.mpg\n"),
              std::string::npos)
        << text;
    EXPECT_TRUE(
        text.ends_with("Estimated upload time: not known until an upload has been measured\n"))
        << text;
}

TEST(DeployPreviewTest, LongListsStopAfterTwentyAndLongUploadsCountMinutes) {
    std::vector<std::uint32_t> units;
    std::vector<ClipMediaFacts> clips;
    for (int n = 1; n <= 25; ++n) {
        units.push_back(static_cast<std::uint32_t>(100 + n));
        clips.push_back({"/m/" + std::to_string(n) + ".mpg", std::to_string(1000 + n), 120'000});
    }
    std::map<std::string, bool> held;
    for (const ClipMediaFacts& clip : clips) {
        held[clip.contentName] = false;
    }
    const DeployPreview preview =
        BuildDeployPreview(1, units, clips, held, UploadRate{10'000, 30'000, 3'000});
    const std::string text = DeployPreviewText(preview);
    EXPECT_NE(text.find("Units: 25 (101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112, "
                        "113, 114, 115, 116, 117, 118, 119, 120 and 5 more)\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("  20.mpg (120000 bytes)\n  and 5 more\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("21.mpg"), std::string::npos);
    EXPECT_NE(text.find("about 5 minutes (at the last measured 80 kbit/sec)"), std::string::npos)
        << text;  // 3,000,000 bytes at 10,000 a second: 300 s
}

TEST(DeployPreviewTest, AServerThatCannotBeAskedLeavesTheMediaUnknown) {
    const DeployPreview preview =
        BuildDeployPreview(2, {4}, TenClips(), std::nullopt, UploadRate{1000, 1000, 1000});
    EXPECT_FALSE(preview.serverAsked);
    EXPECT_EQ(preview.Count(MediaOutlook::Unknown), 9u);
    EXPECT_EQ(preview.BytesToSend(), 0u);
    EXPECT_EQ(DeployPreviewText(preview),
              "Deployment preview: channel \"Audio A\"\n"
              "Units: 1 (4)\n"
              "Clips: 10\n"
              "Media files: 9\n"
              "The server could not be asked which media it holds.\n");
    EXPECT_EQ(DeployPreviewText(BuildDeployPreview(0, {4}, {}, std::nullopt, std::nullopt)),
              "Deployment preview: channel \"Video\"\nUnits: 1 (4)\n"
              "Clips: 0 - the channel will be emptied on every unit\n");
}

// 1.5 GB to send: only a long or a large enough timed transfer estimates it.
TEST(DeployPreviewTest, OnlyASampleThatCanTellGivesAnEstimate) {
    constexpr std::uint64_t kToSend = 1'500'000'000;
    const std::vector<ClipMediaFacts> clips{{"/m/big.mpg", Name(1), kToSend}};
    const std::map<std::string, bool> held{{Name(1), false}};
    for (const auto& [rate, line] :
         {std::pair{UploadRate{2'400'000, 3'145'728, 1'300},
                    "not known (the last measured upload, 3145728 bytes, was too small to tell)"},
          std::pair{UploadRate{1'250'000, 3'145'728, 2'500},
                    "about 20 minutes (at the last measured 10000"},
          std::pair{UploadRate{300'000'000, 200'000'000, 660}, "about 5 seconds (at the last"}}) {
        const std::string text = DeployPreviewText(BuildDeployPreview(0, {4}, clips, held, rate));
        EXPECT_NE(text.find(std::string("Estimated upload time: ") + line), std::string::npos)
            << text;
    }
}

TEST(DeployPreviewTest, TheRateKeptIsTheOneThatSaysMostAboutTheLine) {
    const UploadRate quick{9'000'000, 900'000, 100};
    const UploadRate small{2'000'000, 3'000'000, 1'500};
    const UploadRate larger{4'000'000, 6'000'000, 1'500};
    const UploadRate longer{500'000, 1'500'000, 3'000};
    EXPECT_TRUE(KeepsRate(quick, std::nullopt) && !KeepsRate(quick, small));
    EXPECT_TRUE(KeepsRate(larger, small) && !KeepsRate(small, larger));
    EXPECT_TRUE(KeepsRate(longer, larger) && !KeepsRate(larger, longer));
}

}  // namespace
}  // namespace vantic
