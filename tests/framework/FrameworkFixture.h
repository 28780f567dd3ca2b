// The shared fixture's former place, kept for the render tests that include it from here.
#pragma once

#include "support/FrameworkFixture.h"
