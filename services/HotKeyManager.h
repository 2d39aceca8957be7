// THotKeyManager: system-wide hot keys for this program, reported when pressed.
//
// Each hot key is registered on a hidden window of the creating thread, under the
// number of a global atom named after its value (HotKeyAtomName). Failures are
// results, never exceptions or messages: a combination the system refuses (taken
// by another program, or invalid) gives 0 and is kept nowhere, so it simply never
// fires. Callers remove a value before registering its replacement; AddHotKey does
// not look for the value in its own list.
#pragma once

#include "services/HotKeyValue.h"
#include "vcl/Classes.h"
#include "vcl/Messages.h"
#include "vcl/Win.h"

#include <cstdint>
#include <string>
#include <vector>

// HotKey: the value pressed; Index: its id (the atom number).
using TOnHotKeyPressed = TEvent<void(THotKeyValue HotKey, std::uint16_t Index)>;

class THotKeyManager : public TComponent {
  QORN_CLASS(THotKeyManager, TComponent)
 public:
  explicit THotKeyManager(TComponent* AOwner);
  ~THotKeyManager() override;

  // The id of the registered hot key, or 0 when the system refuses it.
  std::uint16_t AddHotKey(THotKeyValue Value) noexcept;
  // Unregisters the first listed entry of that value. False when it is not listed
  // or the system's unregistration failed; the entry and its atom go either way.
  bool RemoveHotKey(THotKeyValue Value) noexcept;
  // Unregisters every entry, the last first.
  void ClearHotKeys() noexcept;

  // Fired on the creating thread when a listed hot key is pressed.
  TOnHotKeyPressed OnHotKeyPressed;

  // "Ctrl+Shift+A". Localized: the modifier and key names of the user's current
  // layout; otherwise "Ctrl", "Shift", "Alt", "Win" and the US English key names.
  static std::wstring HotKeyValueToText(THotKeyValue Value, bool Localized);

  // The hidden window the hot keys are registered on.
  HWND Handle() const { return FWindow; }

 private:
  struct TEntry {
    THotKeyValue Value;
    std::uint16_t Id;
  };
  static void Publish(TPublisher<THotKeyManager>& p);
  void WndProc(TMessage& Message);
  bool Unregister(const TEntry& entry) noexcept;

  HWND FWindow = nullptr;
  std::vector<TEntry> FEntries;  // in registration order
};
