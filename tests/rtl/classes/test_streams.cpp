#include <gtest/gtest.h>

#include <sys/stat.h>

#include <functional>
#include <memory>

#include "TempDir.h"
#include "rtl/Exceptions.h"
#include "rtl/Streams.h"

using namespace rtl;

namespace {

// The same checks run against every stream kind that can be written.
struct StreamKind {
  const char* name;
  std::function<std::unique_ptr<TStream>(const rtl_test::TempDir&)> make;
};

std::vector<StreamKind> StreamKinds() {
  return {
      {"memory", [](const rtl_test::TempDir&) { return std::make_unique<TMemoryStream>(); }},
      {"string", [](const rtl_test::TempDir&) { return std::make_unique<TStringStream>(); }},
      {"file",
       [](const rtl_test::TempDir& d) {
         return std::make_unique<TFileStream>(d / "stream.bin", fmCreate);
       }},
  };
}

AnsiString ReadAll(TStream& s) {
  s.SetPosition(0);
  AnsiString out(static_cast<size_t>(s.Size()), '\0');
  s.ReadBuffer(out.data(), static_cast<Integer>(out.size()));
  return out;
}

}  // namespace

TEST(Streams, ReadWriteSeekOnEveryKind) {
  rtl_test::TempDir dir;
  ASSERT_TRUE(dir.Valid());
  for (const StreamKind& kind : StreamKinds()) {
    SCOPED_TRACE(kind.name);
    auto s = kind.make(dir);
    EXPECT_EQ(s->Size(), 0);
    s->WriteBuffer("hello world", 11);
    EXPECT_EQ(s->Position(), 11);
    EXPECT_EQ(s->Size(), 11);

    EXPECT_EQ(s->Seek(-5, soFromEnd), 6);
    char buf[16] = {};
    EXPECT_EQ(s->Read(buf, 16), 5);  // a short read answers what it got
    EXPECT_EQ(AnsiString(buf, 5), "world");
    EXPECT_EQ(s->Read(buf, 4), 0);

    s->Seek(0, soFromBeginning);
    s->Seek(2, soFromCurrent);
    s->WriteBuffer("LL", 2);  // overwrite in the middle
    EXPECT_EQ(ReadAll(*s), "heLLo world");

    s->SetSize(5);
    EXPECT_EQ(s->Size(), 5);
    EXPECT_EQ(ReadAll(*s), "heLLo");

    // Writing past the end after a seek grows the stream.
    s->Seek(0, soFromEnd);
    s->WriteBuffer("!", 1);
    EXPECT_EQ(ReadAll(*s), "heLLo!");
  }
}

TEST(Streams, BufferErrors) {
  rtl_test::TempDir dir;
  for (const StreamKind& kind : StreamKinds()) {
    SCOPED_TRACE(kind.name);
    auto s = kind.make(dir);
    s->WriteBuffer("abc", 3);
    s->SetPosition(1);
    char buf[8];
    try {
      s->ReadBuffer(buf, 3);
      ADD_FAILURE() << "short ReadBuffer did not raise";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), "Stream read error");
    }
    s->ReadBuffer(buf, 0);  // nothing asked, nothing raised
  }

  // A file opened for reading cannot be written.
  rtl_test::WriteBytes(dir / "ro.bin", "data");
  TFileStream ro(dir / "ro.bin", fmOpenRead | fmShareDenyWrite);
  try {
    ro.WriteBuffer("x", 1);
    FAIL() << "write to a read-only stream did not raise";
  } catch (const EWriteError& e) {
    EXPECT_EQ(e.Message(), "Stream write error");
  }
}

TEST(Streams, FileStreamOpenAndCreateErrors) {
  rtl_test::TempDir dir;
  ASSERT_TRUE(dir.Valid());
  struct Case {
    const char* what;
    AnsiString path;
    Word mode;
    bool create;  // EFCreateError rather than EFOpenError
    const char* reason;
  };
  const std::vector<Case> cases = {
      {"open missing", dir / "missing.bin", fmOpenRead, false, "No such file or directory"},
      {"open missing for writing", dir / "missing.bin", fmOpenReadWrite, false,
       "No such file or directory"},
      {"open a folder", dir.Path(), fmOpenRead, false, "Is a directory"},
      {"create in missing folder", dir / "none/x.bin", fmCreate, true,
       "No such file or directory"},
      {"create over a folder", dir.Path(), fmCreate, true, "Is a directory"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      TFileStream f(c.path, c.mode);
      ADD_FAILURE() << "no exception";
    } catch (const EFCreateError& e) {
      EXPECT_TRUE(c.create) << e.Message();
      EXPECT_EQ(e.Message(), "Cannot create file \"" + c.path + "\". " + c.reason);
    } catch (const EFOpenError& e) {
      EXPECT_FALSE(c.create) << e.Message();
      EXPECT_EQ(e.Message(), "Cannot open file \"" + c.path + "\". " + c.reason);
    }
  }
}

TEST(Streams, FileModesAndCreateTruncates) {
  rtl_test::TempDir dir;
  rtl_test::WriteBytes(dir / "f.bin", "0123456789");
  {
    TFileStream rw(dir / "f.bin", fmOpenReadWrite);
    EXPECT_EQ(rw.Size(), 10);
    rw.Seek(3, soFromBeginning);
    rw.WriteBuffer("abc", 3);
  }
  EXPECT_EQ(rtl_test::ReadBytes(dir / "f.bin"), "012abc6789");
  {
    TFileStream w(dir / "f.bin", fmOpenWrite);
    w.WriteBuffer("XY", 2);
    char c;
    EXPECT_EQ(w.Read(&c, 1), 0);  // write-only
  }
  EXPECT_EQ(rtl_test::ReadBytes(dir / "f.bin"), "XY2abc6789");
  {
    TFileStream created(dir / "f.bin", fmCreate);
    EXPECT_EQ(created.Size(), 0);
    created.WriteBuffer("new", 3);
    EXPECT_EQ(ReadAll(created), "new");  // fmCreate is open for reading too
  }
  EXPECT_EQ(rtl_test::ReadBytes(dir / "f.bin"), "new");
}

TEST(Streams, CopyFromAndMemoryFiles) {
  rtl_test::TempDir dir;
  AnsiString big;
  for (int i = 0; i < 200000; ++i) big += static_cast<char>(i * 7);
  TStringStream source(big);
  TMemoryStream mem;
  source.SetPosition(5);
  EXPECT_EQ(mem.CopyFrom(source, 0), static_cast<Int64>(big.size()));  // 0: all, from the start
  EXPECT_EQ(AnsiString(static_cast<const char*>(mem.Memory()), mem.Size()), big);

  source.SetPosition(10);
  TMemoryStream part;
  EXPECT_EQ(part.CopyFrom(source, 100), 100);
  EXPECT_EQ(AnsiString(static_cast<const char*>(part.Memory()), 100), big.substr(10, 100));
  source.SetPosition(big.size() - 3);
  EXPECT_THROW(part.CopyFrom(source, 10), EReadError);

  mem.SaveToFile(dir / "mem.bin");
  EXPECT_EQ(rtl_test::ReadBytes(dir / "mem.bin"), big);
  TMemoryStream loaded;
  loaded.WriteBuffer("junk", 4);
  loaded.LoadFromFile(dir / "mem.bin");
  EXPECT_EQ(loaded.Position(), 0);
  EXPECT_EQ(loaded.Size(), static_cast<Int64>(big.size()));
  EXPECT_THROW(loaded.LoadFromFile(dir / "absent.bin"), EFOpenError);
  EXPECT_THROW(loaded.SaveToFile(dir / "absent/x.bin"), EFCreateError);

  TStringStream text("abcdef");
  text.SetPosition(2);
  EXPECT_EQ(text.ReadString(3), "cde");
  EXPECT_EQ(text.ReadString(10), "f");
  text.SetPosition(1);
  text.WriteString("XYZ");
  EXPECT_EQ(text.DataString(), "aXYZef");
  loaded.Clear();
  EXPECT_EQ(loaded.Size(), 0);
  EXPECT_EQ(loaded.Seek(-1, soFromBeginning), -1);
}
