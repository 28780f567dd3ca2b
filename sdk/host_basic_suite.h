/* The host's basic suite: every other suite is acquired and released through it by name and version. */
#ifndef ORVANE_SDK_HOST_BASIC_SUITE_H
#define ORVANE_SDK_HOST_BASIC_SUITE_H

#include "host_types.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef A_long SPErr;

typedef struct SPBasicSuite {
    SPErr (*AcquireSuite)(const char *name, A_long version, const void **suite);
    SPErr (*ReleaseSuite)(const char *name, A_long version);
} SPBasicSuite;

#ifdef __cplusplus
}
#endif

#endif
