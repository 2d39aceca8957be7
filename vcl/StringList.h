// Lists of text lines: TStrings (the interface every list of lines offers, with
// virtual accessors so that a control can keep its lines in its window) and
// TStringList (lines kept in memory, optionally sorted).
//
// Lookups and sorting ignore case unless CaseSensitive is set. Each line carries a
// pointer-sized object slot (Objects), which the list never owns. Text and files use
// CR LF after every line; reading splits at CR, LF or CR LF. A bad index raises
// EStringListError "List index out of bounds (N)".
#pragma once
#include <functional>
#include <vector>

#include "vcl/Classes.h"
#include "vcl/Exceptions.h"
#include "vcl/Streams.h"
#include "vcl/System.h"

// How LoadFromFile found a file's text, and how SaveToFile writes it: the system
// code page, or Unicode with its byte-order mark.
enum class TTextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

class TStrings : public TPersistent {
  QORN_CLASS(TStrings, TPersistent)
 public:
  TStrings() = default;
  ~TStrings() override = default;

  // ---- The accessors a kind of list implements ----
  virtual int Count() const = 0;
  virtual String Get(int index) const = 0;
  virtual void Put(int index, const String& s);  // keeps the line's object
  virtual void* GetObject(int index) const;
  virtual void PutObject(int index, void* object);
  virtual void Insert(int index, const String& s) = 0;
  virtual void InsertObject(int index, const String& s, void* object);
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;

  // ---- Built on them ----
  String Strings(int index) const { return Get(index); }
  void SetStrings(int index, const String& s) { Put(index, s); }
  String operator[](int index) const { return Get(index); }
  void* Objects(int index) const { return GetObject(index); }
  void SetObjects(int index, void* object) { PutObject(index, object); }

  virtual int Add(const String& s);
  virtual int AddObject(const String& s, void* object);
  void AddStrings(const TStrings& strings);
  // Replaces the lines (and objects) with those of another list of lines; anything
  // else raises EAssignError.
  void Assign(const TPersistent* Source) override;
  void Assign(const TStrings& source) { Assign(static_cast<const TPersistent*>(&source)); }

  virtual int IndexOf(const String& s) const;
  int IndexOfObject(const void* object) const;
  // name=value lines: the first line whose name matches, -1 when none.
  int IndexOfName(const String& name) const;
  String Names(int index) const;  // the text before the first "=", "" without one
  String Values(const String& name) const;
  // An empty value deletes the line; otherwise the line is replaced or added.
  void SetValues(const String& name, const String& value);

  virtual void Move(int curIndex, int newIndex);
  virtual void Exchange(int index1, int index2);

  String Text() const;
  virtual void SetText(const String& text);
  // Items joined by ","; an item with a blank, a control character, a comma or a
  // quote is quoted ("a b"), quotes doubled. Reading splits at commas and at blanks
  // outside quotes.
  String CommaText() const;
  void SetCommaText(const String& text);

  // Raise EFOpenError / EFCreateError when the file cannot be opened.
  virtual void LoadFromFile(const String& fileName);
  virtual void SaveToFile(const String& fileName) const;
  // The whole stream from its position to its end.
  virtual void LoadFromStream(TStream& stream);
  virtual void SaveToStream(TStream& stream) const;
  TTextEncoding Encoding() const { return encoding_; }
  void SetEncoding(TTextEncoding encoding) { encoding_ = encoding; }

  // Updates between BeginUpdate and the matching EndUpdate are reported once.
  void BeginUpdate();
  void EndUpdate();

 protected:
  // Form resources keep the lines as "Items.Strings = ('a' 'b')" (vcl/StringsFiler.cpp).
  void DefineProperties(TFiler& Filer) override;
  virtual void SetUpdateState(bool /*updating*/) {}
  int UpdateCount() const { return updateCount_; }
  // The comparison of lookups (and of sorting in TStringList).
  virtual int CompareStrings(const String& a, const String& b) const;
  [[noreturn]] static void Error(const wchar_t* message, int data);
  void CheckIndex(int index, int count) const;

 private:
  int updateCount_ = 0;
  TTextEncoding encoding_ = TTextEncoding::Ansi;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
  QORN_CLASS(TStringList, TStrings)
 public:
  TStringList() = default;
  ~TStringList() override;

  int Count() const override { return static_cast<int>(items_.size()); }
  String Get(int index) const override;
  void Put(int index, const String& s) override;
  void* GetObject(int index) const override;
  void PutObject(int index, void* object) override;
  void Insert(int index, const String& s) override;
  void InsertObject(int index, const String& s, void* object) override;
  void Delete(int index) override;
  void Clear() override;
  int Add(const String& s) override;
  int AddObject(const String& s, void* object) override;
  int IndexOf(const String& s) const override;
  void Exchange(int index1, int index2) override;
  void Move(int curIndex, int newIndex) override;

  // Binary search of a sorted list: true when found, index = the first equal line,
  // else where s would go. An unsorted list is searched line by line.
  bool Find(const String& s, int& index) const;
  void Sort();
  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);  // setting it sorts the lines
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates d) { duplicates_ = d; }
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool caseSensitive);

  TNotifyEvent OnChange;    // after a change (once per outermost update)
  TNotifyEvent OnChanging;  // before a change
  // Each change line by line, as it happens (also inside an update), so a control
  // that shows the lines in its window changes only the lines that changed. Lines
  // moved by sorting come as one Reset: show them all anew.
  enum class TLineChange { Insert, Delete, Put, Clear, Reset };
  std::function<void(TLineChange kind, int index)> OnLineChange;

 protected:
  void SetUpdateState(bool updating) override;
  int CompareStrings(const String& a, const String& b) const override;
  virtual void Changed();
  virtual void Changing();
  void LineChanged(TLineChange kind, int index);

 private:
  struct Item {
    String text;
    void* object = nullptr;
  };
  void InsertItem(int index, const String& s, void* object);

  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  TDuplicates duplicates_ = dupIgnore;
};
