// Guards that undo a step when the scope ends, by return or by exception: the one
// way to say "finally" in this code.
//
// Rule: a step that must be undone (a flag, an update count, a state bit, an
// attached DC, a kernel handle) gets its guard on the very next line, and no
// `catch (...) { undo; throw; }` stands in for one:
//
//   FAligning = true;
//   const TOnExit aligned([this] { FAligning = false; });
//
//   BeginUpdate();
//   const TOnExit updated([this] { EndUpdate(); });
//
//   const TCanvasAttach attached(FCanvas.get(), dc);  // given back on exit
//   TUniqueHandle process(OpenProcess(...));           // closed on exit
//
// An undo step that runs while an exception is already on its way and fails in
// turn is dropped: the first failure is the one the caller hears of. On a normal
// exit its failure reaches the caller as usual.
// Owned sub-objects (fonts, lists, canvases, links) are std::unique_ptr members, so
// no destructor deletes by hand; these guards are for steps. TUniqueHandle is the
// one owner of a kernel handle: no file writes a closer of its own.
#pragma once

#include <exception>
#include <memory>
#include <utility>

// Runs f when the scope ends.
template <class F>
class TOnExit {
 public:
  explicit TOnExit(F f) : f_(std::move(f)), unwinding_(std::uncaught_exceptions()) {}
  ~TOnExit() noexcept(false) {
    if (std::uncaught_exceptions() > unwinding_) {
      try {
        f_();
      } catch (...) {  // a second failure while the first propagates
      }
    } else {
      f_();
    }
  }
  TOnExit(const TOnExit&) = delete;
  TOnExit& operator=(const TOnExit&) = delete;

 private:
  F f_;
  int unwinding_;
};

// Runs f only when the scope ends by an exception: the half-done step that the
// normal path completes its own way (a paint dropped instead of shown).
template <class F>
class TOnFailure {
 public:
  explicit TOnFailure(F f) : f_(std::move(f)), unwinding_(std::uncaught_exceptions()) {}
  ~TOnFailure() {
    if (std::uncaught_exceptions() <= unwinding_) return;
    try {
      f_();
    } catch (...) {  // a second failure while the first propagates
    }
  }
  TOnFailure(const TOnFailure&) = delete;
  TOnFailure& operator=(const TOnFailure&) = delete;

 private:
  F f_;
  int unwinding_;
};

// A canvas draws on a DC it was given (by painting) for the scope, and gives it
// back (AttachDC(nullptr)) when the scope ends.
template <class Canvas>
class TCanvasAttach {
 public:
  template <class DC>
  TCanvasAttach(Canvas* canvas, DC dc) : canvas_(canvas) {
    canvas_->AttachDC(dc);
  }
  ~TCanvasAttach() { canvas_->AttachDC(nullptr); }
  TCanvasAttach(const TCanvasAttach&) = delete;
  TCanvasAttach& operator=(const TCanvasAttach&) = delete;

 private:
  Canvas* canvas_;
};

// A kernel handle (process, mutex, event, file): closed when its owner goes. A
// failed open (null, or INVALID_HANDLE_VALUE) is never closed.
struct THandleCloser {
  void operator()(void* handle) const;
};
using TUniqueHandle = std::unique_ptr<void, THandleCloser>;
