// The class library's classes that form resources may name.
#include "vcl/Buttons.h"
#include "vcl/CheckLst.h"
#include "vcl/ComCtrls.h"
#include "vcl/Dialogs.h"
#include "vcl/ExtCtrls.h"
#include "vcl/Forms.h"
#include "vcl/HintWindow.h"
#include "vcl/ImgList.h"
#include "vcl/Mask.h"
#include "vcl/Menus.h"
#include "vcl/StdCtrls.h"
#include "vcl/Timer.h"

void RegisterClassesOf_vcl() {
  RegisterClasses<TForm, TFrame, TApplicationEvents, TTimer, THintWindow, TImageList, TMenuItem, TPopupMenu>();
  RegisterClasses<TLabel, TEdit, TButton, TCheckBox, TListBox, TMemo, TRadioButton, TComboBox, TScrollBar,
                  TGroupBox, TMaskEdit, TCheckListBox>();
  RegisterClasses<TPanel, TImage, TBevel, THeader, TSpeedButton, TBitBtn>();
  RegisterClasses<TTreeView, TListView, THotKey>();
  RegisterClasses<TOpenDialog, TSaveDialog, TFontDialog, TColorDialog>();
}
