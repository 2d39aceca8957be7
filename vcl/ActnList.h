// Actions: one command (its caption, enabled state, hint, picture, check mark and
// OnExecute) shared by the buttons and menu items that show it.
//
// Rules:
// - A client (control, menu item, group item) holds its action through a link it
//   owns (TControl::SetAction makes it with CreateActionLink). The link is how the
//   action reaches the client; the client never keeps a raw action pointer.
// - Assigning an action runs the client's ActionChange(Action, CheckDefaults),
//   which copies the action's values into the client: all of them when assigned
//   by code, only those the client left at their defaults (CheckDefaults) while
//   loading and again from Loaded.
// - Later, each action setter hands the new value to every link, which writes it
//   into its client only while the client's value still equals the action's (the
//   Is...Linked tests): a client given its own caption keeps it.
// - A client's Click runs its own OnClick when that is not the action's OnExecute,
//   else the action's Execute through the link (ActionComponent is the client).
// - Actions that belong to a TActionList are streamed inside it; the list's Images
//   are the pictures of its actions' ImageIndex. Freeing an action detaches it from
//   its links; freeing a client unregisters its link.
// - Before the application goes idle each showing form asks its action clients to
//   update (InitiateAction: the action's OnUpdate) and updates the actions of its
//   action lists (UpdateFormActions).
#pragma once

#include "vcl/Classes.h"
#include "vcl/Controls.h"
#include "vcl/ImgList.h"
#include "vcl/Menus.h"
#include "vcl/ShortCuts.h"

#include <string>
#include <vector>

class TBasicAction;
class TCustomAction;
class TActionList;
class TCustomForm;

// A client's end of its action: told of changes, asks the action to run.
class TBasicActionLink : public TObject {
 public:
  explicit TBasicActionLink(TObject* AClient);
  ~TBasicActionLink() override;

  TBasicAction* GetAction() const { return FAction; }
  virtual void SetAction(TBasicAction* Value);
  // Runs the action for this client; false when nothing ran.
  virtual bool Execute(TComponent* AComponent = nullptr);
  virtual bool Update();

 protected:
  TObject* FClient;

 private:
  friend class TBasicAction;
  TBasicAction* FAction = nullptr;
};

// The properties a custom action hands its clients. The base links them all while
// the action is a TCustomAction; client links add "and the client's value is the
// action's" and write the value in their Set... operations.
class TActionLink : public TBasicActionLink {
 public:
  using TBasicActionLink::TBasicActionLink;
  virtual bool IsCaptionLinked() const;
  virtual bool IsCheckedLinked() const;
  virtual bool IsEnabledLinked() const;
  virtual bool IsHintLinked() const;
  virtual bool IsImageIndexLinked() const;
  virtual bool IsShortCutLinked() const;
  virtual bool IsVisibleLinked() const;
  virtual bool IsOnExecuteLinked() const;
  virtual void SetCaption(const std::wstring&) {}
  virtual void SetChecked(bool) {}
  virtual void SetEnabled(bool) {}
  virtual void SetHint(const std::wstring&) {}
  virtual void SetImageIndex(int) {}
  virtual void SetShortCut(TShortCut) {}
  virtual void SetVisible(bool) {}
  virtual void SetOnExecute(const TNotifyEvent&) {}

 protected:
  // The action as a custom action, or nullptr.
  TCustomAction* CustomAction() const;
};

// A control's link: Caption, Enabled, Hint, Visible and OnExecute (to OnClick).
class TControlActionLink : public TActionLink {
 public:
  explicit TControlActionLink(TControl* AClient) : TActionLink(AClient), FControl(AClient) {}
  bool IsCaptionLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHintLinked() const override;
  bool IsVisibleLinked() const override;
  bool IsOnExecuteLinked() const override;
  void SetCaption(const std::wstring& Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const std::wstring& Value) override;
  void SetVisible(bool Value) override;
  void SetOnExecute(const TNotifyEvent& Value) override;

 protected:
  TControl* FControl;  // the client, which owns this link
};

// A menu item's link: Caption, Checked, Enabled, Hint, ImageIndex, ShortCut,
// Visible and OnExecute (to OnClick).
class TMenuActionLink : public TActionLink {
 public:
  explicit TMenuActionLink(TMenuItem* AClient) : TActionLink(AClient), FItem(AClient) {}
  bool IsCaptionLinked() const override;
  bool IsCheckedLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHintLinked() const override;
  bool IsImageIndexLinked() const override;
  bool IsShortCutLinked() const override;
  bool IsVisibleLinked() const override;
  bool IsOnExecuteLinked() const override;
  void SetCaption(const std::wstring& Value) override;
  void SetChecked(bool Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const std::wstring& Value) override;
  void SetImageIndex(int Value) override;
  void SetShortCut(TShortCut Value) override;
  void SetVisible(bool Value) override;
  void SetOnExecute(const TNotifyEvent& Value) override;

 protected:
  TMenuItem* FItem;  // the client, which owns this link
};

class TBasicAction : public TComponent {
  QORN_CLASS(TBasicAction, TComponent)
 public:
  explicit TBasicAction(TComponent* AOwner);
  ~TBasicAction() override;

  // Runs OnExecute; false when there is none.
  virtual bool Execute();
  // Runs OnUpdate; false when there is none.
  virtual bool Update();
  // The client whose click runs the action now (nullptr outside Execute).
  TComponent* GetActionComponent() const { return FActionComponent; }
  void SetActionComponent(TComponent* Value) { FActionComponent = Value; }
  const TNotifyEvent& GetOnExecute() const { return FOnExecute; }
  void SetOnExecute(const TNotifyEvent& Value);
  TNotifyEvent OnUpdate;

  void RegisterChanges(TBasicActionLink* Link);
  void UnRegisterChanges(TBasicActionLink* Link);
  int ClientCount() const { return static_cast<int>(FClients.size()); }

 protected:
  const std::vector<TBasicActionLink*>& Clients() const { return FClients; }

 private:
  static void Publish(TPublisher<TBasicAction>& p);
  TNotifyEvent FOnExecute;
  TComponent* FActionComponent = nullptr;
  std::vector<TBasicActionLink*> FClients;  // not owned: each client owns its link
};

class TCustomAction : public TBasicAction {
  QORN_CLASS(TCustomAction, TBasicAction)
 public:
  explicit TCustomAction(TComponent* AOwner);
  ~TCustomAction() override;

  std::wstring GetCaption() const { return FCaption; }
  void SetCaption(const std::wstring& Value);
  bool GetChecked() const { return FChecked; }
  void SetChecked(bool Value);
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  std::wstring GetHint() const { return FHint; }
  void SetHint(const std::wstring& Value);
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TShortCut GetShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  std::wstring GetCategory() const { return FCategory; }
  void SetCategory(const std::wstring& Value) { FCategory = Value; }

  TActionList* GetActionList() const { return FActionList; }
  void SetActionList(TActionList* Value);
  // The pictures of ImageIndex: the action list's Images, or nullptr.
  TCustomImageList* GetImages() const;

  // Updates first (OnUpdate may disable the action); runs only while enabled.
  bool Execute() override;

  bool HasParent() const override { return FActionList != nullptr; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

 private:
  static void Publish(TPublisher<TCustomAction>& p);
  template <class Set, class V>
  void ToLinks(Set set, const V& value);

  std::wstring FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  std::wstring FHint;
  int FImageIndex = -1;
  TShortCut FShortCut = 0;
  bool FVisible = true;
  std::wstring FCategory;
  TActionList* FActionList = nullptr;  // the list that holds this action, not owned
};

// The action forms name; its properties are those of TCustomAction.
class TAction : public TCustomAction {
  QORN_CLASS(TAction, TCustomAction)
 public:
  explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

class TActionList : public TComponent {
  QORN_CLASS(TActionList, TComponent)
 public:
  explicit TActionList(TComponent* AOwner);
  ~TActionList() override;

  int ActionCount() const { return static_cast<int>(FActions.size()); }
  // Throws EListError for a bad index.
  TCustomAction* Actions(int Index) const;
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  // Runs every action's OnUpdate (the idle update of the list's form).
  void UpdateActions();

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void SetChildOrder(TComponent* Child, int Order) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TCustomAction;
  static void Publish(TPublisher<TActionList>& p);

  std::vector<TCustomAction*> FActions;  // not owned: actions belong to the form
  TCustomImageList* FImages = nullptr;   // a reference, cleared by Notification
};

// The idle update of one form: each visible action client's InitiateAction, and
// every action of the form's action lists.
void UpdateFormActions(TCustomForm* Form);
