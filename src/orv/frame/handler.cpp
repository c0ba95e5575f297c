#include "orv/frame/handler.hpp"

namespace orv {

std::string Located(const Member& member, Line line) {
  std::string source = "Line ";
  source += std::to_string(line);
  source += " in ORVMain.";
  source += member.cls;
  source += '.';
  source += member.name;
  return source;
}

void Decorate(Error& error, const Member& member, Line line) {
  switch (member.rule) {
    case Rule::Stamp:
      error.Source = Located(member, line);
      break;
    case Rule::Chain:
      if (error.Source.compare(0, 4, "Line") == 0) {
        error.Source += '.';
        error.Source += member.name;
      } else {
        error.Source = Located(member, line);
      }
      break;
    case Rule::Plain:
      error.Source = "ORVMain.";
      error.Source += member.cls;
      error.Source += '.';
      error.Source += member.name;
      break;
    case Rule::None:
    case Rule::Skip:
      break;
  }
}

}  // namespace orv
