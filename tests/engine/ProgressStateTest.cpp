#include "engine/ProgressState.h"

#include <gtest/gtest.h>

#include <thread>

#include "engine/InstallPhase.h"

namespace {

TEST(ProgressState, CancellingTakesOnlyCancelled) {
  ProgressState state;
  state.Report(Downloading, 1, 40);
  state.SetPhase(Cancelling);
  state.Report(Downloading, 2, 10);
  state.SetPhase(Failed);
  EXPECT_EQ(state.Phase(), Cancelling);
  state.SetPhase(Cancelled);
  EXPECT_EQ(state.Phase(), Cancelled);
}

TEST(ProgressState, CancellingNeverReplacesAFinalPhase) {
  ProgressState state;
  state.Report(Installing, 1, 50);
  EXPECT_TRUE(state.BeginCancelling());
  EXPECT_FALSE(state.BeginCancelling());  // already cancelling
  EXPECT_EQ(state.Phase(), Cancelling);
  for (int final : {Finished, Failed, Cancelled}) {
    ProgressState ended;
    ended.SetPhase(final);
    EXPECT_FALSE(ended.BeginCancelling());
    EXPECT_EQ(ended.Phase(), final);
  }
}

TEST(ProgressState, ReadingsStartTheClockOnceAndEstimateFromIt) {
  ProgressState state;
  state.SetWeights({22, 22, 22, 27, 2, 5}, {22, 22, 22, 27, 2, 5});
  auto first = state.TakeReading(5000);  // nothing reported yet
  EXPECT_EQ(first.phase, Initializing);
  EXPECT_FLOAT_EQ(first.percent, 0.0f);
  EXPECT_FALSE(first.remainingMs.has_value());

  state.Report(Downloading, 3, 40);
  auto downloading = state.TakeReading(15000);  // pass at 76.8% after 10 s
  EXPECT_FLOAT_EQ(downloading.percent, 38.4f);
  ASSERT_TRUE(downloading.remainingMs.has_value());
  EXPECT_NEAR(static_cast<double>(*downloading.remainingMs), 3020.0, 2.0);

  state.Report(Installing, 0, 0);  // second pass at 0: calculating again
  auto installing = state.TakeReading(16000);
  EXPECT_FLOAT_EQ(installing.percent, 50.0f);
  EXPECT_FALSE(installing.remainingMs.has_value());

  state.SetPhase(Finished);
  auto finished = state.TakeReading(20000);
  EXPECT_FLOAT_EQ(finished.percent, 100.0f);
  EXPECT_EQ(finished.remainingMs, 1000u);
}

TEST(ProgressState, FirstReadingWithProgressShowsOneSecond) {
  ProgressState state;
  state.SetWeights({}, {90, 10});
  state.Report(Installing, 0, 50);
  const auto reading = state.TakeReading(777);
  EXPECT_FLOAT_EQ(reading.percent, 45.0f);
  EXPECT_EQ(reading.remainingMs, 1000u);
}

TEST(ProgressState, ReadingsSeeWholeUpdatesOnly) {
  ProgressState state;
  state.SetWeights({50, 50}, {50, 50});
  std::thread writer([&] {
    for (int i = 0; i < 20000; ++i) state.Report(Downloading, i % 2, i % 2 ? 100 : 0);
  });
  // Index 0 always goes with 0 and index 1 with 100: overall is 0 or 50, never 25.
  for (int i = 0; i < 20000; ++i) {
    const float p = state.TakeReading(static_cast<unsigned>(i) + 1).percent;
    ASSERT_TRUE(p == 0.0f || p == 50.0f) << p;
  }
  writer.join();
}

}  // namespace
