/* Basic scalar and time types of the host interface. Plain C: the host and the effect share this ABI. */
#ifndef ORVANE_SDK_HOST_TYPES_H
#define ORVANE_SDK_HOST_TYPES_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t A_long;
typedef uint32_t A_u_long;
typedef int16_t A_short;
typedef uint16_t A_u_short;
typedef char A_char;
typedef unsigned char A_u_char;
typedef uint64_t A_u_longlong;
typedef double A_FpLong;
typedef float A_FpShort;
typedef unsigned char A_Boolean;
typedef A_long A_Err;
typedef A_u_longlong A_HandleSize;

/* A host time: value / scale seconds. */
typedef struct A_Time {
    A_long value;
    A_u_long scale;
} A_Time;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#ifdef __cplusplus
}
#endif

#endif
