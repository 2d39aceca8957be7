#include "displays/SkinConfig.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>

#include "core/settings/ExtSettingsIni.h"

namespace Displays {

namespace {

// The value of name in the section's name=value lines; nullptr when absent.
const std::string* ValueOf(const TSettingsLines& lines, std::string_view name, std::string& scratch) {
  for (const std::string& line : lines) {
    const std::size_t eq = line.find('=');
    const std::string_view key(line.data(), eq == std::string::npos ? line.size() : eq);
    if (key.size() != name.size() || !std::equal(key.begin(), key.end(), name.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        }))
      continue;
    scratch = eq == std::string::npos ? std::string() : line.substr(eq + 1);
    return &scratch;
  }
  return nullptr;
}

int IntegerOf(const TSettingsLines& lines, std::string_view name) {
  std::string value;
  if (!ValueOf(lines, name, value)) return kSkinNotSet;
  const std::string_view text = TrimIniBlanks(value);
  int n = 0;
  const char* begin = text.data() + (!text.empty() && text.front() == '+' ? 1 : 0);
  const auto [end, error] = std::from_chars(begin, text.data() + text.size(), n);
  if (error != std::errc() || end != text.data() + text.size() || begin == end) return kSkinNotSet;
  return n;
}

std::string StringOf(const TSettingsLines& lines, std::string_view name) {
  std::string value;
  return ValueOf(lines, name, value) ? value : std::string();
}

TSkinLabelPlace PlaceOf(const TSettingsLines& labels, const std::string& prefix) {
  TSkinLabelPlace p;
  p.Top = IntegerOf(labels, prefix + "-Top");
  p.Left = IntegerOf(labels, prefix + "-Left");
  p.Right = IntegerOf(labels, prefix + "-Right");
  p.Bottom = IntegerOf(labels, prefix + "-Bottom");
  p.Align = StringOf(labels, prefix + "-Align");
  return p;
}

bool Set(int v) { return v != kSkinNotSet; }
int OrZero(int v) { return Set(v) ? v : 0; }

// Caption, position and body: later keys win, as the skins were always read.
void Place(TLabelBox& box, const TSkinLabelPlace& p, int width, int height) {
  if (Set(p.Top)) box.Top = p.Top;
  if (Set(p.Left)) box.Left = p.Left;
  if (Set(p.Right)) box.Left = width - p.Right;
  if (Set(p.Bottom)) box.Top = height - p.Bottom;
}

}  // namespace

TSkinConfig ParseSkinConfig(std::string_view bytes) {
  const TIniDocument ini = TIniDocument::Parse(bytes);
  const TSettingsLines background = ini.ReadSection("Background");
  const TSettingsLines labels = ini.ReadSection("Labels");
  TSkinConfig c;
  c.Image = StringOf(background, "Image");
  c.Left = IntegerOf(background, "Left");
  c.Top = IntegerOf(background, "Top");
  c.Right = IntegerOf(background, "Right");
  c.Bottom = IntegerOf(background, "Bottom");
  c.MinHeight = IntegerOf(background, "MinHeight");
  c.MinWidth = IntegerOf(background, "MinWidth");
  c.Title = PlaceOf(labels, "Title");
  c.Pos = PlaceOf(labels, "Pos");
  c.Time = PlaceOf(labels, "Time");
  c.Text = PlaceOf(labels, "Text");
  return c;
}

bool SkinPictureNameAllowed(std::string_view name) {
  if (name.empty() || name.front() == '\\' || name.front() == '/') return false;
  if (name.find(':') != std::string_view::npos) return false;  // drives and streams
  std::size_t start = 0;
  while (start <= name.size()) {
    std::size_t end = name.find_first_of("\\/", start);
    if (end == std::string_view::npos) end = name.size();
    const std::string_view step = name.substr(start, end - start);
    // Windows drops trailing dots and blanks, so "..." and ". ." mean "..".
    if (step.find_first_not_of(". ") == std::string_view::npos) return false;
    start = end + 1;
  }
  return true;
}

std::wstring SkinMarginProblem(const TSkinConfig& c, int pictureWidth, int pictureHeight) {
  if (!Set(c.Left) || !Set(c.Top) || !Set(c.Right) || !Set(c.Bottom))
    return L"the picture's margins (Left, Top, Right, Bottom) are not all set";
  if (c.Left < 0 || c.Top < 0 || c.Right < 0 || c.Bottom < 0) return L"a margin of the picture is negative";
  const auto size = std::to_wstring(pictureWidth) + L" x " + std::to_wstring(pictureHeight);
  if (static_cast<long long>(c.Left) + c.Right > pictureWidth)
    return L"the left and right margins are wider than the picture (" + size + L")";
  if (static_cast<long long>(c.Top) + c.Bottom > pictureHeight)
    return L"the top and bottom margins are higher than the picture (" + size + L")";
  return {};
}

void RaiseToSkinMinimum(const TSkinConfig& c, int& width, int& height) {
  if (Set(c.MinHeight)) height = std::max(height, c.MinHeight);
  if (Set(c.MinWidth)) width = std::max(width, c.MinWidth);
  height = std::max(height, OrZero(c.Top) + OrZero(c.Bottom));
  width = std::max(width, OrZero(c.Left) + OrZero(c.Right));
}

TSkinLayout LayoutSkinLabels(const TSkinConfig& c, TSkinLayout l) {
  Place(l.Title, c.Title, l.Width, l.Height);
  Place(l.Pos, c.Pos, l.Width, l.Height);
  Place(l.Text, c.Text, l.Width, l.Height);
  // Keys not set count 0 here: -999 would make the popup smaller than nothing.
  l.Height = l.Text.Height + OrZero(c.Bottom) + OrZero(c.Text.Top);
  l.Width = l.Text.Width + OrZero(c.Right) + OrZero(c.Text.Left);
  RaiseToSkinMinimum(c, l.Width, l.Height);
  if (Set(c.Time.Top)) l.Time.Top = c.Time.Top;
  if (Set(c.Time.Left)) l.Time.Left = c.Time.Left;
  if (Set(c.Time.Right)) l.Time.Left = l.Width - c.Time.Right - l.Time.Width;
  if (Set(c.Time.Bottom)) l.Time.Top = l.Height - c.Time.Bottom;
  for (TLabelBox* bar : {&l.TrackBar, &l.VolumeBar}) {
    bar->Left = OrZero(c.Left) + 2;
    bar->Top = l.Height - OrZero(c.Bottom) - bar->Height - 2;
    bar->Width = l.Width - OrZero(c.Left) - OrZero(c.Right) - 4;
  }
  return l;
}

}  // namespace Displays
