#include "game/game_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace krgfx {

namespace {

double clockValue = 0.0;
double testClock() { return clockValue; }
double unreadClock() {
  ADD_FAILURE() << "the clock is read only above 100";
  return 0.0;
}

TEST(GameRules, CollectingShowsWhetherAButtonIsDown) {
  EXPECT_EQ(spriteFrameFor(0, 0, unreadClock), 1);
  EXPECT_EQ(spriteFrameFor(99, 1, unreadClock), 2);
  EXPECT_EQ(spriteFrameFor(50, 4, unreadClock), 2);
  // Outside the window every mouse value is -1: that counts as pressed here.
  EXPECT_EQ(spriteFrameFor(50, -1, unreadClock), 2);
  EXPECT_EQ(spriteFrameFor(100, 0, unreadClock), 5);
  EXPECT_EQ(spriteFrameFor(100, 1, unreadClock), 5);
}

TEST(GameRules, OvershotFramesTakeTurnsEveryTenthOfASecond) {
  clockValue = 12.25;  // tenth 122
  EXPECT_EQ(spriteFrameFor(101, 0, testClock), 3);
  clockValue = 12.34;  // tenth 123
  EXPECT_EQ(spriteFrameFor(150, 1, testClock), 4);
  clockValue = 4.0e12;  // far beyond 32 bits of tenths: still even
  EXPECT_EQ(spriteFrameFor(200, 0, testClock), 3);
  clockValue = -0.05;  // tenth -1
  EXPECT_EQ(spriteFrameFor(200, 0, testClock), 4);
}

TEST(GameRules, MessagesFollowTheScore) {
  EXPECT_STREQ(scoreMessage(0), "Musisz uzbierac dokladnie 100!");
  EXPECT_STREQ(scoreMessage(99), "Musisz uzbierac dokladnie 100!");
  EXPECT_STREQ(scoreMessage(100), "Dosc juz, jestes wygrywem!");
  EXPECT_STREQ(scoreMessage(101), "Przesadziles, co za duzo to niezdrowo! Idziesz do psychiatry.");
}

TEST(GameRules, ButtonTestDiffersBelowAndFromTheWinningScore) {
  EXPECT_EQ(scoreAfterFrame(0, 0), 0);
  EXPECT_EQ(scoreAfterFrame(0, 1), 1);
  EXPECT_EQ(scoreAfterFrame(0, -1), 1);
  EXPECT_EQ(scoreAfterFrame(99, 2), 100);
  EXPECT_EQ(scoreAfterFrame(100, -1), 100);
  EXPECT_EQ(scoreAfterFrame(100, 0), 100);
  EXPECT_EQ(scoreAfterFrame(100, 1), 101);
  EXPECT_EQ(scoreAfterFrame(150, -1), 150);
  EXPECT_EQ(scoreAfterFrame(199, 1), 200);
  EXPECT_EQ(scoreAfterFrame(200, 1), 0);
}

TEST(GameRules, HoldingTheButtonWalksThroughEveryState) {
  clockValue = 0.0;
  int32_t score = 0;
  int32_t framesShown[6] = {};
  for (int frame = 0; frame < 202; ++frame) {
    int32_t sprite = spriteFrameFor(score, 1, testClock);
    ++framesShown[sprite];
    if (score == 100) {
      EXPECT_EQ(sprite, 5);
    }
    score = scoreAfterFrame(score, 1);
  }
  // 100 frames collecting, one won, 100 overshot; 201 shows as 0, so the
  // 202nd frame collects again and leaves 1.
  EXPECT_EQ(framesShown[2], 101);
  EXPECT_EQ(framesShown[5], 1);
  EXPECT_EQ(framesShown[3], 100);
  EXPECT_EQ(score, 1);
}

}  // namespace

}  // namespace krgfx
