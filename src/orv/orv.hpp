#pragma once
// The public API of orvmain.
#include "orv/frame/frame.hpp"
#include "orv/matrix/CMatrix.hpp"
