"""The orvmain library's classes, late-bound, from Python.

    import orvmain
    m = orvmain.create("ORVMain.CMatrix")
    m.Values = [[4, 2], [2, 3]]
    m.GeneralInverse().Values        # [[0.375, -0.25], [-0.25, 0.5]]
    m.SumSqs(Exponent=3)             # named arguments; left-out optionals
    try:
        m.Item(0)
    except orvmain.Error as e:       # e.number, e.source, e.description
        ...

Values map as: None <-> Empty, orvmain.Null <-> Null, bool <-> Boolean,
int <-> Long (Integer results are ints too), float <-> Double, str <->
String, orvmain.Object <-> object, nested lists (or numpy arrays, when
numpy is installed) <-> arrays. Arrays come back as numpy arrays of
doubles when numpy is installed, else as nested lists; their lower bounds
are not kept. orvmain.Ref(value) passes a by-reference argument whose new
value the call writes back into .value.
"""
import ctypes
import decimal

from . import _capi as c

__all__ = ["create", "get_global", "Object", "Error", "Ref", "Null", "Missing", "ErrorValue",
           "can_unload_now"]

try:
    import numpy as _np
except ImportError:  # numpy is optional
    _np = None

_lib = c.load()


class Error(Exception):
    """A failure of a call: the number, source and description of its error record."""

    def __init__(self, number, source, description):
        super().__init__(number, source, description)
        self.number, self.source, self.description = number, source, description

    def __str__(self):
        return "%d %s: %s" % (self.number, self.source, self.description)


class _Marker:
    def __init__(self, name):
        self._name = name

    def __repr__(self):
        return "orvmain." + self._name


Null = _Marker("Null")
Missing = _Marker("Missing")


class ErrorValue(int):
    """An error value (a cell's #N/A is ErrorValue(2042))."""


class Ref:
    """A by-reference argument: the call writes the member's value back."""

    def __init__(self, value=None):
        self.value = value


def can_unload_now():
    return _lib.orv_can_unload_now() == 1


def _check(status, err):
    if status != 0:
        number = err.number
        source = (err.source or b"").decode()
        description = (err.description or b"").decode()
        _lib.orv_error_clear(ctypes.byref(err))
        raise Error(number, source, description)


def _handle_of(ctor, name):
    handle, err = ctypes.c_void_p(), c.ErrorRecord()
    _check(ctor(name.encode(), ctypes.byref(handle), ctypes.byref(err)), err)
    return Object(handle.value)


def create(class_name):
    """A new object of a creatable class, the shared instance of a global one."""
    return _handle_of(_lib.orv_create, class_name)


def get_global(class_name):
    """The predeclared instance of a global class ("ORVMain.clsMain")."""
    return _handle_of(_lib.orv_get_global, class_name)


# --- values ---

def _shape(value):
    if isinstance(value, (list, tuple)):
        if value and all(isinstance(r, (list, tuple)) for r in value):
            return [len(value), len(value[0])]
        return [len(value)]
    return None


def _to_c(value, keep):
    v = c.Variant()
    if value is None:
        v.type = c.VT_EMPTY
    elif value is Null:
        v.type = c.VT_NULL
    elif value is Missing:
        v.type, v.u.error = c.VT_ERROR, c.MISSING_CODE
    elif isinstance(value, ErrorValue):
        v.type, v.u.error = c.VT_ERROR, int(value)
    elif isinstance(value, bool):
        v.type, v.u.boolean = c.VT_BOOL, -1 if value else 0
    elif isinstance(value, int) and -2**31 <= value < 2**31:
        v.type, v.u.i4 = c.VT_I4, value
    elif isinstance(value, (int, float)):
        v.type, v.u.r8 = c.VT_R8, float(value)
    elif isinstance(value, decimal.Decimal):
        v.type, v.u.cy = c.VT_CY, int((value * 10000).to_integral_value(decimal.ROUND_HALF_EVEN))
    elif isinstance(value, str):
        data = ctypes.create_string_buffer(value.encode())
        keep.append(data)
        v.type, v.u.str.ptr, v.u.str.len = c.VT_BSTR, ctypes.addressof(data), len(data.value)
    elif isinstance(value, Object):
        v.type, v.u.object = c.VT_OBJECT, value._handle
    elif _np is not None and isinstance(value, _np.ndarray):
        _numbers_to_c(_np.ascontiguousarray(value, dtype=_np.float64), v)
    elif _shape(value) is not None:
        shape = _shape(value)
        flat = [x for row in value for x in row] if len(shape) == 2 else list(value)
        if all(isinstance(x, (int, float)) and not isinstance(x, bool) for x in flat):
            data = _lib.orv_variant_new_double_array(
                ctypes.byref(v), len(shape), (ctypes.c_int32 * 2)(1, 1), (ctypes.c_int32 * 2)(*(shape + [0])[:2]))
            for i, x in enumerate(flat):
                data[i] = x
        else:
            elems = (c.Variant * len(flat))(*[_to_c(x, keep) for x in flat])
            arr = c.Array(c.VT_VARIANT, len(shape), (1, 1), tuple(shape) + (0,) * (2 - len(shape)),
                          ctypes.cast(elems, ctypes.c_void_p), None)
            keep.extend([elems, arr])
            v.type, v.u.array = c.VT_ARRAY | c.VT_VARIANT, ctypes.pointer(arr)
    else:
        raise TypeError("no Variant holds a %s" % type(value).__name__)
    return v


def _numbers_to_c(a, v):
    if a.ndim not in (1, 2):
        raise TypeError("arrays have 1 or 2 dimensions")
    shape = list(a.shape) + [0]
    data = _lib.orv_variant_new_double_array(
        ctypes.byref(v), a.ndim, (ctypes.c_int32 * 2)(1, 1), (ctypes.c_int32 * 2)(*shape[:2]))
    ctypes.memmove(data, a.ctypes.data, a.nbytes)


_SCALARS = {c.VT_I2: "i2", c.VT_I4: "i4", c.VT_R4: "r4", c.VT_R8: "r8"}


def _from_c(v):
    t = v.type
    if t & c.VT_ARRAY:
        a = v.u.array.contents
        n = [a.count[d] for d in range(a.rank)]
        total = 1 if n else 0
        for k in n:
            total *= k
        et = a.element_type
        if et == c.VT_R8 and _np is not None:
            flat = _np.ctypeslib.as_array(ctypes.cast(a.data, ctypes.POINTER(ctypes.c_double)),
                                          shape=(max(total, 1),))[:total].copy()
            return flat.reshape(n) if n else flat
        ctype = {c.VT_R8: ctypes.c_double, c.VT_I2: ctypes.c_int16, c.VT_I4: ctypes.c_int32}.get(et)
        if ctype is not None:
            flat = list(ctypes.cast(a.data, ctypes.POINTER(ctype))[:total])
        elif et == c.VT_BSTR:
            flat = [s.decode() for s in ctypes.cast(a.data, ctypes.POINTER(ctypes.c_char_p))[:total]]
        else:
            elems = ctypes.cast(a.data, ctypes.POINTER(c.Variant))
            flat = [_from_c(elems[i]) for i in range(total)]
        if len(n) == 2:
            return [flat[i * n[1]:(i + 1) * n[1]] for i in range(n[0])]
        return flat
    if t in _SCALARS:
        return getattr(v.u, _SCALARS[t])
    if t == c.VT_EMPTY:
        return None
    if t == c.VT_NULL:
        return Null
    if t == c.VT_BOOL:
        return v.u.boolean != 0
    if t == c.VT_CY:
        return decimal.Decimal(v.u.cy) / 10000
    if t == c.VT_DATE:
        return v.u.date
    if t == c.VT_ERROR:
        return Missing if v.u.error == c.MISSING_CODE else ErrorValue(v.u.error)
    if t == c.VT_BSTR:
        return ctypes.string_at(v.u.str.ptr, v.u.str.len).decode()
    if t == c.VT_OBJECT:
        if not v.u.object:
            return None
        _lib.orv_addref(v.u.object)
        return Object(v.u.object)
    raise TypeError("unknown Variant type %d" % t)


# --- objects ---

class Object:
    """A handle to one of the library's objects; members by attribute."""

    __slots__ = ("_handle", "_ids", "__weakref__")

    def __init__(self, handle):
        object.__setattr__(self, "_handle", handle)
        object.__setattr__(self, "_ids", {})

    def __del__(self):
        if self._handle and _lib is not None:
            _lib.orv_release(self._handle)
            object.__setattr__(self, "_handle", None)

    def __repr__(self):
        return "<orvmain.Object %s>" % _lib.orv_class_name(self._handle).decode()

    def _id(self, name, params=()):
        names = (ctypes.c_char_p * (1 + len(params)))(name.encode(), *[p.encode() for p in params])
        ids = (ctypes.c_int32 * (1 + len(params)))()
        _lib.orv_ids_of_names(self._handle, names, len(names), ids)
        if ids[0] < 0:
            raise AttributeError("%s has no member %s" % (self, name))
        return list(ids)

    def _info(self, name):
        if name not in self._ids:
            member = self._id(name)[0]
            kinds, get_params = ctypes.c_uint16(), ctypes.c_int32()
            _lib.orv_member_info(self._handle, member, ctypes.byref(kinds), ctypes.byref(get_params))
            self._ids[name] = (member, kinds.value, get_params.value)
        return self._ids[name]

    def _invoke(self, name, kind, args, named):
        member = self._info(name)[0]
        ids = self._id(name, list(named))[1:] if named else []
        if any(i < 0 for i in ids):
            raise Error(448, "ORVMain", "Named argument not found")
        keep = []
        values = list(args) + list(named.values())
        cargs = (c.Variant * max(len(values), 1))(*[
            _to_c(x.value if isinstance(x, Ref) else x, keep) for x in values])
        named_ids = (ctypes.c_int32 * max(len(ids), 1))(*ids)
        result, err = c.Variant(), c.ErrorRecord()
        try:
            status = _lib.orv_invoke(self._handle, member, kind, cargs, len(values), named_ids,
                                     len(ids), ctypes.byref(result), ctypes.byref(err))
            for x, v in zip(values, cargs):
                if isinstance(x, Ref) and v.flags & 2:  # written back
                    x.value = _from_c(v)
            _check(status, err)
            return _from_c(result)
        finally:
            _lib.orv_variant_clear(ctypes.byref(result))
            for v in cargs:
                _lib.orv_variant_clear(ctypes.byref(v))

    def __getattr__(self, name):
        if name.startswith("__"):
            raise AttributeError(name)
        _, kinds, get_params = self._info(name)
        if kinds & c.PROPERTYGET and not kinds & c.METHOD and get_params == 0:
            return self._invoke(name, c.PROPERTYGET, (), {})

        def call(*args, **named):
            return self._invoke(name, c.METHOD | c.PROPERTYGET, args, named)
        call.__name__ = name
        return call

    def __setattr__(self, name, value):
        kind = c.PROPERTYPUTREF if isinstance(value, Object) else c.PROPERTYPUT
        self._invoke(name, kind, (value,), {})

    def let(self, name, *args):
        """An indexed assignment: m.let("Item", row, column, value)."""
        self._invoke(name, c.PROPERTYPUT, args, {})
