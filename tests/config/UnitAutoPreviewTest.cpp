#include "config/UnitAutoPreview.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(TFrmDummyAutoPreviewTest, RunsOnce1100MsAfterTheLastChange) {
  TFrmDummyAutoPreview trigger;
  EXPECT_FALSE(trigger.GetEnabled());
  trigger.InformOfKeypress(0);  // created disabled: no countdown
  EXPECT_FALSE(trigger.Pending());
  trigger.SetEnabled(true);
  trigger.InformOfKeypress(0);
  trigger.InformOfKeypress(1000);  // a burst restarts the countdown
  EXPECT_FALSE(trigger.Tick(1100));
  EXPECT_FALSE(trigger.Tick(2099));
  EXPECT_FALSE(trigger.WasTriggered());
  EXPECT_TRUE(trigger.Tick(2100));
  EXPECT_TRUE(trigger.WasTriggered());
  EXPECT_FALSE(trigger.Tick(5000));  // one run per countdown
  trigger.ResetTriggered();
  EXPECT_FALSE(trigger.WasTriggered());
}

TEST(TFrmDummyAutoPreviewTest, StartsOnlyWhenAllowed) {
  struct TCase {
    bool enabled, option, visible, starts;
  };
  const TCase cases[] = {
      {true, true, true, true},
      {false, true, true, false},
      {true, false, true, false},
      {true, true, false, false},
  };
  for (const TCase& c : cases) {
    TFrmDummyAutoPreview trigger;
    trigger.SetEnabled(c.enabled);
    trigger.SetAutoPreviewOption(c.option);
    trigger.SetWindowVisible(c.visible);
    trigger.InformOfKeypress(10);
    EXPECT_EQ(trigger.Pending(), c.starts) << c.enabled << c.option << c.visible;
    EXPECT_EQ(trigger.Tick(2000), c.starts) << c.enabled << c.option << c.visible;
  }
}

TEST(TFrmDummyAutoPreviewTest, StopForceAndDisable) {
  TFrmDummyAutoPreview trigger;
  trigger.SetEnabled(true);
  trigger.InformOfKeypress(0);
  trigger.StopTimer();
  EXPECT_FALSE(trigger.Tick(2000));
  trigger.InformOfKeypress(0);
  EXPECT_TRUE(trigger.ForceTriggerIfEnabled());  // at once, the countdown dropped
  EXPECT_TRUE(trigger.WasTriggered());
  EXPECT_FALSE(trigger.Tick(2000));
  trigger.InformOfKeypress(0);
  trigger.SetEnabled(false);
  EXPECT_FALSE(trigger.Tick(2000));
  EXPECT_FALSE(trigger.ForceTriggerIfEnabled());
  // A change while the option is off cancels a pending countdown.
  trigger.SetEnabled(true);
  trigger.InformOfKeypress(0);
  trigger.SetAutoPreviewOption(false);
  trigger.InformOfKeypress(5);
  EXPECT_FALSE(trigger.Pending());
  // Late clocks do not overflow.
  trigger.SetAutoPreviewOption(true);
  trigger.InformOfKeypress(std::numeric_limits<int64_t>::max() - 5);
  EXPECT_EQ(trigger.DueAt(), std::numeric_limits<int64_t>::max());
}

}  // namespace
