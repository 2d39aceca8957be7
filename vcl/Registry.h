// The registry (Windows only): one open key at a time under a root key.
//
//   TRegistry reg;                       // HKEY_CURRENT_USER, full access
//   reg.SetAccess(KEY_READ | KEY_WOW64_32KEY);   // the 32-bit programs' view
//   if (reg.OpenKeyReadOnly(L"\\Software\\Winamp")) path = reg.ReadString(L"");
//
// Key paths starting with "\" are from the root; others are below the open key.
#pragma once
#include "vcl/Classes.h"
#include "vcl/Exceptions.h"
#include "vcl/StringList.h"
#include "vcl/System.h"
#include "vcl/Win.h"

class TRegistry : public TObject {
  QORN_CLASS(TRegistry, TObject)
 public:
  explicit TRegistry(REGSAM AAccess = KEY_ALL_ACCESS) : FAccess(AAccess) {}
  ~TRegistry() override;

  HKEY RootKey() const { return FRootKey; }
  void SetRootKey(HKEY Value);  // closes the open key
  REGSAM Access() const { return FAccess; }
  void SetAccess(REGSAM Value) { FAccess = Value; }
  HKEY CurrentKey() const { return FCurrentKey; }
  const String& CurrentPath() const { return FCurrentPath; }

  // Opens (and with CanCreate creates) the key with Access; false when it cannot.
  bool OpenKey(const String& Key, bool CanCreate);
  // Opens with read rights only, keeping Access's 32/64-bit view.
  bool OpenKeyReadOnly(const String& Key);
  void CloseKey();
  bool KeyExists(const String& Key);
  // Deletes the key with everything below it.
  bool DeleteKey(const String& Key);
  void GetKeyNames(TStrings& Strings) const;
  void GetValueNames(TStrings& Strings) const;

  bool ValueExists(const String& Name) const;
  // The data's size in bytes, -1 when the value is absent.
  int GetDataSize(const String& Name) const;
  // "" for an absent value; ERegistryException "Invalid data type for 'NAME'" for a
  // value that is not text.
  String ReadString(const String& Name) const;
  // ERegistryException "Failed to get data for 'NAME'" when absent, "Invalid data
  // type for 'NAME'" when not a number.
  int ReadInteger(const String& Name) const;
  bool ReadBool(const String& Name) const { return ReadInteger(Name) != 0; }
  // Copies at most BufSize bytes; the bytes copied.
  int ReadBinaryData(const String& Name, void* Buffer, int BufSize) const;
  // ERegistryException "Failed to set data for 'NAME'" on failure.
  void WriteString(const String& Name, const String& Value);
  void WriteInteger(const String& Name, int Value);
  void WriteBool(const String& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }
  bool DeleteValue(const String& Name);

 private:
  // The key to open Key from, and the path below it.
  HKEY BaseFor(const String& Key, String& relative) const;
  String JoinPath(const String& Key) const;
  [[noreturn]] static void Fail(const wchar_t* format, const String& name);

  HKEY FRootKey = HKEY_CURRENT_USER;
  HKEY FCurrentKey = nullptr;
  String FCurrentPath;
  REGSAM FAccess;
};
