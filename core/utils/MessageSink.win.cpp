#include "core/utils/MessageSink.h"

#include "vcl/Dialogs.h"
#include "vcl/System.h"
#include "vcl/Win.h"

#include <cstdio>
#include <string>

namespace {

class TMessageSink : public TDialogService {
 public:
  explicit TMessageSink(std::wstring file) : file_(std::move(file)) {}
  bool ExecuteFileDialog(HWND owner, TOpenDialog& d) override { return SystemDialogService().ExecuteFileDialog(owner, d); }
  bool ExecuteFontDialog(HWND owner, TFontDialog& d) override { return SystemDialogService().ExecuteFontDialog(owner, d); }
  bool ExecuteColorDialog(HWND owner, TColorDialog& d) override {
    return SystemDialogService().ExecuteColorDialog(owner, d);
  }
  bool InputQuery(HWND owner, const std::wstring& caption, const std::wstring& prompt, std::wstring& value) override {
    return SystemDialogService().InputQuery(owner, caption, prompt, value);
  }
  int MessageBox(HWND, const std::wstring& text, const std::wstring& caption, unsigned flags) override {
    std::wstring line = caption + L"\t";
    for (wchar_t c : text) {
      if (c == L'\n') line += L"\\n";
      else if (c != L'\r') line += c;
    }
    line += L"\n";
    if (FILE* f = _wfopen(file_.c_str(), L"ab")) {
      const std::string bytes = StringToUtf8(line);
      std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
    switch (flags & MB_TYPEMASK) {
      case MB_YESNO:
      case MB_YESNOCANCEL: return IDYES;
      case MB_ABORTRETRYIGNORE: return IDABORT;
      case MB_RETRYCANCEL: return IDRETRY;
      default: return IDOK;
    }
  }

 private:
  std::wstring file_;
};

}  // namespace

void InstallMessageSinkFromEnvironment() {
  wchar_t file[MAX_PATH * 2];
  const DWORD n = GetEnvironmentVariableW(L"QORN_MESSAGE_SINK", file, MAX_PATH * 2);
  if (n == 0 || n >= MAX_PATH * 2) return;
  static TMessageSink sink{std::wstring(file, n)};
  SetDialogService(&sink);
}
