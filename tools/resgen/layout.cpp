#include "tools/resgen/layout.h"

#include <sstream>

namespace resgen {
namespace {

struct Word {
  std::string raw;           // as written, quotes removed and escapes resolved
  std::vector<Item> items;   // for key=value words: the value's items
  std::string key;
  bool quotedWhole = false;  // the word was one quoted text
};

// Splits one line into words. A word runs to the next blank outside quotes; '#' outside quotes
// starts a comment.
bool SplitWords(const std::string& line, std::vector<Word>& words, std::string& error) {
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    if (i >= line.size() || line[i] == '#') break;

    Word word;
    Item item;
    bool inKey = true;
    bool sawQuote = false;
    auto finishItem = [&] {
      word.items.push_back(item);
      item = Item{};
    };
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
      char c = line[i];
      if (c == '"') {
        sawQuote = true;
        item.quoted = true;
        ++i;
        while (i < line.size() && line[i] != '"') {
          if (line[i] == '\\' && i + 1 < line.size()) ++i;
          item.text += line[i];
          word.raw += line[i];
          ++i;
        }
        if (i >= line.size()) {
          error = "unterminated text";
          return false;
        }
        ++i;
        continue;
      }
      if (c == '=' && inKey && !sawQuote) {
        word.key = item.text;
        item = Item{};
        inKey = false;
        word.raw.clear();
        ++i;
        continue;
      }
      if (c == ',' && !inKey) {
        finishItem();
        ++i;
        continue;
      }
      item.text += c;
      word.raw += c;
      ++i;
    }
    if (inKey) {
      word.quotedWhole = item.quoted;
      word.raw = item.text;
      word.items.clear();
    } else {
      finishItem();
    }
    words.push_back(std::move(word));
  }
  return true;
}

}  // namespace

bool ParseLayout(const std::string& text, Layout& layout, std::string& error) {
  std::istringstream input(text);
  std::string line;
  int lineNumber = 0;
  std::vector<Attribute>* current = nullptr;  // where continuation lines go

  auto fail = [&](const std::string& what) {
    error = "line " + std::to_string(lineNumber) + ": " + what;
    return false;
  };
  auto addAttributes = [&](const std::vector<Word>& words, std::size_t from) {
    for (std::size_t w = from; w < words.size(); ++w) {
      if (words[w].key.empty()) return fail("expected key=value, found '" + words[w].raw + "'");
      current->push_back({words[w].key, words[w].items, lineNumber});
    }
    return true;
  };

  while (std::getline(input, line)) {
    ++lineNumber;
    std::vector<Word> words;
    std::string splitError;
    if (!SplitWords(line, words, splitError)) return fail(splitError);
    if (words.empty()) continue;

    const bool continuation = line[0] == ' ' || line[0] == '\t';
    if (continuation) {
      if (!current) return fail("indented line outside a statement");
      if (!addAttributes(words, 0)) return false;
      continue;
    }

    const std::string& statement = words[0].raw;
    if (statement == "handler") {
      if (words.size() != 2) return fail("handler takes one name");
      layout.handlers.push_back(words[1].raw);
      current = nullptr;
    } else if (statement == "defaults") {
      if (words.size() < 2) return fail("defaults needs a kind");
      current = &layout.defaults[words[1].raw];
      if (!addAttributes(words, 2)) return false;
    } else if (statement == "window") {
      if (words.size() < 2) return fail("window needs a name");
      layout.windows.push_back({words[1].raw, {}, {}, lineNumber});
      current = &layout.windows.back().attributes;
      if (!addAttributes(words, 2)) return false;
    } else if (statement == "unit") {
      if (layout.windows.empty()) return fail("unit before any window");
      if (words.size() < 4 || !words[3].quotedWhole) return fail("expected: unit KIND ID \"NAME\"");
      auto& units = layout.windows.back().units;
      units.push_back({words[1].raw, words[2].raw, words[3].raw, {}, lineNumber});
      current = &units.back().attributes;
      if (!addAttributes(words, 4)) return false;
    } else {
      return fail("unknown statement '" + statement + "'");
    }
  }
  return true;
}

}  // namespace resgen
