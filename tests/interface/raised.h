// The numbered error an action raises, for tests that check number, source
// and description together.
#ifndef MX_TESTS_INTERFACE_RAISED_H_
#define MX_TESTS_INTERFACE_RAISED_H_

#include <gtest/gtest.h>

#include <functional>

#include "movx20xmlgen/error.h"

namespace mx {

inline VbError Raised(const std::function<void()>& action) {
  try {
    action();
  } catch (const VbError& e) {
    return e;
  }
  ADD_FAILURE() << "no error was raised";
  return VbError(0, "", "");
}

}  // namespace mx

#endif  // MX_TESTS_INTERFACE_RAISED_H_
