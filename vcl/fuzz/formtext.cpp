// Any bytes: the parser either gives a tree or an EFormReadError; a tree prints to text
// that parses to the same tree; the reader applies it to components or reports an error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "vcl/Filer.h"
#include "vcl/StringList.h"

QORN_ENUM(TFuzzMode, fmOff, fmOn, fmAuto);

namespace {

class TFuzzControl : public TComponent {
  QORN_CLASS(TFuzzControl, TComponent)
 public:
  explicit TFuzzControl(TComponent* AOwner) : TComponent(AOwner) {}
  TStringList* GetLines() const { return FLines.get(); }
  TFuzzControl* GetLink() const { return FLink; }
  void SetLink(TFuzzControl* v) { FLink = v; }
  void Clicked(TObject*) {}

  int Width = 0;
  uint8_t Small = 0;
  bool Flag = false;
  double Ratio = 0;
  std::wstring Caption;
  TFuzzMode Mode = fmOff;
  TSet<TFuzzMode> Modes;
  TNotifyEvent OnClick;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FLink) FLink = nullptr;
  }

 private:
  static void Publish(TPublisher<TFuzzControl>& p) {
    p.Property(L"Width", &TFuzzControl::Width);
    p.Property(L"Small", &TFuzzControl::Small).Default(0);
    p.Property(L"Flag", &TFuzzControl::Flag).Default(false);
    p.Property(L"Ratio", &TFuzzControl::Ratio);
    p.Property(L"Caption", &TFuzzControl::Caption);
    p.Property(L"Mode", &TFuzzControl::Mode).Default(fmOff);
    p.Property(L"Modes", &TFuzzControl::Modes).DefaultEmpty();
    p.Property(L"Lines", &TFuzzControl::GetLines);
    p.Property(L"Link", &TFuzzControl::GetLink, &TFuzzControl::SetLink);
    p.Property(L"OnClick", &TFuzzControl::OnClick);
    p.Handler(L"Clicked", &TFuzzControl::Clicked);
  }
  std::unique_ptr<TStringList> FLines = std::make_unique<TStringList>();
  TFuzzControl* FLink = nullptr;
};
QORN_REGISTER_CLASS(TFuzzControl);

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  TFormObject tree;
  try {
    tree = ParseFormText(text, L"FUZZ");
  } catch (const EFormReadError&) {
    return 0;
  }
  std::string printed = PrintFormText(tree);
  TFormObject again = ParseFormText(printed, L"PRINTED");  // must not throw
  if (!(again == tree) || PrintFormText(again) != printed) std::abort();

  tree.ClassName = L"TFuzzControl";
  TFuzzControl root(nullptr);
  try {
    TReader reader(L"FUZZ");
    reader.ReadRootComponent(&root, tree);
  } catch (const EFormReadError&) {
    return 0;
  }
  // What was read writes and reads back the same.
  std::string written = WriteComponentToText(&root);
  TFuzzControl copy(nullptr);
  ReadComponentFromText(&copy, written, L"WRITTEN");
  if (WriteComponentToText(&copy) != written) std::abort();
  return 0;
}
