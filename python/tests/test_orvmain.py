"""The Python client against liborvmain.so: calls, properties, optionals,
write-backs, errors and arrays."""
import gc

import pytest

import orvmain


def test_matrix_inverse_properties_and_named_optionals():
    m = orvmain.create("ORVMain.CMatrix")
    m.Values = [[4, 2], [2, 3]]
    assert (m.RowCount, m.ColumnCount) == (2, 2)
    inv = m.GeneralInverse()
    # By hand: the inverse of [[4, 2], [2, 3]].
    assert [list(r) for r in inv.Values] == [[0.375, -0.25], [-0.25, 0.5]]
    m.let("Item", 2, 7.5)                 # Column left out: 1
    assert m.Item(2, 1) == 7.5 and m.item(2) == 7.5
    rows = orvmain.Ref(0)
    m.SubMatrix(1, 2, NumRows=rows)       # written back: rows to the end
    assert rows.value == 2
    assert m.SumSqs(Exponent=1).Values[0][0] == 4 + 2 + 7.5 + 3   # every element, to the power 1


def test_failures_raise_with_number_source_and_description():
    m = orvmain.create("ORVMain.CMatrix")
    with pytest.raises(orvmain.Error) as e:
        m.Item(0)
    assert (e.value.number, e.value.description) == (9, "Subscript out of range")
    with pytest.raises(orvmain.Error) as e:
        orvmain.get_global("ORVMain.CDistributions").ORV_CDF_Q(3.5, 12, 1)
    assert (e.value.number, e.value.source, e.value.description) == (
        -2147221504, "Line 10 in ORVMain.CDistributions.ORV_CDF_Q", "Invalid DFs")
    with pytest.raises(orvmain.Error) as e:
        m.Item()
    assert e.value.number == 449
    with pytest.raises(AttributeError):
        m.Nope


def test_globals_strings_and_unloading():
    main = orvmain.get_global("ORVMain.clsMain")
    assert main.Getth("22") == "22nd "
    assert main.ArrayIsEmpty(None) is True
    del main
    gc.collect()


def test_numpy_arrays_in_and_out():
    np = pytest.importorskip("numpy")
    m = orvmain.create("ORVMain.CMatrix")
    a = np.arange(12, dtype=float).reshape(4, 3) / 7
    m.Values = a
    out = m.Transpose().Values
    assert isinstance(out, np.ndarray) and out.shape == (3, 4)
    assert np.array_equal(out, a.T)           # the same doubles, bit for bit


def test_every_handle_is_released():
    gc.collect()
    assert orvmain.can_unload_now()
