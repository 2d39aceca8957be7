// The running programs: which processes run, the path of each one's program, the
// windows each one owns, its description and caption. The key road learns the
// program in front from here (ProcessPathOfWindow), the settings pages list the
// running programs, and the actions find a running player.
//
// One list for the whole process, kept on the GUI thread; what it holds is what the
// last refresh found. Paths stay wide. Processes are opened with the least rights
// that name their program (PROCESS_QUERY_LIMITED_INFORMATION), so elevated and
// other users' programs are listed too.
#pragma once

#include "vcl/Classes.h"
#include "vcl/Win.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct TProcessEntry {
  DWORD id;
  std::wstring path;
};
// Every process whose program can be named, in the system's order (no fixed limit
// on their number). On systems before the NT family: the snapshot's program names.
std::vector<TProcessEntry> GetProcessList();

enum class TProcessKind : std::uint8_t {
  Unknown = 0,       // not asked yet
  VisibleWindow = 1, // at least one visible window
  HiddenWindows = 2, // windows, none visible
  Explorer = 3,      // "explorer.exe" exactly as written
  NoWindows = 4,
};

class TacProcess : public TObject {
  QORN_CLASS(TacProcess, TObject)
 public:
  TacProcess(DWORD ProcessID, std::wstring ExePath);

  DWORD GetProcessID() const { return FProcessID; }
  const std::wstring& GetExePath() const { return FExePath; }
  // Its top-level windows, in the order the system listed them.
  const std::vector<HWND>& GetWindows() const { return FWindows; }
  int WindowCount() const { return static_cast<int>(FWindows.size()); }
  int VisibleWindowCount() const;
  // Worked out once, on the first request.
  TProcessKind GetKind();
  // The program's own description, else its file name; read once.
  const std::wstring& GetDescription();
  // "Windows Explorer", "System tray", or the first text of its windows.
  std::wstring GetCaption() const;

 private:
  friend class TacProcesses;
  DWORD FProcessID;
  std::wstring FExePath;
  std::vector<HWND> FWindows;
  TProcessKind FKind = TProcessKind::Unknown;
  std::optional<std::wstring> FDescription;
};

// The one list of running processes.
class TacProcesses {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  // Throws EListError for an index outside 0..Count-1.
  TacProcess* Items(int Index) const;
  // Takes the process unless one with its id is listed (then it is freed); the
  // index taken, or -1.
  int Add(std::unique_ptr<TacProcess> Process);
  void Clear() { FItems.clear(); }
  // Reads the processes and their windows again.
  void Refresh();
  // With Retry, one refresh when the id is not listed.
  TacProcess* FindByID(DWORD ProcessID, bool Retry);
  // The program of the process that owns the top-level window; one refresh when
  // no listed process owns it. Empty for a null window or when still not found.
  std::wstring FindFileByWindow(HWND Window);
  // The key road's question: the program owning the window, from the list, or read
  // for that one process alone (added to the list), never by listing every process.
  std::wstring ProcessPathOfWindow(HWND Window);

 private:
  TacProcess* ListedOwnerOf(HWND Window) const;
  std::vector<std::unique_ptr<TacProcess>> FItems;
};

TacProcesses& Processes();

// The main window's component over the one list.
class TacProcessList : public TComponent {
  QORN_CLASS(TacProcessList, TComponent)
 public:
  explicit TacProcessList(TComponent* AOwner);

  int Count() const { return Processes().Count(); }
  void Refresh() { Processes().Refresh(); }
  TacProcess* Items(int Index) const { return Processes().Items(Index); }
  TacProcesses& GetProcesses() const { return Processes(); }
  std::wstring FindFileByWindow(HWND Window) { return Processes().FindFileByWindow(Window); }

 protected:
  void Loaded() override;

 private:
  static void Publish(TPublisher<TacProcessList>& p);
  std::wstring FAbout;  // shown by designers only
};

// Routines the process list and the settings pages share.
// The system image list of file icons: small ones unless Size is 32.
HIMAGELIST GetSystemImageList(int Size);
// The file's icon in that list; -1 when the shell has none.
int GetFileIconIndex(const std::wstring& Path);
// The shell's name for an existing file, else the file-name part of the path.
std::wstring FileDisplayName(const std::wstring& Path);
// The high 32 bits of the file version (major << 16 | minor); 0 without a version.
std::uint32_t FileVersion(const std::wstring& Path);
std::wstring WindowText(HWND Window);
