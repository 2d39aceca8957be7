// TVyIntegerList: a list of 32-bit integers that a control keeps as a streamed property
// (the tab stops of a list box), with an optional range, an optional sorted mode with a
// duplicates rule, and its own form data: "Min", "Max" and "Integers".
//
// Rules: the range is off while Min equals Max; otherwise every value stored lies within
// Min..Max. A sorted list stays sorted: the operations that would place a value by index
// (Put, Insert, Exchange, Move) raise on it. Every failing operation raises before it
// changes anything, Assign included.
#pragma once
#include "vcl/Classes.h"
#include "vcl/Exceptions.h"
#include "vcl/StringList.h"

#include <cstdint>
#include <vector>

namespace Vy {

VCL_DECLARE_EXCEPTION(EOutOfRange, EListError);

class TVyIntegerList : public TPersistent {
  QORN_CLASS(TVyIntegerList, TPersistent)
 public:
  TVyIntegerList() = default;

  int Count() const { return int(FItems.size()); }
  // Index errors are the list's own: EListError "List index out of bounds (n)".
  int32_t Get(int index) const;
  int32_t operator[](int index) const { return Get(index); }
  const std::vector<int32_t>& Values() const { return FItems; }

  virtual bool Find(int32_t value, int& index) const;
  virtual void Put(int index, int32_t value);
  // Ascending; a sorted list is so already.
  virtual void Sort();
  // Where the value now stands (sorted: where it was found, for dupIgnore).
  virtual int Add(int32_t value);
  virtual void AddIntegers(const TVyIntegerList& other);
  virtual void Clear() { FItems.clear(); }
  virtual void Delete(int index);
  virtual void Exchange(int index1, int index2);
  virtual int IndexOf(int32_t value) const;
  virtual void Insert(int index, int32_t value);
  // Inserts with the range and index checks only: the sorted order is the caller's.
  virtual void InsertAt(int index, int32_t value);
  virtual void Move(int curIndex, int newIndex);

  int32_t GetMin() const { return FMin; }
  // Raises, changing nothing, when a value held lies below the new minimum; raises Max
  // along when it would lie below.
  void SetMin(int32_t value);
  int32_t GetMax() const { return FMax; }
  void SetMax(int32_t value);
  bool GetSorted() const { return FSorted; }
  // Turning it on sorts the values first.
  void SetSorted(bool value);
  TDuplicates GetDuplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates value) { FDuplicates = value; }

  bool Equals(const TVyIntegerList& other) const { return FItems == other.FItems; }
  // From another integer list: its values through Add, under this list's own range,
  // order and duplicates rule.
  void Assign(const TPersistent* Source) override;

 protected:
  void DefineProperties(TFiler& Filer) override;

 private:
  bool InRange(int32_t v) const { return FMin == FMax || (FMin <= v && v <= FMax); }
  void CheckRange(int32_t v) const;
  void CheckIndex(int index) const;
  void CheckUnsorted() const;
  void ReadIntegers(TReader& reader);
  void WriteIntegers(TWriter& writer) const;

  std::vector<int32_t> FItems;
  int32_t FMin = 0;
  int32_t FMax = 0;
  bool FSorted = false;
  TDuplicates FDuplicates = dupIgnore;
};

}  // namespace Vy
