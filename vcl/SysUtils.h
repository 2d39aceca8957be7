// Runtime routines with the platform's semantics: text, numbers, file names and files.
//
// Positions are 1-based where the platform's are (Pos, Copy, Delete, Insert): Pos
// gives 0 for "not found". Case-insensitive comparisons of the plain routines
// (SameText, CompareText, UpperCase, LowerCase) fold ASCII letters only; the Ansi
// ones follow the user's locale. The text routines take UI text and, for records
// and files, single-byte text (std::string) alike.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "vcl/DateUtils.h"
#include "vcl/Exceptions.h"
#include "vcl/Format.h"
#include "vcl/FormatSettings.h"
#include "vcl/System.h"

// ---- Text ---------------------------------------------------------------------

// Trim drops characters up to and including the blank (controls too) at the ends.
String Trim(const String& s);
String TrimLeft(const String& s);
String TrimRight(const String& s);
std::string Trim(const std::string& s);
std::string TrimLeft(const std::string& s);
std::string TrimRight(const std::string& s);

String UpperCase(const String& s);
String LowerCase(const String& s);
std::string UpperCase(const std::string& s);
std::string LowerCase(const std::string& s);
String AnsiUpperCase(const String& s);
String AnsiLowerCase(const String& s);

// < 0, 0 or > 0, as the first sorts before, with or after the second.
int CompareStr(const String& a, const String& b);
int CompareText(const String& a, const String& b);
int CompareText(const std::string& a, const std::string& b);
bool SameText(const String& a, const String& b);
bool SameText(const std::string& a, const std::string& b);
int AnsiCompareStr(const String& a, const String& b);
int AnsiCompareText(const String& a, const String& b);
bool AnsiSameText(const String& a, const String& b);

// 1-based position of sub in s, 0 when absent (and for an empty sub).
std::size_t Pos(const String& sub, const String& s);
std::size_t Pos(const std::string& sub, const std::string& s);
// Count characters from the 1-based index; out-of-range parts are clipped.
String Copy(const String& s, std::ptrdiff_t index, std::ptrdiff_t count);
std::string Copy(const std::string& s, std::ptrdiff_t index, std::ptrdiff_t count);
void Delete(String& s, std::ptrdiff_t index, std::ptrdiff_t count);
void Delete(std::string& s, std::ptrdiff_t index, std::ptrdiff_t count);
// Inserts before the 1-based index (past the end appends).
void Insert(const String& sub, String& s, std::ptrdiff_t index);
void Insert(const std::string& sub, std::string& s, std::ptrdiff_t index);

enum TReplaceFlag : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };
using TReplaceFlags = unsigned;
String StringReplace(const String& s, const String& oldPattern, const String& newPattern, TReplaceFlags flags);
std::string StringReplace(const std::string& s, const std::string& oldPattern, const std::string& newPattern,
                          TReplaceFlags flags);

// Quotes s with the quote character, doubling the quotes inside.
String AnsiQuotedStr(const String& s, wchar_t quote);

// ---- Numbers ------------------------------------------------------------------

String IntToStr(std::int64_t value);
// Upper-case hex with at least `digits` digits; negative values in two's complement
// of their 32 (or, when they need it, 64) bits.
String IntToHex(std::int64_t value, int digits);

// Reads a whole 32-bit integer: leading blanks, a sign, decimal digits or hex after
// "$", "0x" or "x". Raises EConvertError "'s' is not a valid integer value".
int StrToInt(const String& s);
int StrToIntDef(const String& s, int defaultValue);
bool TryStrToInt(const String& s, int& value);
std::int64_t StrToInt64(const String& s);
std::int64_t StrToInt64Def(const String& s, std::int64_t defaultValue);
bool TryStrToInt64(const String& s, std::int64_t& value);

// Nearest integer, halves to even (2.5 -> 2, 3.5 -> 4). Raises EConvertError for a
// value that is not a number or is out of the 64-bit range, rather than give garbage.
std::int64_t Round(double value);
std::int64_t Trunc(double value);
double Frac(double value);
// a * b / c rounded to the nearest integer in 64-bit arithmetic; -1 when c is 0 or
// the result does not fit 32 bits. The Windows build uses the system's own.
#ifdef _WIN32
extern "C" __declspec(dllimport) int __stdcall MulDiv(int nNumber, int nNumerator, int nDenominator);
#else
int MulDiv(int a, int b, int c);
#endif

// Pseudo-random numbers from one seedable generator: Random(n) is 0..n-1 (0 for
// n <= 0), Random() is in [0, 1). Randomize seeds from the clock; tests call
// SetRandSeed for a known sequence.
int Random(int n);
double Random();
void Randomize();
void SetRandSeed(std::uint32_t seed);

// ---- File names ---------------------------------------------------------------
// Both "\" and "/" separate folders (and ":" ends a drive); new separators are the
// platform's PathDelim.

#ifdef _WIN32
inline constexpr wchar_t PathDelim = L'\\';
#else
inline constexpr wchar_t PathDelim = L'/';
#endif

// The folder part with its trailing separator ("C:\a\b.txt" -> "C:\a\").
String ExtractFilePath(const String& fileName);
// The folder part without the trailing separator, except for a root ("C:\").
String ExtractFileDir(const String& fileName);
String ExtractFileName(const String& fileName);
// The extension with its dot (".txt"), or "" when the name has none.
String ExtractFileExt(const String& fileName);
String ChangeFileExt(const String& fileName, const String& extension);
String IncludeTrailingPathDelimiter(const String& path);
String ExcludeTrailingPathDelimiter(const String& path);

// ---- Files --------------------------------------------------------------------

bool FileExists(const String& fileName);  // a file, not a folder
bool DirectoryExists(const String& dir);
bool CreateDir(const String& dir);
// Creates the folder and every missing parent; true when the folder exists after.
bool ForceDirectories(const String& dir);
bool DeleteFile(const String& fileName);
bool RenameFile(const String& oldName, const String& newName);
bool RemoveDir(const String& dir);

// File attributes as the system reports them.
enum : int {
  faReadOnly = 0x01,
  faHidden = 0x02,
  faSysFile = 0x04,
  faVolumeID = 0x08,
  faDirectory = 0x10,
  faArchive = 0x20,
  faNormal = 0x80,
  faAnyFile = 0x1FF,
};

class TFindHandle;  // the open search, owned by the TSearchRec
struct TFindHandleCloser {
  void operator()(TFindHandle* handle) const;
};

struct TSearchRec {
  String Name;       // the name alone, without the folder
  int Attr = 0;      // every attribute bit: test faDirectory with "&"
  std::int64_t Size = 0;
  int ExcludeAttr = 0;
  std::unique_ptr<TFindHandle, TFindHandleCloser> FindHandle;
};

// Lists the entries of a folder that match the mask of `path` ("C:\dir\*.txt").
// Entries with the hidden, system or directory attribute are skipped unless `attr`
// asks for them; "." and ".." come as folders. 0 when an entry was found, else an
// error code; FindClose ends the search (the record's destructor does too).
int FindFirst(const String& path, int attr, TSearchRec& rec);
int FindNext(TSearchRec& rec);
void FindClose(TSearchRec& rec);

