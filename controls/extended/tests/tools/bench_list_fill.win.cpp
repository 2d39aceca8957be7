// Benchmark of filling the framed lists (not a test): the time to add N lines one by
// one to a list box whose scrollable width follows its lines, to a tabbed list box
// with automatic tab stops, to a check list, and to the class library's own list box
// for comparison: hidden, shown inside the items' BeginUpdate/EndUpdate, and shown
// line by line. Linear filling keeps the time per line flat as N grows.
//
//   bench_list_fill
#include "controls/extended/VyChkLst.h"
#include "controls/extended/VyLstBox.h"
#include "vcl/Forms.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

using namespace Vy;

namespace {

using TMake = std::function<TCustomListBox*(TForm*)>;

double MillisToFill(const TMake& make, int lines, bool shown, bool inUpdate) {
  TForm* form = CreateFormNew<TForm>(nullptr);
  TCustomListBox* list = make(form);
  list->SetParent(form);
  list->HandleNeeded();
  if (shown) form->Show();
  const auto start = std::chrono::steady_clock::now();
  if (inUpdate) list->GetItems()->BeginUpdate();
  for (int i = 0; i < lines; ++i)
    list->GetItems()->Add(L"binding number " + std::to_wstring(i) + L"\tcolumn " + std::to_wstring(i % 97));
  if (inUpdate) list->GetItems()->EndUpdate();
  const auto end = std::chrono::steady_clock::now();
  delete form;
  return std::chrono::duration<double, std::milli>(end - start).count();
}

}  // namespace

int main() {
  Application->Initialize();
  struct Kind {
    const char* name;
    TMake make;
  } kinds[] = {
      {"list box, horizontal scroll bar",
       [](TForm* f) {
         auto* l = new TVyListBox(f);
         l->SetHorzScrollBar(true);
         return l;
       }},
      {"tabbed list box, automatic stops",
       [](TForm* f) {
         auto* l = new TVyCheckList(f);
         l->SetTabStopsMode(tsmAutomatic);
         return l;
       }},
      {"check list", [](TForm* f) { return new TVyCheckList(f); }},
      {"the class library's list box", [](TForm* f) { return new TListBox(f); }},
  };
  for (const Kind& k : kinds) {
    std::printf("%s\n", k.name);
    // A shown list redraws its scroll bar for each line added outside an update: fewer lines.
    struct Run {
      bool shown, inUpdate;
      std::initializer_list<int> sizes;
      const char* how;
    } runs[] = {{false, false, {2500, 5000, 10000}, "hidden, line by line"},
                {true, true, {2500, 5000, 10000}, "shown, in an update"},
                {true, false, {100, 200, 400}, "shown, line by line"}};
    for (const Run& r : runs)
      for (int lines : r.sizes) {
        const double ms = MillisToFill(k.make, lines, r.shown, r.inUpdate);
        std::printf("  %-22s %6d lines: %9.1f ms  %8.2f us/line\n", r.how, lines, ms, 1000.0 * ms / lines);
        std::fflush(stdout);
      }
  }
  return 0;
}
