#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace resgen {

// One item of a value: a quoted text (escapes resolved, still UTF-8) or a bare word.
struct Item {
  bool quoted = false;
  std::string text;
};

struct Attribute {
  std::string key;
  std::vector<Item> items;  // the value split at commas outside quotes
  int line = 0;
};

struct UnitSpec {
  std::string kind;
  std::string id;
  std::string name;  // UTF-8
  std::vector<Attribute> attributes;
  int line = 0;
};

struct WindowSpec {
  std::string reference;
  std::vector<Attribute> attributes;
  std::vector<UnitSpec> units;
  int line = 0;
};

struct Layout {
  std::vector<std::string> handlers;  // offset = position
  std::map<std::string, std::vector<Attribute>> defaults;  // by kind
  std::vector<WindowSpec> windows;
};

// Parses the layout text; on a syntax error returns false with "line N: what" in error.
bool ParseLayout(const std::string& text, Layout& layout, std::string& error);

}  // namespace resgen
