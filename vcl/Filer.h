// Reading components from form text, and writing them back.
//
// The reader, for the root and then each nested object in order:
//  - creates the object by class name, owned by the root, and names it (a root field of
//    that name, declared with p.Field, is set to it);
//  - calls its ReadState, which hands it the enclosing object (SetParentComponent, before
//    any value) and then reads its values in the order written, its events after its other
//    values (so setters that fire events find no handler yet), then its children;
//  - after the whole form, resolves component references by name and calls Loaded on
//    every object in creation order (root first); csLoading stays set until then.
// Names a class does not publish go to its DefineProperties: custom data and old names.
//
//   void TIntegerList::DefineProperties(TFiler& Filer) {
//     Filer.DefineProperty(L"Integers",
//       [this](TReader& r) { r.ReadListBegin(); while (!r.EndOfList()) Add(r.ReadInteger()); r.ReadListEnd(); },
//       [this](TWriter& w) { w.WriteListBegin(); for (int v : FItems) w.WriteInteger(v); w.WriteListEnd(); },
//       Count() > 0);
//     Filer.DefineProperty(L"OldName", [this](TReader& r) { SetNew(r.ReadBoolean()); }, nullptr, false);
//   }
//
// The writer stores only the values that differ from their defaults (TPropInfo::IsStored),
// custom data only when its HasData says so, and nothing of a property defined with no
// writer (old names are read, never written).
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "vcl/Classes.h"
#include "vcl/FormText.h"

class TFiler {
 public:
  using TReaderProc = std::function<void(TReader& Reader)>;
  using TWriterProc = std::function<void(TWriter& Writer)>;
  using TBinaryReadProc = std::function<void(const std::vector<uint8_t>& Data)>;
  using TBinaryWriteProc = std::function<void(std::vector<uint8_t>& Data)>;

  virtual ~TFiler() = default;
  virtual void DefineProperty(const std::wstring& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                              bool HasData) = 0;
  virtual void DefineBinaryProperty(const std::wstring& Name, const TBinaryReadProc& ReadData,
                                    const TBinaryWriteProc& WriteData, bool HasData) = 0;
  // There is no form inheritance: never an ancestor to compare with.
  TPersistent* Ancestor() const { return nullptr; }
  TComponent* Root() const { return FRoot; }

 protected:
  TComponent* FRoot = nullptr;
};

enum class TValueType { Null, Integer, Float, String, Ident, Set, List, Collection, Binary };

class TReader : public TFiler {
 public:
  explicit TReader(std::wstring ResourceName);

  // Reads a parsed form into Root, whose class must be the one the text names.
  void ReadRootComponent(TComponent* Root, const TFormObject& Tree);

  // The object nested objects are read into (SetParentComponent's argument).
  TComponent* Parent() const { return FParent; }
  TComponent* Owner() const { return FRoot; }
  const std::wstring& ResourceName() const { return FResource; }

  // Reads the values and children of the object being read (called by ReadState).
  void ReadData(TComponent* Instance);

  // Values of custom data (inside a DefineProperty reader). Each throws EFormReadError when
  // the next value has another type.
  TValueType NextValue() const;
  bool ReadBoolean();
  int32_t ReadInteger();
  int64_t ReadInt64();
  double ReadFloat();
  std::wstring ReadString();
  std::wstring ReadIdent();
  // The element names of a set value ("[a, b]"), as written.
  std::vector<std::wstring> ReadSet();
  void ReadListBegin();
  bool EndOfList() const;
  void ReadListEnd();

  void DefineProperty(const std::wstring& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const std::wstring& Name, const TBinaryReadProc& ReadData,
                            const TBinaryWriteProc& WriteData, bool HasData) override;

  [[noreturn]] void Error(int Line, const std::wstring& Text) const;

 private:
  struct Cursor {
    const TFormValue* Values;
    size_t Count;
    size_t Index;
  };
  struct Fixup {
    TObject* Instance;
    const TPropInfo* Prop;
    std::wstring Name;
    int Line;
  };

  TComponent* ReadComponent(const TFormObject& Node);
  void ReadProperties(TObject* Instance, const std::vector<TFormProperty>& Props, const std::wstring& Path);
  bool ReadProperty(TObject* Instance, const TFormProperty& Prop, const std::wstring& Path, bool Events);
  void SetValue(TObject* Target, const TPropInfo* Prop, const TFormValue& Value, const std::wstring& Where);
  void ReadCollection(TCollection* Collection, const TFormValue& Value, const std::wstring& Where);
  void ResolveFixups();
  TComponent* FindReference(const std::wstring& Name) const;
  const TFormValue& Current(const wchar_t* expected) const;
  void Advance();
  [[noreturn]] void ValueError(const wchar_t* expected) const;

  std::wstring FResource;
  TComponent* FParent = nullptr;
  const TFormObject* FNode = nullptr;
  std::vector<TComponent*> FLoaded;
  std::vector<Fixup> FFixups;
  // The custom value being read.
  const std::wstring* FDefineName = nullptr;
  const TFormValue* FDefineValue = nullptr;
  bool FDefineFound = false;
  std::vector<Cursor> FCursors;
  int FLine = 0;
};

class TWriter : public TFiler {
 public:
  TWriter() = default;

  TFormObject WriteRootComponent(TComponent* Root);

  // Values of custom data (inside a DefineProperty writer): exactly one value, or one list.
  void WriteBoolean(bool Value);
  void WriteInteger(int64_t Value);
  void WriteFloat(double Value);
  void WriteString(const std::wstring& Value);
  void WriteIdent(const std::wstring& Value);
  void WriteListBegin();
  void WriteListEnd();

  void DefineProperty(const std::wstring& Name, const TReaderProc& ReadData, const TWriterProc& WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const std::wstring& Name, const TBinaryReadProc& ReadData,
                            const TBinaryWriteProc& WriteData, bool HasData) override;

 private:
  TFormObject WriteComponent(TComponent* Instance, int Depth);
  void WriteProperties(TObject* Instance, const std::wstring& Prefix, std::vector<TFormProperty>& Out, int Depth);
  bool WriteValue(TObject* Instance, const TPropInfo* Prop, TFormValue& Value, int Depth);
  std::wstring ReferenceName(const TComponent* C) const;
  void Put(TFormValue Value);

  std::wstring FPrefix;
  std::vector<TFormProperty>* FOut = nullptr;
  std::vector<TFormValue*> FTargets;  // where the next custom value goes
  TFormValue* FCustom = nullptr;
  bool FCustomWritten = false;
};

// Parses `Text` (a form resource's text) and reads it into Root.
void ReadComponentFromText(TComponent* Root, std::string_view Text, const std::wstring& ResourceName);
// The form text of Root and everything it writes as children.
std::string WriteComponentToText(TComponent* Root);
