// How the group bar and its groups look in each style. The item walk is the layout's
// (TVyGroup::WalkItems), so every item is drawn where the group's height made room for
// it; the painting records each item's text and image rectangles for the mouse.
#include "controls/extended/VyGroupBar.h"

#include "vcl/Themes.h"

#include <algorithm>

namespace Vy {

namespace {

// Parts of the explorer-bar theme: the bar's background and, for normal and special
// groups, the background, the collapse and expand buttons and the head.
constexpr int kHeaderBackground = 1;
constexpr int kGroupBackground[2] = {5, 9};
constexpr int kGroupCollapse[2] = {6, 10};
constexpr int kGroupExpand[2] = {7, 11};
constexpr int kGroupHead[2] = {8, 12};
constexpr int kThemeTextColor = 3803;  // TMT_TEXTCOLOR

TThemedElementDetails ExplorerBarPart(int part, int state = 0) {
  return ThemeServices().GetElementDetails(L"EXPLORERBAR", part, state);
}

TColor Plain(TColor c) { return ColorToRGB(c); }

void Line(TCanvas* c, int x1, int y1, int x2, int y2) {
  c->MoveTo(x1, y1);
  c->LineTo(x2, y2);
}

// The category bar's background: a ramp over two thirds towards a lighter (amount > 0)
// or darker (amount < 0) shade of the base colour; the other third stays plain.
void PaintBarGradient(TCanvas* c, const TRect& rect, bool themed, int amount, TColor base,
                      TVyGroupBarGradientPath path) {
  if (themed) {
    ThemeServices().DrawElement(c->GetHandle(), ExplorerBarPart(kHeaderBackground), rect);
    return;
  }
  if (!HasTrueColorScreen() || amount == 0) return;
  const TColor color = Plain(base);
  const TColor shade =
      amount > 0 ? LightenColor(color, std::min(amount, 255)) : DarkenColor(color, std::min(-amount, 255));
  const int third = rect.Height() / 3;
  TRect ramp = rect;
  // Which third stays plain: the bottom one for a lighter top-to-bottom ramp, and mirrored.
  const bool plainBottom = (amount > 0) == (path == gpTopToBottom);
  if (plainBottom) ramp.Bottom -= third;
  else ramp.Top += third;
  // gdHorizontalEnd: the first colour at the bottom, the second at the top.
  const bool lightTop = path == gpTopToBottom;
  if (amount > 0) PaintGradient(c, ramp, gdHorizontalEnd, 1, lightTop ? color : shade, lightTop ? shade : color);
  else PaintGradient(c, ramp, gdHorizontalEnd, 1, lightTop ? shade : color, lightTop ? color : shade);
}

}  // namespace

// --- bar

void TVyGroupBar::Paint() {
  TCanvas* c = GetCanvas();
  const TRect client = GetClientRect();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(client);
  if (FStyle == gbsCategoryView && FUseGradients)
    PaintBarGradient(c, client, Themed(), FColorAdjustment, GetColor(), FGradientPath);
}

// --- group

bool TVyGroup::GradientsOn() const {
  return FGroupBar && FGroupBar->GetUseGradients() && FUseGradients && HasTrueColorScreen();
}

void TVyGroup::Paint() {
  TCanvas* c = GetCanvas();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(GetClientRect());
  if (!FGroupBar) return;
  switch (FStyle) {
    case gbsOutlook: DrawOutlookView(c); break;
    case gbsTaskList: DrawTaskListView(c); break;
    case gbsCategoryView:
      if (FGroupBar->Themed()) DrawThemedCategoryView(c);
      else DrawCategoryView(c);
      break;
  }
}

void TVyGroup::DrawDivider(TCanvas* c, int y) {
  if (GradientsOn()) {
    // gdVerticalEnd: the first colour at the right.
    PaintGradient(c, Rect(0, y, GetWidth(), y + 1), gdVerticalEnd, 1, Plain(GetColor()), Plain(FDividerColor));
    return;
  }
  c->GetPen()->SetColor(FDividerColor);
  Line(c, 0, y, GetWidth(), y);
}

void TVyGroup::DrawOutlookView(TCanvas* c) {
  const int width = GetWidth();
  c->SetFont(FCaptionFont.get());
  if (!Designing() && FCaptionState == 1) c->GetFont()->SetColor(FCaptionHotColor);
  if (!Designing() && FCaptionState == 2)
    c->GetFont()->SetColor(BlendColors(Plain(clBtnShadow), Plain(FCaptionHotColor), 128));
  const TFrameStyle frame = Designing()          ? fsPopup
                            : FCaptionState == 1 ? fsStatus
                            : FCaptionState == 2 ? fsNone
                                                 : fsGroove;
  const TRect inside = PaintFrame(c, Rect(0, 0, width, FCaptionHeight), frame);
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(FCaptionColor);
  c->FillRect(inside);
  const std::wstring caption = GetCaption();
  const TSize text = c->TextExtent(caption);
  int x = std::max(0, (width - int(text.cx)) / 2);
  if (TCustomImageList* images = SmallImageList(); images && FCaptionImageIndex != -1) {
    x = std::max(0, x - (images->GetWidth() + 4) / 2);
    images->Draw(c, x, (FCaptionHeight - images->GetHeight()) / 2, FCaptionImageIndex, GetEnabled());
    x += images->GetWidth() + 4;
  }
  c->GetBrush()->SetStyle(bsClear);
  c->TextRect(Rect(x, 2, width - 2, FCaptionHeight - 2), x, 2 + (FCaptionHeight - int(text.cy) - 4) / 2, caption);
  DrawItems(c);
}

int TVyGroup::DrawLeftCaptionImage(TCanvas* c) {
  TCustomImageList* images = SmallImageList();
  if (!images || FCaptionImageIndex == -1) return 8;
  images->Draw(c, 8, (FCaptionHeight - images->GetHeight()) / 2, FCaptionImageIndex, GetEnabled());
  return images->GetWidth() + 12;
}

void TVyGroup::DrawLeftCaption(TCanvas* c, int x) {
  const std::wstring caption = GetCaption();
  c->GetBrush()->SetStyle(bsClear);
  c->TextRect(Rect(x, 0, GetWidth() - 24, FCaptionHeight), x, (FCaptionHeight - c->TextHeight(caption)) / 2, caption);
}

void TVyGroup::DrawTaskListView(TCanvas* c) {
  const int width = GetWidth();
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(GetColor());
  c->FillRect(Rect(0, 0, width, FCaptionHeight));
  c->SetFont(FCaptionFont.get());
  DrawLeftCaption(c, DrawLeftCaptionImage(c));
  if (FDividerVisible) DrawDivider(c, FCaptionHeight - 1);
  if (Designing()) {
    c->GetBrush()->SetStyle(bsClear);
    c->GetPen()->SetColor(FDividerColor);
    c->GetPen()->SetStyle(psDot);
    c->Rectangle(0, FCaptionHeight, width, GetHeight());
    c->GetPen()->SetStyle(psSolid);
  }
  DrawItems(c);
}

void TVyGroup::DrawCategoryView(TCanvas* c) {
  const int width = GetWidth();
  // What shows round the rounded corners: the bar beside the group, or the bar's colour
  // where the group touches the bar's edge.
  TColor corner = FGroupBar->GetColor();
  if (GetLeft() > 0 && FGroupBar->HandleAllocated()) {
    const COLORREF below = ::GetPixel(FGroupBar->GetCanvas()->GetHandle(), GetLeft() - 1, GetTop());
    if (below != CLR_INVALID) corner = TColor(below);
  }
  const TColor brush = FSpecial ? FCaptionFont->GetColor() : FCaptionColor;
  TColor text = FSpecial ? FCaptionColor : FCaptionFont->GetColor();
  if (!Designing() && FCaptionState == 1) {
    text = ColorsNearlyEqual(Plain(FCaptionHotColor), Plain(brush)) ? BlendColors(Plain(text), Plain(brush), 128)
                                                                    : FCaptionHotColor;
  } else if (!Designing() && FCaptionState == 2) {
    const TColor pressed = BlendColors(Plain(clBtnShadow), Plain(FCaptionHotColor), 128);
    text = ColorsNearlyEqual(pressed, Plain(brush)) ? BlendColors(Plain(text), Plain(brush), 96) : pressed;
  }
  c->GetBrush()->SetStyle(bsSolid);
  c->GetBrush()->SetColor(brush);
  if (GradientsOn() && !FSpecial) {
    c->GetBrush()->SetColor(FCaptionColor);
    c->FillRect(Rect(0, 0, width / 2, FCaptionHeight));
    PaintGradient(c, Rect(width / 2, 0, width, FCaptionHeight), gdVerticalEnd, 1, Plain(GetColor()),
                  Plain(FCaptionColor));
  } else {
    c->FillRect(Rect(0, 0, width, FCaptionHeight));
  }
  c->SetFont(FCaptionFont.get());
  c->GetFont()->SetColor(text);
  DrawLeftCaption(c, DrawLeftCaptionImage(c));
  if (FCanClose) {
    DrawCaptionButton(c, FOpened, width - 20, text, FGroupBar->GetColor(), (FCaptionHeight - kCaptionButtonSize) / 2);
    for (TPoint p :
         {TPoint{0, 0}, TPoint{1, 0}, TPoint{0, 1}, TPoint{width - 1, 0}, TPoint{width - 2, 0}, TPoint{width - 1, 1}})
      c->SetPixel(p.X, p.Y, corner);
  }
  if (FDividerVisible && FOpened) DrawDivider(c, FCaptionHeight - 1);
  if (FOpened) {
    c->GetPen()->SetColor(FBorderColor);
    c->MoveTo(0, FCaptionHeight);
    c->LineTo(0, GetHeight() - 1);
    c->LineTo(width - 1, GetHeight() - 1);
    c->LineTo(width - 1, FCaptionHeight - 1);
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(GetColor());
    c->FillRect(Rect(1, FCaptionHeight, width - 1, GetHeight() - 1));
  }
  DrawItems(c);
}

void TVyGroup::DrawCaptionButton(TCanvas* c, bool opened, int x, TColor chevron, TColor ring, int y) {
  const TColor fill = Plain(FSpecial ? FCaptionFont->GetColor() : FCaptionColor);
  const TColor edge = Plain(ring);
  const char* const* rows = CaptionButtonPixels(opened);
  for (int row = 0; row < kCaptionButtonSize; ++row) {
    for (int col = 0; col < kCaptionButtonSize; ++col) {
      const int px = x + col, py = y + row;
      switch (rows[row][col]) {
        case 'R': c->SetPixel(px, py, edge); break;
        case 'r': c->SetPixel(px, py, BlendColors(edge, fill, 128)); break;
        case 'b': c->SetPixel(px, py, BlendColors(edge, Plain(c->GetPixel(px, py)), 128)); break;
        case 'F': c->SetPixel(px, py, fill); break;
        case 'C': c->SetPixel(px, py, Plain(chevron)); break;
        default: break;
      }
    }
  }
}

void TVyGroup::DrawThemedCategoryView(TCanvas* c) {
  TThemeServices& themes = ThemeServices();
  HDC dc = c->GetHandle();
  const int width = GetWidth(), height = GetHeight();
  const int special = FSpecial ? 1 : 0;
  const TRect caption = Rect(0, 0, width, FCaptionHeight);
  // The bar's background behind the caption shows in the head's rounded corners.
  const TRect bar = Bounds(-GetLeft(), -GetTop(), FGroupBar->GetClientWidth(), FGroupBar->GetClientHeight());
  themes.DrawElement(dc, ExplorerBarPart(kHeaderBackground), bar, &caption);
  const auto head = ExplorerBarPart(kGroupHead[special]);
  themes.DrawElement(dc, head, caption);
  const int x = DrawLeftCaptionImage(c);
  themes.DrawText(dc, head, GetCaption(), Rect(x, 0, width - 24, FCaptionHeight), DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if (FCanClose) {
    const int state = Designing() ? 1 : FCaptionState + 1;
    const auto button = ExplorerBarPart(FOpened ? kGroupCollapse[special] : kGroupExpand[special], state);
    const TPoint size = themes.PartSize(dc, button);
    themes.DrawElement(dc, button, Bounds(width - size.X - 2, (FCaptionHeight - size.Y) / 2, size.X, size.Y));
  }
  const auto background = ExplorerBarPart(kGroupBackground[special]);
  themes.DrawElement(dc, background, Rect(0, FCaptionHeight, width, height));
  FThemedTextColor = themes.PartColor(background, kThemeTextColor, GetFont()->GetColor());
  const TOnExit plain([this] { FThemedTextColor = clNone; });
  DrawItems(c);
}

void TVyGroup::ApplyItemFont(TCanvas* c, const TVyGroupItem& item) const {
  TFont* font = c->GetFont();
  const TFontStyles hotStyle = FItemStyle == isSmall ? TFontStyles{fsUnderline} : TFontStyles{};
  if (!item.FEnabled) {
    c->SetFont(GetFont());
    const bool onShadow = Plain(GetColor()) == Plain(clBtnShadow);
    font->SetColor(onShadow ? clBtnFace : clBtnShadow);
    font->SetStyle(TFontStyles{});
    return;
  }
  if (item.FHotState == 1 || item.FHotState == 2) {
    c->SetFont(GetFont());
    font->SetColor(item.FHotState == 1 ? FItemHotColor : BlendColors(Plain(clBtnShadow), Plain(FItemHotColor), 128));
    font->SetStyle(hotStyle);
  } else if (item.HasClickHandler()) {
    c->SetFont(GetFont());
    font->SetStyle(TFontStyles{});
    if (FThemedTextColor != clNone) font->SetColor(FThemedTextColor);
  } else {
    c->SetFont(FItemStaticFont.get());
  }
  if (item.FFontColor != clNone) font->SetColor(item.FFontColor);
  font->SetStyle(font->GetStyle() + item.FFontStyle);
}

void TVyGroup::DrawImage(TCanvas* c, TCustomImageList* images, int x, int y, const TVyGroupItem& item) const {
  if (item.FDisabledIndex == -1) images->Draw(c, x, y, item.FImageIndex, item.FEnabled);
  else images->Draw(c, x, y, item.FEnabled ? item.FImageIndex : item.FDisabledIndex, true);
}

void TVyGroup::DrawItems(TCanvas* c) {
  c->GetBrush()->SetStyle(bsClear);
  c->SetFont(GetFont());
  const int width = GetWidth();
  const TGroupItemsMetrics m = ItemMetrics(c, width);
  const TGroupItemsWalk walk = WalkItems(c, width);
  const int pad = ItemPad(m);
  for (int i = 0; i < FItems->Count(); ++i) {
    FItems->GetItem(i)->FTextRect = TRect{-1, -1, -1, -1};
    FItems->GetItem(i)->FImageRect = TRect{-1, -1, -1, -1};
  }
  auto selectionBox = [&](const TVyGroupItem& item, const TRect& box) {
    const bool light = item.FHotState == 1 || (item.FSelected && item.FHotState != 2);
    c->GetPen()->SetColor(FSelectionColor);
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(LightenColor(Plain(FSelectionColor), light ? 80 : 60));
    c->Rectangle(box);
    c->GetBrush()->SetStyle(bsClear);
  };
  for (const TGroupItemPlace& place : walk.Places) {
    TVyGroupItem& item = *FItems->GetItem(place.Index);
    ApplyItemFont(c, item);
    const int top = place.Top;
    const std::wstring shown = GroupItemShownCaption(item.FCaption);
    const bool active = item.FHotState != 0 || (FShowItemSelection && item.FSelected);
    if (FItemStyle == isLarge) {
      TRect text = Rect(8, top + m.ImageRow + pad, width - 8, top + m.ImageRow + pad + place.TextHeight);
      c->DrawText(shown, text, DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK | DT_CENTER);
      item.FTextRect = text;
      TCustomImageList* images = LargeImageList();
      if (images && item.FImageIndex != -1) {
        const int iw = images->GetWidth(), ih = images->GetHeight();
        const int x = (GetClientWidth() - iw) / 2;
        if (active) selectionBox(item, Rect(x - 2, top, x + iw + 2, top + ih + 4));
        DrawImage(c, images, x, top + 2, item);
        item.FImageRect = Rect(x, top + 2, x + iw, top + ih + 6);
      }
      continue;
    }
    if (place.Separator) {
      const int y = top + m.ItemHeight / 2;
      if (GradientsOn()) {
        PaintGradient(c, Rect(8, y, width - 8, y + 1), gdVerticalCenter, 1, Plain(FDividerColor), Plain(GetColor()));
      } else {
        c->GetPen()->SetColor(FDividerColor);
        Line(c, 8, y, width - 8, y);
      }
      continue;
    }
    const int left = SmallItemLeft(m, item.FIndentLevel);
    TRect box = Rect(left, top + pad, width - 8, top + pad + place.TextHeight);
    TCustomImageList* images = SmallImageList();
    const bool withImage = images && item.FImageIndex != -1;
    if (!withImage && FShowItemSelection && item.FSelected) {
      TRect frame = box;
      InflateRect(frame, 2, 2);
      selectionBox(item, frame);
    }
    TRect drawn = box;
    c->DrawText(shown, drawn, DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK);
    // The hit area is as wide as the text, not the whole row.
    const int textWidth = c->TextWidth(item.FCaption);
    item.FTextRect = Rect(box.Left, box.Top, std::min(box.Left + textWidth, width - 8), box.Bottom);
    if (withImage) {
      const int ih = images->GetHeight();
      const int x = 8 + m.ItemIndent * item.FIndentLevel;
      const bool oneShortLine = textWidth < box.Width() || place.TextHeight < m.ItemHeight;
      const int y = oneShortLine ? top + (m.ItemHeight - ih) / 2 : item.FTextRect.Top + pad;
      if (FShowItemSelection && active) selectionBox(item, Rect(x - 2, y - 2, x + images->GetWidth() + 2, y + ih + 2));
      DrawImage(c, images, x, y, item);
      item.FImageRect = Rect(x, y, x + 20, y + 16);
    }
  }
  c->GetBrush()->SetStyle(bsSolid);
}

}  // namespace Vy
