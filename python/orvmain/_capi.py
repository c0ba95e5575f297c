"""ctypes declarations of the C entry points (orv/automation/orvmain_c.h)."""
import ctypes
import ctypes.util
import os
import sys

VT_EMPTY, VT_NULL, VT_I2, VT_I4, VT_R4, VT_R8, VT_CY, VT_DATE = 0, 1, 2, 3, 4, 5, 6, 7
VT_BSTR, VT_OBJECT, VT_ERROR, VT_BOOL, VT_VARIANT, VT_ARRAY = 8, 9, 10, 11, 12, 0x2000
MISSING_CODE = -2147352572
METHOD, PROPERTYGET, PROPERTYPUT, PROPERTYPUTREF = 1, 2, 4, 8


class Array(ctypes.Structure):
    _fields_ = [("element_type", ctypes.c_uint16), ("rank", ctypes.c_uint16),
                ("lbound", ctypes.c_int32 * 2), ("count", ctypes.c_int32 * 2),
                ("data", ctypes.c_void_p), ("owner", ctypes.c_void_p)]


class _Str(ctypes.Structure):
    _fields_ = [("ptr", ctypes.c_void_p), ("len", ctypes.c_size_t)]


class _Value(ctypes.Union):
    _fields_ = [("i2", ctypes.c_int16), ("i4", ctypes.c_int32), ("r4", ctypes.c_float),
                ("r8", ctypes.c_double), ("cy", ctypes.c_int64), ("date", ctypes.c_double),
                ("boolean", ctypes.c_int32), ("error", ctypes.c_int32), ("str", _Str),
                ("object", ctypes.c_void_p), ("array", ctypes.POINTER(Array))]


class Variant(ctypes.Structure):
    _fields_ = [("type", ctypes.c_uint16), ("flags", ctypes.c_uint16), ("u", _Value)]


class ErrorRecord(ctypes.Structure):
    _fields_ = [("number", ctypes.c_int32), ("source", ctypes.c_char_p),
                ("description", ctypes.c_char_p)]


def _candidates():
    named = os.environ.get("ORVMAIN_LIBRARY")
    if named:
        yield named
        return
    found = ctypes.util.find_library("orvmain")
    if found:
        yield found
    for prefix in (sys.prefix, "/usr/local", "/usr"):
        for lib in ("lib", "lib64", "lib/x86_64-linux-gnu", "lib/aarch64-linux-gnu"):
            yield os.path.join(prefix, lib, "liborvmain.so.0")
    yield "liborvmain.so.0"


def load():
    errors = []
    for path in _candidates():
        try:
            lib = ctypes.CDLL(path)
            break
        except OSError as e:
            errors.append(str(e))
    else:
        raise ImportError("liborvmain.so not found (set ORVMAIN_LIBRARY): " + "; ".join(errors))
    P, I32, U16, U32 = ctypes.c_void_p, ctypes.c_int32, ctypes.c_uint16, ctypes.c_uint32
    PV, PE = ctypes.POINTER(Variant), ctypes.POINTER(ErrorRecord)
    sigs = {
        "orv_abi_version": (I32, []),
        "orv_create": (I32, [ctypes.c_char_p, ctypes.POINTER(P), PE]),
        "orv_get_global": (I32, [ctypes.c_char_p, ctypes.POINTER(P), PE]),
        "orv_addref": (U32, [P]),
        "orv_release": (U32, [P]),
        "orv_can_unload_now": (I32, []),
        "orv_class_name": (ctypes.c_char_p, [P]),
        "orv_ids_of_names": (I32, [P, ctypes.POINTER(ctypes.c_char_p), U32, ctypes.POINTER(I32)]),
        "orv_member_info": (I32, [P, I32, ctypes.POINTER(U16), ctypes.POINTER(I32)]),
        "orv_invoke": (I32, [P, I32, U16, PV, U32, ctypes.POINTER(I32), U32, PV, PE]),
        "orv_variant_clear": (None, [PV]),
        "orv_variant_new_double_array": (ctypes.POINTER(ctypes.c_double),
                                         [PV, U16, ctypes.POINTER(I32), ctypes.POINTER(I32)]),
        "orv_error_clear": (None, [PE]),
    }
    for name, (res, args) in sigs.items():
        f = getattr(lib, name)
        f.restype, f.argtypes = res, args
    return lib
