// A dialog service for tests: every message box is remembered and answered with OK
// at once; the other dialogs are cancelled.
#pragma once
#include "vcl/Dialogs.h"

#include <string>
#include <vector>

namespace qorn::testing {

struct TRecordedMessages : TDialogService {
  std::vector<std::wstring> texts;
  bool ExecuteFileDialog(HWND, TOpenDialog&) override { return false; }
  bool ExecuteFontDialog(HWND, TFontDialog&) override { return false; }
  bool ExecuteColorDialog(HWND, TColorDialog&) override { return false; }
  int MessageBox(HWND, const std::wstring& text, const std::wstring&, unsigned) override {
    texts.push_back(text);
    return IDOK;
  }
  bool InputQuery(HWND, const std::wstring&, const std::wstring&, std::wstring&) override { return false; }
};

}  // namespace qorn::testing
