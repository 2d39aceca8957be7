// Tells code that ran something which may free an object (a nested message loop whose
// messages close a form) whether the object is still there.
#pragma once
#include <memory>

namespace Vy {

class TVyLifeToken {
 public:
  std::weak_ptr<const bool> Watch() const { return FAlive; }

 private:
  std::shared_ptr<const bool> FAlive = std::make_shared<const bool>(true);
};

}  // namespace Vy
