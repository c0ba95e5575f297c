/* The C entry points of liborvmain.so: create the library's classes by
 * name, call their members late-bound, exchange values as tagged variants.
 *
 *   orv_object* m;
 *   orv_error e = {0};
 *   orv_create("ORVMain.CMatrix", &m, &e);
 *   int32_t id;
 *   const char* name = "SetSize";
 *   orv_ids_of_names(m, &name, 1, &id);
 *   orv_variant args[2] = {ORV_LONG(3), ORV_LONG(3)};
 *   orv_variant result = ORV_EMPTY;
 *   if (orv_invoke(m, id, ORV_METHOD, args, 2, NULL, 0, &result, &e) != 0)
 *     fprintf(stderr, "%d %s: %s\n", e.number, e.source, e.description);
 *   orv_variant_clear(&result);
 *   orv_error_clear(&e);
 *   orv_release(m);
 *
 * Ownership: what the library puts into a variant (a result, a value written
 * back into a by-reference argument) carries ORV_OWNED and is freed by
 * orv_variant_clear; a variant the caller filled is the caller's and the
 * library only reads it. Objects are reference counted; a variant holding
 * an object owns one reference when ORV_OWNED is set.
 *
 * Arrays are row-major (element (i, j) at (i - lbound[0]) * count[1] +
 * (j - lbound[1])). An array the caller builds with owner = NULL is copied
 * in; one made by orv_variant_new_double_array lives in the library and
 * reaches a member without a copy, and a double array that a member returns
 * is handed out without one.
 *
 * Registration with an operating system's component registry is the
 * platform's business; these entry points are what a host calls instead.
 * Calls come from one thread at a time. */
#ifndef ORVMAIN_C_H
#define ORVMAIN_C_H

#include <stddef.h>
#include <stdint.h>

#if defined(ORVMAIN_BUILDING)
#define ORVMAIN_API __attribute__((visibility("default")))
#else
#define ORVMAIN_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

#define ORVMAIN_ABI_VERSION 1

typedef struct orv_object orv_object;

/* Variant types, as the automation interface numbers them. */
enum {
  ORV_VT_EMPTY = 0,
  ORV_VT_NULL = 1,
  ORV_VT_I2 = 2,
  ORV_VT_I4 = 3,
  ORV_VT_R4 = 4,
  ORV_VT_R8 = 5,
  ORV_VT_CY = 6,
  ORV_VT_DATE = 7,
  ORV_VT_BSTR = 8,
  ORV_VT_OBJECT = 9,
  ORV_VT_ERROR = 10,
  ORV_VT_BOOL = 11,
  ORV_VT_VARIANT = 12, /* element type of an array of variants */
  ORV_VT_ARRAY = 0x2000
};
/* An argument left out: an error value with this code. */
#define ORV_MISSING_CODE (-2147352572)
/* Set on variants whose contents the library allocated. */
#define ORV_OWNED 1
/* Set on an argument that the call wrote back into (a by-reference one). */
#define ORV_WRITTEN 2

typedef struct orv_array {
  uint16_t element_type; /* ORV_VT_R8, _BSTR (char*), _VARIANT, _I2 or _I4 */
  uint16_t rank;         /* 0 (never dimensioned), 1 or 2 */
  int32_t lbound[2];
  int32_t count[2];
  void* data;
  void* owner; /* NULL for the caller's own memory; set by the library */
} orv_array;

typedef struct orv_variant {
  uint16_t type;
  uint16_t flags;
  union {
    int16_t i2;
    int32_t i4;
    float r4;
    double r8;
    int64_t cy;   /* currency: the amount times 10,000 */
    double date;  /* days since 30 December 1899 */
    int32_t boolean; /* -1 True, 0 False */
    int32_t error;
    struct {
      const char* ptr; /* UTF-8, NUL-terminated */
      size_t len;
    } str;
    orv_object* object; /* NULL: Nothing */
    orv_array* array;
  } u;
} orv_variant;

#define ORV_EMPTY ((orv_variant){ORV_VT_EMPTY, 0, {.i4 = 0}})
#define ORV_LONG(x) ((orv_variant){ORV_VT_I4, 0, {.i4 = (x)}})
#define ORV_DOUBLE(x) ((orv_variant){ORV_VT_R8, 0, {.r8 = (x)}})
#define ORV_MISSING ((orv_variant){ORV_VT_ERROR, 0, {.error = ORV_MISSING_CODE}})

/* The error record of a failed call. */
typedef struct orv_error {
  int32_t number;
  char* source;
  char* description;
} orv_error;

/* Call kinds; a plain call may pass ORV_METHOD | ORV_PROPERTYGET. */
enum { ORV_METHOD = 1, ORV_PROPERTYGET = 2, ORV_PROPERTYPUT = 4, ORV_PROPERTYPUTREF = 8 };

ORVMAIN_API int32_t orv_abi_version(void);

/* A new object of a creatable class ("ORVMain.CMatrix"), or the
 * predeclared instance of a global one. Returns 0, or the error number
 * (429 for an unknown class) with err filled when given. */
ORVMAIN_API int32_t orv_create(const char* class_name, orv_object** out, orv_error* err);
/* The predeclared instance of a global class ("ORVMain.clsMain"). */
ORVMAIN_API int32_t orv_get_global(const char* class_name, orv_object** out, orv_error* err);
ORVMAIN_API uint32_t orv_addref(orv_object* object);
ORVMAIN_API uint32_t orv_release(orv_object* object);
/* 1 when no object handed out is alive, else 0. */
ORVMAIN_API int32_t orv_can_unload_now(void);
/* The class name of an object ("CMatrix"); valid while the library is loaded. */
ORVMAIN_API const char* orv_class_name(orv_object* object);

/* names[0] is a member, names[1..] its parameters; ids[i] receives each
 * id, -1 for a name not known. Returns 0, or -1 when any was unknown. */
ORVMAIN_API int32_t orv_ids_of_names(orv_object* object, const char* const* names, uint32_t count,
                                     int32_t* ids);

/* What the member is: *kinds gets the ORV_METHOD, ORV_PROPERTYGET, ...
 * bits it answers to, *get_params the number of parameters of its property
 * get (-1 without one). Returns 0, or -1 for an unknown member. */
ORVMAIN_API int32_t orv_member_info(orv_object* object, int32_t member, uint16_t* kinds,
                                    int32_t* get_params);

/* Calls member `member` of object. args holds argc arguments in order; the
 * last named_count of them are named by parameter ids. With a property
 * assignment the assigned value is the last argument. result (may be NULL)
 * receives the result. Returns 0, or the error number with err filled. */
ORVMAIN_API int32_t orv_invoke(orv_object* object, int32_t member, uint16_t kind,
                               orv_variant* args, uint32_t argc, const int32_t* named_ids,
                               uint32_t named_count, orv_variant* result, orv_error* err);

/* Frees what the library put into v (when ORV_OWNED) and empties it. */
ORVMAIN_API void orv_variant_clear(orv_variant* v);
/* Makes v an array of doubles that lives in the library and returns its
 * elements to be filled; NULL when it cannot be allocated. */
ORVMAIN_API double* orv_variant_new_double_array(orv_variant* v, uint16_t rank,
                                                 const int32_t* lbound, const int32_t* count);
ORVMAIN_API void orv_error_clear(orv_error* err);

#ifdef __cplusplus
}
#endif

#endif
