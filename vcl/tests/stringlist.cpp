#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "testing/TempDir.h"
#include "vcl/Filer.h"
#include "vcl/StringList.h"
#include "vcl/SysUtils.h"

namespace {

std::vector<String> Lines(const TStrings& list) {
  std::vector<String> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
  return out;
}

String PathOf(const std::filesystem::path& p) { return p.wstring(); }

TEST(StringList, BadIndexRaisesWithTheIndex) {
  TStringList list;
  list.Add(L"a");
  struct Case {
    const char* what;
    std::function<void()> call;
    const wchar_t* message;
  };
  const std::vector<Case> cases = {
      {"Get", [&] { list.Get(1); }, L"List index out of bounds (1)"},
      {"Get -1", [&] { list.Get(-1); }, L"List index out of bounds (-1)"},
      {"Put", [&] { list.Put(3, L"x"); }, L"List index out of bounds (3)"},
      {"Objects", [&] { list.Objects(2); }, L"List index out of bounds (2)"},
      {"Delete", [&] { list.Delete(1); }, L"List index out of bounds (1)"},
      {"Insert", [&] { list.Insert(2, L"x"); }, L"List index out of bounds (2)"},
      {"Exchange", [&] { list.Exchange(0, 5); }, L"List index out of bounds (5)"},
      {"Move", [&] { list.Move(0, 1); }, L"List index out of bounds (1)"},
      {"Names", [&] { list.Names(4); }, L"List index out of bounds (4)"},
  };
  for (const auto& c : cases) {
    try {
      c.call();
      ADD_FAILURE() << c.what << ": no error";
    } catch (const EStringListError& e) {
      EXPECT_EQ(e.Message(), c.message) << c.what;
    }
  }
  EXPECT_EQ(Lines(list), std::vector<String>{L"a"}) << "a refused call changes nothing";
}

TEST(StringList, ObjectsArePointerSized) {
  TStringList list;
  const auto big = static_cast<std::intptr_t>(INTPTR_MAX - 7);
  list.AddObject(L"x", reinterpret_cast<void*>(big));
  list.Insert(0, L"first");
  EXPECT_EQ(reinterpret_cast<std::intptr_t>(list.Objects(1)), big);
  EXPECT_EQ(list.Objects(0), nullptr);
  list.Put(1, L"renamed");
  EXPECT_EQ(reinterpret_cast<std::intptr_t>(list.Objects(1)), big) << "Put keeps the object";
  list.Move(1, 0);
  EXPECT_EQ(list[0], L"renamed");
  EXPECT_EQ(reinterpret_cast<std::intptr_t>(list.Objects(0)), big) << "Move carries the object";
  EXPECT_EQ(list.IndexOfObject(reinterpret_cast<void*>(big)), 0);
}

TEST(StringList, LookupsIgnoreCaseUnlessCaseSensitive) {
  TStringList list;
  list.SetText(L"Alpha\r\nbeta\r\nGAMMA");
  EXPECT_EQ(list.IndexOf(L"gamma"), 2);
  EXPECT_EQ(list.IndexOf(L"BETA"), 1);
  EXPECT_EQ(list.IndexOf(L"delta"), -1);
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf(L"gamma"), -1);
  EXPECT_EQ(list.IndexOf(L"GAMMA"), 2);
}

TEST(StringList, SettingSortedSortsAndAddsInOrder) {
  TStringList list;
  for (const wchar_t* s : {L"pear", L"Apple", L"banana", L"apple2"}) list.Add(s);
  list.SetSorted(true);
  EXPECT_EQ(Lines(list), (std::vector<String>{L"Apple", L"apple2", L"banana", L"pear"}));
  EXPECT_EQ(list.Add(L"Cherry"), 3);
  EXPECT_EQ(list.Add(L"aardvark"), 0);
  EXPECT_EQ(list.IndexOf(L"PEAR"), 5);
  EXPECT_THROW(list.Insert(0, L"x"), EStringListError);
  EXPECT_THROW(list.Put(0, L"x"), EStringListError);
  const auto before = Lines(list);
  try {
    list.Move(0, 3);
    FAIL() << "moved in a sorted list";
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), L"Operation not allowed on sorted list");
  }
  EXPECT_EQ(Lines(list), before) << "the refused move lost nothing";
}

TEST(StringList, DuplicatesOfASortedList) {
  struct Case {
    TDuplicates mode;
    int count;
    bool raises;
  };
  for (const Case c : {Case{dupIgnore, 3, false}, Case{dupAccept, 4, false}, Case{dupError, 3, true}}) {
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(c.mode);
    list.Add(L"b");
    list.Add(L"a");
    list.Add(L"c");
    if (c.raises) {
      try {
        list.Add(L"B");
        ADD_FAILURE() << "no error";
      } catch (const EStringListError& e) {
        EXPECT_EQ(e.Message(), L"String list does not allow duplicates");
      }
    } else {
      EXPECT_EQ(list.Add(L"B"), 1) << "a duplicate is ignored or goes before its equals";
    }
    EXPECT_EQ(list.Count(), c.count) << c.mode;
  }
}

TEST(StringList, FindGivesTheFirstEqualOrTheInsertPoint) {
  TStringList list;
  list.SetSorted(true);
  list.SetDuplicates(dupAccept);
  for (const wchar_t* s : {L"m", L"b", L"x", L"m", L"M", L"m", L"a"}) list.Add(s);
  ASSERT_EQ(list.Count(), 7);
  int index = -1;
  EXPECT_TRUE(list.Find(L"m", index));
  EXPECT_EQ(index, 2);
  for (int i = 2; i < 6; ++i) EXPECT_TRUE(SameText(list[i], L"m"));
  EXPECT_FALSE(list.Find(L"c", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(list.Find(L"z", index));
  EXPECT_EQ(index, 7);
  EXPECT_TRUE(list.Find(L"A", index));
  EXPECT_EQ(index, 0);

  TStringList unsorted;
  unsorted.SetText(L"q\r\nw\r\ne");
  EXPECT_TRUE(unsorted.Find(L"E", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(unsorted.Find(L"r", index));
}

TEST(StringList, CommaTextBothWays) {
  struct Case {
    std::vector<String> items;
    const wchar_t* text;
  };
  const std::vector<Case> cases = {
      {{L"a", L"b", L"c"}, L"a,b,c"},
      {{L"a b", L"c"}, L"\"a b\",c"},
      {{L"say \"hi\"", L"x,y"}, L"\"say \"\"hi\"\"\",\"x,y\""},
      {{L"a", L"", L"b"}, L"a,,b"},
      {{L""}, L"\"\""},
      {{}, L""},
      {{L"tab\there"}, L"\"tab\there\""},
      {{L"\u0416\u0443\u043A"}, L"\u0416\u0443\u043A"},
  };
  for (const auto& c : cases) {
    TStringList list;
    for (const auto& s : c.items) list.Add(s);
    EXPECT_EQ(list.CommaText(), c.text);
    TStringList back;
    back.SetCommaText(c.text);
    EXPECT_EQ(Lines(back), c.items) << StringToUtf8(c.text);
  }
  // Reading splits at blanks outside quotes and skips blanks around items.
  const std::vector<std::pair<const wchar_t*, std::vector<String>>> reads = {
      {L"a b,c", {L"a", L"b", L"c"}},
      {L"  a ,  b  ", {L"a", L"b"}},
      {L"a,", {L"a", L""}},
      {L"\"a b\"c,d", {L"a b", L"c", L"d"}},
      {L"\"unterminated", {L"unterminated"}},
      {L",", {L"", L""}},
  };
  for (const auto& [text, items] : reads) {
    TStringList list;
    list.SetCommaText(text);
    EXPECT_EQ(Lines(list), items) << StringToUtf8(text);
  }
}

TEST(StringList, NamesAndValues) {
  TStringList list;
  list.SetText(L"Volume=50\r\nnoequals\r\nPath=C:\\a=b\r\n=empty name\r\nvolume=shadowed");
  EXPECT_EQ(list.Values(L"VOLUME"), L"50") << "the first matching name, any case";
  EXPECT_EQ(list.Values(L"path"), L"C:\\a=b") << "split at the first '='";
  EXPECT_EQ(list.Values(L"noequals"), L"");
  EXPECT_EQ(list.Values(L""), L"empty name");
  EXPECT_EQ(list.Names(1), L"");
  EXPECT_EQ(list.Names(2), L"Path");
  EXPECT_EQ(list.IndexOfName(L"volume"), 0);
  list.SetValues(L"Volume", L"75");
  EXPECT_EQ(list[0], L"Volume=75");
  list.SetValues(L"New", L"1");
  EXPECT_EQ(list[list.Count() - 1], L"New=1");
  const int before = list.Count();
  list.SetValues(L"path", L"");
  EXPECT_EQ(list.Count(), before - 1) << "an empty value deletes the line";
  EXPECT_EQ(list.IndexOfName(L"Path"), -1);
  list.SetValues(L"absent", L"");
  EXPECT_EQ(list.Count(), before - 1);
}

TEST(StringList, TextEndsEveryLineWithCrLfAndSplitsAnyBreak) {
  struct Case {
    String text;
    std::vector<String> lines;
  };
  const std::vector<Case> cases = {
      {L"a\r\nb\r\n", {L"a", L"b"}},
      {L"a\nb", {L"a", L"b"}},
      {L"a\rb\r", {L"a", L"b"}},
      {L"a\n\rb", {L"a", L"", L"b"}},
      {L"a\r\n\r\nb", {L"a", L"", L"b"}},
      {L"\r\n", {L""}},
      {L"", {}},
      {String(L"a\0b", 3), {String(L"a\0b", 3)}},  // a NUL is no line end
  };
  for (const auto& c : cases) {
    TStringList list;
    list.SetText(c.text);
    EXPECT_EQ(Lines(list), c.lines);
  }
  TStringList list;
  list.SetText(L"x\ny");
  EXPECT_EQ(list.Text(), L"x\r\ny\r\n");
  TStringList empty;
  EXPECT_EQ(empty.Text(), L"");
}

TEST(StringList, LoadFromFileOfEachLineEnd) {
  qorn::testing::TempDir dir("stringlist");
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<String> lines;
    TTextEncoding encoding;
  };
  const std::vector<Case> cases = {
      {"crlf.txt", "one\r\ntwo\r\n", {L"one", L"two"}, TTextEncoding::Ansi},
      {"lf.txt", "one\ntwo", {L"one", L"two"}, TTextEncoding::Ansi},
      {"cr.txt", "one\rtwo\r", {L"one", L"two"}, TTextEncoding::Ansi},
      {"mixed.txt", "a\rb\nc\r\n\r\nd", {L"a", L"b", L"c", L"", L"d"}, TTextEncoding::Ansi},
      {"empty.txt", "", {}, TTextEncoding::Ansi},
      {"utf8.txt", "\xEF\xBB\xBF\xD0\x96\r\nx", {L"\u0416", L"x"}, TTextEncoding::Utf8},
      {"utf16.txt", std::string("\xFF\xFE\x16\x04\r\0\n\0x\0", 10), {L"\u0416", L"x"}, TTextEncoding::Utf16LE},
      {"utf16be.txt", std::string("\xFE\xFF\x04\x16\0\n\0x", 8), {L"\u0416", L"x"}, TTextEncoding::Utf16BE},
  };
  for (const auto& c : cases) {
    qorn::testing::WriteFileBytes(dir / c.name, c.bytes);
    TStringList list;
    list.LoadFromFile(PathOf(dir / c.name));
    EXPECT_EQ(Lines(list), c.lines) << c.name;
    EXPECT_EQ(list.Encoding(), c.encoding) << c.name;
  }
}

TEST(StringList, SaveToFileKeepsTheEncodingItWasLoadedWith) {
  qorn::testing::TempDir dir("stringlist");
  const auto utf8 = dir / "u.txt";
  qorn::testing::WriteFileBytes(utf8, "\xEF\xBB\xBFk=\xD0\x96\n");
  TStringList list;
  list.LoadFromFile(PathOf(utf8));
  list.Add(L"\u4E2D");  // no single-byte code page has it
  list.SaveToFile(PathOf(utf8));
  EXPECT_EQ(qorn::testing::ReadFileBytes(utf8), "\xEF\xBB\xBFk=\xD0\x96\r\n\xE4\xB8\xAD\r\n");

  const auto ansi = dir / "a.txt";
  TStringList plain;
  plain.Add(L"caf\u00E9");
  plain.Add(L"x");
  plain.SaveToFile(PathOf(ansi));
  const std::string expected = StringToAnsi(L"caf\u00E9") + "\r\nx\r\n";
  EXPECT_EQ(qorn::testing::ReadFileBytes(ansi), expected);

  const auto utf16 = dir / "w.txt";
  TStringList wide;
  wide.SetEncoding(TTextEncoding::Utf16LE);
  wide.Add(L"\u0416");
  wide.SaveToFile(PathOf(utf16));
  EXPECT_EQ(qorn::testing::ReadFileBytes(utf16), std::string("\xFF\xFE\x16\x04\r\0\n\0", 8));
  TStringList back;
  back.LoadFromFile(PathOf(utf16));
  EXPECT_EQ(Lines(back), std::vector<String>{L"\u0416"});
}

TEST(StringList, LoadFromAMissingFileRaisesAndKeepsTheLines) {
  qorn::testing::TempDir dir("stringlist");
  TStringList list;
  list.Add(L"kept");
  EXPECT_THROW(list.LoadFromFile(PathOf(dir / "absent.txt")), EFOpenError);
  EXPECT_EQ(Lines(list), std::vector<String>{L"kept"});
  EXPECT_THROW(list.SaveToFile(PathOf(dir / "no-such-folder" / "x.txt")), EFCreateError);
}

TEST(StringList, OnChangeFiresOncePerOutermostUpdate) {
  TStringList list;
  int changing = 0, changed = 0;
  list.OnChanging = [&](TObject*) { ++changing; };
  list.OnChange = [&](TObject* sender) {
    ++changed;
    EXPECT_EQ(sender, &list);
  };
  list.Add(L"a");
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(changing, 1);
  list.SetText(L"x\r\ny\r\nz");  // clears and adds inside one update
  EXPECT_EQ(changed, 2);
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add(L"b");
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(changed, 2) << "nothing reported inside the update";
  list.EndUpdate();
  EXPECT_EQ(changed, 3);
  EXPECT_EQ(changing, 3);
  list.SetValues(L"k", L"v");
  EXPECT_EQ(changed, 4);
}

TEST(StringList, AssignAddStringsExchange) {
  TStringList a, b;
  a.SetText(L"1\r\n2\r\n3");
  a.SetObjects(2, reinterpret_cast<void*>(std::intptr_t{33}));
  b.Add(L"old");
  b.Assign(a);
  EXPECT_EQ(Lines(b), (std::vector<String>{L"1", L"2", L"3"}));
  EXPECT_EQ(reinterpret_cast<std::intptr_t>(b.Objects(2)), 33);
  b.AddStrings(a);
  EXPECT_EQ(b.Count(), 6);
  b.Exchange(0, 2);
  EXPECT_EQ(b[0], L"3");
  EXPECT_EQ(reinterpret_cast<std::intptr_t>(b.Objects(0)), 33);
  EXPECT_EQ(b[2], L"1");
  b.Assign(b);
  EXPECT_EQ(b.Count(), 6) << "assigning a list to itself keeps it";
  EXPECT_EQ(b.ClassName(), L"TStringList");
}

TEST(StringList, AssignFromAnotherKindOfObjectRaises) {
  TStringList list;
  list.Add(L"kept");
  TPersistent other;
  EXPECT_THROW(list.Assign(&other), EAssignError);
  EXPECT_EQ(list.Count(), 1);
}

TEST(StringList, StreamRoundTrip) {
  TStringList list;
  list.SetText(L"first\r\nsecond");
  TMemoryStream stream;
  stream.WriteBuffer("HDR", 3);
  list.SaveToStream(stream);
  stream.SetPosition(3);
  TStringList back;
  back.LoadFromStream(stream);
  EXPECT_EQ(Lines(back), (std::vector<String>{L"first", L"second"})) << "reads from the position on";
}

// A component with a list of lines among its published properties.
class TLinesHolder : public TComponent {
  QORN_CLASS(TLinesHolder, TComponent)
 public:
  explicit TLinesHolder(TComponent* AOwner) : TComponent(AOwner) {}
  TStrings* GetLines() const { return const_cast<TStringList*>(&FLines); }

 private:
  static void Publish(TPublisher<TLinesHolder>& p) { p.Property(L"Lines", &TLinesHolder::GetLines); }
  TStringList FLines;
};

TEST(StringList, LinesInAFormResourceReadAndWriteBack) {
  TLinesHolder holder(nullptr);
  holder.GetLines()->Add(L"stale");
  ReadComponentFromText(&holder,
                        "object Holder: TLinesHolder\n"
                        "  Lines.Strings = (\n"
                        "    'first line'\n"
                        "    ''\n"
                        "    'it''s \xD0\x96')\n"
                        "end\n",
                        L"HOLDER");
  EXPECT_EQ(Lines(*holder.GetLines()), (std::vector<String>{L"first line", L"", L"it's \u0416"}));
  const std::string written = WriteComponentToText(&holder);
  TLinesHolder again(nullptr);
  ReadComponentFromText(&again, written, L"WRITTEN");
  EXPECT_EQ(Lines(*again.GetLines()), Lines(*holder.GetLines())) << written;

  TLinesHolder empty(nullptr);
  EXPECT_EQ(WriteComponentToText(&empty).find("Strings"), std::string::npos) << "no lines, nothing written";
}

}  // namespace
