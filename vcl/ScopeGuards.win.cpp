#include "vcl/ScopeGuards.h"

#include "vcl/Win.h"

void THandleCloser::operator()(void* handle) const {
  if (handle && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
}
