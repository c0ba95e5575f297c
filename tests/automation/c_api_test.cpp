// The C entry points as a client of liborvmain.so sees them (this program
// links the shared library, so only what it exports is reachable).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "orv/automation/orvmain_c.h"

namespace {

orv_variant L(int32_t x) {
  orv_variant v{};
  v.type = ORV_VT_I4;
  v.u.i4 = x;
  return v;
}
orv_variant S(const char* s) {
  orv_variant v{};
  v.type = ORV_VT_BSTR;
  v.u.str.ptr = s;
  v.u.str.len = std::strlen(s);
  return v;
}
int32_t Id(orv_object* o, const char* name) {
  int32_t id = -1;
  orv_ids_of_names(o, &name, 1, &id);
  return id;
}

TEST(CApi, MatrixInAndOutWithErrorsAndWriteBacks) {
  ASSERT_EQ(orv_can_unload_now(), 1);
  orv_object* m = nullptr;
  orv_error e{};
  ASSERT_EQ(orv_create("ORVMain.CMatrix", &m, &e), 0);
  EXPECT_STREQ(orv_class_name(m), "CMatrix");
  EXPECT_EQ(orv_can_unload_now(), 0);

  // Values = [[4, 2], [2, 3]] through an array the library owns.
  orv_variant a{};
  const int32_t lb[2] = {1, 1}, n[2] = {2, 2};
  double* d = orv_variant_new_double_array(&a, 2, lb, n);
  d[0] = 4, d[1] = 2, d[2] = 2, d[3] = 3;
  ASSERT_EQ(orv_invoke(m, Id(m, "values"), ORV_PROPERTYPUT, &a, 1, nullptr, 0, nullptr, &e), 0);
  EXPECT_EQ(a.u.array->data, d);  // lent and given back, not copied

  // Its inverse, by hand: [[3/8, -1/4], [-1/4, 1/2]].
  orv_variant inv{}, values{};
  ASSERT_EQ(orv_invoke(m, Id(m, "GeneralInverse"), ORV_METHOD, nullptr, 0, nullptr, 0, &inv, &e),
            0);
  ASSERT_EQ(inv.type, ORV_VT_OBJECT);
  ASSERT_EQ(orv_invoke(inv.u.object, Id(inv.u.object, "Values"), ORV_PROPERTYGET, nullptr, 0,
                       nullptr, 0, &values, &e),
            0);
  ASSERT_EQ(values.type, ORV_VT_ARRAY | ORV_VT_R8);
  const orv_array& r = *values.u.array;
  EXPECT_EQ(r.rank, 2);
  EXPECT_EQ(r.count[0] * r.count[1], 4);
  const double* x = static_cast<const double*>(r.data);
  EXPECT_EQ(std::vector<double>(x, x + 4), (std::vector<double>{0.375, -0.25, -0.25, 0.5}));

  // SubMatrix(1, 1, NumCols:=0): the column count is written back.
  const char* names[] = {"SubMatrix", "NumCols"};
  int32_t ids[2];
  ASSERT_EQ(orv_ids_of_names(m, names, 2, ids), 0);
  orv_variant args[3] = {L(1), L(1), L(0)}, sub{};
  ASSERT_EQ(orv_invoke(m, ids[0], ORV_METHOD, args, 3, &ids[1], 1, &sub, &e), 0);
  EXPECT_EQ(args[2].type, ORV_VT_I4);
  EXPECT_EQ(args[2].flags, ORV_WRITTEN);
  EXPECT_EQ(args[0].flags, 0);
  EXPECT_EQ(args[2].u.i4, 2);

  // Item(0): the member's own failure, with its record.
  orv_variant zero = L(0);
  EXPECT_EQ(orv_invoke(m, Id(m, "Item"), ORV_PROPERTYGET, &zero, 1, nullptr, 0, nullptr, &e), 9);
  EXPECT_EQ(e.number, 9);
  EXPECT_STREQ(e.description, "Subscript out of range");
  EXPECT_EQ(orv_invoke(m, 999, ORV_METHOD, nullptr, 0, nullptr, 0, nullptr, &e), 438);
  orv_object* none = nullptr;
  EXPECT_EQ(orv_create("ORVMain.Nope", &none, &e), 429);
  EXPECT_EQ(none, nullptr);
  orv_error_clear(&e);

  for (orv_variant* v : {&a, &inv, &values, &sub, &args[2]}) orv_variant_clear(v);
  EXPECT_EQ(orv_release(m), 0u);
  EXPECT_EQ(orv_can_unload_now(), 1);
}

TEST(CApi, GlobalInstanceAnswersWithStrings) {
  orv_object *g = nullptr, *h = nullptr;
  ASSERT_EQ(orv_get_global("ORVMain.clsMain", &g, nullptr), 0);
  ASSERT_EQ(orv_create("orvmain.clsmain", &h, nullptr), 0);
  orv_release(h);
  EXPECT_EQ(orv_get_global("ORVMain.CMatrix", &h, nullptr), 429);
  orv_variant text = S("22"), out{};
  ASSERT_EQ(orv_invoke(g, Id(g, "Getth"), ORV_METHOD, &text, 1, nullptr, 0, &out, nullptr), 0);
  EXPECT_EQ(std::string(out.u.str.ptr, out.u.str.len), "22nd ");
  orv_variant_clear(&out);
  EXPECT_EQ(orv_addref(g), 2u);
  orv_release(g), orv_release(g);
  EXPECT_EQ(orv_can_unload_now(), 1);
}

}  // namespace
