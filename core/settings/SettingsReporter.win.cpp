#include <memory>

#include "core/settings/SettingsReporter.h"
#include "vcl/Dialogs.h"
#include "vcl/Win.h"

namespace {
// As every message box of the program: through the dialog service (which a test
// replaces to record it), with the program's other windows disabled meanwhile.
void showBox(HWND owner, const std::wstring& text, unsigned flags) {
  RunModalDialog([&](HWND active) { DialogService().MessageBox(owner ? owner : active, text, L"Qorn", flags); });
}

class TMessageBoxReporter final : public ISettingsReporter {
 public:
  TMessageBoxReporter(HWND owner, std::function<std::wstring(std::wstring_view)> getLngMessage)
      : owner_(owner), getLngMessage_(std::move(getLngMessage)) {}

  void ShowNumberedError(int number) override {
    showBox(owner_, NumberedErrorText(number), MB_OK | MB_ICONERROR);
  }

  void ShowLanguageMessage(std::wstring_view name) override {
    std::wstring text = getLngMessage_ ? getLngMessage_(name) : std::wstring();
    if (text.empty()) text = std::wstring(name);
    // Language texts write a line break as the two characters "\n".
    for (std::size_t at = text.find(L"\\n"); at != std::wstring::npos; at = text.find(L"\\n", at + 2))
      text.replace(at, 2, L"\r\n");
    showBox(owner_, text, MB_OK | MB_ICONINFORMATION);
  }

  void ShowFileProblem(const TFileProblem& problem) override {
    showBox(owner_, FileProblemText(problem), MB_OK | MB_ICONWARNING);
  }

 private:
  HWND owner_;
  std::function<std::wstring(std::wstring_view)> getLngMessage_;
};
}  // namespace

std::unique_ptr<ISettingsReporter> MakeMessageBoxReporter(void* ownerWindow,
                                                          std::function<std::wstring(std::wstring_view)> getLngMessage) {
  return std::make_unique<TMessageBoxReporter>(static_cast<HWND>(ownerWindow), std::move(getLngMessage));
}
