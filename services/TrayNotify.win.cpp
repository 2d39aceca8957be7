#include "services/TrayNotify.h"

namespace {
struct TSystemTrayNotifier final : TTrayNotifier {
  bool Notify(DWORD Message, const NOTIFYICONDATAW& Data) override {
    return Shell_NotifyIconW(Message, const_cast<NOTIFYICONDATAW*>(&Data)) != FALSE;
  }
};
TSystemTrayNotifier systemNotifier;
TTrayNotifier* current = &systemNotifier;
}  // namespace

TTrayNotifier& TrayNotifier() { return *current; }

TTrayNotifier* SetTrayNotifier(TTrayNotifier* Notifier) {
  TTrayNotifier* previous = current;
  current = Notifier ? Notifier : &systemNotifier;
  return previous;
}
