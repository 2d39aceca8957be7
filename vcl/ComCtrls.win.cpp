#include "vcl/ComCtrls.h"

// --- hot-key control

TShortCut HotKeyWordToShortCut(WORD hotKey) {
  const BYTE flags = HIBYTE(hotKey);
  TShortCut result = LOBYTE(hotKey);
  if (flags & HOTKEYF_SHIFT) result |= scShift;
  if (flags & HOTKEYF_CONTROL) result |= scCtrl;
  if (flags & HOTKEYF_ALT) result |= scAlt;
  return result;
}

WORD ShortCutToHotKeyWord(TShortCut shortCut) {
  BYTE flags = 0;
  if (shortCut & scShift) flags |= HOTKEYF_SHIFT;
  if (shortCut & scCtrl) flags |= HOTKEYF_CONTROL;
  if (shortCut & scAlt) flags |= HOTKEYF_ALT;
  return MAKEWORD(ShortCutKey(shortCut), flags);
}

THotKey::THotKey(TComponent* AOwner) : TWinControl(AOwner), FHotKey(scAlt | 'A') {
  SetBounds(0, 0, 121, 19);
  SetTabStop(true);
}

void THotKey::Publish(TPublisher<THotKey>& p) {
  p.Message(CN_COMMAND, &THotKey::CNCommand);
  p.Property(L"HotKey", &THotKey::GetHotKey, &THotKey::SetHotKey).Default(scAlt | 'A');
  p.Property(L"InvalidKeys", &THotKey::GetInvalidKeys, &THotKey::SetInvalidKeys)
      .Default(THKInvalidKeys{hcNone, hcShift});
  p.Property(L"Modifiers", &THotKey::GetModifiers, &THotKey::SetModifiers).Default(THKModifiers{hkAlt});
  p.Property(L"TabStop", &THotKey::GetTabStop, &THotKey::SetTabStop).Default(true);
  p.Property(L"TabOrder", &THotKey::GetTabOrder, &THotKey::SetTabOrder);
  p.Property(L"OnChange", &THotKey::OnChange);
}

void THotKey::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, HOTKEY_CLASSW);
  params.Style |= WS_TABSTOP;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void THotKey::CreateWnd() {
  TWinControl::CreateWnd();
  ApplyRules();
  SendMessageW(WindowHandle(), HKM_SETHOTKEY, ShortCutToHotKeyWord(FHotKey), 0);
}

void THotKey::DestroyWnd() {
  FHotKey = GetHotKey();
  TWinControl::DestroyWnd();
}

TShortCut THotKey::GetHotKey() const {
  if (!HandleAllocated()) return FHotKey;
  return HotKeyWordToShortCut(static_cast<WORD>(SendMessageW(WindowHandle(), HKM_GETHOTKEY, 0, 0)));
}

void THotKey::SetHotKey(TShortCut v) {
  FHotKey = v;
  if (HandleAllocated()) SendMessageW(WindowHandle(), HKM_SETHOTKEY, ShortCutToHotKeyWord(v), 0);
}

void THotKey::SetInvalidKeys(THKInvalidKeys v) {
  FInvalidKeys = v;
  ApplyRules();
}

void THotKey::SetModifiers(THKModifiers v) {
  FModifiers = v;
  ApplyRules();
}

void THotKey::ApplyRules() {
  if (!HandleAllocated()) return;
  static constexpr WORD kCombinations[] = {HKCOMB_NONE, HKCOMB_S,  HKCOMB_C,  HKCOMB_A,
                                           HKCOMB_SC,   HKCOMB_SA, HKCOMB_CA, HKCOMB_SCA};
  WORD invalid = 0;
  for (int i = hcNone; i <= hcShiftCtrlAlt; ++i)
    if (FInvalidKeys.Contains(static_cast<THKInvalidKey>(i))) invalid |= kCombinations[i];
  WORD modifiers = 0;
  if (FModifiers.Contains(hkShift)) modifiers |= HOTKEYF_SHIFT;
  if (FModifiers.Contains(hkCtrl)) modifiers |= HOTKEYF_CONTROL;
  if (FModifiers.Contains(hkAlt)) modifiers |= HOTKEYF_ALT;
  if (FModifiers.Contains(hkExt)) modifiers |= HOTKEYF_EXT;
  SendMessageW(WindowHandle(), HKM_SETRULES, invalid, MAKELPARAM(modifiers, 0));
}

void THotKey::CNCommand(TMessage& m) {
  if (HIWORD(m.WParam) == EN_CHANGE) {
    FHotKey = GetHotKey();
    Change();
  }
}

void THotKey::Change() {
  if (OnChange) OnChange(this);
}

