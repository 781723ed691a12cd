// The stream tests' own instruments, checked against a source known to be
// right (ffmpeg itself): when a stream test fails, this one tells whether the
// program or the instruments are at fault.
#include "support/icecast_server.h"
#include "support/stream_listener.h"
#include "support/temp_tree.h"

#include <gtest/gtest.h>

namespace wavecrest::testing {
namespace {

const auto kOnAir = [](const MountStats&) { return true; };

TEST(StreamKit, SilenceStepsTitlesAndARelayAreHeardAndTheServerComesBackOnItsPort) {
  TempTree tree;
  const std::string song = tree.Path("song.mp3");
  MakeToneSong(song, 1, SongFormat::kMp3, {"Kit", "Check"});
  IcecastServer master;
  // Five seconds of silence, then the song from its step 2, at the pace of playing.
  ChildProcess source({"/usr/bin/ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-f", "lavfi", "-i",
                       "anullsrc=r=44100:cl=stereo:d=5", "-i", song, "-filter_complex",
                       "[1:a]atrim=start=" + std::to_string(2 * kStepSeconds) +
                           ",asetpts=PTS-STARTPTS[t];[0:a][t]concat=n=2:v=0:a=1,arealtime",
                       "-c:a", "libmp3lame", "-b:a", "128k", "-f", "mp3", "-content_type", "audio/mpeg",
                       "icecast://source:" + master.SourcePassword() + "@127.0.0.1:" + std::to_string(master.Port()) +
                           "/kit"});
  ASSERT_TRUE(AwaitMount(master, "/kit", kOnAir, 20)) << source.Err() << master.Log();
  // Started now: it takes a few seconds to ask the master.
  IcecastServer relay(master, "/kit");
  ASSERT_TRUE(HttpGet(master.Port(), "/admin/metadata?mount=/kit&mode=updinfo&charset=UTF-8&song=Kit%20-%20Zo%C3%AB",
                      "source:" + master.SourcePassword()));
  ToneListener ear(master.ListenUrl("/kit"));
  TitleListener player(master.ListenUrl("/kit"));

  const auto quiet = ear.AwaitSilence(1, 20);
  ASSERT_TRUE(quiet) << ear.Transcript();
  const auto tone = ear.Await([](const Heard& h) { return h.kind == Heard::Kind::kTone; }, 20, *quiet);
  ASSERT_TRUE(tone) << ear.Transcript();
  EXPECT_TRUE(ear.Windows()[*tone].IsTone(1) && ear.Windows()[*tone].step == 2) << ear.Transcript();
  EXPECT_TRUE(ear.Await([](const Heard& h) { return h.IsTone(1) && h.step == 3; }, 10, *tone)) << ear.Transcript();

  EXPECT_TRUE(player.AwaitTitle("Kit - Zoë", 20)) << ::testing::PrintToString(player.Titles());
  const auto stats = master.Mount("/kit");
  ASSERT_TRUE(stats);
  EXPECT_EQ(stats->title, "Kit - Zoë");

  ASSERT_TRUE(AwaitMount(relay, "/kit", kOnAir, 30)) << relay.Log();
  ToneListener far(relay.ListenUrl("/kit"));
  EXPECT_TRUE(far.Await([](const Heard& h) { return h.IsTone(1); }, 20)) << far.Transcript();
  // Two people and the relay.
  EXPECT_TRUE(AwaitMount(master, "/kit", [](const MountStats& m) { return m.listeners == 3; }, 10));

  master.Kill();
  EXPECT_FALSE(master.Running());
  master.Start();
  ASSERT_TRUE(HttpGet(master.Port(), "/status-json.xsl"));
  EXPECT_FALSE(master.Mount("/kit")) << "the source went with the server";
}

}  // namespace
}  // namespace wavecrest::testing
