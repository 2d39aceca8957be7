// The macro file: written and read back, the letter keys, the limits and
// malformed files; and the journal steps with synthetic event sequences.
#include <gtest/gtest.h>

#include "services/MacroFile.h"
#include "services/MacroJournal.h"
#include "vcl/SysUtils.h"

namespace {

TMacroEvent Key(std::uint32_t msg, std::uint32_t paramL, std::uint32_t time) { return {msg, paramL, 1, time, 65626}; }
TMacroEvent Mouse(std::uint32_t msg, std::int32_t x, std::int32_t y, std::uint32_t time) {
  return {msg, static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), time, 131};
}

TEST(MacroFile, WritesTheLettersAndNumbersAsTheFormatSays) {
  const auto lines = WriteMacroLines({Key(256, 4439, 0), Key(257, 4439, 15), Key(256, 0x0B30, 40),
                                      Mouse(513, -5, 700, 100), {999, 1, 2, 3, 4}, Key(258, 4439, 50)});
  const std::vector<std::wstring> expected = {
      L"MessageCount=6",
      L"KEYDOWN=256,ParamL=w,ParamH=1,Time=0,hwnd=65626",
      L"KEYUP=257,ParamL=w,ParamH=1,Time=15,hwnd=65626",
      L"KEYDOWN=256,ParamL=2864,ParamH=1,Time=40,hwnd=65626",  // the digit 0 key: decimal
      L"LBUTTONDOWN=513,ParamL=-5,ParamH=700,Time=100,hwnd=131",
      L"UnKnown=999,ParamL=1,ParamH=2,Time=3,hwnd=4",
      L"CHAR=258,ParamL=4439,ParamH=1,Time=50,hwnd=65626",  // letters only for key-down and key-up
  };
  EXPECT_EQ(lines, expected);
}

TEST(MacroFile, EveryLetterKeyRoundTripsAsItsLetter) {
  const std::wstring letters = L"qwertyuiopasdfghjklzxcvbnm";
  const std::uint32_t values[] = {4177, 4439, 4677, 4946, 5204, 5465, 5717, 5961, 6223, 6480, 7745, 8019, 8260,
                                  8518, 8775, 9032, 9290, 9547, 9804, 11354, 11608, 11843, 12118, 12354, 12622, 12877};
  std::vector<TMacroEvent> events;
  for (size_t i = 0; i < letters.size(); ++i) {
    EXPECT_EQ(MacroLetterOfKey(values[i]), letters[i]);
    events.push_back(Key(256, values[i], static_cast<std::uint32_t>(i)));
  }
  const auto lines = WriteMacroLines(events);
  for (size_t i = 0; i < letters.size(); ++i)
    EXPECT_NE(lines[i + 1].find(L"ParamL=" + std::wstring(1, letters[i]) + L","), std::wstring::npos) << i;
  EXPECT_EQ(ReadMacroLines(lines), events);
}

TEST(MacroFile, RoundTripsEveryKindOfValue) {
  const std::vector<TMacroEvent> events = {Key(256, 0xFFFFFFFF, 0),        Key(260, 0x3812, 1),
                                           Mouse(512, -32768, -1, 2),      Mouse(522, 2147483647, -2147483647 - 1, 3),
                                           {0, 0, 0, 4294967295u, 4294967295u}, Key(257, 4439, 7)};
  EXPECT_EQ(ReadMacroLines(WriteMacroLines(events)), events);
}

TEST(MacroFile, KeepsMessageCountEventsOfThoseThereAre) {
  const std::vector<std::wstring> three = {L"MessageCount=3", L"KEYDOWN=256,ParamL=q,ParamH=1,Time=0,hwnd=1",
                                           L"KEYUP=257,ParamL=q,ParamH=1,Time=5,hwnd=1",
                                           L"KEYDOWN=256,ParamL=a,ParamH=1,Time=9,hwnd=1"};
  EXPECT_EQ(ReadMacroLines(three).size(), 3u) << "all three are there to play";
  auto fewer = three;
  fewer[0] = L"MessageCount=2";
  EXPECT_EQ(ReadMacroLines(fewer).size(), 2u);
  auto more = three;
  more[0] = L"MessageCount=10";
  EXPECT_EQ(ReadMacroLines(more).size(), 3u);
  EXPECT_TRUE(ReadMacroLines({L"MessageCount=0"}).empty());
  EXPECT_TRUE(ReadMacroLines({L"MessageCount=5"}).empty()) << "only the count line";
  EXPECT_TRUE(ReadMacroLines({}).empty());
}

TEST(MacroFile, WritesAtMostTheLimit) {
  std::vector<TMacroEvent> many(25000, Key(256, 4177, 0));
  const auto lines = WriteMacroLines(many);
  EXPECT_EQ(lines.size(), MaxMacroEvents + 1);
  EXPECT_EQ(lines[0], L"MessageCount=20001");
  EXPECT_EQ(ReadMacroLines(lines).size(), MaxMacroEvents);
}

TEST(MacroFile, MalformedFilesRaise) {
  const std::wstring good = L"KEYDOWN=256,ParamL=q,ParamH=1,Time=0,hwnd=1";
  const struct {
    const char* name;
    std::vector<std::wstring> lines;
    bool countError;
  } cases[] = {
      {"count not a number", {L"MessageCount=x", good}, false},
      {"no count", {L"Count=1", good}, false},
      {"negative count", {L"MessageCount=-1", good}, true},
      {"count above the limit", {L"MessageCount=20002", good}, true},
      {"ParamL not a number", {L"MessageCount=1", L"KEYDOWN=256,ParamL=qq,ParamH=1,Time=0,hwnd=1"}, false},
      {"ParamL letter of a mouse message", {L"MessageCount=1", L"MOUSEMOVE=512,ParamL=q,ParamH=1,Time=0,hwnd=1"}, false},
      {"a digit is no letter", {L"MessageCount=1", L"KEYDOWN=256,ParamL=1x,ParamH=1,Time=0,hwnd=1"}, false},
      {"message not a number", {L"MessageCount=1", L"KEYDOWN=down,ParamL=q,ParamH=1,Time=0,hwnd=1"}, false},
      {"Time missing", {L"MessageCount=1", L"KEYDOWN=256,ParamL=q,ParamH=1,hwnd=1"}, false},
      {"Time too large", {L"MessageCount=1", L"KEYDOWN=256,ParamL=q,ParamH=1,Time=4294967296,hwnd=1"}, false},
      {"empty event line", {L"MessageCount=1", L""}, false},
  };
  for (const auto& c : cases) {
    if (c.countError)
      EXPECT_THROW(ReadMacroLines(c.lines), EMacroFileError) << c.name;
    else
      EXPECT_THROW(ReadMacroLines(c.lines), EConvertError) << c.name;
  }
}

TEST(MacroFile, MessageNames) {
  EXPECT_EQ(MacroMessageName(264), L"KEYLAST");
  EXPECT_EQ(MacroMessageName(263), L"SYSDEADCHAR");
  EXPECT_EQ(MacroMessageName(521), L"MBUTTONDBLCLK");
  EXPECT_EQ(MacroMessageName(522), L"MOUSEWHEEL");
  EXPECT_EQ(MacroMessageName(265), L"UnKnown");
  EXPECT_EQ(MacroMessageName(523), L"UnKnown");
}

// --- the journal steps

TEST(JournalRecording, StoresTimesFromTheFirstEventAndDropsMovesWhenAsked) {
  TJournalRecording rec(true, nullptr);
  EXPECT_EQ(rec.OnHook(jcAction, Key(256, 4177, 5000)), TJournalRecording::rsStored);
  EXPECT_EQ(rec.OnHook(jcAction, Mouse(512, 1, 2, 5010)), TJournalRecording::rsPassed);
  EXPECT_EQ(rec.OnHook(jcAction, Key(257, 4177, 5100)), TJournalRecording::rsStored);
  ASSERT_EQ(rec.Events().size(), 2u);
  EXPECT_EQ(rec.Events()[0].Time, 0u);
  EXPECT_EQ(rec.Events()[1].Time, 100u);

  TJournalRecording wraps(false, nullptr);
  wraps.OnHook(jcAction, Mouse(512, 1, 2, 0xFFFFFFF0u));
  wraps.OnHook(jcAction, Mouse(512, 1, 2, 0x10));
  EXPECT_EQ(wraps.Events()[1].Time, 0x20u) << "across the tick counter's wrap";
}

TEST(JournalRecording, PausesDuringASystemModalDialog) {
  TJournalRecording rec(false, nullptr);
  rec.OnHook(jcSysModalOn, {});
  EXPECT_EQ(rec.OnHook(jcAction, Key(256, 4177, 1)), TJournalRecording::rsPassed);
  rec.OnHook(jcSysModalOff, {});
  EXPECT_EQ(rec.OnHook(jcAction, Key(256, 4177, 2)), TJournalRecording::rsStored);
  EXPECT_EQ(rec.Events().size(), 1u);
}

TEST(JournalRecording, CtrlBreakStopsWithoutBeingStoredEvenWhenFull) {
  TJournalRecording rec(false, nullptr);
  for (int i = 0; i < 25000; ++i) rec.OnHook(jcAction, Key(256, 4177, i));
  EXPECT_EQ(rec.Events().size(), MaxMacroEvents);
  EXPECT_EQ(rec.Events().back().Time, 20000u) << "the first 20 001 are kept";
  EXPECT_EQ(rec.OnHook(jcAction, Key(256, 0x4603, 30000)), TJournalRecording::rsStop);
  EXPECT_EQ(rec.OnHook(jcAction, Key(256, 4177, 30001)), TJournalRecording::rsPassed) << "nothing after the stop";
  EXPECT_EQ(rec.Events().size(), MaxMacroEvents);
}

TEST(JournalRecording, MousePositionsBecomeRelativeAndDroppingSkips) {
  TJournalRecording rec(false, [](std::int32_t& x, std::int32_t& y) { x -= 100, y -= 50; });
  rec.OnHook(jcAction, Mouse(513, 130, 60, 0));
  rec.OnHook(jcAction, Key(256, 4177, 1));
  rec.SetDropping(true);
  EXPECT_EQ(rec.OnHook(jcAction, Key(256, 4439, 2)), TJournalRecording::rsPassed);
  rec.SetDropping(false);
  rec.OnHook(jcAction, Key(256, 4677, 3));
  ASSERT_EQ(rec.Events().size(), 3u);
  EXPECT_EQ(rec.Events()[0], Mouse(513, 30, 10, 0));
  EXPECT_EQ(rec.Events()[1].ParamL, 4177u) << "keys keep their values";
  EXPECT_EQ(rec.Events()[2].ParamL, 4677u);
}

TEST(JournalPlayback, PlaysEveryEventIncludingTheLast) {
  const std::vector<TMacroEvent> events = {Key(256, 4177, 0), Key(257, 4177, 10), Key(256, 4439, 20)};
  TJournalPlayback play(events, true, nullptr, 1000);
  std::vector<TMacroEvent> played;
  bool done = false;
  while (!done) {
    TMacroEvent e;
    EXPECT_EQ(play.GetNext(e, 1000), 0u) << "fast: no waits";
    played.push_back(e);
    done = play.Skip();
  }
  ASSERT_EQ(played.size(), 3u);
  EXPECT_EQ(played[2].ParamL, 4439u);

  TJournalPlayback one({Key(256, 4177, 0)}, true, nullptr, 0);
  TMacroEvent e;
  one.GetNext(e, 0);
  EXPECT_TRUE(one.Skip());
}

TEST(JournalPlayback, NormalSpeedWaitsUntilEachEventsTime) {
  TJournalPlayback play({Key(256, 4177, 0), Key(257, 4177, 1500), Key(256, 4439, 1600)}, false, nullptr, 50000);
  TMacroEvent e;
  EXPECT_EQ(play.GetNext(e, 50000), 0u);
  play.Skip();
  EXPECT_EQ(play.GetNext(e, 50010), 1490u) << "1500 ms after the start";
  EXPECT_EQ(play.GetNext(e, 50010), 0u) << "the wait is asked once per event";
  EXPECT_EQ(e.Time, 51500u);
  play.Skip();
  EXPECT_EQ(play.GetNext(e, 51700), 0u) << "late: at once";
}

TEST(JournalPlayback, RelativePositionsGoBackToTheScreenAndModalEnds) {
  TJournalPlayback play({Mouse(513, 30, 10, 0), Key(256, 4177, 0)}, true,
                        [](std::int32_t& x, std::int32_t& y) { x += 100, y += 50; }, 0);
  TMacroEvent e;
  play.GetNext(e, 0);
  EXPECT_EQ(static_cast<std::int32_t>(e.ParamL), 130);
  EXPECT_EQ(static_cast<std::int32_t>(e.ParamH), 60);
  EXPECT_FALSE(play.SysModal(true));
  EXPECT_TRUE(play.SysModal(false)) << "the end of a system-modal dialog ends the playback";
}

}  // namespace
