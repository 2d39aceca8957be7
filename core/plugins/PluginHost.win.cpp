#include "core/plugins/PluginHost.h"

#include "core/settings/SafeFile.h"
#include "vcl/Win.h"


namespace {

using TextExport = const char*(__stdcall*)();
using ByteExport = std::uint32_t(__stdcall*)();  // booleans are read from the low byte

template <class F>
F Export(HMODULE lib, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(lib, name)));
}

HMODULE Load(const std::string& path) {
  // Paths are short strings in the system code page.
  return LoadLibraryA(path.c_str());
}

// A library loaded for one call and freed after it.
class ScopedLibrary {
 public:
  explicit ScopedLibrary(const std::string& path) : lib_(Load(path)) {}
  ~ScopedLibrary() {
    if (lib_) FreeLibrary(lib_);
  }
  ScopedLibrary(const ScopedLibrary&) = delete;
  ScopedLibrary& operator=(const ScopedLibrary&) = delete;
  HMODULE get() const { return lib_; }

 private:
  HMODULE lib_;
};

bool IsDll(const std::filesystem::path& file) {
  std::wstring ext = file.extension().wstring();
  for (auto& c : ext) c = static_cast<wchar_t>(towlower(c));
  return ext == L".dll";
}

}  // namespace

TPluginHost::TPluginHost(std::filesystem::path pluginFolder, std::filesystem::path settingsFolder, Hooks hooks)
    : pluginFolder_(std::move(pluginFolder)), settingsFolder_(std::move(settingsFolder)), hooks_(std::move(hooks)) {}

void TPluginHost::loadpluginslist() {
  table_ = {};
  const std::string db = ReadWholeFile(settingsFolder_ / "plugins.db").value_or("");
  std::error_code ec;
  for (std::filesystem::directory_iterator it(pluginFolder_, ec), end; !ec && it != end; it.increment(ec)) {
    if (table_.full()) break;
    if (it->is_directory(ec) || !IsDll(it->path())) continue;
    const std::string path = it->path().string();
    const auto name = QueryText(path, "GetName");
    if (!name) continue;  // not a plug-in
    TPluginEntry& e = table_.entries[table_.count++];
    e.name = *name;
    e.path = path;
    e.enabled = PluginEnabledInDb(db, e.name.view()) ? 1 : 0;
    if (e.enabled) {
      e.module = EnablePlugin(e.path.str());
      e.loaded = e.module ? 1 : 0;
    }
  }
  if (hooks_.listChanged) hooks_.listChanged();
}

bool TPluginHost::savepluginslist() const {
  return WriteWholeFileSafely(settingsFolder_ / "plugins.db", FormatPluginsDb(table_));
}

void* TPluginHost::EnablePlugin(const std::string& path) {
  HMODULE lib = Load(path);
  if (!lib) return nullptr;
  auto enable = Export<ByteExport>(lib, "Enable");
  if (!enable || (enable() & 0xFF) == 0) return nullptr;  // stays loaded: its threads may have started
  return lib;
}

bool TPluginHost::DisablePlugin(const std::string& path, void* handle) {
  HMODULE lib = static_cast<HMODULE>(handle);
  if (!lib) lib = Load(path);
  if (!lib) return false;
  auto disable = Export<ByteExport>(lib, "Disable");
  return disable && (disable() & 0xFF) != 0;
}

std::optional<std::string> TPluginHost::QueryText(const std::string& path, const char* exportName) const {
  ScopedLibrary lib(path);
  if (!lib.get()) return std::nullopt;
  auto query = Export<TextExport>(lib.get(), exportName);
  if (!query) return std::nullopt;
  const char* text = query();
  return std::string(text ? text : "");  // copied before the library goes
}

std::optional<std::uint8_t> TPluginHost::QueryByte(const std::string& path, const char* exportName) const {
  ScopedLibrary lib(path);
  if (!lib.get()) return std::nullopt;
  auto query = Export<ByteExport>(lib.get(), exportName);
  if (!query) return std::nullopt;
  return static_cast<std::uint8_t>(query() & 0xFF);
}

void TPluginHost::SetEnabled(std::size_t i, bool enabled) {
  if (i >= table_.count) return;
  TPluginEntry& e = table_.entries[i];
  if (enabled) {
    e.enabled = 1;
    if (!e.loaded) {
      e.module = EnablePlugin(e.path.str());
      e.loaded = e.module ? 1 : 0;
    }
  } else {
    e.enabled = 0;
    if (e.loaded) DisablePlugin(e.path.str(), e.module);
    e.loaded = 0;
  }
  savepluginslist();
}

void TPluginHost::UnloadPluginList() {
  for (std::size_t i = 0; i < table_.count; ++i) {
    TPluginEntry& e = table_.entries[i];
    if (!e.loaded) continue;
    DisablePlugin(e.path.str(), e.module);
    e.loaded = 0;
  }
}

void TPluginHost::ResumePluginList() {
  for (std::size_t i = 0; i < table_.count; ++i) {
    TPluginEntry& e = table_.entries[i];
    const TPluginEntry& before = suspendedCopy_.entries[i];
    // Only what ran before the lock, and only while the user still wants it.
    if (!before.loaded || !e.enabled || e.loaded) continue;
    e.module = EnablePlugin(e.path.str());
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
