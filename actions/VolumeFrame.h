// The volume action's settings page (codes 21-24: up, down, mute, set): the
// sub-action, the mixer device, its destination line and the line of it, and the
// step (up, down, mute) or the level (set) in per cent; on a second page the
// user's own mute pictures. The executor is actions/VolumeAction.h.
//
// The parameter string is the executor's plain fixed-width form (VolumeCommand.h).
// Choosing a device switches the program's mixer to it at once (it lists that
// device's lines); listing the devices does not.
#pragma once
#include <memory>
#include <string>

#include "actions/ActionFrame.h"
#include "actions/VolumeCommand.h"
#include "actions/VolumeMixerChoice.h"
#include "controls/extended/VyBtnEdt.h"
#include "controls/extended/VyTabs.h"
#include "controls/extended/VyTrkBar.h"
#include "controls/visual/PngButtons.h"
#include "controls/visual/TFlatComboBoxUnit.h"
#include "controls/visual/TFlatPanelUnit.h"
#include "controls/visual/TFlatRadioButtonUnit.h"
#include "vcl/Dialogs.h"
#include "vcl/StdCtrls.h"

class TLanguage;
struct TExtSettings;

// What the page works on besides the binding; all optional, none owned.
struct TVolumePageServices {
  TAudioMixer* Mixer = nullptr;               // the program's; none: a mixer of the page's own
  IVolumeMixerChoice* MixerChoice = nullptr;  // in place of Mixer (tests)
  TExtSettings* Settings = nullptr;           // where the user's mute pictures are named
  const TLanguage* Language = nullptr;        // the texts of the warning and the message
};

class TFrameVol : public TActionFrame {
  QORN_CLASS(TFrameVol, TActionFrame)
 public:
  explicit TFrameVol(TComponent* AOwner);
  ~TFrameVol() override;

  // Before check().
  void Use(const TVolumePageServices& services);

  void check() override;

  Vy::TVyPageControl* VyPageControl1 = nullptr;
  Vy::TVyTabSheet* TabSheet1 = nullptr;                // the action
  Vy::TVyTabSheet* TabSheet2 = nullptr;                // the mute pictures
  Flat::TFlatRadioButton* FlatRadioButton1 = nullptr;  // 21 up
  Flat::TFlatRadioButton* FlatRadioButton2 = nullptr;  // 22 down
  Flat::TFlatRadioButton* FlatRadioButton3 = nullptr;  // 23 mute
  Flat::TFlatRadioButton* FlatRadioButton4 = nullptr;  // 24 set
  TLabel* Label1 = nullptr;                            // the step (21-23)
  TLabel* Label5 = nullptr;                            // the level (24)
  TLabel* Label_vol_step = nullptr;
  TLabel* Label2 = nullptr;
  TLabel* Label3 = nullptr;
  TLabel* Label4 = nullptr;
  Flat::TFlatComboBox* FlatComboBox1 = nullptr;  // destination
  Flat::TFlatComboBox* FlatComboBox2 = nullptr;  // line: the destination itself, then its sources
  Flat::TFlatComboBox* FlatComboBox3 = nullptr;  // device
  Vy::TVyTrackBar* stepch = nullptr;
  Flat::TFlatPanel* WarningPanel = nullptr;
  TLabel* WarningLabel = nullptr;
  TLabel* L_user_pict_volon = nullptr;
  TLabel* L_user_pict_voloff = nullptr;
  Vy::TVyButtonEdit* E_user_pict_volon_path = nullptr;
  Vy::TVyButtonEdit* E_user_pict_voloff_path = nullptr;
  Flat::TPngSpeedButton* user_pict_volon_cancel = nullptr;
  Flat::TPngSpeedButton* user_pict_voloff_cancel = nullptr;
  TOpenDialog* Dlg_OpenVolImage = nullptr;

  void FlatRadioButton1Click(TObject* Sender);
  void FlatRadioButton2Click(TObject* Sender);
  void FlatRadioButton3Click(TObject* Sender);
  void FlatRadioButton4Click(TObject* Sender);
  void FlatComboBox1Change(TObject* Sender);
  void FlatComboBox2Change(TObject* Sender);
  void FlatComboBox3Change(TObject* Sender);
  void stepchChange(TObject* Sender);
  void E_user_pict_volon_pathButtonClick(TObject* Sender);
  void E_user_pict_voloff_pathButtonClick(TObject* Sender);
  void user_pict_volon_cancelClick(TObject* Sender);
  void user_pict_voloff_cancelClick(TObject* Sender);

 private:
  static void Publish(TPublisher<TFrameVol>& p);
  // Lists the devices and shows the program mixer's device.
  void init();
  // Stores the parameters the controls show, while the binding is a volume one.
  void setdop();
  void radioClick(Flat::TFlatRadioButton* button, std::uint8_t code);
  // The step (up, down, mute) or the level (set) on the track bar and its labels.
  void showLevelKind(bool level);
  void showPicturePath(const char* name, Vy::TVyButtonEdit* edit, Flat::TPngSpeedButton* clear);
  // The picture dialog; a chosen file is stored under name.
  void choosePicture(const char* name, Vy::TVyButtonEdit* edit, Flat::TPngSpeedButton* clear);
  void setPicturePath(const char* name, Vy::TVyButtonEdit* edit, Flat::TPngSpeedButton* clear, const std::string& path);
  IVolumeMixerChoice& mixers();

  TVolumePageServices services_;
  std::unique_ptr<TAudioMixer> ownMixer_;
  std::unique_ptr<IVolumeMixerChoice> ownChoice_;
  bool filling_ = false;
};
