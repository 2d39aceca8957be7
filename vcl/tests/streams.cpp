#include <gtest/gtest.h>

#include <cstring>

#include "testing/TempDir.h"
#include "vcl/Streams.h"
#include "vcl/SysUtils.h"

namespace {

using qorn::testing::ReadFileBytes;
using qorn::testing::TempDir;
using qorn::testing::WriteFileBytes;

TEST(Streams, MemoryStreamReadsWritesAndSeeks) {
  TMemoryStream m;
  m.WriteBuffer("hello", 5);
  EXPECT_EQ(m.Size(), 5);
  EXPECT_EQ(m.Position(), 5);
  m.SetPosition(10);
  m.WriteBuffer("!", 1);
  EXPECT_EQ(m.Size(), 11) << "writing past the end extends with zeros";
  EXPECT_EQ(static_cast<const char*>(m.Memory())[7], '\0');
  EXPECT_EQ(m.Seek(-1, soEnd), 10);
  EXPECT_EQ(m.Seek(-100, soCurrent), 10) << "a seek before the start is refused";
  m.SetPosition(1);
  char buf[8] = {};
  EXPECT_EQ(m.Read(buf, 4), 4);
  EXPECT_STREQ(buf, "ello");
  m.SetPosition(9);
  EXPECT_EQ(m.Read(buf, 8), 2) << "a short read at the end";
  EXPECT_THROW(m.ReadBuffer(buf, 1), EReadError);
  m.SetSize(3);
  EXPECT_EQ(m.Position(), 3);
  m.Clear();
  EXPECT_EQ(m.Size(), 0);
}

TEST(Streams, FileStreamModes) {
  TempDir dir("streams");
  const String name = (dir / "data.bin").wstring();
  {
    TFileStream f(name, fmCreate);
    f.WriteBuffer("0123456789", 10);
  }
  EXPECT_EQ(ReadFileBytes(dir / "data.bin"), "0123456789");
  {
    TFileStream f(name, fmOpenWrite);  // no truncation
    f.Seek(2, soBeginning);
    f.WriteBuffer("ab", 2);
  }
  EXPECT_EQ(ReadFileBytes(dir / "data.bin"), "01ab456789");
  {
    TFileStream f(name, fmOpenReadWrite);
    EXPECT_EQ(f.Size(), 10);
    char c[3] = {};
    f.Seek(-3, soEnd);
    f.ReadBuffer(c, 2);
    EXPECT_EQ(std::string(c, 2), "78");
    f.SetSize(4);
    EXPECT_EQ(f.Size(), 4);
  }
  EXPECT_EQ(ReadFileBytes(dir / "data.bin"), "01ab");
  {
    TFileStream f(name, fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(f.Write("x", 1), 0) << "a read-only stream writes nothing";
    EXPECT_THROW(f.WriteBuffer("x", 1), EWriteError);
  }
  {
    TFileStream f(name, fmCreate);  // empties the file
  }
  EXPECT_EQ(ReadFileBytes(dir / "data.bin"), "");
}

TEST(Streams, OpenFailuresNameTheFile) {
  TempDir dir("streams");
  const String missing = (dir / "missing.bin").wstring();
  try {
    TFileStream f(missing, fmOpenRead);
    FAIL() << "opened a missing file";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message().rfind(L"Cannot open file \"" + missing + L"\". ", 0), 0u) << StringToUtf8(e.Message());
    EXPECT_GT(e.Message().size(), missing.size() + 20) << "with the system's reason";
  }
  EXPECT_THROW(TFileStream((dir / "no" / "x.bin").wstring(), fmCreate), EFCreateError);
  EXPECT_THROW(TFileStream(dir.path().wstring(), fmOpenRead), EFOpenError) << "a folder is no file";
}

TEST(Streams, CopyFromAndMemoryFiles) {
  TempDir dir("streams");
  std::string big(200000, '\0');
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
  WriteFileBytes(dir / "big.bin", big);
  TMemoryStream m;
  m.LoadFromFile((dir / "big.bin").wstring());
  ASSERT_EQ(m.Size(), static_cast<std::int64_t>(big.size()));
  EXPECT_EQ(std::memcmp(m.Memory(), big.data(), big.size()), 0);

  TMemoryStream part;
  m.SetPosition(100);
  EXPECT_EQ(part.CopyFrom(m, 50), 50);
  EXPECT_EQ(std::memcmp(part.Memory(), big.data() + 100, 50), 0);
  TMemoryStream all;
  EXPECT_EQ(all.CopyFrom(m, 0), static_cast<std::int64_t>(big.size())) << "0 copies the whole source";
  all.SaveToFile((dir / "copy.bin").wstring());
  EXPECT_EQ(ReadFileBytes(dir / "copy.bin"), big);
  TMemoryStream shortSource;
  shortSource.WriteBuffer("ab", 2);
  shortSource.SetPosition(0);
  EXPECT_THROW(part.CopyFrom(shortSource, 5), EReadError);
}

}  // namespace
