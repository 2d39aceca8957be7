#include "controls/extended/VyHotKeyEdit.h"

namespace Vy {

TVyHotKeyEdit::TVyHotKeyEdit(TComponent* AOwner) : THotKey(AOwner), TVyWindowFrame(this) {
  SetBounds(GetLeft(), GetTop(), GetWidth(), 21);
  SetParentColor(false);
}

TVyHotKeyEdit::~TVyHotKeyEdit() { UnlinkFrameController(); }

void TVyHotKeyEdit::Publish(TPublisher<TVyHotKeyEdit>& p) { PublishWindowFrame(p); }

void TVyHotKeyEdit::DefineProperties(TFiler& Filer) {
  THotKey::DefineProperties(Filer);
  DefineObsoleteFrameProperties(Filer);
}

void TVyHotKeyEdit::Loaded() {
  THotKey::Loaded();
  UpdateColors();
  UpdateFrame(false, false);
}

void TVyHotKeyEdit::Notification(TComponent* AComponent, TOperation Operation) {
  THotKey::Notification(AComponent, Operation);
  FrameNotification(AComponent, Operation);
}

void TVyHotKeyEdit::WndProc(TMessage& m) {
  FramedWndProc(m, [&] { THotKey::WndProc(m); });
}

}  // namespace Vy
