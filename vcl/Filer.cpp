#include "vcl/Filer.h"
#include "vcl/ScopeGuards.h"

#include <cmath>

namespace {

std::wstring Widen(const char* s) {
  std::wstring w;
  for (; *s; ++s) w.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*s)));
  return w;
}

std::wstring Join(const std::wstring& path, const std::wstring& name) {
  return path.empty() ? name : path + L"." + name;
}

std::vector<std::wstring> SplitDots(const std::wstring& s) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  for (;;) {
    size_t dot = s.find(L'.', start);
    parts.push_back(s.substr(start, dot == std::wstring::npos ? std::wstring::npos : dot - start));
    if (dot == std::wstring::npos) break;
    start = dot + 1;
  }
  return parts;
}

constexpr int MaxWriteDepth = MaxFormNesting;

}  // namespace

// The streaming hook of TComponent lives here, beside the reader it serves.
void TComponent::ReadState(TReader& Reader) {
  if (Reader.Parent()) SetParentComponent(Reader.Parent());
  Reader.ReadData(this);
}

// ---------------------------------------------------------------------------------------
TReader::TReader(std::wstring ResourceName) : FResource(std::move(ResourceName)) {}

void TReader::Error(int Line, const std::wstring& Text) const { throw EFormReadError(FResource, Line, Text); }

void TReader::ReadRootComponent(TComponent* Root, const TFormObject& Tree) {
  FRoot = Root;
  if (!SameIdent(Tree.ClassName, Root->ClassName()))
    Error(Tree.Line, L"The form describes a " + Tree.ClassName + L", not a " + Root->ClassName());
  // The classes of the form's component fields are registered by being reached.
  for (const TFieldInfo* f : Root->ClassType().Fields()) f->FieldClass();

  {
    // A read that fails leaves no component marked as still being read.
    const TOnFailure unmarked([this] {
      for (TComponent* c : FLoaded) {
        c->SetComponentState(csReading, false);
        c->SetComponentState(csLoading, false);
      }
    });
    Root->SetComponentState(csLoading, true);
    Root->SetComponentState(csReading, true);
    FLoaded.push_back(Root);
    if (!Tree.Name.empty() && Root->Name().empty()) {
      // A second instance of a form under the same owner becomes "Form_1", "Form_2"...
      std::wstring name = Tree.Name;
      TComponent* owner = Root->Owner();
      for (int n = 1; owner && owner->FindComponent(name) && owner->FindComponent(name) != Root; ++n)
        name = Tree.Name + L"_" + std::to_wstring(n);
      try {
        Root->SetName(name);
      } catch (const Exception& e) {
        Error(Tree.Line, e.Message());
      }
    }
    FParent = nullptr;
    FNode = &Tree;
    Root->ReadState(*this);
    ResolveFixups();
  }
  for (TComponent* c : FLoaded) c->SetComponentState(csReading, false);
  for (TComponent* c : FLoaded) {
    c->Loaded();
    c->SetComponentState(csLoading, false);
  }
}

void TReader::ReadData(TComponent* Instance) {
  const TFormObject& node = *FNode;
  ReadProperties(Instance, node.Properties, Instance->Name().empty() ? Instance->ClassName() : Instance->Name());
  TComponent* saveParent = FParent;
  FParent = Instance->GetChildParent();
  for (const TFormObject& child : node.Children) ReadComponent(child);
  FParent = saveParent;
  FNode = &node;
}

TComponent* TReader::ReadComponent(const TFormObject& Node) {
  const TClassInfo* cls = FindClass(Node.ClassName);
  if (!cls) Error(Node.Line, L"Class " + Node.ClassName + L" not found");
  if (!cls->Factory() || !cls->InheritsFrom(TComponent::StaticClass()))
    Error(Node.Line, L"Class " + Node.ClassName + L" cannot be created from a form");
  TComponent* c = nullptr;
  try {
    c = cls->Factory()(FRoot);
  } catch (const Exception& e) {
    Error(Node.Line, L"Error creating " + Node.ClassName + L": " + e.Message());
  } catch (const std::exception& e) {
    Error(Node.Line, L"Error creating " + Node.ClassName + L": " + Widen(e.what()));
  }
  c->SetComponentState(csLoading, true);
  c->SetComponentState(csReading, true);
  FLoaded.push_back(c);
  if (!Node.Name.empty()) {
    try {
      c->SetName(Node.Name);
    } catch (const Exception& e) {
      Error(Node.Line, e.Message());
    }
    if (const TFieldInfo* f = FRoot->ClassType().FindField(Node.Name)) {
      if (!f->Set(FRoot, c))
        Error(Node.Line, L"Field " + Node.Name + L" of " + FRoot->ClassName() + L" cannot hold a " + Node.ClassName);
    }
  }
  const TFormObject* saveNode = FNode;
  FNode = &Node;
  c->ReadState(*this);
  FNode = saveNode;
  return c;
}

void TReader::ReadProperties(TObject* Instance, const std::vector<TFormProperty>& Props, const std::wstring& Path) {
  for (const TFormProperty& p : Props) ReadProperty(Instance, p, Path, false);
  // Events last, so that setters run while reading fire no handler.
  for (const TFormProperty& p : Props) ReadProperty(Instance, p, Path, true);
}

bool TReader::ReadProperty(TObject* Instance, const TFormProperty& Prop, const std::wstring& Path, bool Events) {
  std::vector<std::wstring> parts = SplitDots(Prop.Name);
  std::wstring where = Path;
  TObject* target = Instance;
  auto missing = [&](const std::wstring& name) {
    Error(Prop.Line, L"Error reading " + Join(Path, Prop.Name) + L": Property " + name + L" does not exist");
  };
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    const TPropInfo* pi = target->ClassType().FindProperty(parts[i]);
    if (!pi || pi->Kind() != TTypeKind::Class) {
      if (Events) return false;
      missing(parts[i]);
    }
    TObject* sub = pi->GetObject(target);
    if (!sub) {
      if (Events) return false;
      Error(Prop.Line, L"Error reading " + Join(Path, Prop.Name) + L": " + parts[i] + L" is nil");
    }
    where = Join(where, parts[i]);
    target = sub;
  }
  const std::wstring& last = parts.back();
  if (const TPropInfo* pi = target->ClassType().FindProperty(last)) {
    if ((pi->Kind() == TTypeKind::Method) != Events) return false;
    SetValue(target, pi, Prop.Value, where);
    return true;
  }
  if (Events) return false;
  auto* persistent = dynamic_cast<TPersistent*>(target);
  if (!persistent) missing(last);
  std::wstring full = Join(Path, Prop.Name);
  FDefineName = &last;
  FDefineValue = &Prop.Value;
  FDefineFound = false;
  FLine = Prop.Line;
  const TOnExit defined([this] {
    FDefineName = nullptr;
    FDefineValue = nullptr;
    FCursors.clear();
  });
  try {
    persistent->DefineProperties(*this);
  } catch (const EFormReadError&) {
    throw;
  } catch (const Exception& e) {
    Error(Prop.Line, L"Error reading " + full + L": " + e.Message());
  } catch (const std::exception& e) {
    Error(Prop.Line, L"Error reading " + full + L": " + Widen(e.what()));
  }
  if (!FDefineFound) missing(last);
  return true;
}

void TReader::SetValue(TObject* Target, const TPropInfo* Prop, const TFormValue& Value, const std::wstring& Where) {
  std::wstring full = Join(Where, Prop->Name());
  auto fail = [&](const std::wstring& why) { Error(Value.Line, L"Error reading " + full + L": " + why); };
  auto setOrd = [&](int64_t n) {
    if (n < Prop->MinValue() || n > Prop->MaxValue()) fail(L"Value " + std::to_wstring(n) + L" is out of range");
    Prop->SetOrd(Target, n);
  };
  try {
    switch (Prop->Kind()) {
      case TTypeKind::Integer: {
        int64_t n = 0;
        if (Value.Kind == TFormValueKind::Integer)
          setOrd(Value.Integer);
        else if (Value.Kind == TFormValueKind::Ident && Prop->Idents() && Prop->Idents()->FromIdent &&
                 Prop->Idents()->FromIdent(Value.Text, n))
          setOrd(n);
        else
          fail(L"Invalid property value");
        break;
      }
      case TTypeKind::Bool:
        if (Value.Kind == TFormValueKind::Ident && SameIdent(Value.Text, L"True"))
          Prop->SetOrd(Target, 1);
        else if (Value.Kind == TFormValueKind::Ident && SameIdent(Value.Text, L"False"))
          Prop->SetOrd(Target, 0);
        else
          fail(L"Invalid property value");
        break;
      case TTypeKind::Enum: {
        int n = Value.Kind == TFormValueKind::Ident ? Prop->Enum()->ValueOf(Value.Text) : -1;
        if (n < 0) fail(L"Invalid property value");
        Prop->SetOrd(Target, n);
        break;
      }
      case TTypeKind::Set: {
        if (Value.Kind != TFormValueKind::Set) fail(L"Invalid property value");
        uint64_t bits = 0;
        for (const std::wstring& name : Value.Names) {
          int n = Prop->Enum()->ValueOf(name);
          if (n < 0 || n >= 64) fail(L"Invalid set element " + name);
          bits |= uint64_t{1} << n;
        }
        Prop->SetOrd(Target, static_cast<int64_t>(bits));
        break;
      }
      case TTypeKind::Float:
        if (Value.Kind == TFormValueKind::Float)
          Prop->SetFloat(Target, Value.Float);
        else if (Value.Kind == TFormValueKind::Integer)
          Prop->SetFloat(Target, static_cast<double>(Value.Integer));
        else
          fail(L"Invalid property value");
        break;
      case TTypeKind::String:
        if (Value.Kind != TFormValueKind::String) fail(L"Invalid property value");
        Prop->SetString(Target, Value.Text);
        break;
      case TTypeKind::Class: {
        auto* collection = dynamic_cast<TCollection*>(Prop->GetObject(Target));
        if (Value.Kind != TFormValueKind::Collection || !collection) fail(L"Invalid property value");
        ReadCollection(collection, Value, full);
        break;
      }
      case TTypeKind::Component:
        if (Value.Kind != TFormValueKind::Ident) fail(L"Invalid property value");
        if (SameIdent(Value.Text, L"nil"))
          Prop->SetObject(Target, nullptr);
        else
          FFixups.push_back({Target, Prop, Value.Text, Value.Line});
        break;
      case TTypeKind::Method: {
        if (Value.Kind != TFormValueKind::Ident) fail(L"Invalid property value");
        const THandlerInfo* h = FRoot->ClassType().FindHandler(Value.Text);
        if (!h) fail(L"Handler " + Value.Text + L" not found in " + FRoot->ClassName());
        Prop->SetMethod(Target, h->Bind(FRoot), h->Signature);
        break;
      }
    }
  } catch (const EFormReadError&) {
    throw;
  } catch (const Exception& e) {
    fail(e.Message());
  } catch (const std::exception& e) {
    fail(Widen(e.what()));
  }
}

void TReader::ReadCollection(TCollection* Collection, const TFormValue& Value, const std::wstring& Where) {
  Collection->BeginUpdate();
  const TOnExit updated([Collection] { Collection->EndUpdate(); });
  Collection->Clear();
  for (size_t i = 0; i < Value.Items.size(); ++i) {
    TCollectionItem* item = Collection->Add();
    ReadProperties(item, Value.Items[i].Properties, Where + L"[" + std::to_wstring(i) + L"]");
  }
}

TComponent* TReader::FindReference(const std::wstring& Name) const {
  size_t dot = Name.find(L'.');
  if (dot == std::wstring::npos) {
    if (SameIdent(Name, FRoot->Name())) return FRoot;
    return FRoot->FindComponent(Name);
  }
  std::wstring first = Name.substr(0, dot), rest = Name.substr(dot + 1);
  if (SameIdent(first, FRoot->Name()) && rest.find(L'.') == std::wstring::npos) return FRoot->FindComponent(rest);
  return nullptr;
}

void TReader::ResolveFixups() {
  for (const Fixup& f : FFixups) {
    TComponent* c = FindReference(f.Name);
    std::wstring full = f.Prop->Name();
    if (!c) Error(f.Line, L"Error reading " + full + L": Component " + f.Name + L" not found");
    try {
      f.Prop->SetObject(f.Instance, c);
    } catch (const Exception& e) {
      Error(f.Line, L"Error reading " + full + L": " + e.Message());
    }
  }
  FFixups.clear();
}

// ---------------------------------------------------------------------------------------
void TReader::DefineProperty(const std::wstring& Name, const TReaderProc& ReadData, const TWriterProc&, bool) {
  if (!FDefineName || FDefineFound || !SameIdent(Name, *FDefineName)) return;
  FDefineFound = true;
  if (!ReadData) Error(FLine, L"Property " + Name + L" cannot be read");
  FCursors.assign(1, Cursor{FDefineValue, 1, 0});
  ReadData(*this);
  if (FCursors.size() != 1 || FCursors[0].Index != 1) Error(FLine, L"Invalid value of property " + Name);
}

void TReader::DefineBinaryProperty(const std::wstring& Name, const TBinaryReadProc& ReadData, const TBinaryWriteProc&,
                                   bool) {
  if (!FDefineName || FDefineFound || !SameIdent(Name, *FDefineName)) return;
  FDefineFound = true;
  if (!ReadData) Error(FLine, L"Property " + Name + L" cannot be read");
  if (FDefineValue->Kind != TFormValueKind::Binary) Error(FLine, L"Binary data expected for property " + Name);
  ReadData(FDefineValue->Bytes);
}

void TReader::ValueError(const wchar_t* expected) const {
  Error(FLine, std::wstring(expected) + L" expected");
}

const TFormValue& TReader::Current(const wchar_t* expected) const {
  if (FCursors.empty()) Error(FLine, L"No custom value is being read");
  const Cursor& c = FCursors.back();
  if (c.Index >= c.Count) ValueError(expected);
  return c.Values[c.Index];
}

void TReader::Advance() { ++FCursors.back().Index; }

TValueType TReader::NextValue() const {
  if (FCursors.empty() || FCursors.back().Index >= FCursors.back().Count) return TValueType::Null;
  switch (FCursors.back().Values[FCursors.back().Index].Kind) {
    case TFormValueKind::Integer: return TValueType::Integer;
    case TFormValueKind::Float: return TValueType::Float;
    case TFormValueKind::String: return TValueType::String;
    case TFormValueKind::Ident: return TValueType::Ident;
    case TFormValueKind::Set: return TValueType::Set;
    case TFormValueKind::List: return TValueType::List;
    case TFormValueKind::Collection: return TValueType::Collection;
    case TFormValueKind::Binary: return TValueType::Binary;
  }
  return TValueType::Null;
}

bool TReader::ReadBoolean() {
  const TFormValue& v = Current(L"Boolean");
  bool result;
  if (v.Kind == TFormValueKind::Ident && SameIdent(v.Text, L"True"))
    result = true;
  else if (v.Kind == TFormValueKind::Ident && SameIdent(v.Text, L"False"))
    result = false;
  else
    ValueError(L"Boolean");
  Advance();
  return result;
}

int64_t TReader::ReadInt64() {
  const TFormValue& v = Current(L"Integer");
  if (v.Kind != TFormValueKind::Integer) ValueError(L"Integer");
  Advance();
  return v.Integer;
}

int32_t TReader::ReadInteger() {
  const TFormValue& v = Current(L"Integer");
  if (v.Kind != TFormValueKind::Integer || v.Integer < INT32_MIN || v.Integer > INT32_MAX) ValueError(L"Integer");
  Advance();
  return static_cast<int32_t>(v.Integer);
}

double TReader::ReadFloat() {
  const TFormValue& v = Current(L"Number");
  double result;
  if (v.Kind == TFormValueKind::Float)
    result = v.Float;
  else if (v.Kind == TFormValueKind::Integer)
    result = static_cast<double>(v.Integer);
  else
    ValueError(L"Number");
  Advance();
  return result;
}

std::wstring TReader::ReadString() {
  const TFormValue& v = Current(L"String");
  if (v.Kind != TFormValueKind::String) ValueError(L"String");
  Advance();
  return v.Text;
}

std::wstring TReader::ReadIdent() {
  const TFormValue& v = Current(L"Identifier");
  if (v.Kind != TFormValueKind::Ident) ValueError(L"Identifier");
  Advance();
  return v.Text;
}

std::vector<std::wstring> TReader::ReadSet() {
  const TFormValue& v = Current(L"Set");
  if (v.Kind != TFormValueKind::Set) ValueError(L"Set");
  Advance();
  return v.Names;
}

void TReader::ReadListBegin() {
  const TFormValue& v = Current(L"List");
  if (v.Kind != TFormValueKind::List) ValueError(L"List");
  Advance();
  FCursors.push_back(Cursor{v.List.data(), v.List.size(), 0});
}

bool TReader::EndOfList() const { return FCursors.empty() || FCursors.back().Index >= FCursors.back().Count; }

void TReader::ReadListEnd() {
  if (FCursors.size() < 2) Error(FLine, L"No list is being read");
  if (!EndOfList()) ValueError(L"End of list");
  FCursors.pop_back();
}

// ---------------------------------------------------------------------------------------
TFormObject TWriter::WriteRootComponent(TComponent* Root) {
  FRoot = Root;
  Root->SetComponentState(csWriting, true);
  struct Clear {
    TComponent* c;
    ~Clear() { c->SetComponentState(csWriting, false); }
  } clear{Root};
  return WriteComponent(Root, 0);
}

TFormObject TWriter::WriteComponent(TComponent* Instance, int Depth) {
  if (Depth > MaxWriteDepth) throw EWriteError(L"Components nested too deeply to write");
  TFormObject node;
  node.Name = Instance->Name();
  node.ClassName = Instance->ClassName();
  WriteProperties(Instance, L"", node.Properties, Depth);
  Instance->GetChildren([&](TComponent* child) { node.Children.push_back(WriteComponent(child, Depth + 1)); }, FRoot);
  return node;
}

void TWriter::WriteProperties(TObject* Instance, const std::wstring& Prefix, std::vector<TFormProperty>& Out,
                              int Depth) {
  if (Depth > MaxWriteDepth) throw EWriteError(L"Objects nested too deeply to write");
  for (const TPropInfo* pi : Instance->ClassType().Properties()) {
    if (pi->Kind() == TTypeKind::Class) {
      if (!pi->StoredRule(Instance)) continue;
      TObject* sub = pi->GetObject(Instance);
      if (!sub) continue;
      if (auto* collection = dynamic_cast<TCollection*>(sub)) {
        if (collection->Count() == 0) continue;
        TFormProperty p;
        p.Name = Prefix + pi->Name();
        p.Value.Kind = TFormValueKind::Collection;
        for (int i = 0; i < collection->Count(); ++i) {
          TFormItem item;
          WriteProperties(collection->Items(i), L"", item.Properties, Depth + 1);
          p.Value.Items.push_back(std::move(item));
        }
        Out.push_back(std::move(p));
      } else {
        WriteProperties(sub, Prefix + pi->Name() + L".", Out, Depth + 1);
      }
      continue;
    }
    TFormProperty p;
    p.Name = Prefix + pi->Name();
    if (WriteValue(Instance, pi, p.Value, Depth)) Out.push_back(std::move(p));
  }
  if (auto* persistent = dynamic_cast<TPersistent*>(Instance)) {
    std::wstring savePrefix = FPrefix;
    std::vector<TFormProperty>* saveOut = FOut;
    FPrefix = Prefix;
    FOut = &Out;
    persistent->DefineProperties(*this);
    FPrefix = savePrefix;
    FOut = saveOut;
  }
}

bool TWriter::WriteValue(TObject* Instance, const TPropInfo* Prop, TFormValue& Value, int) {
  if (!Prop->IsStored(Instance)) return false;
  auto invalid = [&]() -> bool {
    throw EWriteError(L"Property " + Prop->Name() + L" of " + Instance->ClassName() + L" has a value that cannot be written");
  };
  switch (Prop->Kind()) {
    case TTypeKind::Integer: {
      int64_t n = Prop->GetOrd(Instance);
      std::wstring ident;
      if (Prop->Idents() && Prop->Idents()->ToIdent && Prop->Idents()->ToIdent(n, ident)) {
        Value.Kind = TFormValueKind::Ident;
        Value.Text = ident;
      } else {
        Value.Kind = TFormValueKind::Integer;
        Value.Integer = n;
      }
      return true;
    }
    case TTypeKind::Bool:
      Value.Kind = TFormValueKind::Ident;
      Value.Text = Prop->GetOrd(Instance) ? L"True" : L"False";
      return true;
    case TTypeKind::Enum:
      Value.Kind = TFormValueKind::Ident;
      Value.Text = Prop->Enum()->NameOf(Prop->GetOrd(Instance));
      if (Value.Text.empty()) invalid();
      return true;
    case TTypeKind::Set: {
      auto bits = static_cast<uint64_t>(Prop->GetOrd(Instance));
      Value.Kind = TFormValueKind::Set;
      for (int i = 0; i < 64; ++i) {
        if (!(bits & (uint64_t{1} << i))) continue;
        std::wstring name = Prop->Enum()->NameOf(i);
        if (name.empty()) invalid();
        Value.Names.push_back(name);
      }
      return true;
    }
    case TTypeKind::Float:
      Value.Kind = TFormValueKind::Float;
      Value.Float = Prop->GetFloat(Instance);
      if (!std::isfinite(Value.Float)) invalid();
      return true;
    case TTypeKind::String:
      Value.Kind = TFormValueKind::String;
      Value.Text = Prop->GetString(Instance);
      return true;
    case TTypeKind::Component: {
      auto* c = dynamic_cast<TComponent*>(Prop->GetObject(Instance));
      std::wstring name = c ? ReferenceName(c) : std::wstring();
      if (name.empty()) return false;
      Value.Kind = TFormValueKind::Ident;
      Value.Text = name;
      return true;
    }
    case TTypeKind::Method: {
      // Only the root's declared handlers have names; other callbacks are not stored.
      const THandlerInfo* h = FRoot->ClassType().FindHandlerOf(FRoot, Prop->GetMethod(Instance));
      if (!h) return false;
      Value.Kind = TFormValueKind::Ident;
      Value.Text = h->Name;
      return true;
    }
    case TTypeKind::Class:
      return false;
  }
  return false;
}

std::wstring TWriter::ReferenceName(const TComponent* C) const {
  if (C == FRoot) return FRoot->Name();
  if (C->Name().empty()) return {};
  if (C->Owner() == FRoot) return C->Name();
  if (C->Owner() && !C->Owner()->Name().empty()) return C->Owner()->Name() + L"." + C->Name();
  return {};
}

void TWriter::Put(TFormValue Value) {
  if (!FCustom) throw EWriteError(L"No custom property is being written");
  if (!FTargets.empty()) {
    FTargets.back()->List.push_back(std::move(Value));
    return;
  }
  if (FCustomWritten) throw EWriteError(L"A custom property wrote more than one value");
  *FCustom = std::move(Value);
  FCustomWritten = true;
}

void TWriter::WriteBoolean(bool Value) {
  TFormValue v;
  v.Kind = TFormValueKind::Ident;
  v.Text = Value ? L"True" : L"False";
  Put(std::move(v));
}

void TWriter::WriteInteger(int64_t Value) {
  TFormValue v;
  v.Kind = TFormValueKind::Integer;
  v.Integer = Value;
  Put(std::move(v));
}

void TWriter::WriteFloat(double Value) {
  if (!std::isfinite(Value)) throw EWriteError(L"A custom property wrote a number that cannot be written");
  TFormValue v;
  v.Kind = TFormValueKind::Float;
  v.Float = Value;
  Put(std::move(v));
}

void TWriter::WriteString(const std::wstring& Value) {
  TFormValue v;
  v.Kind = TFormValueKind::String;
  v.Text = Value;
  Put(std::move(v));
}

void TWriter::WriteIdent(const std::wstring& Value) {
  TFormValue v;
  v.Kind = TFormValueKind::Ident;
  v.Text = Value;
  Put(std::move(v));
}

void TWriter::WriteListBegin() {
  TFormValue v;
  v.Kind = TFormValueKind::List;
  Put(std::move(v));
  // The open list is the last value of its parent, which grows no more until it closes.
  FTargets.push_back(FTargets.empty() ? FCustom : &FTargets.back()->List.back());
}

void TWriter::WriteListEnd() {
  if (FTargets.empty()) throw EWriteError(L"WriteListEnd without WriteListBegin");
  FTargets.pop_back();
}

void TWriter::DefineProperty(const std::wstring& Name, const TReaderProc&, const TWriterProc& WriteData, bool HasData) {
  if (!HasData || !WriteData || !FOut) return;
  TFormProperty p;
  p.Name = FPrefix + Name;
  FCustom = &p.Value;
  FCustomWritten = false;
  FTargets.clear();
  const TOnExit defined([this] {
    FCustom = nullptr;
    FTargets.clear();
  });
  WriteData(*this);
  if (!FCustomWritten) throw EWriteError(L"Custom property " + Name + L" wrote no value");
  if (!FTargets.empty()) throw EWriteError(L"Custom property " + Name + L" left a list open");
  FOut->push_back(std::move(p));
}

void TWriter::DefineBinaryProperty(const std::wstring& Name, const TBinaryReadProc&, const TBinaryWriteProc& WriteData,
                                   bool HasData) {
  if (!HasData || !WriteData || !FOut) return;
  TFormProperty p;
  p.Name = FPrefix + Name;
  p.Value.Kind = TFormValueKind::Binary;
  WriteData(p.Value.Bytes);
  FOut->push_back(std::move(p));
}

// ---------------------------------------------------------------------------------------
void ReadComponentFromText(TComponent* Root, std::string_view Text, const std::wstring& ResourceName) {
  TFormObject tree = ParseFormText(Text, ResourceName);
  TReader reader(ResourceName);
  reader.ReadRootComponent(Root, tree);
}

std::string WriteComponentToText(TComponent* Root) {
  TWriter writer;
  return PrintFormText(writer.WriteRootComponent(Root));
}
