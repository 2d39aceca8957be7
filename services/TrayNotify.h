// The one road to the notification area: every icon added, changed or removed goes
// through the installed notifier, the system's own unless a test installs one that
// records the calls (wine accepts icons but shows none).
#pragma once
#include "vcl/Win.h"

class TTrayNotifier {
 public:
  virtual ~TTrayNotifier() = default;
  // NIM_ADD, NIM_MODIFY, NIM_DELETE with the icon's record.
  virtual bool Notify(DWORD Message, const NOTIFYICONDATAW& Data) = 0;
};

TTrayNotifier& TrayNotifier();
// Installs a notifier (nullptr: the system's again); returns the one before.
TTrayNotifier* SetTrayNotifier(TTrayNotifier* Notifier);
