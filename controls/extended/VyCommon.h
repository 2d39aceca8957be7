// What the framed controls of the extended library share besides drawing: the frame
// controller, which pushes one set of frame and colour settings to every control that
// names it; the one blinking list that paces every blinking label; and the readers that
// drop obsolete values of older form resources.
//
// Rule: a control that draws its own border implements IVyFramingNotify and is told
// through FramingChanged; any other control gets the settings as its published
// properties of the controller's names, each only when it publishes one of that name.
#pragma once
#include "controls/extended/VyGrafx.h"
#include "vcl/Classes.h"
#include "vcl/IniFiles.h"
#include "vcl/Registry.h"
#include "vcl/Messages.h"
#include "vcl/Timer.h"

#include <functional>
#include <memory>
#include <vector>

class TControl;
class TFiler;
class TWinControl;
class TMonitor;

namespace Vy {

QORN_ENUM(TFramingPreference, fpCustomFraming, fpXPThemes);

// Sent by the blinking list to each listed control: "are you blinking now?" (result 1
// for yes), and then, to those that are, the new blink state in wParam (0 or 1).
inline constexpr unsigned CM_VYISBLINKING = CM_PRIVATE;
inline constexpr unsigned CM_VYSETBLINKSTATE = CM_PRIVATE + 1;

class TVyFrameController;

QORN_ENUM(TVyPathType, ptIniFile, ptRegistry);
QORN_ENUM(TVyRegKey, hkeyClassesRoot, hkeyCurrentUser, hkeyLocalMachine, hkeyUsers, hkeyPerformanceData,
          hkeyCurrentConfig, hkeyDynData);
QORN_ENUM(TVyRegAccessKey, keyQueryValue, keySetValue, keyCreateSubKey, keyEnumerateSubKeys, keyNotify, keyCreateLink,
          keyRead, keyWrite, keyExecute, keyAllAccess);
using TVyRegAccess = TSet<TVyRegAccessKey>;

// Where a component keeps its settings: an INI file or a registry key. Its INI and
// registry objects are made when first asked for, and made again after any of the four
// properties changed (the reopen flag).
class TVyRegIniFile : public TComponent {
  QORN_CLASS(TVyRegIniFile, TComponent)
 public:
  explicit TVyRegIniFile(TComponent* AOwner);
  ~TVyRegIniFile() override;

  const std::wstring& GetPath() const { return FPath; }
  void SetPath(const std::wstring& v);
  TVyPathType GetPathType() const { return FPathType; }
  void SetPathType(TVyPathType v);
  TVyRegKey GetRegKey() const { return FRegKey; }
  void SetRegKey(TVyRegKey v);
  TVyRegAccess GetRegAccess() const { return FRegAccess; }
  void SetRegAccess(TVyRegAccess v);

  // The objects must be made (again) before the next use.
  bool NeedsReopen() const { return FReopen; }
  // The INI file named by Path; the registry at RegKey with RegAccess (no key opened).
  TIniFile& IniFile();
  TRegistry& Registry();

 private:
  static void Publish(TPublisher<TVyRegIniFile>& p);
  void Reopen();

  std::wstring FPath;
  TVyPathType FPathType = ptIniFile;
  TVyRegKey FRegKey = hkeyCurrentUser;
  TVyRegAccess FRegAccess{keyAllAccess};
  bool FReopen = true;
  std::unique_ptr<TIniFile> FIniFile;
  std::unique_ptr<TRegistry> FRegistry;
};

class IVyFramingNotify {
 public:
  // The controller's settings changed: the control reads them from its controller.
  virtual void FramingChanged() = 0;

 protected:
  ~IVyFramingNotify() = default;
};

// Which setting changed, for ApplyToControls; fcAll pushes every one.
enum class TFramingCode {
  fcAll,
  fcColor,
  fcFocusColor,
  fcDisabledColor,
  fcParentColor,
  fcFlatButtonColor,
  fcFlatButtons,
  fcFrameColor,
  fcFrameHotColor,
  fcFrameHotTrack,
  fcFrameHotStyle,
  fcFrameSides,
  fcFrameStyle,
  fcFrameVisible,
  fcFramingPreference,
};

class TVyFrameController : public TComponent {
  QORN_CLASS(TVyFrameController, TComponent)
 public:
  explicit TVyFrameController(TComponent* AOwner);
  ~TVyFrameController() override;

  // A control joins when its FrameController is set, and gets every setting at once;
  // joining twice changes nothing. A control that is freed leaves by itself.
  void AddControl(TComponent* control);
  void RemoveControl(TComponent* control);
  int ControlCount() const { return int(FControls.size()); }

  // Nested; the last EndUpdate pushes every setting (a count below 0 counts as 0).
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  void UpdateControls() { ApplyToControls(TFramingCode::fcAll); }
  void Assign(const TPersistent* Source) override;

  TColor GetColor() const { return FColor; }
  // FocusColor follows a Color it equalled; ParentColor goes off.
  void SetColor(TColor v);
  TColor GetDisabledColor() const { return FDisabledColor; }
  void SetDisabledColor(TColor v) { Change(FDisabledColor, v, TFramingCode::fcDisabledColor); }
  TColor GetFlatButtonColor() const { return FFlatButtonColor; }
  void SetFlatButtonColor(TColor v) { Change(FFlatButtonColor, v, TFramingCode::fcFlatButtonColor); }
  bool GetFlatButtons() const { return FFlatButtons; }
  void SetFlatButtons(bool v) { Change(FFlatButtons, v, TFramingCode::fcFlatButtons); }
  TColor GetFocusColor() const { return FFocusColor; }
  void SetFocusColor(TColor v) { Change(FFocusColor, v, TFramingCode::fcFocusColor); }
  TColor GetFrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor v) { Change(FFrameColor, v, TFramingCode::fcFrameColor); }
  TColor GetFrameHotColor() const { return FFrameHotColor; }
  void SetFrameHotColor(TColor v) { Change(FFrameHotColor, v, TFramingCode::fcFrameHotColor); }
  TFrameStyle GetFrameHotStyle() const { return FFrameHotStyle; }
  void SetFrameHotStyle(TFrameStyle v) { Change(FFrameHotStyle, v, TFramingCode::fcFrameHotStyle); }
  bool GetFrameHotTrack() const { return FFrameHotTrack; }
  // Hot tracking shows the frame, on every side (outside loading).
  void SetFrameHotTrack(bool v);
  TSides GetFrameSides() const { return FFrameSides; }
  void SetFrameSides(TSides v) { Change(FFrameSides, v, TFramingCode::fcFrameSides); }
  TFrameStyle GetFrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle v) { Change(FFrameStyle, v, TFramingCode::fcFrameStyle); }
  bool GetFrameVisible() const { return FFrameVisible; }
  void SetFrameVisible(bool v) { Change(FFrameVisible, v, TFramingCode::fcFrameVisible); }
  TFramingPreference GetFramingPreference() const { return FFramingPreference; }
  void SetFramingPreference(TFramingPreference v) { Change(FFramingPreference, v, TFramingCode::fcFramingPreference); }
  bool GetParentColor() const { return FParentColor; }
  void SetParentColor(bool v);
  TVyRegIniFile* GetRegIniFile() const { return FRegIniFile; }
  void SetRegIniFile(TVyRegIniFile* v);

  void Loaded() override;

 protected:
  void DefineProperties(TFiler& Filer) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void ApplyToControls(TFramingCode code);

 private:
  static void Publish(TPublisher<TVyFrameController>& p);
  template <class T>
  void Change(T& field, T value, TFramingCode code) {
    if (field == value) return;
    field = value;
    ApplyToControls(code);
  }
  void PushFraming(TComponent* component, TFramingCode code);
  bool IsColorStored() const { return !FParentColor; }

  int FUpdateCount = 0;
  std::vector<TComponent*> FControls;  // not owned: each asks to be told when freed
  TColor FColor = clWindow;
  TColor FDisabledColor = clBtnFace;
  TColor FFlatButtonColor = clBtnFace;
  bool FFlatButtons = true;
  TColor FFocusColor = clWindow;
  TColor FFrameColor = clBtnShadow;
  TColor FFrameHotColor = clBtnShadow;
  TFrameStyle FFrameHotStyle = fsFlatBold;
  bool FFrameHotTrack = false;
  TSides FFrameSides = AllSides;
  TFrameStyle FFrameStyle = fsFlat;
  bool FFrameVisible = false;
  TFramingPreference FFramingPreference = fpXPThemes;
  bool FParentColor = false;
  TVyRegIniFile* FRegIniFile = nullptr;  // not owned; cleared when it goes
};

// Joins `control` to `controller` (either may be null) in place of `current`, with the
// free notifications that clear the reference when the controller goes.
void LinkFrameController(TComponent* control, TVyFrameController*& current, TVyFrameController* controller);

// The one timer that paces every blinking control. It exists while at least one
// blinking-capable control does; the state flips each tick, lasting IntervalOn in
// state 1 and IntervalOff in state 0.
class TVyBlinkingControlsList {
 public:
  // The list, made by the first control that joins.
  static TVyBlinkingControlsList& Join(TControl* control);
  // Frees the list when its last control leaves.
  static void Leave(TControl* control);
  // The list, or nullptr while no control has joined.
  static TVyBlinkingControlsList* Instance();

  int Count() const { return int(controls_.size()); }
  int State() const { return state_; }
  unsigned GetIntervalOff() const { return intervalOff_; }
  void SetIntervalOff(unsigned ms);
  unsigned GetIntervalOn() const { return intervalOn_; }
  void SetIntervalOn(unsigned ms);
  // One tick: flips the state and tells every listed control that answers it is blinking.
  // A control freed or removed by another's handling during the tick is skipped.
  void Tick();

  ~TVyBlinkingControlsList();

 private:
  TVyBlinkingControlsList();
  void OnTimer(TObject*) { Tick(); }

  std::vector<TControl*> controls_;  // not owned: each leaves when freed
  int state_ = 1;
  unsigned intervalOff_ = 500;
  unsigned intervalOn_ = 500;
  std::unique_ptr<TTimer> timer_;
};

// 0 Windows 95, 1 NT 4 or earlier, 2 Windows 98, 3 Windows Me, 4 Windows 2000,
// 5 Windows XP, 6 Windows Server 2003: whether the system in use is that one. Any other
// index is false.
bool IsWindowsVersion(int index);

// The work area of the monitor nearest to the control's window (the screen's when it
// has none), for drop-downs that must stay on one monitor.
TRect WindowWorkArea(TWinControl* control);
int WindowWorkAreaWidth(TWinControl* control);
TRect MonitorWorkArea(TMonitor* monitor);
TRect MonitorBounds(TMonitor* monitor);

// Readers for DefineProperties that take an obsolete value and drop it.
void SkipOldBoolean(TReader& reader);
void SkipOldIdent(TReader& reader);
void SkipOldStrings(TReader& reader);
// An obsolete frame style given by its identifier ("FrameFocusStyle").
TFrameStyle ReadOldFrameStyle(TReader& reader);

// The frame settings of older form resources, read and never written: "FrameFlat"
// (hot tracking; on, it also means the status frame going lowered when hot),
// "FrameFocusStyle" (the hot style by name) and "FrameFlatStyle" (dropped).
void DefineOldFrameProperties(TFiler& filer, const std::function<void(bool)>& setHotTrack,
                              const std::function<void(TFrameStyle)>& setStyle,
                              const std::function<void(TFrameStyle)>& setHotStyle);

}  // namespace Vy
