#include "controls/extended/VyIntLst.h"

#include "vcl/Filer.h"

#include <algorithm>

namespace Vy {

namespace {
constexpr const wchar_t* kDuplicates = L"Duplicates not allowed";
constexpr const wchar_t* kOutOfRange = L"Value must be within %d..%d";
constexpr const wchar_t* kBelowMin = L"Unable to set new minimum value.\rList contains values below %d";
constexpr const wchar_t* kAboveMax = L"Unable to set new maximum value.\rList contains values above %d";
}  // namespace

void TVyIntegerList::CheckRange(int32_t v) const {
  if (!InRange(v)) throw EOutOfRange(kOutOfRange, {FMin, FMax});
}

void TVyIntegerList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) throw EListError(SListIndexError, {index});
}

void TVyIntegerList::CheckUnsorted() const {
  if (FSorted) throw EListError(SSortedListError);
}

int32_t TVyIntegerList::Get(int index) const {
  CheckIndex(index);
  return FItems[size_t(index)];
}

bool TVyIntegerList::Find(int32_t value, int& index) const {
  int lo = 0, hi = Count() - 1;
  bool found = false;
  while (lo <= hi) {
    const int mid = (lo + hi) / 2;
    if (FItems[size_t(mid)] < value) {
      lo = mid + 1;
    } else {
      hi = mid - 1;
      if (FItems[size_t(mid)] == value) {
        found = true;
        // Under dupAccept the search goes on to the first of the equal values.
        if (FDuplicates != dupAccept) lo = mid;
      }
    }
  }
  index = lo;
  return found;
}

void TVyIntegerList::Put(int index, int32_t value) {
  CheckUnsorted();
  CheckIndex(index);
  CheckRange(value);
  FItems[size_t(index)] = value;
}

void TVyIntegerList::Sort() {
  if (FSorted || Count() < 2) return;
  std::sort(FItems.begin(), FItems.end());
}

int TVyIntegerList::Add(int32_t value) {
  int index = Count();
  if (FSorted && Find(value, index)) {
    if (FDuplicates == dupIgnore) return index;
    if (FDuplicates == dupError) throw EListError(kDuplicates);
  }
  InsertAt(index, value);
  return index;
}

void TVyIntegerList::AddIntegers(const TVyIntegerList& other) {
  // A copy, so a list that adds itself adds each of its values once.
  const std::vector<int32_t> values = other.FItems;
  for (int32_t v : values) Add(v);
}

void TVyIntegerList::Delete(int index) {
  CheckIndex(index);
  FItems.erase(FItems.begin() + index);
}

void TVyIntegerList::Exchange(int index1, int index2) {
  CheckUnsorted();
  CheckIndex(index1);
  CheckIndex(index2);
  std::swap(FItems[size_t(index1)], FItems[size_t(index2)]);
}

int TVyIntegerList::IndexOf(int32_t value) const {
  if (FSorted) {
    int index = -1;
    return Find(value, index) ? index : -1;
  }
  const auto it = std::find(FItems.begin(), FItems.end(), value);
  return it == FItems.end() ? -1 : int(it - FItems.begin());
}

void TVyIntegerList::Insert(int index, int32_t value) {
  CheckUnsorted();
  InsertAt(index, value);
}

void TVyIntegerList::InsertAt(int index, int32_t value) {
  if (index < 0 || index > Count()) throw EListError(SListIndexError, {index});
  CheckRange(value);
  FItems.insert(FItems.begin() + index, value);
}

void TVyIntegerList::Move(int curIndex, int newIndex) {
  CheckUnsorted();
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  const int32_t v = FItems[size_t(curIndex)];
  FItems.erase(FItems.begin() + curIndex);
  FItems.insert(FItems.begin() + newIndex, v);
}

void TVyIntegerList::SetMin(int32_t value) {
  if (value == FMin) return;
  if (std::any_of(FItems.begin(), FItems.end(), [&](int32_t v) { return v < value; }))
    throw EOutOfRange(kBelowMin, {value});
  FMin = value;
  if (FMax < value) FMax = value;
}

void TVyIntegerList::SetMax(int32_t value) {
  if (value == FMax) return;
  if (std::any_of(FItems.begin(), FItems.end(), [&](int32_t v) { return v > value; }))
    throw EOutOfRange(kAboveMax, {value});
  FMax = value;
  if (value < FMin) FMin = value;
}

void TVyIntegerList::SetSorted(bool value) {
  if (value == FSorted) return;
  if (value) Sort();
  FSorted = value;
}

void TVyIntegerList::Assign(const TPersistent* Source) {
  auto* other = dynamic_cast<const TVyIntegerList*>(Source);
  if (!other) {
    TPersistent::Assign(Source);
    return;
  }
  // Built aside under this list's rules, so a value that fails leaves this list whole.
  TVyIntegerList result;
  result.FMin = FMin;
  result.FMax = FMax;
  result.FSorted = FSorted;
  result.FDuplicates = FDuplicates;
  result.AddIntegers(*other);
  FItems = std::move(result.FItems);
}

void TVyIntegerList::ReadIntegers(TReader& reader) {
  Clear();
  reader.ReadListBegin();
  while (!reader.EndOfList()) Add(reader.ReadInteger());
  reader.ReadListEnd();
}

void TVyIntegerList::WriteIntegers(TWriter& writer) const {
  writer.WriteListBegin();
  for (int32_t v : FItems) writer.WriteInteger(v);
  writer.WriteListEnd();
}

void TVyIntegerList::DefineProperties(TFiler& Filer) {
  TPersistent::DefineProperties(Filer);
  Filer.DefineProperty(
      L"Min", [this](TReader& r) { SetMin(r.ReadInteger()); }, [this](TWriter& w) { w.WriteInteger(FMin); }, FMin != 0);
  Filer.DefineProperty(
      L"Max", [this](TReader& r) { SetMax(r.ReadInteger()); }, [this](TWriter& w) { w.WriteInteger(FMax); }, FMax != 0);
  // There is no form inheritance here, so no ancestor's list to compare with.
  Filer.DefineProperty(
      L"Integers", [this](TReader& r) { ReadIntegers(r); }, [this](TWriter& w) { WriteIntegers(w); }, Count() > 0);
}

}  // namespace Vy
