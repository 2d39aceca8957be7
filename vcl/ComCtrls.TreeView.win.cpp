#include "vcl/ComCtrls.h"

#include "vcl/Filer.h"
#include "vcl/SysUtils.h"

#include <algorithm>
#include <cstring>

namespace {

void CopyText(const std::wstring& text, wchar_t* buffer, int size) {
  if (!buffer || size <= 0) return;
  const size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
  std::copy_n(text.data(), n, buffer);
  buffer[n] = L'\0';
}

// TVM_GETITEMRECT takes the item in the rectangle it fills.
RECT RectRequest(HTREEITEM item) {
  static_assert(sizeof(HTREEITEM) <= sizeof(RECT));
  RECT r{};
  std::memcpy(&r, &item, sizeof item);
  return r;
}

}  // namespace

// --- nodes

TTreeNode::TTreeNode(TTreeNodes* owner) : FOwner(owner) {}

TTreeNode::~TTreeNode() {
  TCustomTreeView* view = TreeView();
  // The program hears of the node while it is whole, before its children.
  view->Delete(this);
  if (FItemId && view->HandleAllocated()) {
    // One call takes the subtree out of the window; the children only free themselves.
    for (TTreeNode* child : FChildren) child->ForgetWindow();
    const bool filling = view->FFilling;
    view->FFilling = true;
    SendMessageW(view->WindowHandle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(FItemId));
    view->FFilling = filling;
  }
  // The window's item is gone: nothing may address it again (the children's going
  // would redraw this node).
  if (FItemId) FOwner->FByItem.erase(FItemId);
  FItemId = nullptr;
  while (!FChildren.empty()) delete FChildren.back();
  auto& siblings = FOwner->SiblingsOf(FParent);
  siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  if (view->FSavedSelection == this) view->FSavedSelection = nullptr;
  if (view->FRightClickNode == this) view->FRightClickNode = nullptr;
  if (FParent && FParent->FChildren.empty()) FParent->Redraw();
}

TCustomTreeView* TTreeNode::TreeView() const { return FOwner->Owner(); }

void TTreeNode::ForgetWindow() {
  if (FItemId) FOwner->FByItem.erase(FItemId);
  FItemId = nullptr;
  for (TTreeNode* child : FChildren) child->ForgetWindow();
}

void TTreeNode::InsertInWindow(HTREEITEM after) {
  TCustomTreeView* view = TreeView();
  TVINSERTSTRUCTW insert{};
  insert.hParent = FParent ? FParent->FItemId : TVI_ROOT;
  insert.hInsertAfter = after;
  TVITEMW& item = insert.item;
  item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_CHILDREN | TVIF_STATE;
  item.pszText = LPSTR_TEXTCALLBACKW;
  item.iImage = I_IMAGECALLBACK;
  item.iSelectedImage = I_IMAGECALLBACK;
  item.cChildren = I_CHILDRENCALLBACK;
  item.lParam = reinterpret_cast<LPARAM>(this);
  item.stateMask = TVIS_CUT | TVIS_OVERLAYMASK | TVIS_STATEIMAGEMASK;
  if (FCut) item.state |= TVIS_CUT;
  if (FOverlayIndex >= 0) item.state |= INDEXTOOVERLAYMASK(FOverlayIndex + 1);
  if (FStateIndex >= 0) item.state |= INDEXTOSTATEIMAGEMASK(FStateIndex);
  const bool filling = view->FFilling;
  view->FFilling = true;
  FItemId = reinterpret_cast<HTREEITEM>(
      SendMessageW(view->WindowHandle(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  if (FItemId) {
    FOwner->FByItem[FItemId] = this;
    for (TTreeNode* child : FChildren) child->InsertInWindow(TVI_LAST);
    if (FExpanded) SendMessageW(view->WindowHandle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(FItemId));
  }
  view->FFilling = filling;
}

void TTreeNode::SaveState() {
  if (FItemId) {
    FExpanded = IsExpandedInWindow();
    FCut = GetCut();
  }
  for (TTreeNode* child : FChildren) child->SaveState();
}

bool TTreeNode::IsExpandedInWindow() const {
  TCustomTreeView* view = TreeView();
  return (SendMessageW(view->WindowHandle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(FItemId), TVIS_EXPANDED) &
          TVIS_EXPANDED) != 0;
}

void TTreeNode::Redraw() const {
  TCustomTreeView* view = TreeView();
  if (!FItemId || !view->HandleAllocated()) return;
  // Handing the callbacks again makes the control ask for text, pictures and button.
  TVITEMW item{};
  item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
  item.hItem = FItemId;
  item.pszText = LPSTR_TEXTCALLBACKW;
  item.iImage = I_IMAGECALLBACK;
  item.iSelectedImage = I_IMAGECALLBACK;
  item.cChildren = I_CHILDRENCALLBACK;
  SendMessageW(view->WindowHandle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  RECT r = RectRequest(FItemId);
  if (SendMessageW(view->WindowHandle(), TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&r)))
    InvalidateRect(view->WindowHandle(), &r, TRUE);
}

void TTreeNode::SetText(const std::wstring& v) {
  if (FText == v) return;
  FText = v;
  Redraw();
}

void TTreeNode::SetImageIndex(int v) {
  if (FImageIndex == v) return;
  FImageIndex = v;
  Redraw();
}

void TTreeNode::SetSelectedIndex(int v) {
  if (FSelectedIndex == v) return;
  FSelectedIndex = v;
  Redraw();
}

void TTreeNode::SetHasChildren(bool v) {
  if (FHasChildren == v) return;
  FHasChildren = v;
  Redraw();
}

namespace {
void SetItemState(TCustomTreeView* view, HTREEITEM id, UINT mask, UINT state) {
  if (!id || !view->HandleAllocated()) return;
  TVITEMW item{};
  item.mask = TVIF_STATE;
  item.hItem = id;
  item.stateMask = mask;
  item.state = state;
  SendMessageW(view->WindowHandle(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}
}  // namespace

void TTreeNode::SetOverlayIndex(int v) {
  if (FOverlayIndex == v) return;
  FOverlayIndex = v;
  SetItemState(TreeView(), FItemId, TVIS_OVERLAYMASK, v >= 0 ? INDEXTOOVERLAYMASK(v + 1) : 0);
}

void TTreeNode::SetStateIndex(int v) {
  if (FStateIndex == v) return;
  FStateIndex = v;
  SetItemState(TreeView(), FItemId, TVIS_STATEIMAGEMASK, v >= 0 ? INDEXTOSTATEIMAGEMASK(v) : 0);
}

bool TTreeNode::GetCut() const {
  TCustomTreeView* view = TreeView();
  if (!FItemId || !view->HandleAllocated()) return FCut;
  return (SendMessageW(view->WindowHandle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(FItemId), TVIS_CUT) &
          TVIS_CUT) != 0;
}

void TTreeNode::SetCut(bool v) {
  FCut = v;
  SetItemState(TreeView(), FItemId, TVIS_CUT, v ? TVIS_CUT : 0);
}

bool TTreeNode::GetExpanded() const {
  TCustomTreeView* view = TreeView();
  if (!FItemId || !view->HandleAllocated()) return FExpanded;
  return IsExpandedInWindow();
}

void TTreeNode::SetExpanded(bool v) {
  if (v) Expand(false);
  else Collapse(false);
}

void TTreeNode::Expand(bool recurse) {
  FExpanded = true;
  TCustomTreeView* view = TreeView();
  // The control asks the program first (TVN_ITEMEXPANDING), which may fill the node.
  if (FItemId && view->HandleAllocated())
    SendMessageW(view->WindowHandle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(FItemId));
  if (recurse)
    for (size_t i = 0; i < FChildren.size(); ++i) FChildren[i]->Expand(true);
}

void TTreeNode::Collapse(bool recurse) {
  FExpanded = false;
  TCustomTreeView* view = TreeView();
  if (FItemId && view->HandleAllocated())
    SendMessageW(view->WindowHandle(), TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(FItemId));
  if (recurse)
    for (size_t i = 0; i < FChildren.size(); ++i) FChildren[i]->Collapse(true);
}

bool TTreeNode::GetSelected() const { return TreeView()->GetSelected() == this; }

void TTreeNode::SetSelected(bool v) {
  TCustomTreeView* view = TreeView();
  if (v) view->SetSelected(this);
  else if (GetSelected()) view->SetSelected(nullptr);
}

bool TTreeNode::GetFocused() const { return GetSelected() && TreeView()->Focused(); }

TTreeNode* TTreeNode::Item(int index) const {
  if (index < 0 || index >= Count()) throw EListError(SListIndexError, {index});
  return FChildren[static_cast<size_t>(index)];
}

int TTreeNode::Index() const {
  const auto& siblings = FOwner->SiblingsOf(FParent);
  auto it = std::find(siblings.begin(), siblings.end(), this);
  return it == siblings.end() ? -1 : static_cast<int>(it - siblings.begin());
}

int TTreeNode::Level() const {
  int level = 0;
  for (const TTreeNode* p = FParent; p; p = p->FParent) ++level;
  return level;
}

int TTreeNode::AbsoluteIndex() const {
  int index = 0;
  for (const TTreeNode* node = FOwner->GetFirstNode(); node; node = node->GetNext(), ++index)
    if (node == this) return index;
  return -1;
}

TTreeNode* TTreeNode::getNextSibling() const {
  const auto& siblings = FOwner->SiblingsOf(FParent);
  const int index = Index();
  return index >= 0 && index + 1 < static_cast<int>(siblings.size()) ? siblings[static_cast<size_t>(index) + 1]
                                                                      : nullptr;
}

TTreeNode* TTreeNode::getPrevSibling() const {
  const int index = Index();
  return index > 0 ? FOwner->SiblingsOf(FParent)[static_cast<size_t>(index) - 1] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
  if (!FChildren.empty()) return FChildren.front();
  for (const TTreeNode* node = this; node; node = node->FParent)
    if (TTreeNode* next = node->getNextSibling()) return next;
  return nullptr;
}

bool TTreeNode::HasAsParent(const TTreeNode* node) const {
  if (!node) return false;
  for (const TTreeNode* p = FParent; p; p = p->FParent)
    if (p == node) return true;
  return false;
}

TRect TTreeNode::DisplayRect(bool textOnly) const {
  TCustomTreeView* view = TreeView();
  RECT r{};
  if (FItemId && view->HandleAllocated()) {
    r = RectRequest(FItemId);
    if (!SendMessageW(view->WindowHandle(), TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&r))) r = {};
  }
  return TRect(r.left, r.top, r.right, r.bottom);
}

bool TTreeNode::EditText() {
  TCustomTreeView* view = TreeView();
  if (!FItemId || !view->HandleAllocated()) return false;
  if (!view->Focused() && view->CanFocus()) view->SetFocus();
  return SendMessageW(view->WindowHandle(), TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(FItemId)) != 0;
}

void TTreeNode::EndEdit(bool cancel) {
  TCustomTreeView* view = TreeView();
  if (view->HandleAllocated()) SendMessageW(view->WindowHandle(), TVM_ENDEDITLABELNOW, cancel, 0);
}

void TTreeNode::MakeVisible() {
  TCustomTreeView* view = TreeView();
  if (FItemId && view->HandleAllocated())
    SendMessageW(view->WindowHandle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(FItemId));
}

void TTreeNode::Delete() { delete this; }

void TTreeNode::DeleteChildren() {
  while (!FChildren.empty()) delete FChildren.back();
  Redraw();
}

void TTreeNode::Assign(const TPersistent* Source) {
  auto* other = dynamic_cast<const TTreeNode*>(Source);
  if (!other) {
    TPersistent::Assign(Source);
    return;
  }
  SetText(other->FText);
  FData = other->FData;
  SetImageIndex(other->FImageIndex);
  SetSelectedIndex(other->FSelectedIndex);
  SetOverlayIndex(other->FOverlayIndex);
  SetStateIndex(other->FStateIndex);
  SetHasChildren(other->FHasChildren);
}

// --- the node collection

TTreeNodes::~TTreeNodes() {
  for (TTreeNode* root : FRoots) root->ForgetWindow();
  while (!FRoots.empty()) delete FRoots.back();
}

int TTreeNodes::Count() const {
  int count = 0;
  for (const TTreeNode* node = GetFirstNode(); node; node = node->GetNext()) ++count;
  return count;
}

TTreeNode* TTreeNodes::Item(int index) const {
  int i = 0;
  if (index >= 0)
    for (TTreeNode* node = GetFirstNode(); node; node = node->GetNext(), ++i)
      if (i == index) return node;
  throw EListError(SListIndexError, {index});
}

TTreeNode* TTreeNodes::InsertNode(TTreeNode* parent, int index, const std::wstring& text, void* data) {
  auto& siblings = SiblingsOf(parent);
  index = std::clamp(index, 0, static_cast<int>(siblings.size()));
  auto* node = new TTreeNode(this);
  node->FParent = parent;
  node->FText = text;
  node->FData = data;
  siblings.insert(siblings.begin() + index, node);
  if (FOwner->HandleAllocated() && (!parent || parent->FItemId)) {
    node->InsertInWindow(index == 0 ? TVI_FIRST : siblings[static_cast<size_t>(index) - 1]->FItemId);
    if (parent && siblings.size() == 1) parent->Redraw();
  }
  return node;
}

TTreeNode* TTreeNodes::Add(TTreeNode* sibling, const std::wstring& text) { return AddObject(sibling, text, nullptr); }

TTreeNode* TTreeNodes::AddObject(TTreeNode* sibling, const std::wstring& text, void* data) {
  TTreeNode* parent = sibling ? sibling->FParent : nullptr;
  return InsertNode(parent, static_cast<int>(SiblingsOf(parent).size()), text, data);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* sibling, const std::wstring& text) {
  return InsertNode(sibling ? sibling->FParent : nullptr, 0, text, nullptr);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* parent, const std::wstring& text) {
  return AddChildObject(parent, text, nullptr);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* parent, const std::wstring& text, void* data) {
  return InsertNode(parent, static_cast<int>(SiblingsOf(parent).size()), text, data);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* parent, const std::wstring& text) {
  return InsertNode(parent, 0, text, nullptr);
}

TTreeNode* TTreeNodes::Insert(TTreeNode* sibling, const std::wstring& text) {
  if (!sibling) return Add(nullptr, text);
  return InsertNode(sibling->FParent, sibling->Index(), text, nullptr);
}

void TTreeNodes::Delete(TTreeNode* node) { delete node; }

void TTreeNodes::Clear() {
  if (FRoots.empty()) return;
  BeginUpdate();
  if (FOwner->HandleAllocated()) {
    for (TTreeNode* root : FRoots) root->ForgetWindow();
    const bool filling = FOwner->FFilling;
    FOwner->FFilling = true;
    SendMessageW(FOwner->WindowHandle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    FOwner->FFilling = filling;
  }
  while (!FRoots.empty()) delete FRoots.back();
  EndUpdate();
}

void TTreeNodes::BeginUpdate() {
  if (FUpdateCount++ == 0 && FOwner->HandleAllocated()) SendMessageW(FOwner->WindowHandle(), WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate() {
  if (FUpdateCount == 0 || --FUpdateCount > 0 || !FOwner->HandleAllocated()) return;
  SendMessageW(FOwner->WindowHandle(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(FOwner->WindowHandle(), nullptr, TRUE);
}

TTreeNode* TTreeNodes::NodeOf(HTREEITEM item) const {
  if (!item) return nullptr;
  auto it = FByItem.find(item);
  return it == FByItem.end() ? nullptr : it->second;
}

namespace {
void CopyChildren(TTreeNodes* nodes, TTreeNode* parent, const TTreeNode* source) {
  for (int i = 0; i < source->Count(); ++i) {
    TTreeNode* copy = nodes->AddChild(parent, L"");
    copy->Assign(source->Item(i));
    CopyChildren(nodes, copy, source->Item(i));
  }
}
}  // namespace

void TTreeNodes::Assign(const TPersistent* Source) {
  auto* other = dynamic_cast<const TTreeNodes*>(Source);
  if (!other) {
    TPersistent::Assign(Source);
    return;
  }
  if (other == this) return;
  BeginUpdate();
  Clear();
  for (const TTreeNode* root : other->FRoots) {
    TTreeNode* copy = Add(nullptr, L"");
    copy->Assign(root);
    CopyChildren(this, copy, root);
  }
  EndUpdate();
}

// Nodes in forms, in reading order: text, image index, selected index, the number
// of children, then the children: Items.NodeData = ('Desktop' 0 0 1 'Drive' 1 1 0).
void TTreeNodes::DefineProperties(TFiler& Filer) {
  Filer.DefineProperty(
      L"NodeData",
      [this](TReader& r) {
        Clear();
        r.ReadListBegin();
        // Each level's count says how many nodes still follow under it.
        std::vector<std::pair<TTreeNode*, int>> open;
        while (!r.EndOfList()) {
          while (!open.empty() && open.back().second == 0) open.pop_back();
          TTreeNode* parent = open.empty() ? nullptr : open.back().first;
          if (!open.empty()) --open.back().second;
          TTreeNode* node = AddChild(parent, r.ReadString());
          node->SetImageIndex(r.ReadInteger());
          node->SetSelectedIndex(r.ReadInteger());
          const int children = r.ReadInteger();
          if (children < 0) throw EFilerError(L"A tree node with a negative number of children");
          if (children > 0) open.emplace_back(node, children);
        }
        r.ReadListEnd();
      },
      [this](TWriter& w) {
        w.WriteListBegin();
        for (const TTreeNode* node = GetFirstNode(); node; node = node->GetNext()) {
          w.WriteString(node->GetText());
          w.WriteInteger(node->GetImageIndex());
          w.WriteInteger(node->GetSelectedIndex());
          w.WriteInteger(node->Count());
        }
        w.WriteListEnd();
      },
      !FRoots.empty());
}

// --- tree view

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TWinControl(AOwner), FNodes(new TTreeNodes(this)), FImageLink(new TChangeLink) {
  // As with the list view: the control's own mouse loop reports clicks (NM_CLICK).
  ControlStyle.Exclude(csClickEvents);
  ControlStyle.Exclude(csCaptureMouse);
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  FImageLink->OnChange = TNotifyEvent(this, &TCustomTreeView::ImagesChanged);
}

TCustomTreeView::~TCustomTreeView() {
  DestroyHandle();
  SetImages(nullptr);
  SetStateImages(nullptr);
}

void TCustomTreeView::Publish(TPublisher<TCustomTreeView>& p) {
  p.Message(CN_NOTIFY, &TCustomTreeView::CNNotify);
  p.Message(WM_RBUTTONDOWN, &TCustomTreeView::WMRButtonDown);
  p.Message(CM_COLORCHANGED, &TCustomTreeView::CMColorChanged);
  p.Property(L"Items", &TCustomTreeView::GetItems);
  p.Property(L"ShowRoot", &TCustomTreeView::GetShowRoot, &TCustomTreeView::SetShowRoot).Default(true);
  p.Property(L"ShowButtons", &TCustomTreeView::GetShowButtons, &TCustomTreeView::SetShowButtons).Default(true);
  p.Property(L"ShowLines", &TCustomTreeView::GetShowLines, &TCustomTreeView::SetShowLines).Default(true);
  p.Property(L"HideSelection", &TCustomTreeView::GetHideSelection, &TCustomTreeView::SetHideSelection)
      .Default(true);
  p.Property(L"ReadOnly", &TCustomTreeView::GetReadOnly, &TCustomTreeView::SetReadOnly).Default(false);
  p.Property(L"RightClickSelect", &TCustomTreeView::GetRightClickSelect, &TCustomTreeView::SetRightClickSelect)
      .Default(false);
  p.Property(L"AutoExpand", &TCustomTreeView::GetAutoExpand, &TCustomTreeView::SetAutoExpand).Default(false);
  p.Property(L"RowSelect", &TCustomTreeView::GetRowSelect, &TCustomTreeView::SetRowSelect).Default(false);
  p.Property(L"HotTrack", &TCustomTreeView::GetHotTrack, &TCustomTreeView::SetHotTrack).Default(false);
  p.Property(L"ToolTips", &TCustomTreeView::GetToolTips, &TCustomTreeView::SetToolTips).Default(true);
  p.Property(L"Indent", &TCustomTreeView::GetIndent, &TCustomTreeView::SetIndent).Default(19);
  p.Property(L"Images", &TCustomTreeView::GetImages, &TCustomTreeView::SetImages);
  p.Property(L"StateImages", &TCustomTreeView::GetStateImages, &TCustomTreeView::SetStateImages);
  p.Property(L"TabStop", &TCustomTreeView::GetTabStop, &TCustomTreeView::SetTabStop).Default(true);
  p.Property(L"TabOrder", &TCustomTreeView::GetTabOrder, &TCustomTreeView::SetTabOrder);
}

void TTreeView::Publish(TPublisher<TTreeView>& p) {
  p.Property(L"OnChange", &TTreeView::OnChange);
  p.Property(L"OnChanging", &TTreeView::OnChanging);
  p.Property(L"OnExpanding", &TTreeView::OnExpanding);
  p.Property(L"OnExpanded", &TTreeView::OnExpanded);
  p.Property(L"OnCollapsing", &TTreeView::OnCollapsing);
  p.Property(L"OnCollapsed", &TTreeView::OnCollapsed);
  p.Property(L"OnEditing", &TTreeView::OnEditing);
  p.Property(L"OnEdited", &TTreeView::OnEdited);
  p.Property(L"OnDeletion", &TTreeView::OnDeletion);
  p.Property(L"OnGetImageIndex", &TTreeView::OnGetImageIndex);
  p.Property(L"OnGetSelectedIndex", &TTreeView::OnGetSelectedIndex);
  p.Property(L"OnCompare", &TTreeView::OnCompare);
}

void TCustomTreeView::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  CreateSubClass(params, WC_TREEVIEWW);
  params.Style |= WS_TABSTOP;
  if (FShowLines) params.Style |= TVS_HASLINES;
  if (FShowButtons) params.Style |= TVS_HASBUTTONS;
  if (FShowRoot) params.Style |= TVS_LINESATROOT;
  if (!FHideSelection) params.Style |= TVS_SHOWSELALWAYS;
  if (!FReadOnly) params.Style |= TVS_EDITLABELS;
  if (FAutoExpand) params.Style |= TVS_SINGLEEXPAND;
  if (FRowSelect) params.Style |= TVS_FULLROWSELECT;
  if (FHotTrack) params.Style |= TVS_TRACKSELECT;
  if (!FToolTips) params.Style |= TVS_NOTOOLTIPS;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::CreateWnd() {
  TWinControl::CreateWnd();
  const bool filling = FFilling;
  FFilling = true;
  HWND wnd = WindowHandle();
  SendMessageW(wnd, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(GetColor())));
  SendMessageW(wnd, TVM_SETINDENT, static_cast<WPARAM>(FIndent), 0);
  ApplyImages();
  SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
  for (TTreeNode* root : FNodes->FRoots) root->InsertInWindow(TVI_LAST);
  if (FSavedSelection && FSavedSelection->FItemId)
    SendMessageW(wnd, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(FSavedSelection->FItemId));
  SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
  FFilling = filling;
}

void TCustomTreeView::DestroyWnd() {
  if (HandleAllocated()) {
    FIndent = GetIndent();
    FSavedSelection = GetSelected();
    for (TTreeNode* root : FNodes->FRoots) root->SaveState();
  }
  const bool filling = FFilling;
  FFilling = true;
  TWinControl::DestroyWnd();
  FFilling = filling;
  for (TTreeNode* root : FNodes->FRoots) root->ForgetWindow();
  FNodes->FByItem.clear();
}

void TCustomTreeView::RecreateIfAllocated() {
  if (HandleAllocated()) RecreateWnd();
}

void TCustomTreeView::SetShowRoot(bool v) {
  if (FShowRoot == v) return;
  FShowRoot = v;
  RecreateIfAllocated();
}

void TCustomTreeView::SetShowButtons(bool v) {
  if (FShowButtons == v) return;
  FShowButtons = v;
  RecreateIfAllocated();
}

void TCustomTreeView::SetShowLines(bool v) {
  if (FShowLines == v) return;
  FShowLines = v;
  RecreateIfAllocated();
}

void TCustomTreeView::SetHideSelection(bool v) {
  if (FHideSelection == v) return;
  FHideSelection = v;
  RecreateIfAllocated();
}

void TCustomTreeView::SetReadOnly(bool v) {
  if (FReadOnly == v) return;
  FReadOnly = v;
  RecreateIfAllocated();
}

void TCustomTreeView::SetAutoExpand(bool v) {
  if (FAutoExpand == v) return;
  FAutoExpand = v;
  RecreateIfAllocated();
}

void TCustomTreeView::SetRowSelect(bool v) {
  if (FRowSelect == v) return;
  FRowSelect = v;
  RecreateIfAllocated();
}

void TCustomTreeView::SetHotTrack(bool v) {
  if (FHotTrack == v) return;
  FHotTrack = v;
  RecreateIfAllocated();
}

void TCustomTreeView::SetToolTips(bool v) {
  if (FToolTips == v) return;
  FToolTips = v;
  RecreateIfAllocated();
}

int TCustomTreeView::GetIndent() const {
  if (!HandleAllocated()) return FIndent;
  return static_cast<int>(SendMessageW(WindowHandle(), TVM_GETINDENT, 0, 0));
}

void TCustomTreeView::SetIndent(int v) {
  FIndent = std::max(v, 0);
  if (HandleAllocated()) SendMessageW(WindowHandle(), TVM_SETINDENT, static_cast<WPARAM>(FIndent), 0);
}

void TCustomTreeView::ApplyImages() {
  if (!HandleAllocated()) return;
  SendMessageW(WindowHandle(), TVM_SETIMAGELIST, TVSIL_NORMAL,
               reinterpret_cast<LPARAM>(FImages ? FImages->GetHandle() : nullptr));
  SendMessageW(WindowHandle(), TVM_SETIMAGELIST, TVSIL_STATE,
               reinterpret_cast<LPARAM>(FStateImages ? FStateImages->GetHandle() : nullptr));
}

void TCustomTreeView::ImagesChanged(TObject*) {
  ApplyImages();
  if (HandleAllocated()) InvalidateRect(WindowHandle(), nullptr, TRUE);
}

void TCustomTreeView::SetImages(TCustomImageList* v) {
  if (SetImageListSlot(FImages, v, FStateImages, FImageLink.get(), this)) ImagesChanged(nullptr);
}

void TCustomTreeView::SetStateImages(TCustomImageList* v) {
  if (SetImageListSlot(FStateImages, v, FImages, FImageLink.get(), this)) ImagesChanged(nullptr);
}

void TCustomTreeView::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == FImages) {
    FImages = nullptr;
    ImagesChanged(nullptr);
  }
  if (component == FStateImages) {
    FStateImages = nullptr;
    ImagesChanged(nullptr);
  }
}

void TCustomTreeView::CMColorChanged(TMessage& m) {
  TWinControl::CMColorChanged(m);
  if (HandleAllocated()) SendMessageW(WindowHandle(), TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(GetColor())));
}

TTreeNode* TCustomTreeView::GetSelected() const {
  if (FRightClickSelect && FRightClickNode) return FRightClickNode;
  if (!HandleAllocated()) return FSavedSelection;
  return FNodes->NodeOf(
      reinterpret_cast<HTREEITEM>(SendMessageW(WindowHandle(), TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TCustomTreeView::SetSelected(TTreeNode* v) {
  FSavedSelection = v;
  if (HandleAllocated())
    SendMessageW(WindowHandle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(v ? v->FItemId : nullptr));
}

TTreeNode* TCustomTreeView::GetTopItem() const {
  if (!HandleAllocated()) return FNodes->GetFirstNode();
  return FNodes->NodeOf(
      reinterpret_cast<HTREEITEM>(SendMessageW(WindowHandle(), TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0)));
}

TTreeNode* TCustomTreeView::GetNodeAt(int x, int y) const {
  if (!HandleAllocated()) return nullptr;
  TVHITTESTINFO hit{};
  hit.pt = {x, y};
  HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(WindowHandle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (!item || !(hit.flags & (TVHT_ONITEM | (FRowSelect ? TVHT_ONITEMRIGHT : 0)))) return nullptr;
  return FNodes->NodeOf(item);
}

bool TCustomTreeView::IsEditing() const {
  return HandleAllocated() && SendMessageW(WindowHandle(), TVM_GETEDITCONTROL, 0, 0) != 0;
}

void TCustomTreeView::FullExpand() {
  for (size_t i = 0; i < FNodes->FRoots.size(); ++i) FNodes->FRoots[i]->Expand(true);
}

void TCustomTreeView::FullCollapse() {
  for (size_t i = 0; i < FNodes->FRoots.size(); ++i) FNodes->FRoots[i]->Collapse(true);
}

namespace {
struct TTreeSortContext {
  TCustomTreeView* View;
  LPARAM Data;
};
}  // namespace

int CALLBACK TCustomTreeView::DefaultCompare(LPARAM node1, LPARAM node2, LPARAM context) {
  auto* sort = reinterpret_cast<TTreeSortContext*>(context);
  auto* a = reinterpret_cast<TTreeNode*>(node1);
  auto* b = reinterpret_cast<TTreeNode*>(node2);
  if (sort->View->OnCompare) {
    int result = 0;
    sort->View->OnCompare(sort->View, a, b, sort->Data, result);
    return result;
  }
  return AnsiCompareText(a->GetText(), b->GetText());
}

void TCustomTreeView::SortChildren(TTreeNode* parent, TTVCompare proc, LPARAM data, bool recurse) {
  auto& siblings = FNodes->SiblingsOf(parent);
  if (HandleAllocated() && (!parent || parent->FItemId)) {
    TVSORTCB sort{};
    sort.hParent = parent ? parent->FItemId : TVI_ROOT;
    sort.lpfnCompare = proc;
    sort.lParam = data;
    SendMessageW(WindowHandle(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
    // The window's order is now the nodes' order.
    std::vector<TTreeNode*> sorted;
    auto item = reinterpret_cast<HTREEITEM>(
        SendMessageW(WindowHandle(), TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(sort.hParent)));
    if (!parent) item = reinterpret_cast<HTREEITEM>(SendMessageW(WindowHandle(), TVM_GETNEXTITEM, TVGN_ROOT, 0));
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     SendMessageW(WindowHandle(), TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item))))
      if (TTreeNode* node = FNodes->NodeOf(item)) sorted.push_back(node);
    if (sorted.size() == siblings.size()) siblings = std::move(sorted);
  } else {
    std::stable_sort(siblings.begin(), siblings.end(), [&](TTreeNode* a, TTreeNode* b) {
      return proc(reinterpret_cast<LPARAM>(a), reinterpret_cast<LPARAM>(b), data) < 0;
    });
  }
  if (recurse)
    for (TTreeNode* child : siblings) SortChildren(child, proc, data, true);
}

bool TCustomTreeView::CustomSort(TTVCompare sortProc, LPARAM data, bool recurse) {
  TTreeSortContext context{this, data};
  SortChildren(nullptr, sortProc ? sortProc : &DefaultCompare,
               sortProc ? data : reinterpret_cast<LPARAM>(&context), recurse);
  return true;
}

// --- overridable steps

bool TCustomTreeView::CanExpand(TTreeNode* node) {
  bool allow = true;
  if (OnExpanding) OnExpanding(this, node, allow);
  return allow;
}

void TCustomTreeView::Expand(TTreeNode* node) {
  if (OnExpanded) OnExpanded(this, node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* node) {
  bool allow = true;
  if (OnCollapsing) OnCollapsing(this, node, allow);
  return allow;
}

void TCustomTreeView::Collapse(TTreeNode* node) {
  if (OnCollapsed) OnCollapsed(this, node);
}

bool TCustomTreeView::CanChange(TTreeNode* node) {
  bool allow = true;
  if (OnChanging) OnChanging(this, node, allow);
  return allow;
}

void TCustomTreeView::Change(TTreeNode* node) {
  if (OnChange) OnChange(this, node);
}

bool TCustomTreeView::CanEdit(TTreeNode* node) {
  bool allow = !FReadOnly;
  if (allow && OnEditing) OnEditing(this, node, allow);
  return allow;
}

void TCustomTreeView::Edit(const TVITEMW& item) {
  TTreeNode* node = FNodes->NodeOf(item.hItem);
  // No text: the edit was cancelled.
  if (!node || !item.pszText) return;
  std::wstring text = item.pszText;
  if (OnEdited) OnEdited(this, node, text);
  node->SetText(text);
}

void TCustomTreeView::Delete(TTreeNode* node) {
  if (OnDeletion) OnDeletion(this, node);
}

void TCustomTreeView::GetImageIndex(TTreeNode* node) {
  if (OnGetImageIndex) OnGetImageIndex(this, node);
}

void TCustomTreeView::GetSelectedIndex(TTreeNode* node) {
  if (OnGetSelectedIndex) OnGetSelectedIndex(this, node);
}

// --- notifications

void TCustomTreeView::GetDispInfo(NMTVDISPINFOW& info) {
  TTreeNode* node = FNodes->NodeOf(info.item.hItem);
  if (!node) return;
  if (info.item.mask & TVIF_TEXT) {
    FDispText = node->FText;
    CopyText(FDispText, info.item.pszText, info.item.cchTextMax);
  }
  if (info.item.mask & TVIF_IMAGE) {
    GetImageIndex(node);
    info.item.iImage = node->FImageIndex;
  }
  if (info.item.mask & TVIF_SELECTEDIMAGE) {
    GetSelectedIndex(node);
    info.item.iSelectedImage = node->FSelectedIndex;
  }
  if (info.item.mask & TVIF_CHILDREN) info.item.cChildren = node->GetHasChildren() ? 1 : 0;
}

void TCustomTreeView::CNNotify(TMessage& m) {
  auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
  switch (hdr->code) {
    case TVN_GETDISPINFOW: GetDispInfo(*reinterpret_cast<NMTVDISPINFOW*>(hdr)); return;
    case TVN_SELCHANGINGW: {
      auto* nm = reinterpret_cast<NMTREEVIEWW*>(hdr);
      if (!FFilling && !CanChange(FNodes->NodeOf(nm->itemNew.hItem))) m.Result = TRUE;
      return;
    }
    case TVN_SELCHANGEDW: {
      auto* nm = reinterpret_cast<NMTREEVIEWW*>(hdr);
      TTreeNode* node = FNodes->NodeOf(nm->itemNew.hItem);
      if (!FFilling) {
        FSavedSelection = node;
        Change(node);
      }
      return;
    }
    case TVN_ITEMEXPANDINGW: {
      auto* nm = reinterpret_cast<NMTREEVIEWW*>(hdr);
      TTreeNode* node = FNodes->NodeOf(nm->itemNew.hItem);
      if (FFilling || !node) return;
      if ((nm->action & TVE_EXPAND) && !CanExpand(node)) m.Result = TRUE;
      else if ((nm->action & TVE_COLLAPSE) && !CanCollapse(node)) m.Result = TRUE;
      return;
    }
    case TVN_ITEMEXPANDEDW: {
      auto* nm = reinterpret_cast<NMTREEVIEWW*>(hdr);
      TTreeNode* node = FNodes->NodeOf(nm->itemNew.hItem);
      if (FFilling || !node) return;
      if (nm->action & TVE_EXPAND) {
        node->FExpanded = true;
        Expand(node);
      } else if (nm->action & TVE_COLLAPSE) {
        node->FExpanded = false;
        Collapse(node);
      }
      return;
    }
    case TVN_BEGINLABELEDITW: {
      TTreeNode* node = FNodes->NodeOf(reinterpret_cast<NMTVDISPINFOW*>(hdr)->item.hItem);
      m.Result = !node || !CanEdit(node);
      FEditing = m.Result == 0;
      return;
    }
    case TVN_ENDLABELEDITW:
      // One end per edit: a control that ends an edit again while closing its edit
      // box (wine's, after a cancel) must not commit what the user dropped.
      if (FEditing) {
        FEditing = false;
        Edit(reinterpret_cast<NMTVDISPINFOW*>(hdr)->item);
      }
      // The text is ours; the control asks for it again.
      m.Result = FALSE;
      return;
    case TVN_DELETEITEMW: return;
    case NM_CLICK: Click(); return;
    case NM_DBLCLK: DblClick(); return;
    case NM_RCLICK:
      RightClick();
      m.Result = 1;
      return;
    default: TWinControl::CNNotify(m); return;
  }
}

void TCustomTreeView::WMRButtonDown(TMessage& m) {
  // The control's own right-button loop sends NM_RCLICK from inside this call;
  // the press's point says where the click was (the cursor may be elsewhere).
  FRightButtonDown = true;
  FRightButtonPoint = {m.XPos(), m.YPos()};
  TWinControl::WMRButtonDown(m);
  FRightButtonDown = false;
}

void TCustomTreeView::RightClick() {
  TPoint point = FRightButtonPoint;
  if (!FRightButtonDown) {
    const DWORD pos = GetMessagePos();
    point = ScreenToClient({static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))});
  }
  // The context menu comes from here, once, whatever the control would do after:
  // while it is shown, Selected answers the node clicked when RightClickSelect is on.
  if (FRightClickSelect) FRightClickNode = GetNodeAt(point.X, point.Y);
  const TPoint screen = ClientToScreen(point);
  Perform(WM_CONTEXTMENU, reinterpret_cast<uintptr_t>(WindowHandle()),
          static_cast<intptr_t>(MAKELPARAM(static_cast<WORD>(screen.X), static_cast<WORD>(screen.Y))));
  FRightClickNode = nullptr;
}

