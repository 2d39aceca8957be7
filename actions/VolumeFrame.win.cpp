#include "actions/VolumeFrame.h"

#include <optional>

#include "core/language/Language.h"
#include "core/settings/ExtSettings.h"
#include "services/AudioMixer.h"
#include "vcl/Dialogs.h"
#include "vcl/ScopeGuards.h"
#include "vcl/System.h"

namespace {

constexpr std::uint8_t VolumeUp = 21;
constexpr std::uint8_t VolumeSet = 24;
bool IsVolumeCode(std::uint8_t code) { return code >= VolumeUp && code <= VolumeSet; }

constexpr const char* PictureOn = "UserPictMuteOn";
constexpr const char* PictureOff = "UserPictMuteOff";

void FillList(Flat::TFlatComboBox* combo, const std::vector<std::wstring>& names) {
  TStrings* items = combo->GetItems();
  items->BeginUpdate();
  items->Clear();
  for (const std::wstring& name : names) items->Add(name);
  items->EndUpdate();
}

// Selects item index, or nothing when the list has no such item.
void SelectItem(Flat::TFlatComboBox* combo, int index) {
  combo->SetItemIndex(index >= 0 && index < combo->GetItems()->Count() ? index : -1);
}

// The settings keep paths in the system's code page. A name that code page
// cannot spell is kept by the file's short name; none when that cannot be
// spelled either (or the file has none): never a path with '?' in it.
std::optional<std::string> StorablePath(const std::wstring& path) {
  std::string ansi = StringToAnsi(path);
  if (AnsiToString(ansi) == path) return ansi;
  std::wstring shortPath(MAX_PATH, L'\0');
  const DWORD n = GetShortPathNameW(path.c_str(), shortPath.data(), MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return std::nullopt;
  shortPath.resize(n);
  ansi = StringToAnsi(shortPath);
  if (AnsiToString(ansi) == shortPath) return ansi;
  return std::nullopt;
}

}  // namespace

TFrameVol::TFrameVol(TComponent* AOwner) : TActionFrame(AOwner) {}

TFrameVol::~TFrameVol() = default;

void TFrameVol::Publish(TPublisher<TFrameVol>& p) {
  p.Field(L"VyPageControl1", &TFrameVol::VyPageControl1);
  p.Field(L"TabSheet1", &TFrameVol::TabSheet1);
  p.Field(L"TabSheet2", &TFrameVol::TabSheet2);
  p.Field(L"FlatRadioButton1", &TFrameVol::FlatRadioButton1);
  p.Field(L"FlatRadioButton2", &TFrameVol::FlatRadioButton2);
  p.Field(L"FlatRadioButton3", &TFrameVol::FlatRadioButton3);
  p.Field(L"FlatRadioButton4", &TFrameVol::FlatRadioButton4);
  p.Field(L"Label1", &TFrameVol::Label1);
  p.Field(L"Label2", &TFrameVol::Label2);
  p.Field(L"Label3", &TFrameVol::Label3);
  p.Field(L"Label4", &TFrameVol::Label4);
  p.Field(L"Label5", &TFrameVol::Label5);
  p.Field(L"Label_vol_step", &TFrameVol::Label_vol_step);
  p.Field(L"FlatComboBox1", &TFrameVol::FlatComboBox1);
  p.Field(L"FlatComboBox2", &TFrameVol::FlatComboBox2);
  p.Field(L"FlatComboBox3", &TFrameVol::FlatComboBox3);
  p.Field(L"stepch", &TFrameVol::stepch);
  p.Field(L"WarningPanel", &TFrameVol::WarningPanel);
  p.Field(L"WarningLabel", &TFrameVol::WarningLabel);
  p.Field(L"L_user_pict_volon", &TFrameVol::L_user_pict_volon);
  p.Field(L"L_user_pict_voloff", &TFrameVol::L_user_pict_voloff);
  p.Field(L"E_user_pict_volon_path", &TFrameVol::E_user_pict_volon_path);
  p.Field(L"E_user_pict_voloff_path", &TFrameVol::E_user_pict_voloff_path);
  p.Field(L"user_pict_volon_cancel", &TFrameVol::user_pict_volon_cancel);
  p.Field(L"user_pict_voloff_cancel", &TFrameVol::user_pict_voloff_cancel);
  p.Field(L"Dlg_OpenVolImage", &TFrameVol::Dlg_OpenVolImage);
  p.Handler(L"FlatRadioButton1Click", &TFrameVol::FlatRadioButton1Click);
  p.Handler(L"FlatRadioButton2Click", &TFrameVol::FlatRadioButton2Click);
  p.Handler(L"FlatRadioButton3Click", &TFrameVol::FlatRadioButton3Click);
  p.Handler(L"FlatRadioButton4Click", &TFrameVol::FlatRadioButton4Click);
  p.Handler(L"FlatComboBox1Change", &TFrameVol::FlatComboBox1Change);
  p.Handler(L"FlatComboBox2Change", &TFrameVol::FlatComboBox2Change);
  p.Handler(L"FlatComboBox3Change", &TFrameVol::FlatComboBox3Change);
  p.Handler(L"stepchChange", &TFrameVol::stepchChange);
  p.Handler(L"E_user_pict_volon_pathButtonClick", &TFrameVol::E_user_pict_volon_pathButtonClick);
  p.Handler(L"E_user_pict_voloff_pathButtonClick", &TFrameVol::E_user_pict_voloff_pathButtonClick);
  p.Handler(L"user_pict_volon_cancelClick", &TFrameVol::user_pict_volon_cancelClick);
  p.Handler(L"user_pict_voloff_cancelClick", &TFrameVol::user_pict_voloff_cancelClick);
}

void TFrameVol::Use(const TVolumePageServices& services) {
  services_ = services;
  ownChoice_.reset();
  ownMixer_.reset();
}

IVolumeMixerChoice& TFrameVol::mixers() {
  if (services_.MixerChoice) return *services_.MixerChoice;
  if (!ownChoice_) {
    // Without the program's mixer the page still lists and stores; a device
    // chosen then reaches the keys only through the stored binding.
    if (!services_.Mixer) ownMixer_ = std::make_unique<TAudioMixer>(nullptr);
    ownChoice_ = std::make_unique<TAudioMixerChoice>(services_.Mixer ? *services_.Mixer : *ownMixer_);
  }
  return *ownChoice_;
}

void TFrameVol::init() {
  FillList(FlatComboBox3, mixers().DeviceNames());
  SelectItem(FlatComboBox3, 0);
  FlatComboBox3Change(FlatComboBox3);
}

void TFrameVol::FlatComboBox3Change(TObject*) {
  IVolumeMixerChoice& m = mixers();
  const int device = FlatComboBox3->GetItemIndex();
  if (device >= 0 && device < m.DeviceCount()) m.ChooseDevice(device);
  FlatComboBox1->GetItems()->Clear();
  FlatComboBox2->GetItems()->Clear();
  if (m.DeviceCount() < 1) {
    if (services_.Language) {
      const std::wstring text = services_.Language->GetLngMessage(L"NoMixer");
      if (!text.empty()) WarningLabel->SetCaption(text);
    }
    WarningPanel->SetVisible(true);
  } else {
    WarningPanel->SetVisible(false);
    FillList(FlatComboBox1, m.DestinationNames());
    SelectItem(FlatComboBox1, 0);
    FlatComboBox1Change(FlatComboBox1);
  }
  setdop();
}

void TFrameVol::FlatComboBox1Change(TObject*) {
  FillList(FlatComboBox2, mixers().LineNames(FlatComboBox1->GetItemIndex()));
  SelectItem(FlatComboBox2, 0);
  setdop();
}

void TFrameVol::FlatComboBox2Change(TObject*) { setdop(); }

void TFrameVol::stepchChange(TObject*) {
  setdop();
  Label_vol_step->SetCaption(std::to_wstring(stepch->GetPosition()));
}

void TFrameVol::radioClick(Flat::TFlatRadioButton* button, std::uint8_t code) {
  if (filling_) return;
  if (button->GetChecked()) Bindings().setkey(code);
  setdop();
}

void TFrameVol::FlatRadioButton1Click(TObject*) { radioClick(FlatRadioButton1, 21); }
void TFrameVol::FlatRadioButton2Click(TObject*) { radioClick(FlatRadioButton2, 22); }
void TFrameVol::FlatRadioButton3Click(TObject*) { radioClick(FlatRadioButton3, 23); }
void TFrameVol::FlatRadioButton4Click(TObject*) { radioClick(FlatRadioButton4, 24); }

void TFrameVol::showLevelKind(bool level) {
  Label1->SetVisible(!level);
  Label5->SetVisible(level);
  // A narrower range moves the position inside it, and the track bar's change
  // stores the moved value: setting 50 % turned into a step stores the step 10.
  if (level) stepch->SetRange(0, 100);
  else stepch->SetRange(1, 10);
  stepch->SetTickStep(level ? 10 : 1);
}

void TFrameVol::setdop() {
  if (filling_ || !IsVolumeCode(Bindings().getkey())) return;
  TVolumeParams p;
  p.Destination = FlatComboBox1->GetItemIndex();
  p.Connection = FlatComboBox2->GetItemIndex() - 1;
  p.Mixer = FlatComboBox3->GetItemIndex();
  p.Step = stepch->GetPosition();
  Bindings().setkeydop(WriteVolumeParams(p));
  const bool level = FlatRadioButton4->GetChecked();
  if (level != Label5->GetVisible()) showLevelKind(level);
}

void TFrameVol::check() {
  filling_ = true;
  TOnExit filled([this] { filling_ = false; });
  init();
  const std::uint8_t code = Bindings().getkey();
  if (IsVolumeCode(code)) {
    showLevelKind(code == VolumeSet);
    // A string too short to name a line reads as the executor's defaults, so the
    // page shows what the key does; it is stored whole once a control changes.
    const TVolumeParams p = ReadVolumeParams(Bindings().getkeydop(), static_cast<TVolumeCode>(code - 20));
    SelectItem(FlatComboBox3, p.Mixer);
    FlatComboBox3Change(FlatComboBox3);
    SelectItem(FlatComboBox1, p.Destination);
    FlatComboBox1Change(FlatComboBox1);
    stepch->SetPosition(p.Step);
    Label_vol_step->SetCaption(std::to_wstring(stepch->GetPosition()));
    SelectItem(FlatComboBox2, p.Connection + 1);
    Flat::TFlatRadioButton* const radios[] = {FlatRadioButton1, FlatRadioButton2, FlatRadioButton3, FlatRadioButton4};
    radios[code - VolumeUp]->SetChecked(true);
  } else {
    for (Flat::TFlatRadioButton* radio : {FlatRadioButton1, FlatRadioButton2, FlatRadioButton3, FlatRadioButton4})
      radio->SetChecked(false);
  }
  showPicturePath(PictureOn, E_user_pict_volon_path, user_pict_volon_cancel);
  showPicturePath(PictureOff, E_user_pict_voloff_path, user_pict_voloff_cancel);
}

// --- the user's mute pictures

void TFrameVol::showPicturePath(const char* name, Vy::TVyButtonEdit* edit, Flat::TPngSpeedButton* clear) {
  const std::string path = services_.Settings ? GetIniStg(&services_.Settings->MainSettingsEx, name) : "";
  edit->SetText(AnsiToString(path));
  clear->SetEnabled(!path.empty());
  edit->SetEnabled(services_.Settings != nullptr);
}

void TFrameVol::setPicturePath(const char* name, Vy::TVyButtonEdit* edit, Flat::TPngSpeedButton* clear,
                               const std::string& path) {
  if (!services_.Settings) return;
  SetIniStg(*services_.Settings, &services_.Settings->MainSettingsEx, name, path);
  edit->SetText(AnsiToString(path));
  clear->SetEnabled(!path.empty());
}

void TFrameVol::choosePicture(const char* name, Vy::TVyButtonEdit* edit, Flat::TPngSpeedButton* clear) {
  if (!services_.Settings || !Dlg_OpenVolImage->Execute()) return;
  const std::wstring file = Dlg_OpenVolImage->GetFileName();
  if (const auto path = StorablePath(file)) {
    setPicturePath(name, edit, clear, *path);
    return;
  }
  std::wstring text = services_.Language ? services_.Language->GetLngMessage(L"VolPictureName") : L"";
  if (text.empty())
    text = L"The settings cannot keep this file name. Choose a file whose name has no letters of other alphabets:";
  MessageDlg(text + L"\n" + file, mtError, {mbOK});
}

void TFrameVol::E_user_pict_volon_pathButtonClick(TObject*) {
  choosePicture(PictureOn, E_user_pict_volon_path, user_pict_volon_cancel);
}

void TFrameVol::E_user_pict_voloff_pathButtonClick(TObject*) {
  choosePicture(PictureOff, E_user_pict_voloff_path, user_pict_voloff_cancel);
}

void TFrameVol::user_pict_volon_cancelClick(TObject*) {
  setPicturePath(PictureOn, E_user_pict_volon_path, user_pict_volon_cancel, {});
}

void TFrameVol::user_pict_voloff_cancelClick(TObject*) {
  setPicturePath(PictureOff, E_user_pict_voloff_path, user_pict_voloff_cancel, {});
}
