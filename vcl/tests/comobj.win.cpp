#include "vcl/ComObj.h"

#include <gtest/gtest.h>
#include <shlobj.h>

TEST(ComObj, AFailedResultIsRaisedWithItsCodeAndASuccessPassesThrough) {
  EXPECT_EQ(OleCheck(S_FALSE), S_FALSE);
  try {
    OleCheck(E_NOINTERFACE);
    FAIL() << "no exception";
  } catch (const EOleSysError& e) {
    EXPECT_EQ(e.ErrorCode, E_NOINTERFACE);
    EXPECT_FALSE(e.Message().empty());
  }
}

TEST(ComObj, TheTestProgramStartsWithOleOnItsMainThread) {
  // As in Qorn.exe: a second initialisation only counts up.
  const HRESULT again = OleInitialize(nullptr);
  EXPECT_EQ(again, S_FALSE);
  if (SUCCEEDED(again)) OleUninitialize();
}

TEST(ComObj, AnOwnedInterfaceIsReleasedOnceWhenItsLastOwnerGoes) {
  TOleInitialization ole;
  ASSERT_TRUE(ole.Initialized());
  TComPtr<IShellLinkW> link;
  ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid()), S_OK);
  IShellLinkW* raw = link.Get();
  {
    TComPtr<IShellLinkW> copy = link;
    EXPECT_EQ(copy.Get(), raw);
    raw->AddRef();
    EXPECT_EQ(raw->Release(), 2u);  // link and copy
  }
  raw->AddRef();
  EXPECT_EQ(raw->Release(), 1u);  // the copy gave its reference back
  TComPtr<IPersistFile> file = link.As<IPersistFile>(IID_IPersistFile);
  EXPECT_TRUE(file);
  TComPtr<IShellFolder> none = link.As<IShellFolder>(IID_IShellFolder);
  EXPECT_FALSE(none);
}
