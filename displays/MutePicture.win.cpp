#include "displays/MutePicture.h"

#include "core/settings/Settings.h"
#include "core/utils/Trace.h"
#include "vcl/Clock.h"

namespace {
// The settings file keeps paths in the system's code page.
std::wstring AnsiToWide(const std::string& text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}
}  // namespace

bool TOSDmForm::ShowPicture(std::uint8_t state) {
  const std::string path =
      Settings ? GetIniStg(&Settings->MainSettingsEx, state == 1 ? "UserPictMuteOn" : "UserPictMuteOff") : "";
  if (path.empty()) {
    userpict->SetVisible(false);
    (state == 1 ? imoff : imon)->SetVisible(false);
    (state == 1 ? imon : imoff)->SetVisible(true);
    return true;
  }
  const std::wstring file = AnsiToWide(path);
  try {
    userpict->GetPicture()->LoadFromFile(file);
  } catch (const std::exception& e) {
    if (reportedPath_ != file) {
      reportedPath_ = file;
      Trace(L"The mute picture \"" + file + L"\" cannot be shown: " + AnsiToWide(e.what()));
    }
    return false;
  }
  imon->SetVisible(false);
  imoff->SetVisible(false);
  // The image, and the window after it, take the picture's size.
  userpict->SetAutoSize(true);
  userpict->SetAutoSize(false);
  userpict->SetVisible(true);
  return true;
}

void TOSDmForm::showw(std::uint8_t State) noexcept {
  try {
    if (!ShowPicture(State)) return;
    SetAlphaBlendValue(MainSettings.osdtr & 0xFF);
    SetBounds(40, Screen->GetHeight() - 190, GetWidth(), GetHeight());
    ShowWithoutActivation();
    Timer1->SetEnabled(true);
    startMs_ = ClockNowMs();
  } catch (...) {
    TraceCurrentException(L"showing the mute picture");
  }
}

void TOSDmForm::Timer1Timer(TObject*) {
  const std::uint64_t deadline =
      startMs_ + static_cast<std::uint64_t>(static_cast<std::int64_t>(MainSettings.osdsh)) + 1000;
  if (ClockNowMs() <= deadline) return;
  imon->SetVisible(false);
  imoff->SetVisible(false);
  Invalidate();
  HideDisplay();
  Timer1->SetEnabled(false);
}

void TOSDmForm::Publish(TPublisher<TOSDmForm>& p) {
  p.Field(L"imon", &TOSDmForm::imon);
  p.Field(L"imoff", &TOSDmForm::imoff);
  p.Field(L"userpict", &TOSDmForm::userpict);
  p.Field(L"Timer1", &TOSDmForm::Timer1);
  p.Handler(L"Timer1Timer", &TOSDmForm::Timer1Timer);
}
