#include "core/mainwindow/InputForm.h"

#include <cmath>
#include <string>

#include "core/mainwindow/MainWindow.h"
#include "core/settings/Settings.h"

void TInputForm::Publish(TPublisher<TInputForm>& p) {
  p.Field(L"InputTab", &TInputForm::InputTab);
  p.Field(L"KeyTab", &TInputForm::KeyTab);
  p.Field(L"NameTab", &TInputForm::NameTab);
  p.Field(L"SettingTab", &TInputForm::SettingTab);
  p.Field(L"Panel1", &TInputForm::Panel1);
  p.Field(L"Panel2", &TInputForm::Panel2);
  p.Field(L"NewKeyName", &TInputForm::NewKeyName);
  p.Field(L"FlatButton1", &TInputForm::FlatButton1);
  p.Field(L"keyoptautopress", &TInputForm::keyoptautopress);
  p.Field(L"keyoptautopressspeed", &TInputForm::keyoptautopressspeed);
  p.Field(L"labelspeed", &TInputForm::labelspeed);
  p.Field(L"OSDkeyName", &TInputForm::OSDkeyName);
  p.Field(L"FlatButton2", &TInputForm::FlatButton2);
  p.Field(L"Timer1", &TInputForm::Timer1);
  p.Handler(L"FormCreate", &TInputForm::FormCreate);
  p.Handler(L"Timer1Timer", &TInputForm::Timer1Timer);
  p.Handler(L"NewKeyNameChange", &TInputForm::NewKeyNameChange);
  p.Handler(L"NewKeyNameKeyPress", &TInputForm::NewKeyNameKeyPress);
  p.Handler(L"FlatButton1Click", &TInputForm::FlatButton1Click);
  p.Handler(L"FlatButton2Click", &TInputForm::FlatButton2Click);
  p.Handler(L"keyoptautopressspeedChange", &TInputForm::keyoptautopressspeedChange);
}

TInputForm::~TInputForm() { endCapture(); }

void TInputForm::FormCreate(TObject*) {
  fullHeight_ = GetHeight();
  // The record holds no more than these; what is typed is what is stored.
  NewKeyName->SetMaxLength(NameLength);
  OSDkeyName->SetMaxLength(DisplayTextLength);
  InputTab->OnChange = [this](TObject*) { InputTabChange(); };
  keyoptautopressspeedChange(nullptr);
}

void TInputForm::Showing(std::uint8_t Mode, TCustomForm* Over) {
  if (MainForm) MainForm->TranslateComponents(L"InputForm");
  showing_ = true;
  SetHeight(Mode == 0 ? fullHeight_ : fullHeight_ - 20);
  InputTab->SetHeight(GetClientHeight() - 2 * InputTab->GetTop());
  Vy::TVyTabSheet* const pages[] = {KeyTab, NameTab, SettingTab};
  for (int i = 0; i < 3; ++i) pages[i]->SetTabVisible(Mode == 0);
  Vy::TVyTabSheet* first = Mode == 1 ? KeyTab : Mode == 3 ? SettingTab : NameTab;
  // The control focused last time may be on a page hidden now.
  SetActiveControl(nullptr);
  InputTab->SetActivePage(first);
  // The page change switches capture mode; setting the same page again does not
  // report a change, so it is switched here too.
  InputTabChange();
  NewKeyNameChange(nullptr);
  if (Over) {
    SetTop(static_cast<int>(std::lround((Over->GetHeight() - GetHeight()) / 2.0)) + Over->GetTop());
    SetLeft(static_cast<int>(std::lround((Over->GetWidth() - GetWidth()) / 2.0)) + Over->GetLeft());
  }
}

void TInputForm::setk(const TKeyEvent&) {
  Timer1->SetEnabled(false);
  // A key that comes after the dialog went (a late message) closes nothing.
  if (showing_) SetModalResult(ResultKeyCaptured);
}

void TInputForm::EscPress() {
  if (showing_) SetModalResult(ResultEscaped);
}

void TInputForm::InputTabChange() {
  const bool keyPage = showing_ && InputTab->GetActivePage() == KeyTab;
  if (Engine) Engine->SetCaptureMode(keyPage);
  Timer1->SetEnabled(keyPage);
  if (keyPage) showModifiers();
}

void TInputForm::Timer1Timer(TObject*) { showModifiers(); }

// Each label is lit while its modifier is down; the side-agnostic ones while either
// side is (the sides of one kind lie mirrored: Shift at 1 and 8, Alt at 4 and 5).
void TInputForm::showModifiers() {
  const std::string state = Engine ? Engine->ModifierStateStr() : std::string(NoModifiers);
  const bool sideAgnostic = MainSettings.optlrmodif == 1;
  Panel1->SetVisible(!sideAgnostic);
  Panel2->SetVisible(sideAgnostic);
  auto down = [&](int i) { return i < static_cast<int>(state.size()) && state[static_cast<std::size_t>(i)] == '1'; };
  for (int i = 0; i < Panel1->ControlCount(); ++i) Panel1->Controls(i)->SetEnabled(down(i));
  for (int i = 0; i < Panel2->ControlCount(); ++i) Panel2->Controls(i)->SetEnabled(down(i) || down(7 - i));
}

void TInputForm::NewKeyNameChange(TObject*) { FlatButton1->SetEnabled(!NewKeyName->GetText().empty()); }

void TInputForm::NewKeyNameKeyPress(TObject*, wchar_t& Key) {
  if (Key != L'\r' || NewKeyName->GetText().empty()) return;
  Key = 0;
  FlatButton1Click(nullptr);
}

void TInputForm::FlatButton1Click(TObject*) { SetModalResult(ResultNameOk); }

void TInputForm::FlatButton2Click(TObject*) { SetModalResult(ResultOptionsOk); }

void TInputForm::keyoptautopressspeedChange(TObject*) {
  labelspeed->SetCaption(std::to_wstring(keyoptautopressspeed->GetPosition() + 1) + L" / sec");
}

// The name is typed at once: the name page gives its box the focus when it comes up.
void TInputForm::Activate() {
  TForm::Activate();
  if (InputTab->GetActivePage() == NameTab && NewKeyName->CanFocus()) NewKeyName->SetFocus();
}

void TInputForm::DoHide() {
  endCapture();
  TForm::DoHide();
}

void TInputForm::endCapture() {
  showing_ = false;
  if (Timer1) Timer1->SetEnabled(false);
  if (Engine) Engine->SetCaptureMode(false);
}
