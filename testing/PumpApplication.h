// Runs the application's own message loop for a while, as a user's session would
// between two actions: timers, posted work and painting all get their turn.
#pragma once
#include <chrono>
#include <thread>

#include "vcl/Forms.h"

inline void Pump(std::chrono::milliseconds duration) {
  using namespace std::chrono_literals;
  const auto end = std::chrono::steady_clock::now() + duration;
  while (std::chrono::steady_clock::now() < end) {
    Application->ProcessMessages();
    std::this_thread::sleep_for(2ms);
  }
}
