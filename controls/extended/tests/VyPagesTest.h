// What the page control tests share: a form read from text with one page control of
// three sheets (the default page differs from the streamed one), every change and
// click logged, and clicks and keys sent at the tabs' computed places.
#pragma once
#include <gtest/gtest.h>

#include "controls/extended/VyTabs.h"
#include "testing/PumpApplication.h"
#include "vcl/Filer.h"
#include "vcl/Forms.h"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

class TTestPagesForm : public TForm {
  QORN_CLASS(TTestPagesForm, TForm)
 public:
  explicit TTestPagesForm(TComponent* AOwner) : TForm(AOwner) {}
};
QORN_REGISTER_CLASS(TTestPagesForm);

inline const char* kPagesForm = R"(object F: TTestPagesForm
  Left = 60
  Top = 60
  Width = 420
  Height = 240
  Caption = 'Pages'
  object Pages: TVyPageControl
    Left = 8
    Top = 8
    Width = 390
    Height = 180
    ActivePage = Second
    ActivePageDefault = First
    TabIndex = 2
    TabStyle = tsCutCorner
    FixedDimension = 20
    object First: TVyTabSheet
      Caption = '&General'
      PageIndex = 0
      object Edit1: TEdit
        Left = 10
        Top = 10
        Width = 120
        Height = 21
      end
    end
    object Second: TVyTabSheet
      Caption = '&Keys'
      PageIndex = 1
    end
    object Third: TVyTabSheet
      Caption = '&Display'
      PageIndex = 2
    end
  end
end
)";

class VyPages : public ::testing::Test {
 protected:
  void SetUp() override { Load(kPagesForm); }
  // Shows the form read from text in place of the one shown before.
  void Load(const std::string& text) {
    form.reset();
    log.clear();
    form.reset(CreateFormNew<TTestPagesForm>(nullptr));
    ReadComponentFromText(form.get(), text, L"TEST");
    pages = dynamic_cast<Vy::TVyPageControl*>(form->FindComponent(L"Pages"));
    first = dynamic_cast<Vy::TVyTabSheet*>(form->FindComponent(L"First"));
    second = dynamic_cast<Vy::TVyTabSheet*>(form->FindComponent(L"Second"));
    third = dynamic_cast<Vy::TVyTabSheet*>(form->FindComponent(L"Third"));
    ASSERT_TRUE(pages && first && second && third);
    pages->OnChanging = [this](TObject*, int index, bool& allow) {
      log.push_back(L"changing " + std::to_wstring(index));
      allow = allowChange;
    };
    pages->OnChange = [this](TObject*) { log.push_back(L"change " + std::to_wstring(pages->GetTabIndex())); };
    pages->OnTabClick = [this](TObject*) { log.push_back(L"click"); };
    form->Show();
    Pump(std::chrono::milliseconds(60));
  }
  void TearDown() override {
    form.reset();
    Pump(std::chrono::milliseconds(10));
  }
  void ClickTab(int i) {
    const TRect r = pages->TabClientRect(i);
    const LPARAM at = MAKELPARAM((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2 + 2);
    SendMessageW(pages->GetHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(pages->GetHandle(), WM_LBUTTONUP, 0, at);
  }
  void Key(WORD key) { SendMessageW(pages->GetHandle(), WM_KEYDOWN, key, 0); }
  std::unique_ptr<TTestPagesForm> form;
  Vy::TVyPageControl* pages = nullptr;
  Vy::TVyTabSheet *first = nullptr, *second = nullptr, *third = nullptr;
  std::vector<std::wstring> log;
  bool allowChange = true;
};
