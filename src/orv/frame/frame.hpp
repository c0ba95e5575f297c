#pragma once
// Everything of the frame in one include.
#include "orv/frame/Array.hpp"
#include "orv/frame/ByRef.hpp"
#include "orv/frame/Error.hpp"
#include "orv/frame/Ref.hpp"
#include "orv/frame/Variant.hpp"
#include "orv/frame/checked.hpp"
#include "orv/frame/convert.hpp"
#include "orv/frame/enums.hpp"
#include "orv/frame/handler.hpp"
#include "orv/frame/shared_state.hpp"
#include "orv/frame/types.hpp"
