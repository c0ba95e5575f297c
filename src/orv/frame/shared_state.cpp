#include "orv/frame/shared_state.hpp"

namespace orv {

SharedState& Shared() {
  static SharedState state;
  return state;
}

}  // namespace orv
