// orv serve: every kind of value goes through the library and back with
// its type and bits; bad lines are answered and the server goes on.
#include "serve.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

namespace orv::serve {
namespace {

using nlohmann::json;

std::vector<json> Exchange(const std::string& input, std::size_t* left = nullptr,
                           Limits limits = {}) {
  std::istringstream in(input);
  std::ostringstream out;
  std::size_t live = Serve(in, out, limits);
  if (left) *left = live;
  std::vector<json> responses;
  std::istringstream lines(out.str());
  for (std::string line; std::getline(lines, line);) responses.push_back(json::parse(line));
  return responses;
}

TEST(Serve, EveryValueTypeComesBackWithItsTypeAndBits) {
  // Stored in a CVMatrix element and read back.
  const char* values[] = {
      R"(true)",
      R"(false)",
      R"(-2147483648)",
      R"({"$":"i2","v":-32768})",
      R"(0.1)",
      R"(-0.0)",
      R"(5e-324)",
      R"(1.7976931348623157e+308)",
      R"({"$":"r8","bits":"7ff8000000000001"})",
      R"({"$":"r8","bits":"fff0000000000000"})",
      R"({"$":"r4","v":0.10000000149011612})",
      R"({"$":"cy","scaled":-9223372036854775808})",
      R"({"$":"date","v":45000.25})",
      R"("quote \" and \u00fc")",
      R"({"$":"error","code":2042})",
      R"({"$":"empty"})",
      R"({"$":"null"})",
      R"({"$":"array","count":[2,1],"data":[1.5,-0.0],"lbound":[-3,0],"type":"r8"})",
      R"({"$":"array","count":[2],"data":[1,-2],"lbound":[1],"type":"i2"})",
      R"({"$":"array","count":[1],"data":[7],"lbound":[0],"type":"i4"})",
      R"({"$":"array","count":[],"data":[],"lbound":[],"type":"str"})",
      R"({"$":"array","count":[2],"data":["a",{"$":"null"}],"lbound":[1],"type":"variant"})"};
  std::string input = R"({"id":0,"op":"create","class":"ORVMain.CVMatrix"})"
                      "\n"
                      R"({"op":"invoke","object":1,"member":"SetSize","args":[1]})"
                      "\n";
  for (const char* v : values)
    input += std::string(R"({"op":"invoke","object":1,"member":"Item","kind":"let","args":[1,)") +
             v + "]}\n" +
             R"({"op":"invoke","object":1,"member":"Item","args":[1,{"$":"missing"}]})"
             "\n";
  auto out = Exchange(input);
  ASSERT_EQ(out.size(), 2 + 2 * std::size(values));
  for (std::size_t i = 0; i < std::size(values); ++i)
    EXPECT_EQ(out[3 + 2 * i].at("result").dump(), json::parse(values[i]).dump()) << values[i];
}

TEST(Serve, ObjectsTravelAsHandlesAndAreFreedAtTheEnd) {
  std::size_t left = 0;
  std::string input;
  for (int i = 0; i < 200; ++i)
    input += R"({"op":"create","class":"ORVMain.CMatrix"})"
             "\n"
             R"({"op":"release","object":)" +
             std::to_string(i + 1) + "}\n";
  input += R"({"op":"create","class":"ORVMain.CMatrix"})"
           "\n"
           R"({"op":"invoke","object":201,"member":"IdentityMatrix","args":[2]})"
           "\n"
           R"({"op":"invoke","object":202,"member":"IsEqual","args":[{"$":"object","handle":202}]})"
           "\n";
  auto out = Exchange(input, &left);
  EXPECT_EQ(out.back().at("result"), json(true));
  EXPECT_EQ(left, 2u);
}

TEST(Serve, BadLinesAreAnsweredAndTheServerGoesOn) {
  Limits small;
  small.max_line = 80;
  small.max_cells = 100;
  auto out = Exchange(
      "garbage\n[1]\n{\"op\":\"fly\"}\n"
      R"({"id":"a","op":"invoke","object":1,"member":"X"})"
      "\n"
      R"({"op":"create","class":"ORVMain.CMatrix"})"
      "\n"
      R"({"id":7,"op":"invoke","object":1,"member":"Fill","args":[4294967296]})"
      "\n"
      R"({"op":"invoke","object":1,"member":"Fill","args":[{"$":"wat"}]})"
      "\n" +
          std::string(100, ' ') +
          "x\n"
          R"({"op":"invoke","object":1,"member":"Nope"})"
          "\n"
          R"({"op":"invoke","object":1,"member":"SetSize","args":[10,11]})"
          "\n",
      nullptr, small);
  ASSERT_EQ(out.size(), 10u);
  for (int i : {0, 1, 2, 5, 6, 7}) EXPECT_TRUE(out[i].contains("protocol_error")) << out[i];
  EXPECT_EQ(out[3].at("error").at("number"), 91);
  EXPECT_EQ(out[3].at("id"), "a");
  EXPECT_EQ(out[5].at("id"), 7);
  EXPECT_EQ(out[8].at("error"),
            (json{{"number", 438},
                  {"source", "ORVMain"},
                  {"description", "Object doesn't support this property or method"}}));
  EXPECT_EQ(out[9].at("error").at("number"), 7) << out[9];
}

}  // namespace
}  // namespace orv::serve
