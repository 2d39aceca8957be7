#include <memory>

#include "core/settings/SettingsReporter.h"
#include "vcl/Win.h"

namespace {
class TMessageBoxReporter final : public ISettingsReporter {
 public:
  TMessageBoxReporter(HWND owner, std::function<std::wstring(std::wstring_view)> getLngMessage)
      : owner_(owner), getLngMessage_(std::move(getLngMessage)) {}

  void ShowNumberedError(int number) override {
    MessageBoxW(owner_, NumberedErrorText(number).c_str(), L"Qorn", MB_OK | MB_ICONERROR);
  }

  void ShowLanguageMessage(std::wstring_view name) override {
    std::wstring text = getLngMessage_ ? getLngMessage_(name) : std::wstring();
    if (text.empty()) text = std::wstring(name);
    // Language texts write a line break as the two characters "\n".
    for (std::size_t at = text.find(L"\\n"); at != std::wstring::npos; at = text.find(L"\\n", at + 2))
      text.replace(at, 2, L"\r\n");
    MessageBoxW(owner_, text.c_str(), L"Qorn", MB_OK | MB_ICONINFORMATION);
  }

  void ShowFileProblem(const TFileProblem& problem) override {
    MessageBoxW(owner_, FileProblemText(problem).c_str(), L"Qorn", MB_OK | MB_ICONWARNING);
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
