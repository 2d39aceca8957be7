// The report-style list view on a real form: columns and rows from the form
// resource, texts and pictures asked for by the control, clicks and keys seen as
// events, a new window keeping everything, sorting, custom drawing by pixels,
// label editing, column limits and deletion.
// ctest-lock: keyboard
#include "vcl/SysUtils.h"
#include "vcl/tests/ComCtrlsTesting.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace comctrls_testing;

class ListView : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    if (!form) return;
    list = form->ListView1;
    wnd = list->GetHandle();
  }
  // The text the control shows in a cell, read through the control.
  std::wstring Cell(int item, int sub, int size = 128) {
    std::wstring buffer(static_cast<size_t>(size), L'\0');
    LVITEMW li{};
    li.iSubItem = sub;
    li.pszText = buffer.data();
    li.cchTextMax = size;
    const LRESULT n = SendMessageW(wnd, LVM_GETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&li));
    buffer.resize(static_cast<size_t>(n));
    return buffer;
  }
  int ImageOf(int item) {
    LVITEMW li{};
    li.mask = LVIF_IMAGE;
    li.iItem = item;
    SendMessageW(wnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&li));
    return li.iImage;
  }
  TPoint RowCentre(int item, int x = -1) {
    RECT r{};
    r.left = LVIR_BOUNDS;
    SendMessageW(wnd, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&r));
    return {x >= 0 ? x : r.left + 20, (r.top + r.bottom) / 2};
  }
  std::vector<std::wstring> Captions() {
    std::vector<std::wstring> out;
    const int n = static_cast<int>(SendMessageW(wnd, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) out.push_back(Cell(i, 0));
    return out;
  }
  TListView* list = nullptr;
  HWND wnd = nullptr;
};

TEST_F(ListView, ColumnsAndRowsComeFromTheFormResource) {
  ASSERT_EQ(list->GetColumns()->Count(), 3);
  EXPECT_EQ(SendMessageW(wnd, LVM_GETCOLUMNWIDTH, 0, 0), 120);
  EXPECT_EQ(SendMessageW(wnd, LVM_GETCOLUMNWIDTH, 2, 0), 50) << "the declared default width";
  wchar_t caption[32] = {};
  LVCOLUMNW lc{};
  lc.mask = LVCF_TEXT | LVCF_FMT;
  lc.pszText = caption;
  lc.cchTextMax = 32;
  ASSERT_TRUE(SendMessageW(wnd, LVM_GETCOLUMNW, 2, reinterpret_cast<LPARAM>(&lc)));
  EXPECT_STREQ(caption, L"Size");
  EXPECT_EQ(lc.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);

  ASSERT_EQ(SendMessageW(wnd, LVM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_EQ(Cell(0, 0), L"Notepad");
  EXPECT_EQ(Cell(0, 1), L"C:\\Windows\\notepad.exe");
  EXPECT_EQ(Cell(0, 2), L"150");
  EXPECT_EQ(Cell(1, 2), L"") << "a row with fewer sub-items shows empty cells";
  EXPECT_EQ(Cell(2, 1), L"");
  EXPECT_EQ(ImageOf(1), 1);
  EXPECT_EQ(ImageOf(2), -1);
  EXPECT_EQ(list->GetItems()->Item(3)->SubItems()->Get(1), L"2000");
  EXPECT_EQ(list->GetItemIndex(), -1);
  EXPECT_THROW(list->GetItems()->Item(4), EListError);
}

TEST_F(ListView, TheControlAsksForTextsWithBuffersItGivesAndGetsThemCut) {
  // A short buffer gets the start of the text and its end mark, nothing beyond.
  std::wstring buffer(8, L'#');
  LVITEMW li{};
  li.iSubItem = 1;
  li.pszText = buffer.data();
  li.cchTextMax = 4;
  SendMessageW(wnd, LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&li));
  EXPECT_EQ(buffer, std::wstring(L"C:\\\0####", 8));

  // Texts changed in the objects show at once.
  list->GetItems()->Item(0)->SetCaption(L"Wordpad");
  list->GetItems()->Item(2)->SubItems()->Add(L"C:\\paint.exe");
  EXPECT_EQ(Cell(0, 0), L"Wordpad");
  EXPECT_EQ(Cell(2, 1), L"C:\\paint.exe");
  // A picture chosen when drawn.
  int asked = 0;
  list->OnGetImageIndex = [&](TObject*, TListItem* item) {
    ++asked;
    item->SetImageIndex(item->Index() + 10);
  };
  EXPECT_EQ(ImageOf(3), 13);
  EXPECT_GT(asked, 0);
}

TEST_F(ListView, ClicksAndKeysSelectRowsAndReportThem) {
  std::vector<std::pair<std::wstring, bool>> selections;
  int clicks = 0;
  list->OnSelectItem = [&](TObject* sender, TListItem* item, bool selected) {
    EXPECT_EQ(sender, list);
    selections.emplace_back(item->GetCaption(), selected);
  };
  list->OnClick = [&](TObject*) { ++clicks; };
  list->SetFocus();
  TPoint p = RowCentre(2);
  PostClick(wnd, p.X, p.Y);
  ASSERT_TRUE(PumpUntil([&] { return list->GetItemIndex() == 2; }));
  EXPECT_EQ(list->GetSelected(), list->GetItems()->Item(2));
  EXPECT_EQ(clicks, 1);
  ASSERT_EQ(selections.size(), 1u);
  EXPECT_EQ(selections[0], std::make_pair(std::wstring(L"Paint"), true));

  // A click in another column of a row still picks the row.
  p = RowCentre(1, 200);
  EXPECT_EQ(list->GetItemAt(p.X, p.Y), list->GetItems()->Item(1));
  PostClick(wnd, p.X, p.Y);
  ASSERT_TRUE(PumpUntil([&] { return list->GetItemIndex() == 1; }));
  EXPECT_EQ(list->GetItemFocused(), list->GetItems()->Item(1));

  selections.clear();
  PostKey(wnd, VK_DOWN);
  ASSERT_TRUE(PumpUntil([&] { return list->GetItemIndex() == 2; }));
  EXPECT_EQ(selections, (std::vector<std::pair<std::wstring, bool>>{{L"Calculator", false}, {L"Paint", true}}));

  // Below the last row there is nothing.
  const TPoint last = RowCentre(3);
  EXPECT_EQ(list->GetItemAt(last.X, last.Y + 60), nullptr);

  // Selecting from code leaves the one item selected.
  list->SetItemIndex(0);
  EXPECT_EQ(list->GetSelCount(), 1);
  EXPECT_TRUE(list->GetItems()->Item(0)->GetSelected());
  list->SetSelected(nullptr);
  EXPECT_EQ(list->GetSelCount(), 0);
  EXPECT_EQ(list->GetItemIndex(), -1);
}

TEST_F(ListView, ADoubleClickAndACheckBoxClickReachTheEvents) {
  int doubles = 0;
  list->OnDblClick = [&](TObject*) { ++doubles; };
  TPoint p = RowCentre(1);
  PostClick(wnd, p.X, p.Y);
  PostMessageW(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(p.X, p.Y));
  PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(p.X, p.Y));
  ASSERT_TRUE(PumpUntil([&] { return doubles > 0; }));
  EXPECT_EQ(doubles, 1);

  list->SetCheckboxes(true);
  wnd = list->GetHandle();
  std::vector<int> changed;
  list->OnChange = [&](TObject*, TListItem* item, TItemChange) { changed.push_back(item->Index()); };
  // The box sits at the row's left edge.
  RECT r{};
  r.left = LVIR_BOUNDS;
  SendMessageW(wnd, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&r));
  PostClick(wnd, r.left + 8, (r.top + r.bottom) / 2);
  ASSERT_TRUE(PumpUntil([&] { return list->GetItems()->Item(2)->GetChecked(); }));
  EXPECT_FALSE(list->GetItems()->Item(1)->GetChecked());
  EXPECT_NE(std::find(changed.begin(), changed.end(), 2), changed.end());
}

TEST_F(ListView, ARefusedChangeKeepsTheSelection) {
  list->SetItemIndex(0);
  int refused = 0;
  list->OnChanging = [&](TObject*, TListItem* item, TItemChange change, bool& allow) {
    EXPECT_EQ(change, ctState);
    if (item->Index() == 0) {
      ++refused;
      allow = false;
    }
  };
  const TPoint p = RowCentre(2);
  PostClick(wnd, p.X, p.Y);
  Pump(30ms);
  EXPECT_GT(refused, 0);
  EXPECT_TRUE(list->GetItems()->Item(0)->GetSelected()) << "the first row could not lose its selection";
}

TEST_F(ListView, ANewWindowKeepsItemsSelectionDataChecksAndWidths) {
  int data = 42;
  TListItems* items = list->GetItems();
  items->Item(1)->SetData(&data);
  list->SetMultiSelect(true);
  list->SetCheckboxes(true);
  wnd = list->GetHandle();
  // What the user changes lives in the window: selection, focus, a check, a width.
  auto setState = [&](int item, UINT mask, UINT state) {
    LVITEMW li{};
    li.stateMask = mask;
    li.state = state;
    SendMessageW(wnd, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&li));
  };
  setState(1, LVIS_SELECTED, LVIS_SELECTED);
  setState(3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  setState(2, LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(2));
  SendMessageW(wnd, LVM_SETCOLUMNWIDTH, 0, 90);
  EXPECT_TRUE(items->Item(2)->GetChecked());

  int selectEvents = 0;
  list->OnSelectItem = [&](TObject*, TListItem*, bool) { ++selectEvents; };
  HWND old = wnd;
  list->RecreateWnd();
  wnd = list->GetHandle();
  ASSERT_NE(wnd, old);
  EXPECT_EQ(selectEvents, 0) << "filling a new window is no selection by the user";
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"Notepad", L"Calculator", L"Paint", L"Explorer"}));
  EXPECT_EQ(list->GetSelCount(), 2);
  EXPECT_EQ(list->GetNextItem(nullptr, sdAll, {isSelected}), items->Item(1));
  EXPECT_EQ(list->GetNextItem(items->Item(1), sdAll, {isSelected}), items->Item(3));
  EXPECT_EQ(list->GetItemFocused(), items->Item(3));
  EXPECT_EQ(items->Item(1)->GetData(), &data);
  EXPECT_TRUE(items->Item(2)->GetChecked());
  EXPECT_FALSE(items->Item(1)->GetChecked());
  EXPECT_EQ(SendMessageW(wnd, LVM_GETCOLUMNWIDTH, 0, 0), 90);
  const DWORD ex = static_cast<DWORD>(SendMessageW(wnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
  EXPECT_TRUE(ex & LVS_EX_FULLROWSELECT);
  EXPECT_TRUE(ex & LVS_EX_CHECKBOXES);
  EXPECT_FALSE(GetWindowLongW(wnd, GWL_STYLE) & LVS_SINGLESEL);
  EXPECT_EQ(Cell(3, 1), L"C:\\Windows\\explorer.exe");

  // Without a window at all the objects answer for themselves.
  list->SetViewStyle(vsList);
  EXPECT_EQ(GetWindowLongW(list->GetHandle(), GWL_STYLE) & LVS_TYPEMASK, LVS_LIST);
  EXPECT_EQ(list->GetSelCount(), 2);
}

TEST_F(ListView, PropertiesReachTheWindowStyles) {
  struct Case {
    const char* name;
    std::function<void(bool)> set;
    bool extended;
    DWORD bit;
    bool setsBit;  // setting the property true sets (or clears) the bit
  };
  const Case cases[] = {
      {"RowSelect", [&](bool v) { list->SetRowSelect(v); }, true, LVS_EX_FULLROWSELECT, true},
      {"GridLines", [&](bool v) { list->SetGridLines(v); }, true, LVS_EX_GRIDLINES, true},
      {"Checkboxes", [&](bool v) { list->SetCheckboxes(v); }, true, LVS_EX_CHECKBOXES, true},
      {"ReadOnly", [&](bool v) { list->SetReadOnly(v); }, false, LVS_EDITLABELS, false},
      {"ColumnClick", [&](bool v) { list->SetColumnClick(v); }, false, LVS_NOSORTHEADER, false},
      {"MultiSelect", [&](bool v) { list->SetMultiSelect(v); }, false, LVS_SINGLESEL, false},
      {"HideSelection", [&](bool v) { list->SetHideSelection(v); }, false, LVS_SHOWSELALWAYS, false},
      {"ShowColumnHeaders", [&](bool v) { list->SetShowColumnHeaders(v); }, false, LVS_NOCOLUMNHEADER, false},
      {"IconOptions.AutoArrange", [&](bool v) { list->GetIconOptions()->SetAutoArrange(v); }, false,
       LVS_AUTOARRANGE, true},
      {"IconOptions.WrapText", [&](bool v) { list->GetIconOptions()->SetWrapText(v); }, false, LVS_NOLABELWRAP,
       false},
      {"IconOptions.Arrangement",
       [&](bool v) { list->GetIconOptions()->SetArrangement(v ? iaLeft : iaTop); }, false, LVS_ALIGNLEFT, true},
  };
  for (const Case& c : cases) {
    for (bool value : {true, false}) {
      c.set(value);
      HWND h = list->GetHandle();
      const DWORD style = c.extended ? static_cast<DWORD>(SendMessageW(h, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0))
                                     : static_cast<DWORD>(GetWindowLongW(h, GWL_STYLE));
      EXPECT_EQ((style & c.bit) != 0, value == c.setsBit) << c.name << " = " << value;
    }
    EXPECT_EQ(SendMessageW(list->GetHandle(), LVM_GETITEMCOUNT, 0, 0), 4) << c.name << " keeps the rows";
  }
}

TEST_F(ListView, SortingReordersTheObjectsAsTheWindowShowsThem) {
  TListItems* items = list->GetItems();
  TListItem* paint = items->Item(2);
  paint->SetSelected(true);
  ASSERT_TRUE(list->AlphaSort());
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"Calculator", L"Explorer", L"Notepad", L"Paint"}));
  for (int i = 0; i < 4; ++i) EXPECT_EQ(items->Item(i)->GetCaption(), Captions()[static_cast<size_t>(i)]);
  EXPECT_EQ(list->GetSelected(), paint) << "the selection goes with its row";
  EXPECT_EQ(paint->Index(), 3);

  // By a sub-item through OnCompare, descending, with an empty text last.
  list->OnCompare = [](TObject*, TListItem* a, TListItem* b, intptr_t data, int& compare) {
    auto text = [](TListItem* item) { return item->SubItems()->Count() ? item->SubItems()->Get(0) : std::wstring(); };
    if (text(a).empty() != text(b).empty()) {
      compare = text(a).empty() ? 1 : -1;
      return;
    }
    compare = static_cast<int>(data) * CompareText(text(a), text(b));
  };
  ASSERT_TRUE(list->CustomSort(nullptr, -1));
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"Notepad", L"Explorer", L"Calculator", L"Paint"}));

  // A sort procedure of the caller's, and the same order without a window.
  auto byLength = [](LPARAM a, LPARAM b, LPARAM) -> int {
    return static_cast<int>(reinterpret_cast<TListItem*>(a)->GetCaption().size()) -
           static_cast<int>(reinterpret_cast<TListItem*>(b)->GetCaption().size());
  };
  ASSERT_TRUE(list->CustomSort(byLength, 0));
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"Paint", L"Notepad", L"Explorer", L"Calculator"}));
  list->DestroyHandle();
  list->OnCompare = nullptr;
  ASSERT_TRUE(list->AlphaSort());
  EXPECT_EQ(items->Item(0)->GetCaption(), L"Calculator");
  wnd = list->GetHandle();
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"Calculator", L"Explorer", L"Notepad", L"Paint"}));
}

TEST_F(ListView, ColumnClicksComeFromTheHeader) {
  std::vector<int> clicked;
  list->OnColumnClick = [&](TObject*, TListColumn* column) { clicked.push_back(column->Index()); };
  HWND header = reinterpret_cast<HWND>(SendMessageW(wnd, LVM_GETHEADER, 0, 0));
  ASSERT_NE(header, nullptr);
  RECT r{};
  SendMessageW(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
  const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
  Pump(20ms);
  EXPECT_EQ(clicked, std::vector<int>{1});
}

TEST_F(ListView, ColumnWidthsStayWithinTheirLimits) {
  TListColumn* path = list->Column(1);
  path->SetWidth(10);
  EXPECT_EQ(path->GetWidth(), 40);
  path->SetWidth(1000);
  EXPECT_EQ(path->GetWidth(), 300);
  // A width the header takes from the user is brought back within the limits too.
  HWND header = reinterpret_cast<HWND>(SendMessageW(wnd, LVM_GETHEADER, 0, 0));
  HDITEMW hd{};
  hd.mask = HDI_WIDTH;
  hd.cxy = 5;
  SendMessageW(header, HDM_SETITEMW, 1, reinterpret_cast<LPARAM>(&hd));
  Pump(20ms);
  EXPECT_EQ(SendMessageW(wnd, LVM_GETCOLUMNWIDTH, 1, 0), 40);
  // Caption changes keep a width the user chose.
  SendMessageW(wnd, LVM_SETCOLUMNWIDTH, 0, 77);
  list->Column(0)->SetCaption(L"Program");
  EXPECT_EQ(SendMessageW(wnd, LVM_GETCOLUMNWIDTH, 0, 0), 77);
  // Columns added later bring their cells.
  TListColumn* extra = list->GetColumns()->Add();
  extra->SetCaption(L"Extra");
  list->GetItems()->Item(0)->SubItems()->Add(L"fourth");
  EXPECT_EQ(Cell(0, 3), L"fourth");
}

TEST_F(ListView, CustomDrawingColoursRowsAndCanSkipThem) {
  list->GetItems()->Item(1)->SetCaption(L"WWWWWWWW");
  list->GetItems()->Item(2)->SetCaption(L"WWWWWWWW");
  list->OnCustomDrawItem = [](TCustomListView* sender, TListItem* item, TCustomDrawState, bool& defaultDraw) {
    if (item->Index() == 1) {
      sender->GetCanvas()->GetBrush()->SetColor(RGB(0, 160, 0));
      sender->GetCanvas()->GetFont()->SetColor(RGB(250, 0, 0));
    }
    if (item->Index() == 2) defaultDraw = false;
  };
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  Pump(30ms);
  auto count = [&](int item, COLORREF color) {
    RECT r{};
    r.left = LVIR_LABEL;
    SendMessageW(wnd, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&r));
    HDC dc = GetDC(wnd);
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (GetPixel(dc, x, y) == color) ++n;
    ReleaseDC(wnd, dc);
    return n;
  };
  EXPECT_GT(count(1, RGB(0, 160, 0)), 40) << "the row's background";
  EXPECT_GT(count(1, RGB(250, 0, 0)), 10) << "the row's text";
  const COLORREF text = static_cast<COLORREF>(ColorToRGB(clWindowText));
  EXPECT_GT(count(3, text), 10) << "other rows as usual";
  EXPECT_EQ(count(2, text), 0) << "a row drawn by nobody";
}

TEST_F(ListView, LabelsAreEditedThroughTheEvents) {
  list->SetFocus();
  TListItem* item = list->GetItems()->Item(0);
  bool allow = false;
  list->OnEditing = [&](TObject*, TListItem*, bool& allowEdit) { allowEdit = allow; };
  list->OnEdited = [&](TObject*, TListItem* edited, std::wstring& s) {
    EXPECT_EQ(edited, item);
    s += L"!";
  };
  EXPECT_EQ(SendMessageW(wnd, LVM_EDITLABELW, 0, 0), 0) << "OnEditing refused";
  allow = true;
  HWND edit = reinterpret_cast<HWND>(SendMessageW(wnd, LVM_EDITLABELW, 0, 0));
  ASSERT_NE(edit, nullptr);
  EXPECT_TRUE(list->IsEditing());
  SetWindowTextW(edit, L"Renamed");
  SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
  Pump(20ms);
  EXPECT_FALSE(list->IsEditing());
  EXPECT_EQ(item->GetCaption(), L"Renamed!");
  EXPECT_EQ(Cell(0, 0), L"Renamed!");

  list->SetReadOnly(true);
  wnd = list->GetHandle();
  EXPECT_EQ(SendMessageW(wnd, LVM_EDITLABELW, 0, 0), 0) << "a read-only list edits nothing";
}

TEST_F(ListView, DeletedItemsLeaveTheWindowAndAreReported) {
  std::vector<std::wstring> deleted;
  list->OnDeletion = [&](TObject*, TListItem* item) { deleted.push_back(item->GetCaption()); };
  TListItems* items = list->GetItems();
  items->Item(1)->SetSelected(true);
  items->Delete(1);
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"Notepad", L"Paint", L"Explorer"}));
  EXPECT_EQ(list->GetSelected(), nullptr);
  items->Item(0)->Delete();
  TListItem* added = items->Insert(1);
  added->SetCaption(L"New");
  EXPECT_EQ(Captions(), (std::vector<std::wstring>{L"Paint", L"New", L"Explorer"}));
  items->Clear();
  EXPECT_EQ(SendMessageW(wnd, LVM_GETITEMCOUNT, 0, 0), 0);
  EXPECT_EQ(deleted, (std::vector<std::wstring>{L"Calculator", L"Notepad", L"Explorer", L"New", L"Paint"}));

  // Freeing the list tells of its items too, while they are whole.
  items->Add()->SetCaption(L"Last");
  deleted.clear();
  delete form->ListView1;
  form->ListView1 = nullptr;
  EXPECT_EQ(deleted, std::vector<std::wstring>{L"Last"});
}

TEST_F(ListView, ARightClickOnARowOpensTheContextMenuOnce) {
  int menus = 0;
  list->OnContextPopup = [&](TObject*, TPoint, bool& handled) {
    ++menus;
    handled = true;
  };
  const TPoint p = RowCentre(1);
  PostClick(wnd, p.X, p.Y, true);
  ASSERT_TRUE(PumpUntil([&] { return menus > 0; }));
  Pump(30ms);
  EXPECT_EQ(menus, 1);
}

TEST_F(ListView, AFreedImageListIsForgotten) {
  auto* images = new TImageList(nullptr);
  images->AddPixels(PixelBuffer(16, 16, 0xFF0000FF));
  list->SetSmallImages(images);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(wnd, LVM_GETIMAGELIST, LVSIL_SMALL, 0)), images->GetHandle());
  delete images;
  EXPECT_EQ(list->GetSmallImages(), nullptr);
  EXPECT_EQ(SendMessageW(wnd, LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
}

}  // namespace
