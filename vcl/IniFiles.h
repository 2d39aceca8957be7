// INI files through the system's profile functions (Windows only): every call reads
// or writes the file itself, so other programs and other TIniFile objects see the
// same file. The name should be a full path: a bare name means a file in the Windows
// folder to the profile functions.
#pragma once
#include "vcl/Exceptions.h"
#include "vcl/StringList.h"
#include "vcl/System.h"

VCL_DECLARE_EXCEPTION(EIniFileException, Exception);

class TIniFile : public TObject {
  QORN_CLASS(TIniFile, TObject)
 public:
  explicit TIniFile(const String& FileName) : FFileName(FileName) {}
  const String& FileName() const { return FFileName; }

  // Values of any length; the default when the section or the name is absent.
  String ReadString(const String& Section, const String& Ident, const String& Default) const;
  // Decimal, or hex after "$" or "0x"; the default for anything else.
  int ReadInteger(const String& Section, const String& Ident, int Default) const;
  bool ReadBool(const String& Section, const String& Ident, bool Default) const;
  // Raise EIniFileException "Unable to write to FILE" when the file cannot be written.
  void WriteString(const String& Section, const String& Ident, const String& Value);
  void WriteInteger(const String& Section, const String& Ident, int Value);
  void WriteBool(const String& Section, const String& Ident, bool Value);

  // The names of a section, or its name=value lines in file order (duplicates kept);
  // both replace what Strings held.
  void ReadSection(const String& Section, TStrings& Strings) const;
  void ReadSectionValues(const String& Section, TStrings& Strings) const;
  void ReadSections(TStrings& Strings) const;
  void EraseSection(const String& Section);
  void DeleteKey(const String& Section, const String& Ident);
  // Writes cached changes to the disk.
  void UpdateFile();

 private:
  String FFileName;
};
