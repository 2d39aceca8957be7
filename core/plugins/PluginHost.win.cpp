#include "core/plugins/PluginHost.h"

#include "core/settings/SafeFile.h"
#include "vcl/System.h"
#include "vcl/Win.h"

#include <cstring>

namespace {

using TextExport = const char*(__stdcall*)();
using ByteExport = std::uint32_t(__stdcall*)();  // booleans are read from the low byte

// No plug-in text is longer; a pointer to anything else is not read past it.
constexpr std::size_t kMaxPluginText = 4096;

bool IsDll(const std::filesystem::path& file) {
  std::wstring ext = file.extension().wstring();
  for (auto& c : ext) c = static_cast<wchar_t>(towlower(c));
  return ext == L".dll";
}

std::string FileNameOf(const std::filesystem::path& path) { return StringToUtf8(path.filename().wstring()); }

// What a guarded main-thread call works on: plain data only, since a crash in
// the plug-in skips everything after the call.
struct ByteCall {
  ByteExport fn;
  std::uint32_t result;
};

void RunByteCall(void* c) {
  auto* call = static_cast<ByteCall*>(c);
  call->result = call->fn();
}

}  // namespace

struct TPluginHost::QueryAnswer {
  bool found = false;  // the library loaded and has the export
  TPluginCallResult call;
  std::string text;
  std::uint8_t byte = 0;
};

namespace {

struct QueryCall {
  FARPROC fn;
  bool text;
  std::string* textOut;
  std::uint8_t* byteOut;
};

void RunQueryCall(void* c) {
  auto* q = static_cast<QueryCall*>(c);
  if (q->text) {
    const char* t = reinterpret_cast<TextExport>(reinterpret_cast<void*>(q->fn))();
    // Measured first: a bad pointer faults here, before anything is allocated.
    const std::size_t n = t ? strnlen(t, kMaxPluginText) : 0;
    if (t) q->textOut->assign(t, n);  // copied before the library goes
  } else {
    *q->byteOut = static_cast<std::uint8_t>(reinterpret_cast<ByteExport>(reinterpret_cast<void*>(q->fn))() & 0xFF);
  }
}

}  // namespace

TPluginHost::TPluginHost(std::filesystem::path pluginFolder, std::filesystem::path settingsFolder, Hooks hooks)
    : pluginFolder_(std::move(pluginFolder)),
      settingsFolder_(std::move(settingsFolder)),
      hooks_(std::move(hooks)),
      watchdog_(std::make_unique<TPluginWatchdog>(
          [this](const std::wstring& file, const std::string& exportName) { onOverrun(file, exportName); })) {}

TPluginHost::~TPluginHost() = default;

std::filesystem::path TPluginHost::failuresFile() const { return settingsFolder_ / PluginFailuresFile; }

std::vector<TPluginFailure> TPluginHost::failures() const {
  std::lock_guard<std::mutex> lock(failuresLock_);
  return failures_;
}

bool TPluginHost::saveFailuresLocked() const {
  std::error_code ec;
  if (failures_.empty()) return std::filesystem::remove(failuresFile(), ec) || !ec;
  return WriteWholeFileSafely(failuresFile(), FormatPluginFailures(failures_));
}

void TPluginHost::loadpluginslist() {
  table_ = {};
  const std::string db = ReadWholeFile(settingsFolder_ / "plugins.db").value_or("");
  {
    std::lock_guard<std::mutex> lock(failuresLock_);
    failures_ = ParsePluginFailures(ReadWholeFile(failuresFile()).value_or(""));
  }
  std::error_code ec;
  for (std::filesystem::directory_iterator it(pluginFolder_, ec), end; !ec && it != end; it.increment(ec)) {
    if (table_.full()) break;
    if (it->is_directory(ec) || !IsDll(it->path())) continue;
    const std::filesystem::path path = it->path();

    // Left out before: listed, never called; told once.
    std::optional<TPluginFailure> untold;
    bool known = false;
    {
      std::lock_guard<std::mutex> lock(failuresLock_);
      if (TPluginFailure* f = FindPluginFailure(failures_, FileNameOf(path))) {
        known = true;
        if (!f->told) {
          untold = *f;
          f->told = true;
          saveFailuresLocked();
        }
      }
    }
    if (known) {
      addFailedEntry(path);
      if (untold) tell(*untold);
      continue;
    }

    const auto name = query(path, "GetName", TQueryKind::Text);
    if (!name) {
      addFailedEntry(path);  // crashed or never returned: recorded and told
      continue;
    }
    if (!name->found) continue;  // not a plug-in
    TPluginEntry& e = table_.entries[table_.count++];
    e.name = name->text;
    e.path = path;
    e.enabled = PluginEnabledInDb(db, e.name.view()) ? 1 : 0;
    if (e.enabled) {
      e.module = EnablePlugin(e.path);
      e.loaded = e.module ? 1 : 0;
    }
  }
  if (hooks_.listChanged) hooks_.listChanged();
}

void TPluginHost::addFailedEntry(const std::filesystem::path& path) {
  if (table_.full()) return;
  TPluginEntry& e = table_.entries[table_.count++];
  e.name = StringToAnsi(path.filename().wstring());
  e.path = path;
  e.failed = 1;
}

bool TPluginHost::savepluginslist() const {
  return WriteWholeFileSafely(settingsFolder_ / "plugins.db", FormatPluginsDb(table_));
}

std::shared_ptr<TPluginHost::QueryAnswer> TPluginHost::query(const std::filesystem::path& path, const char* exportName,
                                                             TQueryKind kind) {
  auto answer = std::make_shared<QueryAnswer>();
  // The worker gets copies only: it may outlive this call, and this host.
  const std::wstring file = path.wstring();
  const std::string name = exportName;
  const bool text = kind == TQueryKind::Text;
  const TPluginCallResult worker = CallOnWorker([answer, file, name, text] {
    // The load itself is not guarded: a fault in DllMain must stay the loader's.
    HMODULE lib = LoadLibraryW(file.c_str());
    if (!lib) return;
    FARPROC fn = GetProcAddress(lib, name.c_str());
    if (!fn) {
      FreeLibrary(lib);
      return;
    }
    answer->found = true;
    QueryCall call{fn, text, &answer->text, &answer->byte};
    answer->call = CallGuarded(&RunQueryCall, &call);
    // A library that crashed may have left anything behind: it stays loaded.
    if (answer->call.outcome == TPluginCallOutcome::Returned) FreeLibrary(lib);
  });
  if (worker.outcome != TPluginCallOutcome::Returned) {
    leaveOut(path, exportName, worker);
    return nullptr;
  }
  if (answer->call.outcome != TPluginCallOutcome::Returned) {
    leaveOut(path, exportName, answer->call);
    return nullptr;
  }
  return answer;
}

std::optional<std::uint8_t> TPluginHost::callOnMainThread(const std::filesystem::path& path, void* lib,
                                                          const char* exportName) {
  ByteCall call{reinterpret_cast<ByteExport>(reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(lib), exportName))), 0};
  if (!call.fn) return std::nullopt;
  TPluginCallResult result;
  {
    TPluginWatchdog::Scope watched(watchdog_.get(), path.wstring(), exportName);
    result = CallGuarded(&RunByteCall, &call);
  }
  if (result.outcome != TPluginCallOutcome::Returned) {
    leaveOut(path, exportName, result);
    return std::nullopt;
  }
  return static_cast<std::uint8_t>(call.result & 0xFF);
}

void* TPluginHost::EnablePlugin(const std::filesystem::path& path) {
  HMODULE lib = LoadLibraryW(path.c_str());
  if (!lib) return nullptr;
  const auto ok = callOnMainThread(path, lib, "Enable");
  if (!ok || *ok == 0) return nullptr;  // stays loaded: its threads may have started
  return lib;
}

bool TPluginHost::DisablePlugin(const std::filesystem::path& path, void* handle) {
  HMODULE lib = static_cast<HMODULE>(handle);
  if (!lib) lib = LoadLibraryW(path.c_str());
  if (!lib) return false;
  const auto ok = callOnMainThread(path, lib, "Disable");
  return ok && *ok != 0;
}

std::optional<std::string> TPluginHost::QueryText(const std::filesystem::path& path, const char* exportName) {
  const auto answer = query(path, exportName, TQueryKind::Text);
  if (!answer || !answer->found) return std::nullopt;
  return answer->text;
}

std::optional<std::uint8_t> TPluginHost::QueryByte(const std::filesystem::path& path, const char* exportName) {
  const auto answer = query(path, exportName, TQueryKind::Byte);
  if (!answer || !answer->found) return std::nullopt;
  return answer->byte;
}

void TPluginHost::leaveOut(const std::filesystem::path& path, const std::string& exportName,
                           const TPluginCallResult& result) {
  const TPluginFailure failure{FileNameOf(path), exportName,
                               result.outcome == TPluginCallOutcome::Overran ? "hang" : "crash", true};
  {
    std::lock_guard<std::mutex> lock(failuresLock_);
    RecordPluginFailure(failures_, failure);
    saveFailuresLocked();
  }
  for (std::size_t i = 0; i < table_.count; ++i) {
    TPluginEntry& e = table_.entries[i];
    if (e.path != path) continue;
    e.failed = 1;
    e.enabled = 0;
    e.loaded = 0;
    e.module = nullptr;
  }
  tell(failure);
}

void TPluginHost::tell(const TPluginFailure& failure) {
  const std::wstring why = failure.what == "hang" ? L"did not return within " + std::to_wstring(kPluginCallBoundMs / 1000) + L" seconds"
                                                  : std::wstring(L"crashed");
  const std::wstring text = L"Can`t load plugin\n\n" + Utf8ToString(failure.file) + L": " +
                            Utf8ToString(failure.exportName) + L" " + why +
                            L".\nIt stays off until it is switched on again.";
  if (hooks_.pluginFailed) hooks_.pluginFailed(text);
  else if (hooks_.errorMsg) hooks_.errorMsg(2);
}

void TPluginHost::onOverrun(const std::wstring& file, const std::string& exportName) {
  {
    std::lock_guard<std::mutex> lock(failuresLock_);
    // Told at the next start: this run cannot show anything any more.
    RecordPluginFailure(failures_, {FileNameOf(file), exportName, "hang", false});
    saveFailuresLocked();
  }
  if (hooks_.callOverran) hooks_.callOverran();
}

void TPluginHost::SetEnabled(std::size_t i, bool enabled) {
  if (i >= table_.count) return;
  TPluginEntry& e = table_.entries[i];
  if (enabled && e.failed) {
    // The user asks for it again: the record goes, and it gets a fresh try.
    {
      std::lock_guard<std::mutex> lock(failuresLock_);
      ForgetPluginFailure(failures_, FileNameOf(e.path));
      saveFailuresLocked();
    }
    e.failed = 0;
    const auto name = query(e.path, "GetName", TQueryKind::Text);
    if (!name) return;  // failed again, and told
    if (!name->found) {
      e.failed = 1;  // no longer a plug-in
      return;
    }
    e.name = name->text;
  }
  if (enabled) {
    if (e.failed) return;
    e.enabled = 1;
    if (!e.loaded) {
      e.module = EnablePlugin(e.path);
      e.loaded = e.module ? 1 : 0;
    }
  } else {
    e.enabled = 0;
    if (e.loaded) DisablePlugin(e.path, e.module);
    e.loaded = 0;
  }
  savepluginslist();
}

void TPluginHost::UnloadPluginList() {
  for (std::size_t i = 0; i < table_.count; ++i) {
    TPluginEntry& e = table_.entries[i];
    if (!e.loaded) continue;
    DisablePlugin(e.path, e.module);
    e.loaded = 0;
  }
}

void TPluginHost::ResumePluginList() {
  for (std::size_t i = 0; i < table_.count; ++i) {
    TPluginEntry& e = table_.entries[i];
    const TPluginEntry& before = suspendedCopy_.entries[i];
    // Only what ran before the lock, and only while the user still wants it.
    if (!before.loaded || !e.enabled || e.loaded || e.failed) continue;
    e.module = EnablePlugin(e.path);
    e.loaded = e.module ? 1 : 0;
  }
}

void TPluginHost::DisableAllPlugins() {
  if (PluginsSuspended) return;
  PluginsSuspended = true;
  suspendedCopy_ = table_;
  if (hooks_.removeKeyboardHook) hooks_.removeKeyboardHook();
  UnloadPluginList();
}

void TPluginHost::ResumeAllPlugins() {
  if (!PluginsSuspended) return;
  PluginsSuspended = false;
  if (hooks_.setKeyboardHook && !hooks_.setKeyboardHook() && hooks_.errorMsg) hooks_.errorMsg(1);
  ResumePluginList();
}
