#include "core/utils/Trace.h"

#include <exception>
#include <fstream>
#include <mutex>
#include <string>

namespace {

struct TraceState {
  std::mutex mutex;
  std::function<void(std::wstring_view)> sink;
  std::filesystem::path file;
};

TraceState& State() {
  static TraceState state;
  return state;
}

std::string Utf8(std::wstring_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    if (sizeof(wchar_t) == 2 && c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
      const char32_t low = static_cast<char32_t>(text[i + 1]);
      if (low >= 0xDC00 && low < 0xE000) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

void Trace(std::wstring_view text) {
  TraceState& state = State();
  std::lock_guard lock(state.mutex);
  const std::wstring line = L"Qorn: " + std::wstring(text);
  if (state.sink) state.sink(line);
  if (!state.file.empty()) {
    std::ofstream out(state.file, std::ios::binary | std::ios::app);
    out << Utf8(line) << "\n";
  }
}

void TraceCurrentException(std::wstring_view where) {
  std::wstring text(where);
  try {
    if (const std::exception_ptr current = std::current_exception()) std::rethrow_exception(current);
  } catch (const std::exception& e) {
    const std::string what = e.what();
    text += L": ";
    text += std::wstring(what.begin(), what.end());
  } catch (...) {
    text += L": an exception without a text";
  }
  Trace(text);
}

void SetTraceSink(std::function<void(std::wstring_view)> sink) {
  std::lock_guard lock(State().mutex);
  State().sink = std::move(sink);
}

void SetTraceFile(const std::filesystem::path& file) {
  std::lock_guard lock(State().mutex);
  State().file = file;
}
