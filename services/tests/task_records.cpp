#include <gtest/gtest.h>

#include "services/TaskRecords.h"
#include "vcl/Exceptions.h"

TEST(TaskNames, JobAndPlainNames) {
  const struct {
    const wchar_t* given;
    const wchar_t* job;
    const wchar_t* plain;
  } cases[] = {
      {L"A", L"A.job", L"A"},
      {L"A.job", L"A.job", L"A"},
      {L"A.JOB", L"A.JOB", L"A"},
      {L"QornAutorunTask", L"QornAutorunTask.job", L"QornAutorunTask"},
      {L"x.jobs", L"x.jobs.job", L"x.jobs"},
      {L"job", L"job.job", L"job"},
      {L".job", L".job", L""},
      {L"", L".job", L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(JobName(c.given), c.job) << c.given;
    EXPECT_EQ(PlainName(c.given), c.plain) << c.given;
    EXPECT_EQ(PlainName(JobName(c.given)), PlainName(c.given)) << c.given;
  }
}

TEST(TaskFlags, BitsMapToSystemFlags) {
  EXPECT_EQ(TaskFlagsToSystem(BitOf(tfRunOnlyIfLoggedOn) | BitOf(tfDontStartIfOnBatteries)), 0x2040u);
  EXPECT_EQ(TaskFlagsFromSystem(0x2040), BitOf(tfRunOnlyIfLoggedOn) | BitOf(tfDontStartIfOnBatteries));
  // Each bit alone, both ways.
  for (int bit = 0; bit < TaskFlagBitCount; ++bit) {
    EXPECT_EQ(TaskFlagsToSystem(BitOf(bit)), TaskFlagValues[bit]) << bit;
    EXPECT_EQ(TaskFlagsFromSystem(TaskFlagValues[bit]), BitOf(bit)) << bit;
  }
  EXPECT_EQ(TaskFlagsToSystem(0xFFFF), 0x3EF7u);  // bits above 11 count for nothing
  // System flags without a bit (0x8 is unused, 0x4000 and above are the system's own).
  EXPECT_EQ(TaskFlagsFromSystem(0x8 | 0x4000 | 0x80000), 0);
  // The new task's defaults: the two battery flags.
  EXPECT_EQ(TaskFlagsToSystem(BitOf(tfDontStartIfOnBatteries) | BitOf(tfKillIfGoingOnBatteries)), 0xC0u);
}

TEST(TaskTriggers, KindsMapToSystemTypes) {
  const struct {
    int kind, type, state;
  } cases[] = {{0, 1, 0}, {1, 2, 0}, {2, 3, 0}, {3, 4, 0},  {4, 5, 0},  {5, 6, 0},
               {6, 8, 0}, {7, 9, 0}, {8, 11, 3}, {9, 11, 4}, {10, 11, 7}, {11, 11, 8}};
  for (const auto& c : cases) {
    auto m = MapTriggerKind(c.kind);
    ASSERT_TRUE(m) << c.kind;
    EXPECT_EQ(m->systemType, c.type) << c.kind;
    EXPECT_EQ(m->stateChange, c.state) << c.kind;
  }
  EXPECT_FALSE(MapTriggerKind(12));
  EXPECT_FALSE(MapTriggerKind(255));
  EXPECT_FALSE(MapTriggerKind(-1));
}

TEST(TaskTriggers, WeekOfTheMonthOnlyOneToFive) {
  EXPECT_EQ(WeeksOfMonthMask(1), 1);
  EXPECT_EQ(WeeksOfMonthMask(2), 2);
  EXPECT_EQ(WeeksOfMonthMask(4), 8);
  EXPECT_EQ(WeeksOfMonthMask(5), 16);
  // The zeroed record's week 0 has no week, rather than a shift by -1.
  EXPECT_FALSE(WeeksOfMonthMask(0));
  EXPECT_FALSE(WeeksOfMonthMask(6));
  EXPECT_FALSE(WeeksOfMonthMask(-1));
}

TEST(TaskTriggers, BoundaryTexts) {
  EXPECT_EQ(StartBoundaryText(2024, 3, 7, 9, 5), L"2024-03-07T09:05:00");
  EXPECT_EQ(StartBoundaryText(999, 12, 31, 23, 59), L"0999-12-31T23:59:00");
  EXPECT_EQ(EndBoundaryText(2024, 4, 7), L"2024-04-07T23:59:59");
}

TEST(IsoToDateTime, ReadsTheFixedLayout) {
  EXPECT_EQ(IsoToDateTime(L""), 0);
  EXPECT_DOUBLE_EQ(IsoToDateTime(L"2024-03-07T09:05:30"), EncodeDate(2024, 3, 7) + EncodeTime(9, 5, 30, 0));
  // Fractions and zones after the seconds are not part of the value.
  EXPECT_DOUBLE_EQ(IsoToDateTime(L"2024-03-07T09:05:30.123+01:00"), EncodeDate(2024, 3, 7) + EncodeTime(9, 5, 30, 0));
  EXPECT_DOUBLE_EQ(IsoToDateTime(L"1899-12-30T00:00:00"), 0);
  EXPECT_DOUBLE_EQ(IsoToDateTime(L"1899-12-29T06:00:00"), -1.25);
}

TEST(IsoToDateTime, RaisesForTextsThatAreNoDate) {
  for (const wchar_t* text : {L"2024-3-7T09:05:30", L"2024-02-30T09:05:30", L"2024-03-07 09:05", L"2024-03-07T24:00:00",
                              L"2024-03-07T09:60:00", L"abcd-ef-ghTij:kl:mn", L"2024-03-07", L"2024-03-07T09:05:3x"}) {
    EXPECT_THROW(IsoToDateTime(text), EConvertError) << text;
  }
  try {
    IsoToDateTime(L"2024-13-01T00:00:00");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), L"'2024-13-01T00:00:00' is not a valid date and time");
  }
}
