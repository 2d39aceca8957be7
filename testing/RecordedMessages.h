// A dialog service for tests: every message box is remembered and answered with OK
// at once; each open dialog remembers its filter and takes the next of `files` (an
// empty one, or none left, cancels it); the other dialogs are cancelled.
#pragma once
#include "vcl/Dialogs.h"

#include <string>
#include <vector>

namespace qorn::testing {

struct TRecordedMessages : TDialogService {
  std::vector<std::wstring> texts;
  std::vector<std::wstring> files;
  std::vector<std::wstring> filters;
  bool ExecuteFileDialog(HWND, TOpenDialog& dialog) override {
    filters.push_back(dialog.GetFilter());
    if (files.empty()) return false;
    const std::wstring file = files.front();
    files.erase(files.begin());
    if (file.empty()) return false;
    dialog.SetFileName(file);
    return true;
  }
  bool ExecuteFontDialog(HWND, TFontDialog&) override { return false; }
  bool ExecuteColorDialog(HWND, TColorDialog&) override { return false; }
  int MessageBox(HWND, const std::wstring& text, const std::wstring&, unsigned) override {
    texts.push_back(text);
    return IDOK;
  }
  bool InputQuery(HWND, const std::wstring&, const std::wstring&, std::wstring&) override { return false; }
};

}  // namespace qorn::testing
