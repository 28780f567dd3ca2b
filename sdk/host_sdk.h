/* Everything of the host interface, in one include. */
#ifndef ORVANE_SDK_HOST_SDK_H
#define ORVANE_SDK_HOST_SDK_H

#include "host_types.h"
#include "host_basic_suite.h"
#include "host_effect.h"
#include "host_smart_render.h"
#include "host_pf_suites.h"
#include "host_aegp_suites.h"
#include "host_suite_declarations.h"

#endif
